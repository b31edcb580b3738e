// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The game's output volumes: saved at the first activation, set to the game's own levels, put back
// at the close. The values are 32-bit, low word left, high word right.

#include <cstdint>
#include <optional>

namespace vorn {

class MediaBackend;

class Son {
  public:
    static constexpr std::uint32_t kMidiVolume = 0x4FFF4FFF;  // about 31 % a channel
    static constexpr std::uint32_t kWaveVolume = 0xBFFFBFFF;  // about 75 % a channel

    explicit Son(MediaBackend& backend) : backend_(backend) {}

    void sauveVolumes();
    void regleVolumes();
    // Puts back the volumes kept by sauveVolumes and forgets them; without kept volumes it
    // changes nothing.
    void restaureVolumes();

  private:
    MediaBackend& backend_;
    std::optional<std::uint32_t> savedMidi_;
    std::optional<std::uint32_t> savedWave_;
};

}  // namespace vorn
