// What the preferences dialog asks of the person through the window that runs it:
// a notice, the song chooser, a dialog of its own run modally. The table's
// prompts are these and more.
#pragma once

#include <QString>
#include <optional>

class QDialog;

namespace spades {

enum class TNoticeKind { Plain, Information, Warning, Error };

class TPreferencesPrompts {
public:
    virtual ~TPreferencesPrompts() = default;
    // A message box with one OK button; '\r' separates lines.
    virtual void Notice(TNoticeKind kind, const QString& text) = 0;
    // Runs a dialog modally; returns its result.
    virtual int RunDialog(QDialog& dialog) = 0;
    // The song chooser; nothing when the user cancels.
    virtual std::optional<QString> ChooseSongFile(const QString& startFolder, const QString& filter) = 0;
};

}  // namespace spades
