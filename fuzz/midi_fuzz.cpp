// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The MIDI reader on any bytes: the tempo map and length of a tune, the sequencer's check of the
// file, and the conversions between time and ticks, which must never go backwards.

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "platform/errors.h"
#include "platform/media/midifile.h"
#include "platform/media/playable.h"
#include "platform/media/probe.h"

#include <algorithm>
#include <cmath>
#include <vector>

VORN_FUZZ_TARGET(midi) {
    using namespace vorn;
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const auto length = probe::midiLengthMs(bytes);
    const auto timing = midi::readTiming(bytes);
    fuzz::require(length.has_value() == timing.has_value(), "the length and the timing disagree");
    // The sequencer's own check of the file, as the game opens a tune.
    try {
        const MediaFileInfo info =
            inspectMediaFile(fuzz::writeScratchFile(QStringLiteral("son/fuzz.mid"), bytes));
        fuzz::require(length && info.lengthMs == *length, "the device measures another length");
    } catch (const Error&) {
        fuzz::require(!length, "the device refuses a tune the probe measures");
    }
    if (!timing) return 0;
    fuzz::require(*length >= 0, "a tune lasts less than nothing");
    fuzz::require(timing->lastNoteTick <= timing->lastTick, "a note comes after the last event");

    // Times through the tune and past its end, as the sound backend asks for them on resuming.
    std::uint32_t previousTick = 0;
    double previousMs = 0;
    std::vector<std::int64_t> times{
        -5, 0, 1, *length / 3, *length / 2, *length, *length + 1000, std::int64_t{1} << 40};
    std::sort(times.begin(), times.end());
    for (const std::int64_t ms : times) {
        const std::uint32_t tick = midi::tickAtMs(*timing, ms);
        fuzz::require(tick >= previousTick, "a later time gives an earlier tick");
        previousTick = tick;
        const auto fromBytes = midi::tickAtMs(bytes, ms);
        fuzz::require(fromBytes && *fromBytes == tick, "the two readings of a tick disagree");
    }
    for (const std::uint64_t tick :
         {std::uint64_t{0}, timing->lastNoteTick / 2, timing->lastNoteTick, timing->lastTick}) {
        const double ms = midi::msAtTick(*timing, tick);
        fuzz::require(std::isfinite(ms) && ms >= previousMs - 1e-6 * std::abs(ms),
                      "a later tick gives an earlier time");
        previousMs = std::max(previousMs, ms);
    }
    return 0;
}
