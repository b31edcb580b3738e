// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Writes Standard MIDI Files (format 1) from tracks of timed events.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace vorn::writers {

class MidiTrack {
  public:
    void noteOn(std::uint32_t tick, int channel, int note, int velocity);
    void noteOff(std::uint32_t tick, int channel, int note);
    // A note from `tick` lasting `length` ticks.
    void note(std::uint32_t tick, std::uint32_t length, int channel, int note, int velocity);
    void programChange(std::uint32_t tick, int channel, int program);
    void controlChange(std::uint32_t tick, int channel, int controller, int value);
    void pitchBend(std::uint32_t tick, int channel, int value14bit);
    // Microseconds per quarter note (500000 is 120 beats a minute).
    void tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter);
    void trackName(std::uint32_t tick, const QByteArray& name);
    // The end of the track; without it the track ends at its last event.
    void endOfTrack(std::uint32_t tick);

    struct Event {
        std::uint32_t tick;
        int order;  // keeps note-offs before note-ons at one tick, and the insertion order
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Event>& events() const { return events_; }

  private:
    void add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes);
    std::vector<Event> events_;
    std::uint32_t end_ = 0;
    bool hasEnd_ = false;
    friend QByteArray midiBytes(const std::vector<MidiTrack>&, int);
};

QByteArray midiBytes(const std::vector<MidiTrack>& tracks, int ticksPerQuarter);
void writeMidi(const QString& path, const std::vector<MidiTrack>& tracks, int ticksPerQuarter);

}  // namespace vorn::writers
