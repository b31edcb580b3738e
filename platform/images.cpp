// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/images.h"

#include "platform/errors.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <jpeglib.h>
#include <jerror.h>

namespace vorn {

namespace {

QString tooLarge(qint64 width, qint64 height) {
    return QStringLiteral("Picture is too large: %1 x %2 pixels, at most %3 x %3")
        .arg(width)
        .arg(height)
        .arg(kMaxPictureSide);
}

bool fits(qint64 width, qint64 height) {
    return width <= kMaxPictureSide && height <= kMaxPictureSide;
}

// ---------------------------------------------------------------------------------------------
// JPEG

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void jpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

extern "C" void jpegEmitMessage(j_common_ptr cinfo, int level) {
    // A file cut short would show its missing part grey: that is an error here. Other warnings
    // (extraneous bytes between markers, for example) leave a sound picture: stay quiet.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) jpegErrorExit(cinfo);
}

enum class JpegResult { Decoded, Failed, TooLarge };

// Decodes into `out`. On failure `message` holds libjpeg's message; when the header announces a
// picture larger than the game takes, `width` and `height` hold its size and nothing else has been
// allocated. Nothing with a destructor lives across the setjmp, so the long jump leaves no object
// half-alive.
JpegResult decodeJpegInto(const unsigned char* data, unsigned long size, QImage* out, char* message,
                          unsigned* width, unsigned* height) {
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegErrorExit;
    err.pub.emit_message = jpegEmitMessage;
    err.message[0] = '\0';
    if (setjmp(err.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        jpeg_destroy_decompress(&cinfo);
        return JpegResult::Failed;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    if (!fits(cinfo.image_width, cinfo.image_height)) {
        *width = cinfo.image_width;
        *height = cinfo.image_height;
        jpeg_destroy_decompress(&cinfo);
        return JpegResult::TooLarge;
    }
    cinfo.out_color_space = JCS_EXT_BGRX;  // QImage::Format_RGB32 on a little-endian machine
    jpeg_start_decompress(&cinfo);
    *out = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                  QImage::Format_RGB32);
    if (out->isNull()) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", "Out of memory");
        jpeg_destroy_decompress(&cinfo);
        return JpegResult::Failed;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return JpegResult::Decoded;
}

// ---------------------------------------------------------------------------------------------
// BMP

const QString kInvalidBitmap = QStringLiteral("Bitmap image is not valid");

// The header sizes the bitmap reader understands: the old OS/2 core header, the Windows
// information header, the OS/2 2.x header and the Windows version 4 and 5 headers.
constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kOs2Header = 64;
constexpr std::uint32_t kV4Header = 108;
constexpr std::uint32_t kV5Header = 124;

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

std::uint32_t le32(const QByteArray& b, qint64 at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

std::uint16_t le16(const QByteArray& b, qint64 at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                      (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

// What a bitmap's headers promise, read the way Qt's reader reads them.
struct BitmapLayout {
    qint64 width = 0;
    qint64 height = 0;  // rows, whichever way they are stored
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = kUncompressed;
    qint64 paletteStart = 0;
    qint64 colours = 0;    // entries of the colour table
    int colourBytes = 4;   // bytes an entry
    qint64 dataStart = 0;  // where the pixel data begins
};

std::optional<BitmapLayout> readBitmapLayout(const QByteArray& b) {
    constexpr qint64 kFileHeader = 14;
    if (b.size() < kFileHeader + 4 || !b.startsWith("BM")) return std::nullopt;
    const std::uint32_t headerSize = le32(b, kFileHeader);
    if (headerSize != kCoreHeader && headerSize != kInfoHeader && headerSize != kOs2Header &&
        headerSize != kV4Header && headerSize != kV5Header)
        return std::nullopt;
    if (b.size() < kFileHeader + headerSize) return std::nullopt;
    BitmapLayout layout;
    int planes = 0;
    std::uint32_t coloursUsed = 0;
    if (headerSize == kCoreHeader) {
        layout.width = static_cast<std::int16_t>(le16(b, 18));
        layout.height = static_cast<std::int16_t>(le16(b, 20));
        planes = le16(b, 22);
        layout.bits = le16(b, 24);
        layout.colourBytes = 3;
    } else {
        layout.width = static_cast<std::int32_t>(le32(b, 18));
        layout.height = static_cast<std::int32_t>(le32(b, 22));
        planes = le16(b, 26);
        layout.bits = le16(b, 28);
        layout.compression = le32(b, 30);
        coloursUsed = le32(b, 46);
    }
    const int bits = layout.bits;
    const std::uint32_t c = layout.compression;
    if (planes != 1 || layout.width <= 0 || layout.height == 0) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;
    if (!(c == kUncompressed || (c == kRle4 && bits == 4) || (c == kRle8 && bits == 8) ||
          (c == kBitFields && (bits == 16 || bits == 32))))
        return std::nullopt;
    layout.topDown = layout.height < 0;
    layout.height = std::abs(layout.height);

    // Colour masks follow a short header; a version 4 or 5 header holds its own.
    qint64 pos = kFileHeader + headerSize;
    if (c == kBitFields && headerSize < kV4Header) pos += 12;
    layout.paletteStart = pos;
    if (bits <= 8) {
        layout.colours = coloursUsed ? coloursUsed : (qint64{1} << bits);
        if (layout.colours > 256) return std::nullopt;
        pos += layout.colours * layout.colourBytes;
    }
    // The file header's offset of the pixels is used when it lies past the colour table.
    const auto offset = static_cast<std::int32_t>(le32(b, 10));
    layout.dataStart = offset > pos ? offset : pos;
    return layout;
}

bool uncompressedDataIsComplete(const QByteArray& b, const BitmapLayout& layout) {
    const qint64 rowBytes = (layout.width * layout.bits + 31) / 32 * 4;
    return layout.dataStart + rowBytes * layout.height <= b.size();
}

// Decodes run-length encoded pixels. Pixels that the codes skip (a move, a row or the picture
// ended early) take colour 0 of the table. Nothing when the data ends before the picture does:
// an end-of-picture code, or every row ended.
std::optional<QImage> decodeRunLength(const QByteArray& b, const BitmapLayout& layout) {
    if (layout.topDown || b.size() < layout.dataStart) return std::nullopt;
    const qint64 w = layout.width, h = layout.height, size = b.size();
    QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_Indexed8);
    if (image.isNull()) return std::nullopt;
    image.fill(0);
    QList<QRgb> table;
    for (qint64 i = 0; i < layout.colours; ++i) {
        const qint64 at = layout.paletteStart + i * layout.colourBytes;
        table.append(qRgb(static_cast<std::uint8_t>(b[at + 2]),
                          static_cast<std::uint8_t>(b[at + 1]), static_cast<std::uint8_t>(b[at])));
    }
    image.setColorTable(table);
    const bool four = layout.compression == kRle4;
    auto byte = [&b](qint64 at) { return static_cast<std::uint8_t>(b[at]); };
    qint64 pos = layout.dataStart, x = 0, y = 0;
    auto put = [&](int index) {
        if (x < w && y < h && index < layout.colours)
            image.scanLine(static_cast<int>(h - 1 - y))[x] = static_cast<uchar>(index);
        ++x;
    };
    while (y < h) {
        if (pos + 2 > size) {
            if (y == h - 1 && x >= w) break;  // the last row is whole; only its end code is cut
            return std::nullopt;
        }
        const int count = byte(pos), code = byte(pos + 1);
        pos += 2;
        if (count > 0) {  // a run of one colour, or of two alternating ones
            for (int i = 0; i < count; ++i) put(four ? (i % 2 ? code & 0x0F : code >> 4) : code);
        } else if (code == 0) {  // end of row
            x = 0;
            ++y;
        } else if (code == 1) {  // end of picture
            break;
        } else if (code == 2) {  // move right and up
            if (pos + 2 > size) return std::nullopt;
            x += byte(pos);
            y += byte(pos + 1);
            pos += 2;
        } else {  // `code` pixels stored one by one, padded to a 16-bit boundary
            qint64 stored = four ? (code + 1) / 2 : code;
            stored += stored & 1;
            if (pos + stored > size) return std::nullopt;
            for (int i = 0; i < code; ++i)
                put(four ? (i % 2 ? byte(pos + i / 2) & 0x0F : byte(pos + i / 2) >> 4)
                         : byte(pos + i));
            pos += stored;
        }
    }
    return image;
}

QImage decodeUncompressed(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "BMP");
    // Room for the largest picture accepted, in the reader's widest pixel format.
    constexpr qint64 kMiB = 1024 * 1024;
    reader.setAllocationLimit(
        static_cast<int>(qint64{kMaxPictureSide} * kMaxPictureSide * 4 / kMiB + 1));
    QImage image = reader.read();
    if (image.isNull()) throw Error(kInvalidBitmap);
    // A 32-bit bitmap whose alpha bytes are all zero was written by a tool that leaves them
    // unused: its pixels are opaque, not invisible.
    if (image.hasAlphaChannel() && image.depth() == 32) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        bool anyAlpha = false;
        for (int y = 0; y < image.height() && !anyAlpha; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width() && !anyAlpha; ++x) anyAlpha = qAlpha(row[x]) != 0;
        }
        if (!anyAlpha) {
            for (int y = 0; y < image.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x) row[x] |= 0xFF000000u;
            }
            image.reinterpretAsFormat(QImage::Format_RGB32);
        }
    }
    return image;
}

}  // namespace

