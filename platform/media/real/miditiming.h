#pragma once
// Converting a time in a Standard MIDI File to its tick, following the file's tempo map, so that
// a tune can be resumed where it was stopped.

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace vorn::miditiming {

// The tick that sounds `ms` after the start of the file (120 beats a minute until the first
// tempo event). Empty when the bytes are not a valid MIDI file. A time past the end gives a tick
// past the last event.
std::optional<std::uint32_t> tickAtMs(const QByteArray& bytes, std::int64_t ms);

}  // namespace vorn::miditiming
