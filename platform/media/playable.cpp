// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/playable.h"

#include "platform/budgets.h"
#include "platform/errors.h"
#include "platform/media/ffmpeg.h"
#include "platform/media/probe.h"

#include <SDL.h>

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace vorn {

namespace playable {

std::optional<std::int64_t> waveLengthMs(const QString& path) {
    // The mixer hands every RIFF WAVE file to this loader: what it decodes, the game plays. A
    // file cut short (its sound data shorter than its header says) is refused rather than played
    // in part; the hint holds for the mixer's own loading too. The loader reads the file's chunks
    // as it needs them, skipping the others.
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
    SDL_RWops* rw = SDL_RWFromFile(QFile::encodeName(path).constData(), "rb");
    if (!rw) return std::nullopt;
    SDL_AudioSpec audio{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &audio, &samples, &length)) return std::nullopt;
    SDL_FreeWAV(samples);
    const std::int64_t frameBytes =
        static_cast<std::int64_t>(SDL_AUDIO_BITSIZE(audio.format) / 8) * audio.channels;
    if (frameBytes <= 0 || audio.freq <= 0) return std::nullopt;
    return static_cast<std::int64_t>(length) / frameBytes * 1000 / audio.freq;
}

WaveCost waveCost(const probe::WaveInfo& info) {
    // The loader's sample format: 8-bit PCM stays 8 bits, 16 bits 16, 24 and 32 bits and float
    // take 32; A-law, mu-law and ADPCM decode to 16 bits.
    int sampleBytes = 2;
    if (info.formatTag == 1 || info.formatTag == 3)
        sampleBytes = info.bitsPerSample <= 8 ? 1 : info.bitsPerSample <= 16 ? 2 : 4;
    const std::int64_t frames =
        info.declaredBytes / std::max(1, info.blockAlign) * std::max(1, info.framesPerBlock);
    WaveCost cost;
    cost.lengthMs = info.sampleRate > 0 ? frames * 1000 / info.sampleRate : 0;
    cost.decodedBytes = frames * std::max(1, info.channels) * sampleBytes;
    return cost;
}

std::optional<QString> waveOverBudget(const probe::WaveInfo& info) {
    const WaveCost cost = waveCost(info);
    return budget::sound(cost.lengthMs, info.channels, info.sampleRate, cost.decodedBytes);
}

std::optional<VideoInfo> video(const QString& path) {
    auto pictures = ffmpeg::StreamDecoder::open(path, AVMEDIA_TYPE_VIDEO);
    if (!pictures) return std::nullopt;
    const AVFormatContext* format = pictures->format();
    const AVStream* stream = pictures->stream();
    VideoInfo info;
    info.width = stream->codecpar->width;
    info.height = stream->codecpar->height;
    if (info.width <= 0 || info.height <= 0) return std::nullopt;
    const AVRational rate =
        stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate;
    info.framesPerSecond = rate.den ? av_q2d(rate) : 0;
    info.frameCount = stream->nb_frames;
    if (stream->duration != AV_NOPTS_VALUE)
        info.lengthMs = av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000});
    else if (format->duration != AV_NOPTS_VALUE)
        info.lengthMs = format->duration / (AV_TIME_BASE / 1000);
    if (info.frameCount == 0 && info.framesPerSecond > 0)
        info.frameCount =
            static_cast<std::int64_t>(info.lengthMs * info.framesPerSecond / 1000.0 + 0.5);
    if (info.lengthMs == 0 && info.framesPerSecond > 0)
        info.lengthMs = static_cast<std::int64_t>(info.frameCount * 1000.0 / info.framesPerSecond);
    // The sound track the device would play: the best one that FFmpeg can decode.
    const AVCodec* decoder = nullptr;
    const int sound =
        av_find_best_stream(pictures->format(), AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    info.hasAudio = sound >= 0 || sound == AVERROR_DECODER_NOT_FOUND;
    info.audioDecodes = sound >= 0 && ffmpeg::openDecoder(format, sound) != nullptr;
    // Over its budget: measured, not decoded.
    info.overBudget = budget::videoPictures(info.width, info.height);
    if (!info.overBudget) info.overBudget = budget::videoLength(info.lengthMs);
    if (info.overBudget) return info;
    // A decoder that opens may still refuse every picture of the stream.
    if (!pictures->next()) return std::nullopt;
    return info;
}

}  // namespace playable

MediaFileInfo inspectMediaFile(const QString& path) {
    const DeviceType type = deviceTypeFor(path);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw Error(mediaerror::fileNotFound());
    std::optional<std::int64_t> length;
    switch (type) {
        case DeviceType::Sequencer:
            if (auto reason = budget::tuneFile(file.size())) throw OverBudget(path, *reason);
            length = probe::midiLengthMs(file.readAll());
            if (length)
                if (auto reason = budget::tune(*length)) throw OverBudget(path, *reason);
            break;
        case DeviceType::WaveAudio: {
            // The header says what the sound takes before anything is decoded; a file whose
            // header cannot be read is no sound the loader takes either.
            const auto header = probe::wave(file);
            file.close();
            if (!header) break;
            if (auto reason = playable::waveOverBudget(*header)) throw OverBudget(path, *reason);
            length = playable::waveLengthMs(path);
            break;
        }
        case DeviceType::Video:
            file.close();
            if (auto info = playable::video(path)) {
                if (info->overBudget) throw OverBudget(path, *info->overBudget);
                length = info->lengthMs;
            }
            break;
    }
    if (!length) throw Error(mediaerror::invalidFile());
    return MediaFileInfo{type, *length};
}

}  // namespace vorn
