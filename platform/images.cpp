// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/images.h"

#include "platform/errors.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace vorn {

namespace {

// ---------------------------------------------------------------------------------------------
// What is kept of the rows as they are decoded

// Takes the rows of a picture, as 32-bit pixels, and keeps what the view needs: the top-left part
// that shows (the whole picture when it all shows), or the picture reduced by a whole factor,
// each block of k x k pixels averaged. Rows come once each, in order from the top or from the
// bottom, so that a reduced row is finished when the next block's first row arrives.
class PictureBuilder {
  public:
    // `size`: the picture as its rows come; `keep`: the top-left part to keep (reduce == 1);
    // `alpha`: the rows are ARGB32, else RGB32.
    PictureBuilder(QSize size, QSize keep, int reduce, bool alpha)
        : size_(size), reduce_(std::max(1, reduce)), alpha_(alpha) {
        const QSize out = reduce_ > 1 ? QSize((size.width() + reduce_ - 1) / reduce_,
                                              (size.height() + reduce_ - 1) / reduce_)
                                      : size.boundedTo(keep);
        image_ = QImage(
            out, alpha ? (reduce_ > 1 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_ARGB32)
                       : QImage::Format_RGB32);
        if (reduce_ > 1) sums_.assign(static_cast<std::size_t>(out.width()) * 4, 0);
    }

    bool allocated() const { return !image_.isNull(); }
    // Whether row y is kept or counts (a reduced picture needs them all).
    bool wants(int y) const {
        return reduce_ > 1 || y < image_.height() || y == size_.height() - 1;
    }

    void row(int y, const QRgb* pixels) {
        if (y == size_.height() - 1) corner_ = pixels[0] | 0xFF000000u;
        if (reduce_ == 1) {
            if (y < image_.height())
                std::memcpy(image_.scanLine(y), pixels,
                            static_cast<std::size_t>(image_.width()) * sizeof(QRgb));
            return;
        }
        const int target = y / reduce_;
        if (target != summing_) {
            flush();
            summing_ = target;
        }
        ++rowsSummed_;
        for (int x = 0; x < size_.width(); ++x) {
            const QRgb p = alpha_ ? qPremultiply(pixels[x]) : pixels[x];
            std::uint64_t* sum = &sums_[static_cast<std::size_t>(x / reduce_) * 4];
            sum[0] += qRed(p);
            sum[1] += qGreen(p);
            sum[2] += qBlue(p);
            sum[3] += alpha_ ? qAlpha(p) : 255;
        }
    }

    DecodedPicture take() {
        flush();
        DecodedPicture picture;
        picture.fullSize = size_;
        if (reduce_ > 1 && !image_.isNull())
            corner_ = image_.pixel(0, image_.height() - 1) | 0xFF000000u;
        picture.corner = corner_;
        picture.image = std::move(image_);
        return picture;
    }

  private:
    void flush() {
        if (summing_ < 0 || rowsSummed_ == 0) return;
        auto* out = reinterpret_cast<QRgb*>(image_.scanLine(summing_));
        for (int x = 0; x < image_.width(); ++x) {
            const int columns = std::min(reduce_, size_.width() - x * reduce_);
            const std::uint64_t n = static_cast<std::uint64_t>(columns) * rowsSummed_;
            std::uint64_t* sum = &sums_[static_cast<std::size_t>(x) * 4];
            const auto mean = [&](int c) { return static_cast<int>((sum[c] + n / 2) / n); };
            out[x] = qRgba(mean(0), mean(1), mean(2), mean(3));
            std::fill(sum, sum + 4, 0);
        }
        rowsSummed_ = 0;
        summing_ = -1;
    }

