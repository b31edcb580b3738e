#pragma once
// Picture loading for the screens: JPEG through libjpeg, BMP through Qt. Failures raise the
// game's error with the decoder's own text.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vorn {

// Loads "path" (relative to the working directory) by its extension. Raises
// "Cannot open file <path>" when the file cannot be opened.
QImage loadPicture(const QString& path);

// Decodes JPEG bytes; raises libjpeg's own message ("Not a JPEG file: starts with 0x54 0x68",
// "Empty input file", ...). Warnings such as a premature end of file do not fail.
QImage decodeJpeg(const QByteArray& bytes);

// Decodes a Windows bitmap; raises "Bitmap image is not valid".
QImage decodeBitmap(const QByteArray& bytes);

}  // namespace vorn
