// The failures of the settings store. The game does not catch them in the middle
// of play: whoever shows them to the user reads Text() and, if it likes, Detail().
#pragma once

#include <QString>
#include <stdexcept>

namespace spades {

class ERegistryException : public std::runtime_error {
public:
    // what() holds the text in UTF-8; the detail (why, in the system's words) may be empty.
    explicit ERegistryException(const QString& text, QString detail = {})
        : std::runtime_error(text.toUtf8().toStdString()), FDetail(std::move(detail))
    {
    }

    QString Text() const { return QString::fromUtf8(what()); }
    const QString& Detail() const { return FDetail; }

private:
    QString FDetail;
};

// The settings file exists but cannot be parsed. It is left untouched: the caller
// may move it aside with KeepDamagedCopy and start from the defaults.
class ERegFileDamaged : public ERegistryException {
public:
    // line counts from 1; 0 when the fault is not on a line (the file is too large).
    ERegFileDamaged(const QString& filePath, int line, const QString& reason)
        : ERegistryException(line > 0 ? QStringLiteral("Damaged settings file %1, line %2: %3")
                                            .arg(filePath, QString::number(line), reason)
                                      : QStringLiteral("Damaged settings file %1: %2").arg(filePath, reason)),
          FFilePath(filePath), FLine(line), FReason(reason)
    {
    }

    const QString& FilePath() const { return FFilePath; }
    int Line() const { return FLine; }
    const QString& Reason() const { return FReason; }

private:
    QString FFilePath;
    int FLine;
    QString FReason;
};

// What a message box says about a failure: the text, and on the next line where
// and why when the failure knows it.
inline QString ErrorMessage(const std::exception& error)
{
    if (const auto* registry = dynamic_cast<const ERegistryException*>(&error)) {
        if (!registry->Detail().isEmpty() && !dynamic_cast<const ERegFileDamaged*>(&error))
            return registry->Text() + u'\r' + registry->Detail();
        return registry->Text();
    }
    return QString::fromUtf8(error.what());
}

}  // namespace spades
