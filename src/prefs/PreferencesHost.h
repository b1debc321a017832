// What the preferences dialog needs of the window that runs it: the live
// preferences, the seats, the music and the prompts, and a way to put the
// preferences on the table. The table window is one; tests may bring another.
#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace spades {

class TDefaults;
class TFluidEngine;
class TMediaPlayer;
class TMusicSequencer;
class TPreferencesPrompts;
struct TMusicSettings;
struct TTableState;

class TPreferencesHost {
public:
    virtual ~TPreferencesHost() = default;

    virtual QWidget* DialogOwner() = 0;
    virtual TDefaults* GameDefaults() const = 0;
    // A cancelled dialog throws its changes away by loading the stored preferences again.
    virtual void ReloadDefaults() = 0;
    virtual void ApplyPreferences() = 0;
    virtual TTableState& Table() = 0;
    virtual TMusicSettings& Music() = 0;
    virtual TMusicSequencer* Sequencer() const = 0;
    virtual std::shared_ptr<TFluidEngine> MusicEngine() = 0;
    // The player Preview uses; nullptr for one of the dialog's own.
    virtual TMediaPlayer* PreviewPlayer() const = 0;
    // Where the song chooser starts.
    virtual QString ProgramFolder() const = 0;
    virtual TPreferencesPrompts& Prompts() = 0;
    // The manual at its page on the preferences.
    virtual void ShowPreferencesHelp() = 0;
};

}  // namespace spades
