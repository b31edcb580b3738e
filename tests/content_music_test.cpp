// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The default pack's tunes as a player hears them: level tunes that loop without a seam, a title
// tune that ends on a held chord, one key, melodies of their own, instruments in their ranges.

#include "platform/media/probe.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "support/defaultpack.h"

#include <gtest/gtest.h>

namespace content_music_test {

using namespace vorn::test;

struct Note {
    std::uint64_t on, off;
    int channel, key;
};

struct Song {
    int division = 0;
    std::uint64_t end = 0;
    std::vector<Note> notes;
    int hanging = 0;  // notes never released
};

Song parseMidi(const QByteArray& b) {
    Song song;
    auto u8 = [&](qsizetype i) { return static_cast<std::uint8_t>(b[i]); };
    auto be = [&](qsizetype i, int n) {
        std::uint32_t v = 0;
        for (int k = 0; k < n; ++k) v = (v << 8) | u8(i + k);
        return v;
    };
    if (b.size() < 14 || !b.startsWith("MThd")) return song;
    song.division = static_cast<int>(be(12, 2));
    const auto tracks = be(10, 2);
    qsizetype pos = 14;
    for (std::uint32_t t = 0; t < tracks && pos + 8 <= b.size(); ++t) {
        const qsizetype end = pos + 8 + be(pos + 4, 4);
        pos += 8;
        std::uint64_t tick = 0;
        std::uint8_t status = 0;
        std::map<std::pair<int, int>, std::uint64_t> sounding;
        while (pos < end) {
            std::uint32_t delta = 0;
            std::uint8_t c;
            do {
                c = u8(pos++);
                delta = (delta << 7) | (c & 0x7F);
            } while (c & 0x80);
            tick += delta;
            if (u8(pos) == 0xFF) {
                const auto type = u8(pos + 1);
                const auto len = u8(pos + 2);
                pos += 3 + len;
                if (type == 0x2F) break;
                continue;
            }
            if (u8(pos) & 0x80) status = u8(pos++);
            const int kind = status & 0xF0, channel = status & 0x0F;
            const int data = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
            if (kind == 0x90 && u8(pos + 1) > 0) {
                sounding[{channel, u8(pos)}] = tick;
            } else if (kind == 0x80 || kind == 0x90) {
                auto it = sounding.find({channel, u8(pos)});
                if (it != sounding.end()) {
                    song.notes.push_back(Note{it->second, tick, channel, u8(pos)});
                    sounding.erase(it);
                }
            }
            pos += data;
        }
        song.hanging += static_cast<int>(sounding.size());
        song.end = std::max(song.end, tick);
        pos = end;
    }
    return song;
}

QString tuneFile(int n) {
    return n == 0 ? kGame + "/son/titre.mid" : kGame + QStringLiteral("/son/%1.mid").arg(n);
}

TEST(ContentMusic, LevelTunesLoopWithoutASeam) {
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const Song song = parseMidi(readFile(tuneFile(n)));
        ASSERT_GT(song.division, 0);
        ASSERT_FALSE(song.notes.empty());
        const std::uint64_t bar = 4ull * static_cast<unsigned>(song.division);
        // The file ends on a bar line, right where its last note ends, and starts playing at once.
        EXPECT_EQ(song.end % bar, 0u);
        std::uint64_t firstOn = song.end, lastOff = 0;
        for (const Note& note : song.notes) {
            firstOn = std::min(firstOn, note.on);
            lastOff = std::max(lastOff, note.off);
            EXPECT_LE(note.off, song.end);
            EXPECT_LT(note.on, note.off);
        }
        EXPECT_EQ(firstOn, 0u);
        EXPECT_EQ(lastOff, song.end);
        EXPECT_EQ(song.hanging, 0);
        // Drums on channel 10, and a band around them.
        std::set<int> channels;
        for (const Note& note : song.notes) channels.insert(note.channel);
        EXPECT_TRUE(channels.count(9));
        EXPECT_GE(channels.size(), 4u);
        const auto length = vorn::probe::midiLengthMs(readFile(tuneFile(n)));
        ASSERT_TRUE(length);
        EXPECT_GE(*length, 30000);
        EXPECT_LE(*length, 90000);
    }
}

