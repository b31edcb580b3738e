// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/avi.h"

#include "platform/errors.h"
#include "platform/media/ffmpeg.h"

#include <memory>

namespace vorn::avi {

using namespace ffmpeg;

std::optional<AnimationClip> decodeFrames(const QString& path) {
    auto decoder = StreamDecoder::open(path, AVMEDIA_TYPE_VIDEO);
    if (!decoder) return std::nullopt;
    AnimationClip clip;
    const AVStream* stream = decoder->stream();
    const AVRational rate = stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate;
    clip.framesPerSecond = rate.num && rate.den ? av_q2d(rate) : 15.0;
    ScalePtr scale;
    while (AVFrame* frame = decoder->next()) {
        QImage image = toImage(frame, scale);
        if (image.isNull()) return std::nullopt;
        clip.frames.push_back(std::move(image));
    }
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