    QSize size_;
    int reduce_;
    bool alpha_;
    QImage image_;
    std::vector<std::uint64_t> sums_;  // red, green, blue, alpha of each reduced pixel
    int summing_ = -1;                 // the reduced row being summed
    int rowsSummed_ = 0;
    QRgb corner_ = 0xFF000000u;
};

// The eighths libjpeg scales a picture of `full` pixels by to show it in `area`: the fewest that
// keep both sides at least as large as the area.
int jpegEighths(QSize full, QSize area) {
    if (area.width() <= 0 || area.height() <= 0) return 8;
    for (int n = 1; n < 8; ++n)
        if ((full.width() * n + 7) / 8 >= area.width() &&
            (full.height() * n + 7) / 8 >= area.height())
            return n;
    return 8;
}

// The factor k by which a bitmap of `full` pixels is reduced to show it in `area`: the largest
// that keeps both sides at least as large as the area.
int bitmapFactor(QSize full, QSize area) {
    if (area.width() <= 0 || area.height() <= 0) return 1;
    for (int k = std::min(full.width() / area.width(), full.height() / area.height()) + 1; k > 1;
         --k)
        if ((full.width() + k - 1) / k >= area.width() &&
            (full.height() + k - 1) / k >= area.height())
            return k;
    return 1;
}

// What a view keeps of a picture of `size` decoded at its own size: the top-left part that shows.
QSize keptPart(QSize size, const PictureView& view) {
    if (view.fit == PictureView::Clipped && view.area.isValid()) return size.boundedTo(view.area);
    return size;
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

// A libjpeg source reading the file as it decodes, a block at a time, as the standard file source
// does: an empty file is an error, and the end of a file cut short a warning (an error here).
struct DeviceSource {
    jpeg_source_mgr pub;
    QIODevice* device;
    JOCTET* buffer;
    bool started;
};
constexpr std::size_t kSourceBlock = 64 * 1024;

extern "C" void sourceInit(j_decompress_ptr) {}
extern "C" void sourceTerm(j_decompress_ptr) {}

extern "C" boolean sourceFill(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<DeviceSource*>(cinfo->src);
    const qint64 got =
        src->device->read(reinterpret_cast<char*>(src->buffer), static_cast<qint64>(kSourceBlock));
    if (got <= 0) {
        if (!src->started) ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        src->pub.next_input_byte = src->buffer;
        src->pub.bytes_in_buffer = 2;
        return TRUE;
    }
    src->started = true;
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = static_cast<std::size_t>(got);
    return TRUE;
}

extern "C" void sourceSkip(j_decompress_ptr cinfo, long count) {
    auto* src = reinterpret_cast<DeviceSource*>(cinfo->src);
    if (count <= 0) return;
    while (count > static_cast<long>(src->pub.bytes_in_buffer)) {
        count -= static_cast<long>(src->pub.bytes_in_buffer);
        sourceFill(cinfo);
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void useDeviceSource(j_decompress_ptr cinfo, QIODevice* device) {
    auto* src = static_cast<DeviceSource*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(DeviceSource)));
    src->buffer = static_cast<JOCTET*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kSourceBlock));
    src->device = device;
    src->started = false;
    src->pub.init_source = sourceInit;
    src->pub.fill_input_buffer = sourceFill;
    src->pub.skip_input_data = sourceSkip;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = sourceTerm;
    src->pub.bytes_in_buffer = 0;
    src->pub.next_input_byte = nullptr;
    cinfo->src = &src->pub;
}

// Where a JPEG's decoding stopped, and what the message needs.
struct JpegOutcome {
    enum Kind { Decoded, Failed, TooLarge, TooManyCoefficients };
    Kind kind = Failed;
    char message[JMSG_LENGTH_MAX] = {};
    unsigned width = 0;
    unsigned height = 0;
    std::int64_t coefficientBytes = 0;
};

// The memory libjpeg takes for the coefficients of a picture it must keep whole (a progressive or
// otherwise multi-scan file): every block of every component, in whole rows and columns of its
// sampling factors.
std::int64_t coefficientBytes(const jpeg_decompress_struct& cinfo) {
    std::int64_t bytes = 0;
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& comp = cinfo.comp_info[c];
        const std::int64_t h = std::max(1, comp.h_samp_factor), v = std::max(1, comp.v_samp_factor);
        const std::int64_t columns = (comp.width_in_blocks + h - 1) / h * h;
        const std::int64_t rows = (comp.height_in_blocks + v - 1) / v * v;
        bytes += columns * rows * DCTSIZE2 * static_cast<std::int64_t>(sizeof(JCOEF));
    }
    return bytes;
}

