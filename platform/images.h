// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Picture loading for the screens: JPEG through libjpeg, BMP through Qt after the game's own
// checks of the bitmap's header and pixel data. A picture that cannot be shown as its file says
// is refused, never shown in part or with made-up pixels.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vorn {

// The largest picture accepted, in pixels a side: far beyond the 640 x 440 screen, and small
// enough that one picture never takes more than a few hundred megabytes to decode. Checked from
// the file's header, before any pixel memory is taken.
constexpr int kMaxPictureSide = 8192;

// Loads "path" (relative to the working directory) by its extension. Raises
// "Cannot open file <path>" when the file cannot be opened, and "<path>: <decoder's message>"
// when its content cannot be shown.
QImage loadPicture(const QString& path);

// Decodes the bytes of a picture file by its extension ("jpg", "jpeg" or "bmp", any letter case);
// raises the decoder's message alone.
QImage decodePicture(const QByteArray& bytes, const QString& extension);

// Decodes JPEG bytes; raises libjpeg's own message ("Not a JPEG file: starts with 0x54 0x68",
// "Empty input file", ...) or the picture-size message. Warnings such as a premature end of file
// do not fail.
QImage decodeJpeg(const QByteArray& bytes);

// Decodes a Windows bitmap (uncompressed, bit-field or run-length encoded); raises
// "Bitmap image is not valid", with the reason when it is known, or the picture-size message.
QImage decodeBitmap(const QByteArray& bytes);

}  // namespace vorn
