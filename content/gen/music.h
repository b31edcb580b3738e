// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The music of the pack, composed in code: one light "quiz show" style (electric piano, bass,
// drums, pad and a lead that changes from tune to tune). Level tunes are song forms A A' B A''
// whose last bar turns back to the first, so that they loop without a seam; the title tune has
// a short intro and a final cadence and plays once.

#include "content/writers/midiwriter.h"
#include "core/pack.h"

#include <vector>

namespace vorn::gen {

inline constexpr int kTicksPerQuarter = 480;
inline constexpr int kTuneCount = pack::levelTunes;  // son/1.mid to son/6.mid

// Tune 0 is the title music, 1 to 6 the level tunes.
std::vector<writers::MidiTrack> composeTune(int number);

// Beats a minute of a tune, and its length in bars of four beats.
int tuneTempo(int number);
int tuneBars(int number);

// A note of the pack's music, in ticks, used to render the video jingles with the same
// harmony and melodies.
struct ScoreNote {
    int tick;
    int length;
    int pitch;
    int velocity;
};

}  // namespace vorn::gen
