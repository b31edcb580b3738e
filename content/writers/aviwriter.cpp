// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/writers/aviwriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace vorn::writers {

namespace {
void check(int result, const char* what) {
    if (result < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(result, text, sizeof text);
        throw std::runtime_error(std::string(what) + ": " + text);
    }
}
}  // namespace

struct AviWriter::Impl {
    AviFormat format;
    AVFormatContext* output = nullptr;
    AVStream* video = nullptr;
    AVStream* audio = nullptr;
    AVCodecContext* encoder = nullptr;
    SwsContext* scale = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    std::int64_t frames = 0;
    std::vector<std::int16_t> pendingAudio;  // interleaved samples not yet written
    std::int64_t audioWritten = 0;           // samples per channel already written
    bool finished = false;

    ~Impl() {
        sws_freeContext(scale);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&encoder);
        if (output) {
            if (output->pb) avio_closep(&output->pb);
            avformat_free_context(output);
        }
    }

    void writeEncoded() {
        while (true) {
            const int got = avcodec_receive_packet(encoder, packet);
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return;
            check(got, "encode a frame");
            av_packet_rescale_ts(packet, encoder->time_base, video->time_base);
            packet->stream_index = video->index;
            check(av_interleaved_write_frame(output, packet), "write a frame");
        }
    }

    // Writes the sound that belongs before `untilSamples` (samples per channel).
    void writeAudio(std::int64_t untilSamples) {
        if (!audio) return;
        const int channels = format.channels;
        const std::int64_t available =
            audioWritten + static_cast<std::int64_t>(pendingAudio.size()) / channels;
        const std::int64_t end = std::min(untilSamples, available);
        if (end <= audioWritten) return;
        const auto count = static_cast<std::size_t>(end - audioWritten);
        const auto values = count * static_cast<std::size_t>(channels);
        check(av_new_packet(packet, static_cast<int>(values * 2)), "allocate sound");
        for (std::size_t i = 0; i < values; ++i) {
            const auto v = static_cast<std::uint16_t>(pendingAudio[i]);
            packet->data[2 * i] = static_cast<std::uint8_t>(v & 0xFF);
            packet->data[2 * i + 1] = static_cast<std::uint8_t>(v >> 8);
        }
        packet->pts = packet->dts =
            av_rescale_q(audioWritten, AVRational{1, format.sampleRate}, audio->time_base);
        packet->duration = av_rescale_q(static_cast<std::int64_t>(count),
                                        AVRational{1, format.sampleRate}, audio->time_base);
        packet->stream_index = audio->index;
        packet->flags |= AV_PKT_FLAG_KEY;
        pendingAudio.erase(pendingAudio.begin(),
                           pendingAudio.begin() + static_cast<std::ptrdiff_t>(values));
        audioWritten = end;
        check(av_interleaved_write_frame(output, packet), "write sound");
    }

    std::int64_t samplesAtFrame(std::int64_t frameNumber) const {
        return av_rescale_q(frameNumber, AVRational{format.frameRateDen, format.frameRateNum},
                            AVRational{1, std::max(1, format.sampleRate)});
    }
};

