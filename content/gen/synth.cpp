// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/gen/synth.h"

#include "content/gen/paint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorn::gen::synth {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

std::size_t count(double seconds) {
    return static_cast<std::size_t>(std::max(0.0, seconds) * kRate + 0.5);
}

// Attack, then hold, then release after `hold` seconds.
double envelope(double t, double attack, double hold, double release) {
    if (t < attack) return t / attack;
    if (t < hold) return 1.0;
    return std::max(0.0, 1.0 - (t - hold) / release);
}

// White noise in [-1, 1] from a fixed seed.
class Noise {
  public:
    explicit Noise(std::uint64_t seed) : rng_(seed) {}
    double next() { return rng_.uniform() * 2 - 1; }

  private:
    Rng rng_;
};

// Harmonics 1..n of `frequency` under the Nyquist limit.
int harmonics(double frequency, int wanted) {
    return std::max(1, std::min(wanted, static_cast<int>((kRate / 2.0 - 200) / frequency)));
}

}  // namespace

double midiFrequency(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

Mix::Mix(double seconds) : buffer_(count(seconds), 0.0f) {}

void Mix::add(double at, const Samples& sound, double gain) {
    const auto start = static_cast<std::ptrdiff_t>(std::lround(at * kRate));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const std::ptrdiff_t j = start + static_cast<std::ptrdiff_t>(i);
        if (j < 0) continue;
        if (j >= static_cast<std::ptrdiff_t>(buffer_.size())) break;
        buffer_[static_cast<std::size_t>(j)] += static_cast<float>(sound[i] * gain);
    }
}

std::vector<std::int16_t> Mix::pcm(double peak) const {
    float loudest = 1e-6f;
    for (float v : buffer_) loudest = std::max(loudest, std::fabs(v));
    const double scale = peak * 32767.0 / loudest;
    const std::size_t fade = std::min<std::size_t>(buffer_.size() / 2, kRate / 200);
    std::vector<std::int16_t> out(buffer_.size());
    for (std::size_t i = 0; i < buffer_.size(); ++i) {
        double v = buffer_[i] * scale;
        if (i < fade) v *= static_cast<double>(i) / static_cast<double>(fade);
        const std::size_t left = buffer_.size() - 1 - i;
        if (left < fade) v *= static_cast<double>(left) / static_cast<double>(fade);
        out[i] = static_cast<std::int16_t>(std::lround(std::clamp(v, -32767.0, 32767.0)));
    }
    return out;
}

Samples bell(double frequency, double seconds) {
    const double length = seconds + 0.6;
    Samples out(count(length));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double decay = std::exp(-t * 5.0);
        const double index = 2.2 * std::exp(-t * 9.0);
        const double modulator = std::sin(kTwoPi * frequency * 3.5 * t);
        double v = std::sin(kTwoPi * frequency * t + index * modulator) * decay;
        v += 0.25 * std::sin(kTwoPi * frequency * 2 * t) * std::exp(-t * 8.0);
        out[i] = static_cast<float>(v * std::min(1.0, t * 400));
    }
    return out;
}

Samples brass(double frequency, double seconds, double slideSemitones, double vibrato) {
    const double release = 0.12;
    Samples out(count(seconds + release));
    const int n = harmonics(frequency * std::pow(2.0, std::max(0.0, slideSemitones) / 12.0), 14);
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double progress = std::min(1.0, t / std::max(0.01, seconds));
        const double f = frequency * std::pow(2.0, slideSemitones * progress / 12.0) *
                         (1 + vibrato * std::sin(kTwoPi * 5.5 * t) * std::min(1.0, t * 3));
        phase += kTwoPi * f / kRate;
        const double env = envelope(t, 0.035, seconds, release);
        const double bright = 0.35 + 0.45 * std::min(1.0, t / 0.06);
        double v = 0, amp = 1;
        for (int h = 1; h <= n; ++h) {
            v += amp * std::sin(h * phase) / h;
            amp *= bright;
        }
        out[i] = static_cast<float>(v * env * 0.6);
    }
    return out;
}

Samples pluck(double frequency, double seconds) {
    Samples out(count(seconds + 0.4));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double v = std::sin(kTwoPi * frequency * t) * std::exp(-t * 7) +
                         0.3 * std::sin(kTwoPi * frequency * 4 * t) * std::exp(-t * 30);
        out[i] = static_cast<float>(v * std::min(1.0, t * 600));
    }
    return out;
}

Samples bassTone(double frequency, double seconds) {
    Samples out(count(seconds + 0.08));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double env = envelope(t, 0.005, seconds, 0.08) * (0.7 + 0.3 * std::exp(-t * 6));
        const double v = std::sin(kTwoPi * frequency * t) +
                         0.35 * std::sin(kTwoPi * frequency * 2 * t) +
                         0.12 * std::sin(kTwoPi * frequency * 3 * t);
        out[i] = static_cast<float>(v * env * 0.7);
    }
    return out;
}

