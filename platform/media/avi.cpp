#include "platform/media/avi.h"

#include "platform/errors.h"
#include "platform/media/ffmpeg.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace vorn::avi {

using namespace ffmpeg;

std::optional<AnimationClip> decodeFrames(const QString& path) {
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.toLocal8Bit().constData(), nullptr, nullptr) < 0) return std::nullopt;
    FormatPtr format(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0) return std::nullopt;
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (index < 0 || !codec) return std::nullopt;
    AVStream* stream = format->streams[index];
    CodecPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0 ||
        avcodec_open2(context.get(), codec, nullptr) < 0)
        return std::nullopt;

    AnimationClip clip;
    const AVRational rate = stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate;
    clip.framesPerSecond = rate.num && rate.den ? av_q2d(rate) : 15.0;

    FramePtr frame(av_frame_alloc());
    PacketPtr packet(av_packet_alloc());
    ScalePtr scale;
    auto receive = [&]() -> bool {
        while (true) {
            const int got = avcodec_receive_frame(context.get(), frame.get());
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
            if (got < 0) return false;
            QImage image = toImage(frame.get(), scale);
            if (image.isNull()) return false;
            clip.frames.push_back(std::move(image));
            av_frame_unref(frame.get());
        }
    };
    while (av_read_frame(format.get(), packet.get()) >= 0) {
        if (packet->stream_index == index) {
            if (avcodec_send_packet(context.get(), packet.get()) < 0 && clip.frames.empty()) {
                av_packet_unref(packet.get());
                return std::nullopt;
            }
            if (!receive()) {
                av_packet_unref(packet.get());
                return std::nullopt;
            }
        }
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(context.get(), nullptr);
    if (!receive()) return std::nullopt;
    if (clip.frames.empty()) return std::nullopt;
    return clip;
}

std::shared_ptr<const AnimationClip> AnimationCache::open(const QString& path) {
    auto it = clips_.find(path);
    if (it != clips_.end()) return it->second;
    auto clip = decodeFrames(path);
    if (!clip) throw Error(mediaerror::cannotOpenAvi());
    auto shared = std::make_shared<const AnimationClip>(std::move(*clip));
    clips_.emplace(path, shared);
    return shared;
}

}  // namespace vorn::avi
