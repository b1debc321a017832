#include "SongFile.h"

#include "MediaPlayer.h"

#include <QFile>
#include <QFileInfo>

namespace spades {
namespace {

[[noreturn]] void refuse(const QString& name, const QString& problem)
{
    throw EMediaError(QStringLiteral("Cannot open the song \"%1\": %2.").arg(name, problem).toStdString());
}

}  // namespace

bool SongFileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

TSongFile ParseSongBytes(const QByteArray& bytes, const QString& name)
{
    try {
        const auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size()));
        TSongFile file;
        file.Song = ReadMidiData(data);
        file.Smf = bytes.mid(static_cast<qsizetype>(file.Song.SmfOffset), static_cast<qsizetype>(file.Song.SmfSize));
        return file;
    } catch (const EMidiFormat& e) {
        refuse(name, QString::fromStdString(e.what()));
    }
}

TSongFile LoadSongFile(const QString& path)
{
    if (path.isEmpty())
        throw EMediaError("Cannot open the song: no file name was given.");
    const QFileInfo info(path);
    if (!info.exists())
        refuse(path, QStringLiteral("the file does not exist"));
    if (!info.isFile())
        refuse(path, QStringLiteral("it is not a file"));
    constexpr auto cap = static_cast<qint64>(TMidiLimits::MaxFileSize);
    const QString tooLarge = QStringLiteral("the file is larger than %1 MiB").arg(cap / (1024 * 1024));
    if (info.size() > cap)
        refuse(path, tooLarge);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(path, QStringLiteral("the file cannot be read (%1)").arg(file.errorString()));
    const QByteArray bytes = file.read(cap + 1);  // the file may have grown since it was measured
    if (bytes.size() > cap)
        refuse(path, tooLarge);
    if (bytes.isEmpty() && file.error() != QFile::NoError)
        refuse(path, QStringLiteral("the file cannot be read (%1)").arg(file.errorString()));
    return ParseSongBytes(bytes, path);
}

}  // namespace spades