// Decodes the JPEG read from `device` into `builder` (made here, once the size is known). The
// picture's size and its coefficients are checked from the header, before any pixel memory is
// taken. Nothing with a destructor lives in this function across the setjmp, so the long jump
// leaves no object half-alive; the builder lives with the caller.
void decodeJpegInto(QIODevice* device, const PictureView* view,
                    std::optional<PictureBuilder>* builder, JpegOutcome* outcome) {
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegErrorExit;
    err.pub.emit_message = jpegEmitMessage;
    err.message[0] = '\0';
    if (setjmp(err.jump)) {
        std::snprintf(outcome->message, JMSG_LENGTH_MAX, "%s", err.message);
        outcome->kind = JpegOutcome::Failed;
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    jpeg_create_decompress(&cinfo);
    useDeviceSource(&cinfo, device);
    jpeg_read_header(&cinfo, TRUE);
    outcome->width = cinfo.image_width;
    outcome->height = cinfo.image_height;
    if (budget::pictureSize(cinfo.image_width, cinfo.image_height)) {
        outcome->kind = JpegOutcome::TooLarge;
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    if (jpeg_has_multiple_scans(&cinfo)) {
        outcome->coefficientBytes = coefficientBytes(cinfo);
        if (outcome->coefficientBytes > budget::kMaxJpegCoefficientBytes) {
            outcome->kind = JpegOutcome::TooManyCoefficients;
            jpeg_destroy_decompress(&cinfo);
            return;
        }
    }
    const QSize full(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height));
    if (view->fit == PictureView::Stretched) {
        cinfo.scale_num = static_cast<unsigned>(jpegEighths(full, view->area));
        cinfo.scale_denom = 8;
    }
    cinfo.out_color_space = JCS_EXT_BGRX;  // QImage::Format_RGB32 on a little-endian machine
    jpeg_start_decompress(&cinfo);
    const QSize decoded(static_cast<int>(cinfo.output_width),
                        static_cast<int>(cinfo.output_height));
    builder->emplace(decoded, keptPart(decoded, *view), 1, false);
    if (!(*builder)->allocated()) {
        std::snprintf(outcome->message, JMSG_LENGTH_MAX, "%s", "Out of memory");
        outcome->kind = JpegOutcome::Failed;
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * 4, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, row, 1);
        (*builder)->row(y, reinterpret_cast<const QRgb*>(row[0]));
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    outcome->kind = JpegOutcome::Decoded;
}

DecodedPicture decodeJpegFrom(QIODevice& device, const PictureView& view) {
    std::optional<PictureBuilder> builder;
    JpegOutcome outcome;
    decodeJpegInto(&device, &view, &builder, &outcome);
    switch (outcome.kind) {
        case JpegOutcome::Decoded: {
            DecodedPicture picture = builder->take();
            picture.fullSize =
                QSize(static_cast<int>(outcome.width), static_cast<int>(outcome.height));
            return picture;
        }
        case JpegOutcome::TooLarge:
            throw Error(*budget::pictureSize(outcome.width, outcome.height));
        case JpegOutcome::TooManyCoefficients:
            throw Error(
                *budget::progressiveJpeg(outcome.width, outcome.height, outcome.coefficientBytes));
        case JpegOutcome::Failed:
            break;
    }
    throw Error(QString::fromLatin1(outcome.message));
}

// ---------------------------------------------------------------------------------------------
// BMP

const QString kInvalidBitmap = QStringLiteral("Bitmap image is not valid");
QString incompleteBitmap() {
    return kInvalidBitmap + QStringLiteral(": its pixel data is incomplete");
}

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

constexpr qint64 kFileHeader = 14;
// The headers, the colour masks and the largest colour table fit in this.
constexpr qint64 kBitmapPrefix = 2048;

std::uint32_t le32(const QByteArray& b, qint64 at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

std::uint16_t le16(const QByteArray& b, qint64 at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                      (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

void putLe32(QByteArray& b, qint64 at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void putLe16(QByteArray& b, qint64 at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

// What a bitmap's headers promise, read the way Qt's reader reads them.
struct BitmapLayout {
    std::uint32_t headerSize = 0;
    qint64 width = 0;
    qint64 height = 0;  // rows, whichever way they are stored
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = kUncompressed;
    qint64 paletteStart = 0;
    qint64 colours = 0;     // entries of the colour table
    int colourBytes = 4;    // bytes an entry
    qint64 paletteEnd = 0;  // the end of the headers, masks and colour table
    qint64 dataStart = 0;   // where the pixel data begins
    qint64 rowBytes() const { return (width * bits + 31) / 32 * 4; }
};

// From the first bytes of the file (at least the headers and the colour table).
std::optional<BitmapLayout> readBitmapLayout(const QByteArray& b) {
    if (b.size() < kFileHeader + 4 || !b.startsWith("BM")) return std::nullopt;
    BitmapLayout layout;
    const std::uint32_t headerSize = layout.headerSize = le32(b, kFileHeader);
    if (headerSize != kCoreHeader && headerSize != kInfoHeader && headerSize != kOs2Header &&
        headerSize != kV4Header && headerSize != kV5Header)
        return std::nullopt;
    if (b.size() < kFileHeader + headerSize) return std::nullopt;
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
    layout.paletteEnd = pos;
    // The file header's offset of the pixels is used when it lies past the colour table.
    const auto offset = static_cast<std::int32_t>(le32(b, 10));
    layout.dataStart = offset > pos ? offset : pos;
    return layout;
}

// Rows stored one after another from `firstStored` (in the file's own order), as a bitmap of
// their own made with the file's headers and colour table, decoded by Qt's reader: the rows top
// first, in Qt's format for the file.
QImage decodeStoredRows(const QByteArray& prefix, const BitmapLayout& layout, QIODevice& device,
                        qint64 firstStored, int count) {
    const qint64 rowBytes = layout.rowBytes();
    QByteArray bytes = prefix.left(layout.paletteEnd);
    if (!device.seek(layout.dataStart + firstStored * rowBytes)) throw Error(incompleteBitmap());
    const QByteArray rows = device.read(rowBytes * count);
    if (rows.size() != rowBytes * count) throw Error(incompleteBitmap());
    bytes += rows;
    putLe32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    putLe32(bytes, 10, static_cast<std::uint32_t>(layout.paletteEnd));
    if (layout.headerSize == kCoreHeader) {
        putLe16(bytes, 20, static_cast<std::uint16_t>(count));
    } else {
        putLe32(bytes, 22, static_cast<std::uint32_t>(layout.topDown ? -count : count));
        putLe32(bytes, 34, static_cast<std::uint32_t>(rows.size()));
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull()) throw Error(kInvalidBitmap);
    return image;
}

// Rows [top, top + count) of the picture (0 at the top), whichever way the file stores them.
QImage decodeRows(const QByteArray& prefix, const BitmapLayout& layout, QIODevice& device, int top,
                  int count) {
    const qint64 firstStored = layout.topDown ? top : layout.height - top - count;
    return decodeStoredRows(prefix, layout, device, firstStored, count);
}

// Rows decoded at a time: a few of the widest picture's rows (8192 pixels, 32 KB each). The
// builder sums rows into their reduced row in any grouping.
constexpr int kBandRows = 32;

// Uncompressed and bit-field pixels: the rows the view needs, a band at a time through Qt's
// reader, never the whole picture at once.
DecodedPicture decodeUncompressed(const QByteArray& prefix, const BitmapLayout& layout,
                                  QIODevice& device, const PictureView& view) {
    const int w = static_cast<int>(layout.width), h = static_cast<int>(layout.height);
    const QSize size(w, h);
    const int reduce = view.fit == PictureView::Stretched ? bitmapFactor(size, view.area) : 1;
    // A reduced picture needs every row; a kept part its rows and the bottom one (the corner).
    const int lastKept = reduce > 1 ? h : keptPart(size, view).height();
    const int band = kBandRows;
    auto rowsFrom = [&](int top) {
        return decodeRows(prefix, layout, device, top, std::min(band, h - top));
    };

    // A 32-bit bitmap whose alpha bytes are all zero was written by a tool that leaves them
    // unused: its pixels are opaque, not invisible. That is the whole picture's property: its
    // rows are all read once for it.
    const QImage first = rowsFrom(0);
    const bool withAlpha = first.hasAlphaChannel() && first.depth() == 32;
    bool alpha = false;
    for (int top = 0; withAlpha && top < h && !alpha; top += band) {
        const QImage argb =
            (top == 0 ? first : rowsFrom(top)).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height() && !alpha; ++y) {
            const auto* p = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < w && !alpha; ++x) alpha = qAlpha(p[x]) != 0;
        }
    }

    PictureBuilder builder(size, keptPart(size, view), reduce, alpha);
    if (!builder.allocated()) throw Error(kInvalidBitmap);
    auto take = [&](int top, const QImage& rows, int count) {
        QImage pixels =
            rows.convertToFormat(withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        for (int y = 0; y < count; ++y) {
            auto* p = reinterpret_cast<QRgb*>(pixels.scanLine(y));
            if (withAlpha && !alpha)
                for (int x = 0; x < w; ++x) p[x] |= 0xFF000000u;
            builder.row(top + y, p);
        }
    };
    for (int top = 0; top < lastKept; top += band) {
        const int count = std::min(band, lastKept - top);
        take(top, top == 0 ? first : rowsFrom(top), count);
    }
    if (lastKept < h) take(h - 1, decodeRows(prefix, layout, device, h - 1, 1), 1);
    return builder.take();
}

// Reads a file a block at a time: the run-length codes are read in order, never all at once.
class ByteReader {
  public:
    ByteReader(QIODevice& device, qint64 at) : device_(device) { ok_ = device.seek(at); }
    // The next `n` bytes into `out`, or false when the file ends first.
    bool take(std::uint8_t* out, qint64 n) {
        while (ok_ && buffer_.size() - pos_ < n) {
            const QByteArray more = device_.read(64 * 1024);
            if (more.isEmpty()) return false;
            buffer_ = buffer_.mid(pos_) + more;
            pos_ = 0;
        }
        if (!ok_) return false;
        std::memcpy(out, buffer_.constData() + pos_, static_cast<std::size_t>(n));
        pos_ += n;
        return true;
    }

  private:
    QIODevice& device_;
    QByteArray buffer_;
    qint64 pos_ = 0;
    bool ok_ = false;
};

// Decodes run-length encoded pixels into `builder`, a row at a time from the bottom. Pixels that
// the codes skip (a move, a row or the picture ended early) take colour 0 of the table. False
// when the data ends before the picture does: an end-of-picture code, or every row ended.
bool decodeRunLength(const QByteArray& prefix, const BitmapLayout& layout, QIODevice& device,
                     PictureBuilder& builder) {
    if (layout.topDown || device.size() < layout.dataStart) return false;
    const qint64 w = layout.width, h = layout.height;
    std::vector<QRgb> table;
    for (qint64 i = 0; i < layout.colours; ++i) {
        const qint64 at = layout.paletteStart + i * layout.colourBytes;
        table.push_back(qRgb(static_cast<std::uint8_t>(prefix[at + 2]),
                             static_cast<std::uint8_t>(prefix[at + 1]),
                             static_cast<std::uint8_t>(prefix[at])));
    }
    const bool four = layout.compression == kRle4;
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(w), 0);
    std::vector<QRgb> pixels(static_cast<std::size_t>(w));
    qint64 x = 0, y = 0;
    qint64 emitted = 0;  // rows handed over, from the bottom
    // Hands over every row below `upTo` (from the bottom): the one being written, then any the
    // codes skipped, in colour 0.
    auto emitRowsBelow = [&](qint64 upTo) {
        upTo = std::min(upTo, h);
        while (emitted < upTo) {
            const int top = static_cast<int>(h - 1 - emitted);
            if (builder.wants(top)) {
                for (qint64 i = 0; i < w; ++i) pixels[i] = table[indices[i]];
                builder.row(top, pixels.data());
            }
            std::fill(indices.begin(), indices.end(), 0);
            ++emitted;
        }
    };
    auto put = [&](int index) {
        if (x < w && y < h && index < layout.colours) indices[x] = static_cast<std::uint8_t>(index);
        ++x;
    };
    ByteReader in(device, layout.dataStart);
    std::uint8_t code[2];
    std::uint8_t stored[256];
    while (y < h) {
        if (!in.take(code, 2)) {
            if (y == h - 1 && x >= w) break;  // the last row is whole; only its end code is cut
            return false;
        }
        const int count = code[0], value = code[1];
        if (count > 0) {  // a run of one colour, or of two alternating ones
            for (int i = 0; i < count; ++i) put(four ? (i % 2 ? value & 0x0F : value >> 4) : value);
        } else if (value == 0) {  // end of row
            x = 0;
            ++y;
            emitRowsBelow(y);
        } else if (value == 1) {  // end of picture
            break;
        } else if (value == 2) {  // move right and up
            std::uint8_t move[2];
            if (!in.take(move, 2)) return false;
            x += move[0];
            y += move[1];
            emitRowsBelow(y);
        } else {  // `value` pixels stored one by one, padded to a 16-bit boundary
            qint64 bytes = four ? (value + 1) / 2 : value;
            bytes += bytes & 1;
            if (!in.take(stored, bytes)) return false;
            for (int i = 0; i < value; ++i)
                put(four ? (i % 2 ? stored[i / 2] & 0x0F : stored[i / 2] >> 4) : stored[i]);
        }
    }
    emitRowsBelow(h);
    return true;
}

DecodedPicture decodeBitmapFrom(QIODevice& device, const PictureView& view) {
    if (!device.seek(0)) throw Error(kInvalidBitmap);
    const QByteArray prefix = device.read(kBitmapPrefix);
    const auto layout = readBitmapLayout(prefix);
    if (!layout) throw Error(kInvalidBitmap);
    if (auto tooLarge = budget::pictureSize(layout->width, layout->height)) throw Error(*tooLarge);
    if (layout->compression == kRle8 || layout->compression == kRle4) {
        // Qt's reader leaves the pixels that the codes skip undefined: decoded here instead.
        const QSize size(static_cast<int>(layout->width), static_cast<int>(layout->height));
        const int reduce = view.fit == PictureView::Stretched ? bitmapFactor(size, view.area) : 1;
        if (layout->topDown) throw Error(kInvalidBitmap);
        if (prefix.size() < layout->paletteEnd) throw Error(incompleteBitmap());
        PictureBuilder builder(size, keptPart(size, view), reduce, false);
        if (!builder.allocated()) throw Error(kInvalidBitmap);
        if (!decodeRunLength(prefix, *layout, device, builder)) throw Error(incompleteBitmap());
        return builder.take();
    }
    if (layout->dataStart + layout->rowBytes() * layout->height > device.size())
        throw Error(incompleteBitmap());
    return decodeUncompressed(prefix, *layout, device, view);
}

DecodedPicture decodeFrom(QIODevice& device, const QString& extension, const PictureView& view) {
    const QString ext = extension.toLower();
    if (ext == u"jpg" || ext == u"jpeg") return decodeJpegFrom(device, view);
    if (ext == u"bmp") return decodeBitmapFrom(device, view);
    throw Error(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
}

}  // namespace

QSize jpegScaledSize(QSize full, QSize area) {
    const int n = jpegEighths(full, area);
    return QSize((full.width() * n + 7) / 8, (full.height() * n + 7) / 8);
}

QSize bitmapScaledSize(QSize full, QSize area) {
    const int k = bitmapFactor(full, area);
    return QSize((full.width() + k - 1) / k, (full.height() + k - 1) / k);
}

QImage decodeJpeg(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeJpegFrom(buffer, PictureView{}).image;
}

QImage decodeBitmap(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeBitmapFrom(buffer, PictureView{}).image;
}

DecodedPicture decodePicture(const QByteArray& bytes, const QString& extension,
                             const PictureView& view) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeFrom(buffer, extension, view);
}

DecodedPicture decodePicture(QIODevice& device, const QString& extension, const PictureView& view) {
    return decodeFrom(device, extension, view);
}

QImage decodePicture(const QByteArray& bytes, const QString& extension) {
    return decodePicture(bytes, extension, PictureView{}).image;
}

DecodedPicture loadPicture(const QString& path, const PictureView& view) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file %1").arg(path));
    try {
        return decodeFrom(file, QFileInfo(path).suffix(), view);
    } catch (const Error& e) {
        throw Error(QStringLiteral("%1: %2").arg(path, e.message()));
    }
}

QImage loadPicture(const QString& path) {
    return loadPicture(path, PictureView{}).image;
}

}  // namespace vorn
