#include "Cmpint32.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QString>

namespace spades {

bool LoadBitmapFromCompressedStream(QIODevice& source, QImage& bitmap)
{
    QByteArray expanded;
    {
        QBuffer memory(&expanded);
        memory.open(QIODevice::WriteOnly);
        TResCompress().Expand(memory, source);
    }
    QImage loaded;
    if (!loaded.loadFromData(expanded, "BMP"))
        throw EInvalidBitmap("Compressed bitmap does not hold a valid BMP image");
    bitmap = std::move(loaded);
    return true;
}

QString CompressedBitmapPath(const QString& name)
{
    // Resource names are single path components; anything else could reach
    // resources of another type.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.startsWith(QLatin1Char('.')))
        return {};
    return QStringLiteral(":/CMPBMP/") + name.toUpper();
}

bool LoadCompressedBitmap(const QString& name, QImage& bitmap)
{
    const QString path = CompressedBitmapPath(name);
    QFile resource(path);
    if (path.isEmpty() || !resource.open(QIODevice::ReadOnly))
        throw EResourceNotFound("Resource " + name.toStdString() + " not found");
    return LoadBitmapFromCompressedStream(resource, bitmap);
}

}  // namespace spades
