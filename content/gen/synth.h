// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A small synthesizer for the sound effects and the sound tracks of the videos: a few voices
// (bell, brass, pluck, bass, pad, drums, buzzer, noises) mixed on a timeline and written as
// 16-bit samples. Everything is computed from fixed seeds, so every build gives the same bytes.

#include <cstdint>
#include <vector>

namespace vorn::gen::synth {

inline constexpr int kRate = 22050;

double midiFrequency(double note);

using Samples = std::vector<float>;

// A mono timeline of a fixed length.
class Mix {
  public:
    explicit Mix(double seconds);
    // Adds `sound` from `at` seconds on, cut at the end of the timeline.
    void add(double at, const Samples& sound, double gain = 1.0);
    double seconds() const { return static_cast<double>(buffer_.size()) / kRate; }
    const Samples& samples() const { return buffer_; }
    // 16-bit samples with the loudest at `peak` of full scale, a short fade at both ends.
    std::vector<std::int16_t> pcm(double peak = 0.8) const;

  private:
    Samples buffer_;
};

// Voices; `seconds` is how long the note is held, the tail comes on top where there is one.
Samples bell(double frequency, double seconds);
Samples brass(double frequency, double seconds, double slideSemitones = 0, double vibrato = 0);
Samples pluck(double frequency, double seconds);
Samples bassTone(double frequency, double seconds);
Samples pad(double frequency, double seconds);
Samples kick();
Samples snare(std::uint64_t seed);
Samples hat(std::uint64_t seed);
Samples cymbal(std::uint64_t seed, double seconds);
// A snare roll growing louder over `seconds`.
Samples roll(std::uint64_t seed, double seconds);
// Filtered noise sweeping up (rising) or down.
Samples whoosh(std::uint64_t seed, double seconds, bool rising);
// A crowd clapping, thinning out at the end.
Samples applause(std::uint64_t seed, double seconds);
// The wrong-answer buzzer.
Samples buzzer(double seconds);

}  // namespace vorn::gen::synth
