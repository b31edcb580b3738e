#include "support/pictures.h"

#include <QBuffer>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace vorn::test {

namespace {

void put16(QByteArray& b, int v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}

void put32(QByteArray& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// File header, then an information header of `headerSize` bytes (40, or 124 with masks).
QByteArray headers(int headerSize, int width, int height, int bits, int compression, int colours,
                   int dataStart, int dataBytes, bool alphaMasks) {
    QByteArray b;
    b.append("BM");
    put32(b, static_cast<std::uint32_t>(dataStart + dataBytes));
    put32(b, 0);
    put32(b, static_cast<std::uint32_t>(dataStart));
    put32(b, static_cast<std::uint32_t>(headerSize));
    put32(b, static_cast<std::uint32_t>(width));
    put32(b, static_cast<std::uint32_t>(height));
    put16(b, 1);
    put16(b, bits);
    put32(b, static_cast<std::uint32_t>(compression));
    put32(b, static_cast<std::uint32_t>(dataBytes));
    put32(b, 2835);
    put32(b, 2835);
    put32(b, static_cast<std::uint32_t>(colours));
    put32(b, 0);
    if (headerSize == 124) {
        const std::uint32_t masks[] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu,
                                       alphaMasks ? 0xFF000000u : 0u};
        for (std::uint32_t m : masks) put32(b, m);
        put32(b, 0x73524742);              // "sRGB"
        b.append(QByteArray(36 + 12, 0));  // end points, gamma
        put32(b, 4);                       // intent
        put32(b, 0);                       // profile data
        put32(b, 0);                       // profile size
        put32(b, 0);                       // reserved
    }
    return b;
}

}  // namespace

QByteArray bitmapBytes(BitmapKind kind, const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const bool paletted = kind == BitmapKind::Paletted8 || kind == BitmapKind::Paletted8V5 ||
                          kind == BitmapKind::Paletted4 || kind == BitmapKind::Rle8 ||
                          kind == BitmapKind::Rle4;
    const int headerSize =
        (kind == BitmapKind::Paletted8V5 || kind == BitmapKind::Argb32V5) ? 124 : 40;
    int bits = 24;
    if (kind == BitmapKind::Paletted4 || kind == BitmapKind::Rle4)
        bits = 4;
    else if (paletted)
        bits = 8;
    else if (kind == BitmapKind::Rgb32 || kind == BitmapKind::Argb32V5)
        bits = 32;

    std::vector<QRgb> palette;
    std::map<QRgb, int> index;
    if (paletted) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb c = image.pixel(x, y) | 0xFF000000u;
                if (index.emplace(c, static_cast<int>(palette.size())).second) palette.push_back(c);
            }
        if (palette.size() > (bits == 4 ? 16u : 256u))
            throw std::invalid_argument("too many colours");
    }
    auto at = [&](int x, int y) { return index.at(image.pixel(x, y) | 0xFF000000u); };

    QByteArray pixels;
    if (kind == BitmapKind::Rle8 || kind == BitmapKind::Rle4) {
        for (int y = h - 1; y >= 0; --y) {
            for (int x = 0; x < w;) {
                int run = 1;
                while (x + run < w && run < 255 && at(x + run, y) == at(x, y)) ++run;
                pixels.append(static_cast<char>(run));
                const int value = at(x, y);
                pixels.append(static_cast<char>(bits == 4 ? value << 4 | value : value));
                x += run;
            }
            pixels.append(QByteArray("\0\0", 2));  // end of row
        }
        pixels.append(QByteArray("\0\1", 2));  // end of picture
    } else {
        const int rowBytes = (w * bits + 31) / 32 * 4;
        for (int y = h - 1; y >= 0; --y) {
            QByteArray row(rowBytes, 0);
            for (int x = 0; x < w; ++x) {
                const QRgb c = image.pixel(x, y);
                if (bits == 4) {
                    row[x / 2] = static_cast<char>(row[x / 2] | (at(x, y) << (x % 2 ? 0 : 4)));
                } else if (bits == 8) {
                    row[x] = static_cast<char>(at(x, y));
                } else {
                    const int step = bits / 8;
                    row[x * step] = static_cast<char>(qBlue(c));
                    row[x * step + 1] = static_cast<char>(qGreen(c));
                    row[x * step + 2] = static_cast<char>(qRed(c));
                    if (step == 4)
                        row[x * step + 3] =
                            static_cast<char>(kind == BitmapKind::Argb32V5 ? qAlpha(c) : 0);
                }
            }
            pixels.append(row);
        }
    }
    QByteArray table;
    for (QRgb c : palette) {
        table.append(static_cast<char>(qBlue(c)));
        table.append(static_cast<char>(qGreen(c)));
        table.append(static_cast<char>(qRed(c)));
        table.append('\0');
    }
    const int compression = kind == BitmapKind::Rle8       ? 1
                            : kind == BitmapKind::Rle4     ? 2
                            : kind == BitmapKind::Argb32V5 ? 3
                                                           : 0;
    const int dataStart = 14 + headerSize + static_cast<int>(table.size());
    QByteArray b =
        headers(headerSize, w, h, bits, compression, static_cast<int>(palette.size()), dataStart,
                static_cast<int>(pixels.size()), kind == BitmapKind::Argb32V5);
    return b + table + pixels;
}

QByteArray bitmapHeaderOnly(int width, int height, int dataBytes) {
    return headers(40, width, height, 24, 0, 0, 54, dataBytes, false) + QByteArray(dataBytes, 0x40);
}

QByteArray jpegBytes(const QImage& source, bool progressive, bool grayscale) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (grayscale) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto* row =
            const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

QByteArray withJpegSize(QByteArray jpeg, int width, int height) {
    // The first start-of-frame marker (baseline, extended or progressive) holds the size:
    // marker, length (2), precision (1), height (2), width (2).
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    throw std::invalid_argument("no frame header");
}

}  // namespace vorn::test
