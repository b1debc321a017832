// The per-user file that stands in for a registry key on Linux:
// "\Software\Tarnwell\Spades" lives in <XDG config folder>/Tarnwell/Spades.reg.
#pragma once

#include "RegStore.h"

#include <QString>

namespace spades {

// The file for a base key path: the parts after "Software" become folders, the
// last one the file name, below the per-user configuration folder.
QString RegFilePathFor(const QString& baseKeyPath);

class TRegFile {
public:
    enum class TError {
        None,
        CannotRead,    // the file exists but cannot be read
        CannotCreate,  // its folder or a new file beside it cannot be made
        CannotWrite,   // the data could not be written whole (a full disk); the old file stays
    };
    struct TStatus {
        TError Error = TError::None;
        QString Detail;
        bool Ok() const { return Error == TError::None; }
    };

    explicit TRegFile(QString path) : FPath(std::move(path)) {}

    const QString& Path() const { return FPath; }

    // A missing file reads as an empty store. Throws ERegFileDamaged when the
    // file cannot be parsed; the file is not touched then.
    TStatus Load(TRegStore& store) const;
    // Replaces the file in one step: a failure leaves the previous file as it was.
    TStatus Save(const TRegStore& store) const;

    // Moves the file aside as "<name>.damaged" (or "<name>.damaged.2" and so on,
    // never over an earlier copy) and returns that path; empty when there is no
    // file. Loads then see no file and the next save writes a fresh one.
    // Throws ERegistryException when the file cannot be moved.
    QString KeepDamagedCopy() const;

private:
    QString FPath;
};

}  // namespace spades
