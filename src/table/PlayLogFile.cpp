#include "PlayLogFile.h"

#include <QDir>
#include <QFile>

namespace spades {

TPlayLogFile::TPlayLogFile(QString programDir, QString dataDir)
    : FProgramDir(std::move(programDir)), FDataDir(std::move(dataDir))
{
}

bool TPlayLogFile::TryOpen(const QString& folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return false;
    const QString path = QDir(folder).filePath(FileName);
    FStream.clear();
    FStream.open(QFile::encodeName(path).toStdString(), std::ios::binary | std::ios::trunc);
    if (!FStream.is_open())
        return false;
    FPath = path;
    return true;
}

bool TPlayLogFile::Open(QString* error)
{
    if (IsOpen())
        return true;
    if (TryOpen(FProgramDir) || TryOpen(FDataDir)) {
        FLog = std::make_unique<TPlayLog>(FStream);
        return true;
    }
    if (error) {
        *error = QString("The play log cannot be written to %1 nor to %2. Play goes on without a log.")
                     .arg(QDir::toNativeSeparators(QDir(FProgramDir).filePath(FileName)),
                          QDir::toNativeSeparators(QDir(FDataDir).filePath(FileName)));
    }
    return false;
}

void TPlayLogFile::Close()
{
    FLog.reset();
    if (FStream.is_open())
        FStream.close();
}

}  // namespace spades
