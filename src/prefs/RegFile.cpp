#include "RegFile.h"

#include "RegErrors.h"
#include "RegText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace spades {

namespace {
// A key name may hold characters a file name must not; and "." or ".." would
// leave the configuration folder.
QString SafeFileName(QString part)
{
    part.replace(u'/', u'_');
    if (part == u"." || part == u"..")
        part = QStringLiteral("_");
    return part;
}

bool Occupied(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
}  // namespace

QString RegFilePathFor(const QString& baseKeyPath)
{
    QStringList parts = baseKeyPath.split(u'\\', Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.front().compare(QLatin1StringView("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (parts.isEmpty())
        parts.append(QStringLiteral("Registry"));
    for (QString& part : parts)
        part = SafeFileName(part);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty())
        return {};
    return config + u'/' + parts.join(u'/') + QLatin1StringView(".reg");
}

TRegFile::TStatus TRegFile::Load(TRegStore& store) const
{
    store = {};
    if (FPath.isEmpty() || !Occupied(FPath))
        return {};
    const QFileInfo info(FPath);
    // A folder or a pipe in its place would fail or block the read.
    if (!info.isFile())
        return {TError::CannotRead, QStringLiteral("%1 is not a regular file").arg(FPath)};
    QFile file(FPath);
    if (!file.open(QIODevice::ReadOnly))
        return {TError::CannotRead, file.errorString()};
    const QByteArray bytes = file.read(MaxRegFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return {TError::CannotRead, file.errorString()};
    store = ParseRegText(bytes, FPath);
    return {};
}

TRegFile::TStatus TRegFile::Save(const TRegStore& store) const
{
    if (FPath.isEmpty())
        return {TError::CannotCreate, QStringLiteral("there is no per-user configuration folder")};
    const QString folder = QFileInfo(FPath).absolutePath();
    if (!QDir().mkpath(folder))
        return {TError::CannotCreate, QStringLiteral("cannot create the folder %1").arg(folder)};
    QSaveFile file(FPath);
    if (!file.open(QIODevice::WriteOnly))
        return {TError::CannotCreate, file.errorString()};
    const QByteArray bytes = FormatRegText(store);
    // commit() does not notice when the last buffered write fails (a full disk),
    // so the data is flushed and checked before the file may replace the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return {TError::CannotWrite, why};
    }
    if (!file.commit())
        return {TError::CannotWrite, file.errorString()};
    return {};
}

QString TRegFile::KeepDamagedCopy() const
{
    if (FPath.isEmpty() || !Occupied(FPath))
        return {};
    const QString base = FPath + QLatin1StringView(".damaged");
    QString target = base;
    for (int n = 2; Occupied(target); ++n) {
        if (n > 9999)
            throw ERegistryException(QStringLiteral("Too many damaged copies of %1").arg(FPath));
        target = base + u'.' + QString::number(n);
    }
    QFile file(FPath);
    if (!file.rename(target))
        throw ERegistryException(QStringLiteral("Cannot move %1 aside to %2").arg(FPath, target), file.errorString());
    return target;
}

}  // namespace spades
