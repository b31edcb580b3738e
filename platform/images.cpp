#include "platform/images.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace vorn {

namespace {

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

extern "C" void jpegOutputMessage(j_common_ptr) {
    // Warnings (a premature end of file, extraneous bytes) leave a usable picture: stay quiet.
}

// Decodes into `out`; on failure returns false with libjpeg's message in `message`. Nothing with
// a destructor lives across the setjmp, so the long jump leaves no object half-alive.
bool decodeJpegInto(const unsigned char* data, unsigned long size, QImage* out, char* message) {
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegErrorExit;
    err.pub.output_message = jpegOutputMessage;
    err.message[0] = '\0';
    if (setjmp(err.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGRX;  // QImage::Format_RGB32 on a little-endian machine
    jpeg_start_decompress(&cinfo);
    *out = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                  QImage::Format_RGB32);
    if (out->isNull()) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", "Out of memory");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

QImage decodeJpeg(const QByteArray& bytes) {
    QImage image;
    char message[JMSG_LENGTH_MAX];
    if (!decodeJpegInto(reinterpret_cast<const unsigned char*>(bytes.constData()),
                        static_cast<unsigned long>(bytes.size()), &image, message))
        throw Error(QString::fromLatin1(message));
    return image;
}

QImage decodeBitmap(const QByteArray& bytes) {
    QImage image;
    if (!bytes.startsWith("BM") || !image.loadFromData(bytes, "BMP"))
        throw Error(QStringLiteral("Bitmap image is not valid"));
    return image;
}

QImage loadPicture(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file %1").arg(path));
    const QByteArray bytes = file.readAll();
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"jpg" || ext == u"jpeg") return decodeJpeg(bytes);
    if (ext == u"bmp") return decodeBitmap(bytes);
    throw Error(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
}

}  // namespace vorn