Samples pad(double frequency, double seconds) {
    const double release = 0.5;
    Samples out(count(seconds + release));
    const int n = harmonics(frequency * 1.01, 8);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double env = envelope(t, 0.3, seconds, release);
        double v = 0;
        for (int h = 1; h <= n; ++h) {
            const double a = 1.0 / std::pow(h, 1.6);
            v += a * (std::sin(kTwoPi * frequency * 1.004 * h * t) +
                      std::sin(kTwoPi * frequency * 0.996 * h * t));
        }
        out[i] = static_cast<float>(v * env * 0.3);
    }
    return out;
}

Samples kick() {
    Samples out(count(0.35));
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        phase += kTwoPi * (45 + 90 * std::exp(-t * 28)) / kRate;
        out[i] = static_cast<float>(std::sin(phase) * std::exp(-t * 9));
    }
    return out;
}

Samples snare(std::uint64_t seed) {
    Noise noise(seed);
    Samples out(count(0.2));
    double low = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double n = noise.next();
        low += 0.5 * (n - low);
        const double v = (n - low) * std::exp(-t * 18) * 0.8 +
                         std::sin(kTwoPi * 190 * t) * std::exp(-t * 30) * 0.5;
        out[i] = static_cast<float>(v);
    }
    return out;
}

Samples hat(std::uint64_t seed) {
    Noise noise(seed);
    Samples out(count(0.06));
    double previous = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double n = noise.next();
        out[i] = static_cast<float>((n - previous) * 0.4 * std::exp(-t * 60));
        previous = n;
    }
    return out;
}

Samples cymbal(std::uint64_t seed, double seconds) {
    Noise noise(seed);
    Samples out(count(seconds));
    double previous = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double n = noise.next();
        out[i] = static_cast<float>((n - previous) * 0.45 * std::exp(-t * 3.0 / seconds) *
                                    std::min(1.0, t * 300));
        previous = n;
    }
    return out;
}

Samples roll(std::uint64_t seed, double seconds) {
    Samples out(count(seconds + 0.2));
    const double stroke = 1.0 / 28;
    int k = 0;
    for (double at = 0; at < seconds; at += stroke, ++k) {
        const Samples hit = snare(seed + static_cast<std::uint64_t>(k));
        const double gain = 0.25 + 0.75 * at / seconds;
        const auto start = count(at);
        for (std::size_t i = 0; i < hit.size() && start + i < out.size(); ++i)
            out[start + i] += static_cast<float>(hit[i] * gain * 0.6);
    }
    return out;
}

Samples whoosh(std::uint64_t seed, double seconds, bool rising) {
    Noise noise(seed);
    Samples out(count(seconds));
    double low = 0, band = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double p = t / seconds;
        const double sweep = rising ? p : 1 - p;
        const double cutoff = 0.02 + 0.3 * sweep * sweep;
        const double n = noise.next();
        low += cutoff * (n - low);
        band += cutoff * (low - band);
        out[i] = static_cast<float>((low - band) * std::sin(std::numbers::pi * p) * 2.5);
    }
    return out;
}

Samples applause(std::uint64_t seed, double seconds) {
    Rng rng(seed);
    Samples out(count(seconds + 0.1));
    const int claps = static_cast<int>(seconds * 90);
    for (int c = 0; c < claps; ++c) {
        const double at = rng.uniform() * seconds;
        const double gain = (0.4 + 0.6 * rng.uniform()) * (1 - 0.7 * at / seconds);
        Noise noise(seed * 977 + static_cast<std::uint64_t>(c));
        const auto start = count(at);
        double previous = 0;
        for (std::size_t i = 0; i < count(0.03) && start + i < out.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double n = noise.next();
            out[start + i] +=
                static_cast<float>((n - 0.6 * previous) * gain * std::exp(-t * 120) * 0.3);
            previous = n;
        }
    }
    return out;
}

Samples buzzer(double seconds) {
    Samples out(count(seconds));
    const double f1 = 92, f2 = 97.5;
    const int n1 = harmonics(f1, 60), n2 = harmonics(f2, 60);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0;
        // Two square waves a little apart: a rough, unmistakable buzz.
        for (int h = 1; h <= n1; h += 2) v += std::sin(kTwoPi * f1 * h * t) / h;
        for (int h = 1; h <= n2; h += 2) v += 0.8 * std::sin(kTwoPi * f2 * h * t) / h;
        const double env = envelope(t, 0.004, seconds - 0.05, 0.05);
        out[i] = static_cast<float>(v * env * (0.85 + 0.15 * std::sin(kTwoPi * 28 * t)));
    }
    return out;
}

}  // namespace vorn::gen::synth
