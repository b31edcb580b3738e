// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Owning pointers for FFmpeg's objects, so that every way out of a decoder frees them, and the
// decoding of one stream of a file, shared by the playability check and the video device.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>

namespace vorn::ffmpeg {

struct FormatCloser {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct CodecFreer {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScaleFreer {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct ResampleFreer {
    void operator()(SwrContext* s) const { swr_free(&s); }
};

using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using ScalePtr = std::unique_ptr<SwsContext, ScaleFreer>;
using ResamplePtr = std::unique_ptr<SwrContext, ResampleFreer>;

// A decoder opened for stream `index` of `format`; null when FFmpeg has no decoder for its codec
// or the decoder does not open.
CodecPtr openDecoder(const AVFormatContext* format, int index);

// One stream of a file, demuxed and decoded in order.
class StreamDecoder {
  public:
    // Empty when the file cannot be opened or is no AVI file, has no stream of that kind, or
    // FFmpeg cannot open a decoder for it.
    static std::unique_ptr<StreamDecoder> open(const QString& path, AVMediaType kind);

    AVFormatContext* format() const { return format_.get(); }
    AVStream* stream() const { return format_->streams[index_]; }
    AVCodecContext* codec() const { return codec_.get(); }

    // The next decoded frame, or null at the end of the stream. A packet that does not decode is
    // skipped, so a damaged spot costs its own frames only.
    AVFrame* next();

    // Reads the rest of the file without decoding it: the stream's packets left (a picture each,
    // for a video).
    std::int64_t skipToEnd();

    // The presentation time of `frame` in ms from the start of the stream; `ordinal` and
    // `framesPerSecond` stand in when the file gives no time.
    std::int64_t timeMs(const AVFrame* frame, std::int64_t ordinal, double framesPerSecond) const;

  private:
    StreamDecoder(FormatPtr format, CodecPtr codec, FramePtr frame, PacketPtr packet, int index);

    FormatPtr format_;
    CodecPtr codec_;
    FramePtr frame_;
    PacketPtr packet_;
    int index_;
    bool draining_ = false;
};

// The picture of a decoded frame as a 32-bit image (null when it cannot be converted); `scale`
// keeps the converter from frame to frame.
QImage toImage(const AVFrame* frame, ScalePtr& scale);

}  // namespace vorn::ffmpeg
