// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The backend of virtual time: opens files through the same playability check as the real one,
// so that missing, broken and unplayable files fail alike, makes no sound, and lets a blocking
// play take its length in virtual time.

#include "platform/media/avi.h"
#include "platform/media/backend.h"
#include "platform/media/playable.h"

#include <map>

namespace vorn {

class Clock;

class SimulatedBackend : public MediaBackend {
  public:
    explicit SimulatedBackend(Clock& clock) : clock_(clock) {}

    std::unique_ptr<MediaDevice> open(const QString& path) override;
    std::shared_ptr<const AnimationClip> openAnimation(const QString& path) override;

    std::uint32_t midiVolume() const override { return midiVolume_; }
    void setMidiVolume(std::uint32_t volume) override { midiVolume_ = volume; }
    std::uint32_t waveVolume() const override { return waveVolume_; }
    void setWaveVolume(std::uint32_t volume) override { waveVolume_ = volume; }
    bool audible() const override { return false; }

  private:
    Clock& clock_;
    std::uint32_t midiVolume_ = 0xFFFFFFFF;
    std::uint32_t waveVolume_ = 0xFFFFFFFF;
    avi::AnimationCache animations_;
};

}  // namespace vorn
