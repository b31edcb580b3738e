// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the game's media devices can play, decided in one place for the sound backend, the
// simulated backend and the content checker: a file that plays in the game plays in the script
// runner and passes the checker's format checks, and a file that the game refuses is refused by
// all three with the same error.

#include "platform/media/backend.h"
#include "platform/media/probe.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace vorn {

struct MediaFileInfo {
    DeviceType type;
    std::int64_t lengthMs;
};

// Opens and measures `path` as its device would: raises the service's error for a missing file,
// an extension that names no device, or a file that its device cannot play, and OverBudget
// (budgets.h) for a file over its budget, found from its header before it is decoded.
MediaFileInfo inspectMediaFile(const QString& path);

namespace playable {

// A RIFF WAVE file that SDL's loader decodes (PCM of 8, 16, 24 or 32 bits, IEEE float, MS and
// IMA ADPCM, A-law, mu-law; a cut file plays its whole blocks): the length of its sound in ms.
// Empty for anything else. Needs no audio device. Decodes the whole sound: check its budget first.
std::optional<std::int64_t> waveLengthMs(const QString& path);

// What a wave file announces it takes once SDL's loader has decoded it, from its header alone.
struct WaveCost {
    std::int64_t lengthMs = 0;
    std::int64_t decodedBytes = 0;  // in the loader's sample format (24-bit samples take 32 bits)
};
WaveCost waveCost(const probe::WaveInfo& info);
// The reason a wave file is refused before it is loaded, when it is over the sound budget.
std::optional<QString> waveOverBudget(const probe::WaveInfo& info);

struct VideoInfo {
    int width = 0;
    int height = 0;
    double framesPerSecond = 0;
    std::int64_t frameCount = 0;
    std::int64_t lengthMs = 0;
    bool hasAudio = false;      // the file has a sound track
    bool audioDecodes = false;  // and FFmpeg can open a decoder for it
    // Why the video is refused, when its header is over the video budget; nothing was decoded.
    std::optional<QString> overBudget;
};
// A video that the device can show: FFmpeg opens the file, finds a video stream, opens a decoder
// for its codec and decodes its first picture. Empty otherwise. A sound track that cannot be
// decoded does not stop it: the pictures then play silent. A video whose header is over the
// video budget is measured and not decoded: `overBudget` says why.
std::optional<VideoInfo> video(const QString& path);

}  // namespace playable

}  // namespace vorn
