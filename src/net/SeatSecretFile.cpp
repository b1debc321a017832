#include "SeatSecretFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace spades::net {

QString DefaultSeatFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath("Tarnwell/Spades/seats");
}

TSeatSecretFile::TSeatSecretFile(QString folder, const QString& host, quint16 port, const TTableSalt& salt,
                                 const std::string& name)
    : FFolder(std::move(folder))
{
    if (FFolder.isEmpty())
        return;
    // The name tells nothing of the table to whoever lists the folder.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(host.toUtf8());
    hash.addData(QByteArrayView("\n"));
    hash.addData(QByteArray::number(port));
    hash.addData(QByteArrayView("\n"));
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(salt.data()), static_cast<qsizetype>(salt.size())));
    hash.addData(QByteArrayView("\n"));
    hash.addData(QByteArrayView(name.data(), static_cast<qsizetype>(name.size())));
    FPath = QDir(FFolder).filePath(QStringLiteral("seat-") + QString::fromLatin1(hash.result().toHex().left(32)));
}

std::optional<TSeatSecret> TSeatSecretFile::Load() const
{
    if (FPath.isEmpty())
        return std::nullopt;
    QFile file(FPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromHex(file.read(2 * SeatSecretBytes + 2).trimmed());
    if (bytes.size() != static_cast<qsizetype>(SeatSecretBytes))
        return std::nullopt;
    TSeatSecret secret;
    std::copy(bytes.begin(), bytes.end(), secret.begin());
    if (secret == TSeatSecret{})
        return std::nullopt;
    return secret;
}

bool TSeatSecretFile::Save(const TSeatSecret& secret) const
{
    if (FPath.isEmpty() || !QDir().mkpath(FFolder))
        return false;
    ::chmod(QFile::encodeName(FFolder).constData(), 0700);
    const QByteArray path = QFile::encodeName(FPath);
    const QByteArray temp = path + ".tmp";
    ::unlink(temp.constData());
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray text =
        QByteArray(reinterpret_cast<const char*>(secret.data()), static_cast<qsizetype>(secret.size())).toHex() + '\n';
    const bool written = ::write(fd, text.constData(), static_cast<size_t>(text.size())) == text.size() && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.constData(), path.constData()) != 0) {
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

void TSeatSecretFile::Remove() const
{
    if (!FPath.isEmpty())
        QFile::remove(FPath);
}

}  // namespace spades::net
