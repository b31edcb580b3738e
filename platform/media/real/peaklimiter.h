// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Keeps the synthesizer's output under full scale. The synthesizer runs at a gain that makes the
// music as loud as the pack's sounds, and at that level the rare moment when many loud notes
// meet (a crash, the bass and the lead on one downbeat) would go past full scale. The limiter
// turns the level down at once on such a peak and brings it back smoothly, so the music is never
// clipped and, between peaks, plays untouched.

namespace vorn {

class PeakLimiter {
  public:
    // `ceiling`: the largest magnitude let through (1 is full scale); `releaseSeconds`: how long
    // the level takes to come most of the way back after a peak.
    PeakLimiter(float ceiling, float releaseSeconds, int sampleRate);

    // Limits `frames` interleaved stereo frames in place, both sides by the same amount so that
    // the stereo picture holds.
    void process(float* stereo, int frames);
    // Forgets the peaks heard so far: the next tune starts at full level.
    void reset() { gain_ = 1.0f; }

  private:
    float ceiling_;
    float release_;  // the share of the distance to full level won back each frame
    float gain_ = 1.0f;
};

}  // namespace vorn
