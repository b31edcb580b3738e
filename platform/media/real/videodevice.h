// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The video device of the real backend: plays an AVI file to its end, its pictures on the given
// surface at their times and its sound on a mixer channel, the pictures paced against the start
// of the sound.

#include "platform/media/backend.h"

#include <memory>

namespace vorn {

class AudioEngine;
class Clock;
struct OutputGains;

// Opens `path` (already known to be a video of `lengthMs`) for playing; raises the service's
// "invalid file" error when its pictures cannot be decoded.
std::unique_ptr<MediaDevice> openVideoDevice(Clock& clock, std::shared_ptr<AudioEngine> engine,
                                             std::shared_ptr<const OutputGains> gains,
                                             const QString& path, std::int64_t lengthMs);

}  // namespace vorn
