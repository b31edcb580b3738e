// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/writers/midiwriter.h"

#include <QFile>

#include <algorithm>
#include <stdexcept>

namespace vorn::writers {

namespace {

std::uint8_t byte(int v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

void be(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void vlq(QByteArray& out, std::uint32_t value) {
    std::uint8_t buffer[5];
    int n = 0;
    buffer[n++] = static_cast<std::uint8_t>(value & 0x7F);
    while (value >>= 7) buffer[n++] = static_cast<std::uint8_t>((value & 0x7F) | 0x80);
    while (n) out.append(static_cast<char>(buffer[--n]));
}

// Order of events at one tick: note-offs first, then set-up (tempo, programs, controllers),
// then note-ons, each group in insertion order.
enum Order { kOff = 0, kSetup = 1, kOn = 2 };

}  // namespace

void MidiTrack::add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes) {
    events_.push_back(Event{tick, order, std::move(bytes)});
}

void MidiTrack::noteOn(std::uint32_t tick, int channel, int note, int velocity) {
    add(tick, kOn, {byte(0x90 | (channel & 0x0F)), byte(note & 0x7F), byte(velocity & 0x7F)});
}

void MidiTrack::noteOff(std::uint32_t tick, int channel, int note) {
    add(tick, kOff, {byte(0x80 | (channel & 0x0F)), byte(note & 0x7F), 0x40});
}

void MidiTrack::note(std::uint32_t tick, std::uint32_t length, int channel, int note,
                     int velocity) {
    noteOn(tick, channel, note, velocity);
    noteOff(tick + length, channel, note);
}

void MidiTrack::programChange(std::uint32_t tick, int channel, int program) {
    add(tick, kSetup, {byte(0xC0 | (channel & 0x0F)), byte(program & 0x7F)});
}

void MidiTrack::controlChange(std::uint32_t tick, int channel, int controller, int value) {
    add(tick, kSetup, {byte(0xB0 | (channel & 0x0F)), byte(controller & 0x7F), byte(value & 0x7F)});
}

void MidiTrack::pitchBend(std::uint32_t tick, int channel, int value14bit) {
    add(tick, kSetup,
        {byte(0xE0 | (channel & 0x0F)), byte(value14bit & 0x7F), byte((value14bit >> 7) & 0x7F)});
}

void MidiTrack::tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter) {
    add(tick, kSetup,
        {0xFF, 0x51, 0x03, byte(static_cast<int>(microsecondsPerQuarter >> 16)),
         byte(static_cast<int>(microsecondsPerQuarter >> 8)),
         byte(static_cast<int>(microsecondsPerQuarter))});
}

void MidiTrack::trackName(std::uint32_t tick, const QByteArray& name) {
    std::vector<std::uint8_t> bytes{0xFF, 0x03};
    QByteArray length;
    vlq(length, static_cast<std::uint32_t>(name.size()));
    for (char c : length) bytes.push_back(static_cast<std::uint8_t>(c));
    for (char c : name) bytes.push_back(static_cast<std::uint8_t>(c));
    add(tick, kSetup, std::move(bytes));
}

void MidiTrack::endOfTrack(std::uint32_t tick) {
    end_ = tick;
    hasEnd_ = true;
}

QByteArray midiBytes(const std::vector<MidiTrack>& tracks, int ticksPerQuarter) {
    QByteArray out;
    out.append("MThd");
    be(out, 6, 4);
    be(out, 1, 2);
    be(out, static_cast<std::uint32_t>(tracks.size()), 2);
    be(out, static_cast<std::uint32_t>(ticksPerQuarter), 2);
    for (const MidiTrack& track : tracks) {
        auto events = track.events_;
        std::stable_sort(events.begin(), events.end(),
                         [](const MidiTrack::Event& a, const MidiTrack::Event& b) {
                             return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
                         });
        QByteArray body;
        std::uint32_t now = 0;
        for (const auto& e : events) {
            vlq(body, e.tick - now);
            now = e.tick;
            for (std::uint8_t b : e.bytes) body.append(static_cast<char>(b));
        }
        const std::uint32_t end = track.hasEnd_ ? std::max(track.end_, now) : now;
        vlq(body, end - now);
        body.append("\xFF\x2F\x00", 3);
        out.append("MTrk");
        be(out, static_cast<std::uint32_t>(body.size()), 4);
        out.append(body);
    }
    return out;
}

void writeMidi(const QString& path, const std::vector<MidiTrack>& tracks, int ticksPerQuarter) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(midiBytes(tracks, ticksPerQuarter)) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace vorn::writers
