// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/gen/sounds.h"

#include "content/gen/synth.h"

namespace vorn::gen {

std::vector<std::int16_t> rightAnswerSound() {
    synth::Mix mix(0.72);
    // C major arpeggio up to the octave, with a spark on top.
    const double notes[] = {84, 88, 91, 96};
    for (int i = 0; i < 4; ++i)
        mix.add(0.065 * i, synth::bell(synth::midiFrequency(notes[i]), 0.05), 0.55 + 0.1 * i);
    mix.add(0.26, synth::bell(synth::midiFrequency(103), 0.02), 0.25);
    return mix.pcm(0.8);
}

std::vector<std::int16_t> wrongAnswerSound() {
    synth::Mix mix(0.62);
    mix.add(0, synth::buzzer(0.6), 1.0);
    return mix.pcm(0.75);
}

}  // namespace vorn::gen
