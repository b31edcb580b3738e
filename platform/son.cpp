// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/son.h"

#include "platform/media/backend.h"

namespace vorn {

void Son::sauveVolumes() {
    savedMidi_ = backend_.midiVolume();
    savedWave_ = backend_.waveVolume();
}

void Son::regleVolumes() {
    backend_.setMidiVolume(kMidiVolume);
    backend_.setWaveVolume(kWaveVolume);
}

void Son::restaureVolumes() {
    if (savedMidi_) backend_.setMidiVolume(*savedMidi_);
    if (savedWave_) backend_.setWaveVolume(*savedWave_);
    savedMidi_.reset();
    savedWave_.reset();
}

}  // namespace vorn
