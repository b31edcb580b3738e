// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/ffmpeg.h"

#include "platform/budgets.h"

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include <limits>
#include <vector>

namespace vorn::ffmpeg {

namespace {
// No decoder makes a picture larger than the video budget, whatever a header says: a larger one
// fails to decode instead of taking the memory.
constexpr std::int64_t kLargestPicturePixels =
    std::int64_t{budget::kMaxVideoSide} * budget::kMaxVideoSide;
}  // namespace

CodecPtr openDecoder(const AVFormatContext* format, int index) {
    if (index < 0 || static_cast<unsigned>(index) >= format->nb_streams) return nullptr;
    const AVCodecParameters* parameters = format->streams[index]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec) return nullptr;
    CodecPtr context(avcodec_alloc_context3(codec));
    if (context) context->max_pixels = kLargestPicturePixels;
    if (!context || avcodec_parameters_to_context(context.get(), parameters) < 0 ||
        avcodec_open2(context.get(), codec, nullptr) < 0)
        return nullptr;
    return context;
}

// The largest block FFmpeg may take at once. The demuxers believe the sizes a file's headers
// give: a few bytes announcing a 4 GB stream name had it allocate that much. Room enough for the
// largest video picture the game takes (1280 x 1280, 4 bytes a pixel) four times over, and no
// more.
constexpr std::size_t kLargestAllocation =
    std::size_t{budget::kMaxVideoSide} * budget::kMaxVideoSide * 4 * 4;

std::unique_ptr<StreamDecoder> StreamDecoder::open(const QString& path, AVMediaType kind) {
    av_log_set_level(AV_LOG_QUIET);
    av_max_alloc(kLargestAllocation);
    AVFormatContext* raw = nullptr;
    // Only AVI files: left to guess from the content, FFmpeg takes a picture or a sound file
    // for a video and plays it.
    const AVInputFormat* avi = av_find_input_format("avi");
    if (!avi || avformat_open_input(&raw, path.toLocal8Bit().constData(), avi, nullptr) < 0)
        return nullptr;
    FormatPtr format(raw);
    // The decoders that look for the streams' formats keep to the budget too.
    std::vector<AVDictionary*> options(format->nb_streams, nullptr);
    for (AVDictionary*& o : options) av_dict_set_int(&o, "max_pixels", kLargestPicturePixels, 0);
    const int found = avformat_find_stream_info(format.get(), options.data());
    for (AVDictionary*& o : options) av_dict_free(&o);
    if (found < 0) return nullptr;
    // Among several streams of the kind, the best one that FFmpeg can decode.
    const AVCodec* decoder = nullptr;
    const int index = av_find_best_stream(format.get(), kind, -1, -1, &decoder, 0);
    CodecPtr context = openDecoder(format.get(), index);
    if (!context) return nullptr;
    FramePtr frame(av_frame_alloc());
    PacketPtr packet(av_packet_alloc());
    if (!frame || !packet) return nullptr;
    return std::unique_ptr<StreamDecoder>(new StreamDecoder(
        std::move(format), std::move(context), std::move(frame), std::move(packet), index));
}

StreamDecoder::StreamDecoder(FormatPtr format, CodecPtr codec, FramePtr frame, PacketPtr packet,
                             int index)
    : format_(std::move(format)),
      codec_(std::move(codec)),
      frame_(std::move(frame)),
      packet_(std::move(packet)),
      index_(index) {}

AVFrame* StreamDecoder::next() {
    av_frame_unref(frame_.get());
    while (true) {
        const int got = avcodec_receive_frame(codec_.get(), frame_.get());
        if (got == 0) return frame_.get();
        if (got == AVERROR_EOF || draining_) return nullptr;
        // More input needed (or a frame that did not decode): feed the next packet.
        if (av_read_frame(format_.get(), packet_.get()) < 0) {
            draining_ = true;
            avcodec_send_packet(codec_.get(), nullptr);
            continue;
        }
        if (packet_->stream_index == index_) avcodec_send_packet(codec_.get(), packet_.get());
        av_packet_unref(packet_.get());
    }
}

std::int64_t StreamDecoder::skipToEnd() {
    std::int64_t packets = 0;
    while (av_read_frame(format_.get(), packet_.get()) >= 0) {
        if (packet_->stream_index == index_) ++packets;
        av_packet_unref(packet_.get());
    }
    draining_ = true;
    return packets;
}

std::int64_t StreamDecoder::timeMs(const AVFrame* frame, std::int64_t ordinal,
                                   double framesPerSecond) const {
    const std::int64_t ts = frame->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE) {
        return framesPerSecond > 0 ? static_cast<std::int64_t>(static_cast<double>(ordinal) *
                                                               1000.0 / framesPerSecond)
                                   : 0;
    }
    const std::int64_t start = stream()->start_time == AV_NOPTS_VALUE ? 0 : stream()->start_time;
    return av_rescale_q(ts - start, stream()->time_base, AVRational{1, 1000});
}

QImage toImage(const AVFrame* frame, ScalePtr& scale) {
    const int w = frame->width, h = frame->height;
    if (w <= 0 || h <= 0) return {};
    scale.reset(sws_getCachedContext(scale.release(), w, h,
                                     static_cast<AVPixelFormat>(frame->format), w, h,
                                     AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scale) return {};
    // The converter writes whole blocks of pixels, and pairs of rows, past the picture's right
    // and bottom edges when its size is not a multiple of them: its rows get room for a block
    // more (in whole 64-byte lines), and the picture two rows more, that the image never shows.
    constexpr qsizetype kBlockPixels = 16;
    const qsizetype stride =
        (static_cast<qsizetype>(w) + 2 * kBlockPixels) / kBlockPixels * kBlockPixels * 4;
    if (stride > std::numeric_limits<int>::max()) return {};
    auto* buffer = static_cast<std::uint8_t*>(
        av_malloc(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h + 2)));
    if (!buffer) return {};
    std::uint8_t* dst[4] = {buffer, nullptr, nullptr, nullptr};
    int dstStride[4] = {static_cast<int>(stride), 0, 0, 0};
    sws_scale(scale.get(), frame->data, frame->linesize, 0, h, dst, dstStride);
    return QImage(buffer, w, h, stride, QImage::Format_RGB32, av_free, buffer);
}

}  // namespace vorn::ffmpeg
