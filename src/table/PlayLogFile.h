// Where the play log is written: "Spades.Log" in the program's folder, or, when
// that folder cannot be written, under the user's data folder. Each run starts
// a new log; hands are appended within a run.
#pragma once

#include <QString>
#include <fstream>
#include <memory>

#include "PlayLog.h"

namespace spades {

class TPlayLogFile {
public:
    TPlayLogFile(QString programDir, QString dataDir);

    // Opens the log on first use. False, with the reason, when no folder can hold it.
    bool Open(QString* error);
    bool IsOpen() const { return FLog != nullptr; }
    // False once a write has failed (a full disk, a vanished folder).
    bool Good() const { return FStream.good(); }
    TPlayLog& Log() { return *FLog; }
    void Flush() { FStream.flush(); }
    void Close();
    QString Path() const { return FPath; }

    static constexpr const char* FileName = "Spades.Log";

private:
    bool TryOpen(const QString& folder);

    QString FProgramDir;
    QString FDataDir;
    QString FPath;
    std::ofstream FStream;
    std::unique_ptr<TPlayLog> FLog;
};

}  // namespace spades