QImage decodeJpeg(const QByteArray& bytes) {
    QImage image;
    char message[JMSG_LENGTH_MAX];
    unsigned width = 0, height = 0;
    switch (decodeJpegInto(reinterpret_cast<const unsigned char*>(bytes.constData()),
                           static_cast<unsigned long>(bytes.size()), &image, message, &width,
                           &height)) {
        case JpegResult::Decoded:
            return image;
        case JpegResult::TooLarge:
            throw Error(tooLarge(width, height));
        case JpegResult::Failed:
            break;
    }
    throw Error(QString::fromLatin1(message));
}

QImage decodeBitmap(const QByteArray& bytes) {
    const auto layout = readBitmapLayout(bytes);
    if (!layout) throw Error(kInvalidBitmap);
    if (!fits(layout->width, layout->height)) throw Error(tooLarge(layout->width, layout->height));
    const QString incomplete = kInvalidBitmap + QStringLiteral(": its pixel data is incomplete");
    if (layout->compression == kRle8 || layout->compression == kRle4) {
        // Qt's reader leaves the pixels that the codes skip undefined: decoded here instead.
        auto image = decodeRunLength(bytes, *layout);
        if (!image) throw Error(layout->topDown ? kInvalidBitmap : incomplete);
        return *image;
    }
    if (!uncompressedDataIsComplete(bytes, *layout)) throw Error(incomplete);
    return decodeUncompressed(bytes);
}

QImage decodePicture(const QByteArray& bytes, const QString& extension) {
    const QString ext = extension.toLower();
    if (ext == u"jpg" || ext == u"jpeg") return decodeJpeg(bytes);
    if (ext == u"bmp") return decodeBitmap(bytes);
    throw Error(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
}

QImage loadPicture(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file %1").arg(path));
    const QByteArray bytes = file.readAll();
    try {
        return decodePicture(bytes, QFileInfo(path).suffix());
    } catch (const Error& e) {
        throw Error(QStringLiteral("%1: %2").arg(path, e.message()));
    }
}

}  // namespace vorn
