// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Timing in Standard MIDI Files: the tempo map, the last event and the notes of a file, and the
// conversion between ticks and milliseconds. The probe measures tunes with it, the sound backend
// resumes a tune at a position with it, and the content checker looks at a tune's notes with it.

#include <QByteArray>

#include <cstdint>
#include <map>
#include <optional>

namespace vorn::midi {

struct Timing {
    std::uint16_t division = 0;                     // ticks per quarter, or SMPTE when bit 15
    std::map<std::uint64_t, std::uint32_t> tempos;  // tick -> microseconds per quarter note
    std::uint64_t lastTick = 0;                     // the last event of any track
    std::uint64_t lastNoteTick = 0;                 // the last note-on or note-off
    std::uint64_t notes = 0;                        // notes struck (note-ons with a velocity)
};

// Reads every track; empty when the bytes are not a valid MIDI file.
std::optional<Timing> readTiming(const QByteArray& bytes);

// The time of a tick, in ms (120 beats a minute until the first tempo event).
double msAtTick(const Timing& timing, std::uint64_t tick);

// The tick that sounds `ms` after the start. A time past the end gives a tick past the last
// event.
std::uint32_t tickAtMs(const Timing& timing, std::int64_t ms);
std::optional<std::uint32_t> tickAtMs(const QByteArray& bytes, std::int64_t ms);

}  // namespace vorn::midi