TEST(ContentMusic, TitleTuneEndsOnAHeldChord) {
    const Song song = parseMidi(readFile(tuneFile(0)));
    ASSERT_FALSE(song.notes.empty());
    std::set<int> final;
    for (const Note& note : song.notes) {
        EXPECT_LE(note.off, song.end);
        if (note.channel != 9 && note.off == song.end && song.end - note.on >= 4u * song.division)
            final.insert(note.key % 12);
    }
    // At least a triad is held for a bar or more up to the very end.
    EXPECT_GE(final.size(), 3u);
    EXPECT_EQ(song.hanging, 0);
}

// Pitch classes of the pitched parts, without the bass (whose passing notes may be chromatic).
std::set<int> pitchClasses(const Song& song) {
    std::set<int> out;
    for (const Note& note : song.notes)
        if (note.channel != 9 && note.channel != 1) out.insert(note.key % 12);
    return out;
}

TEST(ContentMusic, MelodyAndChordsKeepToOneMajorKey) {
    static const std::array<int, 7> kMajor = {0, 2, 4, 5, 7, 9, 11};
    for (int n = 0; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const std::set<int> used = pitchClasses(parseMidi(readFile(tuneFile(n))));
        bool inSomeKey = false;
        for (int tonic = 0; tonic < 12 && !inSomeKey; ++tonic) {
            bool all = true;
            for (int pc : used)
                all = all && std::find(kMajor.begin(), kMajor.end(), (pc - tonic + 12) % 12) !=
                                 kMajor.end();
            inSomeKey = all;
        }
        EXPECT_TRUE(inSomeKey);
    }
}

TEST(ContentMusic, TunesHaveTheirOwnMelodies) {
    // The opening of the lead (channel 1) as rhythm and intervals: no two tunes share it.
    std::vector<std::vector<std::int64_t>> openings;
    for (int n = 0; n <= 6; ++n) {
        const Song song = parseMidi(readFile(tuneFile(n)));
        std::vector<Note> lead;
        for (const Note& note : song.notes)
            if (note.channel == 0) lead.push_back(note);
        std::sort(lead.begin(), lead.end(),
                  [](const Note& a, const Note& b) { return a.on < b.on; });
        ASSERT_GE(lead.size(), 12u) << n;
        std::vector<std::int64_t> shape;
        for (std::size_t i = 1; i < 12; ++i) {
            shape.push_back(lead[i].key - lead[i - 1].key);
            shape.push_back(static_cast<std::int64_t>(lead[i].on - lead[i - 1].on));
        }
        for (std::size_t k = 0; k < openings.size(); ++k)
            EXPECT_NE(openings[k], shape) << k << " and " << n;
        openings.push_back(shape);
    }
}

TEST(ContentMusic, PartsStayInTheirInstrumentsRanges) {
    for (int n = 0; n <= 6; ++n) {
        SCOPED_TRACE(n);
        for (const Note& note : parseMidi(readFile(tuneFile(n))).notes) {
            switch (note.channel) {
                case 9:  // General MIDI percussion keys
                    EXPECT_GE(note.key, 35);
                    EXPECT_LE(note.key, 81);
                    break;
                case 1:  // bass
                    EXPECT_GE(note.key, 28);
                    EXPECT_LE(note.key, 60);
                    break;
                case 0:  // lead
                    EXPECT_GE(note.key, 55);
                    EXPECT_LE(note.key, 91);
                    break;
                default:
                    EXPECT_GE(note.key, 40);
                    EXPECT_LE(note.key, 91);
                    break;
            }
        }
    }
}

}  // namespace content_music_test
