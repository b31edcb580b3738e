#include "platform/media/ffmpeg.h"

namespace vorn::ffmpeg {

QImage toImage(const AVFrame* frame, ScalePtr& scale) {
    const int w = frame->width, h = frame->height;
    if (w <= 0 || h <= 0) return {};
    scale.reset(sws_getCachedContext(scale.release(), w, h, static_cast<AVPixelFormat>(frame->format), w, h,
                                     AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scale) return {};
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) return {};
    std::uint8_t* dst[4] = {image.bits(), nullptr, nullptr, nullptr};
    int dstStride[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    sws_scale(scale.get(), frame->data, frame->linesize, 0, h, dst, dstStride);
    return image;
}

}  // namespace vorn::ffmpeg
