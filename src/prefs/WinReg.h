// The registry of the current user in the shape of a sectioned settings file:
// a base key, sections as its subkeys, named values in them. On Linux the key
// lives in a file of its own (see RegFile.h), read when the accessor is made.
#pragma once

#include "RegErrors.h"
#include "RegFile.h"
#include "RegStore.h"

#include <QString>
#include <optional>

namespace spades {

class TWinRegistry {
public:
    enum class TCommitMode {
        EachWrite,  // every write reaches the file at once, as in the registry
        OnCommit,   // writes wait for Commit(); dropped if the accessor goes first
    };

    // baseKeyPath like "\Software\Tarnwell\Spades": the leading backslash starts at
    // HKEY_CURRENT_USER. Throws ERegFileDamaged when the file cannot be parsed.
    explicit TWinRegistry(const QString& baseKeyPath, TCommitMode mode = TCommitMode::EachWrite);
    TWinRegistry(const TWinRegistry&) = delete;
    TWinRegistry& operator=(const TWinRegistry&) = delete;

    // A missing section or value gives the default. Throws "Invalid data type for '%s'"
    // for a value of another type and "Failed to get data for '%s'" when the file
    // exists but cannot be read.
    QString ReadString(const QString& section, const QString& name, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& name, int defaultValue) const;
    bool ReadBool(const QString& section, const QString& name, bool defaultValue) const;

    // Throw "Failed to create key %s" when the section or the file cannot be made and
    // "Failed to set data for '%s'" when the data cannot be written.
    void WriteString(const QString& section, const QString& name, const QString& value);
    void WriteInteger(const QString& section, const QString& name, int value);
    void WriteBool(const QString& section, const QString& name, bool value);

    // Writes the waiting changes in one step; the errors name the first of them.
    void Commit();
    bool HasPendingWrites() const { return FFirstPending.has_value(); }

    const QString& BaseKey() const { return FBaseKey; }  // "HKEY_CURRENT_USER\Software\..."
    const QString& FileName() const { return FFile.Path(); }

private:
    struct TPendingWrite {
        QString Section;
        QString Name;
    };

    QString SectionKey(const QString& section) const;
    const TRegValue* Find(const QString& section, const QString& name) const;
    void Write(const QString& section, const TRegValue& value);
    [[noreturn]] void Raise(const TRegFile::TStatus& status, const TPendingWrite& write) const;
    // The file and the system's reason, for the line below an error's text.
    QString Where(const QString& why) const;

    TRegFile FFile;
    QString FBaseKey;
    TCommitMode FMode;
    TRegStore FStore;
    QString FReadFailure;  // why an existing file could not be read; empty when it was
    std::optional<TPendingWrite> FFirstPending;
};

}  // namespace spades
