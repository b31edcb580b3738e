#pragma once
// Picture files written byte by byte in the layouts that common tools save, so that the tests can
// feed the loaders exactly what a content author's program produces, and damage it.

#include <QByteArray>
#include <QImage>

namespace vorn::test {

enum class BitmapKind {
    Paletted8,    // 8 bits a pixel, colour table, information header (40 bytes)
    Paletted8V5,  // the same with a version 5 header (124 bytes)
    Paletted4,    // 4 bits a pixel, information header
    Rle8,         // 8 bits a pixel, run-length encoded, information header
    Rle4,         // 4 bits a pixel, run-length encoded, information header
    Rgb24,        // 24 bits a pixel
    Rgb32,        // 32 bits a pixel, the fourth byte unused (written as 0)
    Argb32V5,     // 32 bits a pixel, bit fields with an alpha mask, version 5 header
};

// The bitmap of `image`, bottom row first. Paletted kinds take at most 16 (4 bits) or 256 colours;
// Argb32V5 stores the image's alpha.
QByteArray bitmapBytes(BitmapKind kind, const QImage& image);

// A bitmap header that announces `width` x `height` pixels of 24 bits, followed by `dataBytes`
// bytes of pixels.
QByteArray bitmapHeaderOnly(int width, int height, int dataBytes);

// A JPEG of `image`, optionally progressive or grayscale.
QByteArray jpegBytes(const QImage& image, bool progressive, bool grayscale);

// The same JPEG with the picture size of its frame header changed.
QByteArray withJpegSize(QByteArray jpeg, int width, int height);

}  // namespace vorn::test