AviWriter::AviWriter(const QString& path, const AviFormat& format)
    : impl_(std::make_unique<Impl>()) {
    Impl& d = *impl_;
    d.format = format;
    if (format.width <= 0 || format.height <= 0 || format.frameRateNum <= 0 ||
        format.frameRateDen <= 0)
        throw std::runtime_error("invalid AVI format");
    av_log_set_level(AV_LOG_ERROR);
    const QByteArray name = path.toLocal8Bit();
    check(avformat_alloc_output_context2(&d.output, nullptr, "avi", name.constData()),
          "create the AVI file");
    d.output->flags |= AVFMT_FLAG_BITEXACT;

    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec) throw std::runtime_error("no MJPEG encoder");
    d.encoder = avcodec_alloc_context3(codec);
    d.encoder->width = format.width;
    d.encoder->height = format.height;
    d.encoder->time_base = AVRational{format.frameRateDen, format.frameRateNum};
    d.encoder->framerate = AVRational{format.frameRateNum, format.frameRateDen};
    d.encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
    d.encoder->flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_BITEXACT;
    d.encoder->global_quality = FF_QP2LAMBDA * std::clamp(format.quality, 2, 31);
    d.encoder->thread_count = 1;
    if (d.output->oformat->flags & AVFMT_GLOBALHEADER)
        d.encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    check(avcodec_open2(d.encoder, codec, nullptr), "open the MJPEG encoder");

    d.video = avformat_new_stream(d.output, nullptr);
    check(avcodec_parameters_from_context(d.video->codecpar, d.encoder), "describe the video");
    d.video->time_base = d.encoder->time_base;
    d.video->avg_frame_rate = d.encoder->framerate;

    if (format.sampleRate > 0) {
        d.audio = avformat_new_stream(d.output, nullptr);
        AVCodecParameters* p = d.audio->codecpar;
        p->codec_type = AVMEDIA_TYPE_AUDIO;
        p->codec_id = AV_CODEC_ID_PCM_S16LE;
        p->sample_rate = format.sampleRate;
        av_channel_layout_default(&p->ch_layout, format.channels);
        p->format = AV_SAMPLE_FMT_S16;
        p->bits_per_coded_sample = 16;
        p->block_align = 2 * format.channels;
        p->bit_rate = static_cast<std::int64_t>(format.sampleRate) * 16 * format.channels;
        d.audio->time_base = AVRational{1, format.sampleRate};
    }

    check(avio_open(&d.output->pb, name.constData(), AVIO_FLAG_WRITE), "open the file for writing");
    AVDictionary* options = nullptr;
    check(avformat_write_header(d.output, &options), "write the AVI header");
    av_dict_free(&options);

    d.frame = av_frame_alloc();
    d.frame->format = d.encoder->pix_fmt;
    d.frame->width = format.width;
    d.frame->height = format.height;
    check(av_frame_get_buffer(d.frame, 0), "allocate a frame");
    d.packet = av_packet_alloc();
    d.scale =
        sws_getContext(format.width, format.height, AV_PIX_FMT_BGRA, format.width, format.height,
                       AV_PIX_FMT_YUVJ420P, SWS_BICUBIC | SWS_BITEXACT | SWS_ACCURATE_RND, nullptr,
                       nullptr, nullptr);
    if (!d.scale) throw std::runtime_error("no picture converter");
}

AviWriter::~AviWriter() {
    try {
        if (impl_ && !impl_->finished) finish();
    } catch (...) {
        // The file stays incomplete; the caller saw no finish() and must not rely on it.
    }
}

void AviWriter::addFrame(const QImage& source) {
    Impl& d = *impl_;
    QImage image = source.convertToFormat(QImage::Format_RGB32);
    if (image.size() != QSize(d.format.width, d.format.height))
        image = image.scaled(d.format.width, d.format.height, Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    check(av_frame_make_writable(d.frame), "reuse a frame");
    const uint8_t* src[4] = {image.constBits(), nullptr, nullptr, nullptr};
    const int srcStride[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    sws_scale(d.scale, src, srcStride, 0, d.format.height, d.frame->data, d.frame->linesize);
    d.frame->pts = d.frames;
    d.frame->quality = d.encoder->global_quality;
    check(avcodec_send_frame(d.encoder, d.frame), "encode a frame");
    d.writeEncoded();
    ++d.frames;
    d.writeAudio(d.samplesAtFrame(d.frames));
}

void AviWriter::addAudio(const std::vector<std::int16_t>& samples) {
    impl_->pendingAudio.insert(impl_->pendingAudio.end(), samples.begin(), samples.end());
}

void AviWriter::finish() {
    Impl& d = *impl_;
    if (d.finished) return;
    d.finished = true;
    check(avcodec_send_frame(d.encoder, nullptr), "finish the pictures");
    d.writeEncoded();
    d.writeAudio(std::numeric_limits<std::int64_t>::max());
    check(av_write_trailer(d.output), "write the AVI index");
    avio_closep(&d.output->pb);
}

void writeAvi(const QString& path, const AviFormat& format, const std::vector<QImage>& frames,
              const std::vector<std::int16_t>& audio) {
    AviWriter writer(path, format);
    writer.addAudio(audio);
    for (const QImage& frame : frames) writer.addFrame(frame);
    writer.finish();
}

}  // namespace vorn::writers
