// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/real/peaklimiter.h"

#include <algorithm>
#include <cmath>

namespace vorn {

PeakLimiter::PeakLimiter(float ceiling, float releaseSeconds, int sampleRate)
    : ceiling_(ceiling),
      release_(1.0f - std::exp(-1.0f / (releaseSeconds * static_cast<float>(sampleRate)))) {}

void PeakLimiter::process(float* stereo, int frames) {
    for (int i = 0; i < frames; ++i) {
        float& left = stereo[2 * i];
        float& right = stereo[2 * i + 1];
        const float peak = std::max(std::fabs(left), std::fabs(right));
        if (peak * gain_ > ceiling_) gain_ = ceiling_ / peak;
        left *= gain_;
        right *= gain_;
        gain_ += (1.0f - gain_) * release_;
    }
}

}  // namespace vorn
