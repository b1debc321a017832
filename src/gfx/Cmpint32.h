// Loader of the bitmaps built into the program as compressed "CMPBMP" resources.
// Each resource lives at ":/CMPBMP/<NAME IN UPPER CASE>" in Qt's resource system.
#pragma once

#include "Cmpres32.h"

class QImage;
class QIODevice;
class QString;

namespace spades {

// No resource of type "CMPBMP" by the given name.
class EResourceNotFound : public EResourceError {
public:
    using EResourceError::EResourceError;
};

// The expanded bytes are not a BMP file the image reader accepts.
class EInvalidBitmap : public EResourceError {
public:
    using EResourceError::EResourceError;
};

// Expands Source into memory and loads the BMP file into Bitmap. Bitmap is
// changed only when both steps succeed. Returns true; failures are exceptions.
bool LoadBitmapFromCompressedStream(QIODevice& source, QImage& bitmap);

// The same for the built-in resource Name, found without regard to case.
bool LoadCompressedBitmap(const QString& name, QImage& bitmap);

// Where the resource of that name would be; empty for a name no resource can have.
QString CompressedBitmapPath(const QString& name);

}  // namespace spades
