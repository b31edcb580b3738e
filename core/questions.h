// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Drawing question codes. A code is the level digit, a letter from a to f and a number from 1 to
// 19 ("1a7", "4e12"); a level's list holds ten (thirty on the bonus level) distinct codes drawn
// with a generator reseeded from the time of day before every use.

#include "core/numbers.h"

#include <QString>

#include <array>
#include <cstdint>
#include <utility>

namespace vorn {

class Clock;

// The question codes: levels 1 to 4 (the fourth is the bonus level), each with themes a to f
// numbered 1 to 19.
constexpr int kLevels = numbers::kBonusLevel;
constexpr int kThemesPerLevel = 6;
constexpr int kNumbersPerTheme = 19;
constexpr int kCodesPerLevel = kThemesPerLevel * kNumbersPerTheme;

// The code of `level`, theme `theme` (0 for a to 5 for f) and `number`: "1a7", "4e12".
QString codeFor(int level, int theme, int number);

// The game's random generator: one 32-bit seed, reseeded from the UTC time of day.
class Hasard {
  public:
    explicit Hasard(Clock& clock) : clock_(clock) {}
    // seed = milliseconds since midnight (UTC) of the clock's reading.
    void reseed();
    // seed = seed * 134775813 + 1 (mod 2^32); the upper 32 bits of seed * r: 0 to r - 1.
    std::uint32_t draw(std::uint32_t r);
    std::uint32_t seed() const { return seed_; }

  private:
    Clock& clock_;
    std::uint32_t seed_ = 0;
};

using TTableaux = std::array<QString, 30>;

// Thirty empty slots; every list starts from it and nothing writes it.
extern const TTableaux blankList;

class TQuestionnaire {
  public:
    explicit TQuestionnaire(TTableaux codes) : tableaux(std::move(codes)) {}
    TTableaux tableaux;
};

// One random candidate code of `level`: reseed, letter, then number.
QString tirecode(Hasard& hasard, int level);

// Fills slots 0 to n with codes of `level`, no two alike, comparing each candidate with slots 0
// to i (the slot being filled included); slots above n are untouched; n below 0 does nothing.
// Draws again at once until the clock reading gives a new code.
void remplir(Hasard& hasard, TQuestionnaire& liste, int level, int n);

}  // namespace vorn
