// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/gen/music.h"

#include "content/gen/paint.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vorn::gen {

namespace {

using writers::MidiTrack;

constexpr int kBeat = kTicksPerQuarter;
constexpr int kEighth = kBeat / 2;
constexpr int kSixteenth = kBeat / 4;
constexpr int kBar = 4 * kBeat;

enum Channel { kLead = 0, kBass = 1, kComp = 2, kPad = 3, kHarmony = 4, kDrums = 9 };

// General MIDI drum keys.
enum Drum {
    kKick = 36,
    kSideStick = 37,
    kSnare = 38,
    kClosedHat = 42,
    kLowTom = 45,
    kMidTom = 47,
    kHighTom = 50,
    kOpenHat = 46,
    kCrash = 49,
    kRide = 51,
    kTambourine = 54,
};

constexpr std::array<int, 7> kMajor = {0, 2, 4, 5, 7, 9, 11};

int floorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int mod7(int a) {
    return a - 7 * floorDiv(a, 7);
}

// The pitch of scale step `index` above `tonic` (a MIDI note).
int scalePitch(int tonic, int index) {
    return tonic + 12 * floorDiv(index, 7) + kMajor[static_cast<std::size_t>(mod7(index))];
}

bool isChordTone(int index, int degree) {
    const int m = mod7(index);
    return m == mod7(degree) || m == mod7(degree + 2) || m == mod7(degree + 4);
}

// The chord tone nearest to `index`, looking up first when `upFirst`.
int nearestChordTone(int index, int degree, bool upFirst = true) {
    for (int d = 0; d < 7; ++d) {
        const int a = index + (upFirst ? d : -d);
        const int b = index + (upFirst ? -d : d);
        if (isChordTone(a, degree)) return a;
        if (isChordTone(b, degree)) return b;
    }
    return index;
}

struct TuneStyle {
    int tonic;  // pitch class of the key
    int bpm;
    int lead, harmony, comp, pad;  // General MIDI programs
    int groove;                    // 0 pop, 1 walking, 2 driving
    int compRhythm;
    std::uint64_t seed;
    int progression;
};

// 0 the title, 1 to 6 the levels: one family of sounds, a lead of its own for each tune.
const std::array<TuneStyle, 7> kStyles = {{
    {0, 120, 56, 61, 0, 48, 0, 0, 101, 0},   // C, trumpet and brass
    {5, 116, 11, 73, 4, 89, 0, 0, 211, 0},   // F, vibraphone
    {7, 124, 73, 71, 0, 48, 2, 2, 307, 1},   // G, flute
    {2, 108, 65, 61, 4, 89, 1, 1, 401, 2},   // D, alto saxophone
    {10, 128, 59, 65, 0, 48, 0, 2, 503, 1},  // B flat, muted trumpet
    {0, 120, 12, 11, 4, 89, 2, 0, 601, 2},   // C, marimba
    {3, 104, 26, 73, 0, 48, 1, 1, 709, 0},   // E flat, jazz guitar
}};

using Chords = std::array<int, 8>;

struct Progression {
    Chords a;       // first A, ends on V
    Chords aTonic;  // second A, ends on I
    Chords b;       // bridge, ends on V
    Chords aTurn;   // last A, turns back to the start
};

const std::array<Progression, 3> kProgressions = {{
    {{0, 5, 1, 4, 0, 5, 1, 4},
     {0, 5, 1, 4, 0, 3, 4, 0},
     {3, 4, 2, 5, 1, 4, 0, 4},
     {0, 5, 1, 4, 0, 3, 1, 4}},
    {{0, 3, 4, 0, 5, 3, 1, 4},
     {0, 3, 4, 0, 5, 1, 4, 0},
     {5, 2, 3, 0, 5, 1, 3, 4},
     {0, 3, 4, 0, 5, 3, 1, 4}},
    {{0, 4, 5, 3, 0, 4, 1, 4},
     {0, 4, 5, 3, 0, 3, 4, 0},
     {3, 0, 3, 4, 5, 2, 1, 4},
     {0, 4, 5, 3, 0, 3, 1, 4}},
}};

// A melody note as a scale step, so that a second voice can follow it a third lower.
struct MelodyNote {
    int tick;
    int length;
    int index;
    int velocity;
};

// Rhythms of one bar in eighths; a negative value is a rest.
using Rhythm = std::vector<int>;

const std::array<Rhythm, 6> kMotifRhythms = {{
    {2, 1, 1, 2, 2},
    {1, 1, 2, 1, 1, 2},
    {3, 1, 2, 2},
    {2, 2, 1, 1, 2},
    {-1, 1, 1, 1, 2, 2},
    {1, 1, 1, 1, 2, -2},
}};

const std::array<Rhythm, 4> kBridgeRhythms = {{
    {4, 2, 2},
    {3, 3, 2},
    {2, 2, 4},
    {6, 1, 1},
}};

// A theme: two bar motifs (rhythm and melodic steps) and a contour over the phrase.
struct Theme {
    Rhythm m, n;
    std::vector<int> mSteps, nSteps;
    std::array<int, 8> contour;
};

std::vector<int> randomSteps(Rng& rng, std::size_t count) {
    std::vector<int> steps;
    int direction = rng.below(2) ? 1 : -1;
    for (std::size_t i = 0; i < count; ++i) {
        if (i == 0) {
            steps.push_back(0);
            continue;
        }
        // Mostly steps, sometimes a leap of a third, turning now and then.
        if (rng.uniform() < 0.3) direction = -direction;
        const int size = rng.uniform() < 0.7 ? 1 : 2;
        steps.push_back(direction * size);
    }
    return steps;
}

Theme makeTheme(Rng& rng, bool bridge) {
    Theme t;
    if (bridge) {
        t.m = kBridgeRhythms[static_cast<std::size_t>(rng.below(4))];
        t.n = kMotifRhythms[static_cast<std::size_t>(rng.below(6))];
    } else {
        t.m = kMotifRhythms[static_cast<std::size_t>(rng.below(6))];
        do {
            t.n = kMotifRhythms[static_cast<std::size_t>(rng.below(6))];
        } while (t.n == t.m);
    }
    t.mSteps = randomSteps(rng, t.m.size());
    t.nSteps = randomSteps(rng, t.n.size());
    // The phrase climbs to its middle and settles at its end.
    t.contour = {0, 1, 2, 0, 1, 3, 2, 0};
    if (rng.below(2)) t.contour = {0, -1, 1, 0, 2, 3, 1, -1};
    return t;
}

// An eight-bar phrase of the lead over `chords`, from scale step `previous`. The last note lands
// on the tonic when `finalTonic`, else on a tone of the last chord.
std::vector<MelodyNote> makePhrase(Rng& rng, const Theme& theme, const Chords& chords,
                                   bool finalTonic, int& previous, int lo, int hi, int startTick) {
    static const Rhythm kHalfCadence = {2, 2, 4};
    static const Rhythm kFullCadence = {6, -2};
    static const std::vector<int> kHalfSteps = {0, -1, -1};
    static const std::vector<int> kFullSteps = {0};
    std::vector<MelodyNote> notes;
    const int home = previous;
    for (int bar = 0; bar < 8; ++bar) {
        const Rhythm* rhythm;
        const std::vector<int>* steps;
        switch (bar) {
            case 3:
                rhythm = &kHalfCadence;
                steps = &kHalfSteps;
                break;
            case 7:
                rhythm = &kFullCadence;
                steps = &kFullSteps;
                break;
            case 1:
            case 5:
                rhythm = &theme.n;
                steps = &theme.nSteps;
                break;
            default:
                rhythm = &theme.m;
                steps = &theme.mSteps;
                break;
        }
        const int degree = chords[static_cast<std::size_t>(bar)];
        // Each bar starts on the chord tone nearest to where the contour wants the melody.
        int index = nearestChordTone(home + theme.contour[static_cast<std::size_t>(bar)] * 2,
                                     degree, previous <= home);
        int pos = 0;  // in eighths
        for (std::size_t i = 0; i < rhythm->size(); ++i) {
            const int duration = (*rhythm)[i];
            if (duration < 0) {
                pos += -duration;
                continue;
            }
            if (i > 0) index += (*steps)[std::min(i, steps->size() - 1)];
            if (index > hi) index -= 2 * (index - hi);
            if (index < lo) index += 2 * (lo - index);
            const bool strong = pos % 4 == 0;
            const bool last = bar == 7 && i == 0;
            if (last && finalTonic) {
                index = nearestChordTone(index, 0, index < home);
                if (mod7(index) != 0 && std::abs(index - home) <= 3) index = home;
            } else if (strong || last || duration >= 4) {
                index =
                    nearestChordTone(index, degree, (*steps)[std::min(i, steps->size() - 1)] >= 0);
            }
            const int velocity = 92 + (strong ? 10 : 0) + rng.below(9) - 4;
            notes.push_back(MelodyNote{startTick + bar * kBar + pos * kEighth,
                                       std::max(kSixteenth, duration * kEighth - 24), index,
                                       velocity});
            previous = index;
            pos += duration;
        }
    }
    return notes;
}

// Close voicing of a chord around `centre`.
std::vector<int> voicing(int tonic, int degree, int centre, bool seventh) {
    std::vector<int> tones = {degree, degree + 2, degree + 4};
    if (seventh) tones.push_back(degree + 6);
    std::vector<int> pitches;
    for (int t : tones) {
        int pitch = scalePitch(tonic, t);
        while (pitch < centre - 6) pitch += 12;
        while (pitch >= centre + 6) pitch -= 12;
        pitches.push_back(pitch);
    }
    std::sort(pitches.begin(), pitches.end());
    return pitches;
}

int bassRoot(int tonicPc, int degree) {
    int pitch = scalePitch(36 + tonicPc, degree);
    while (pitch > 50) pitch -= 12;
    while (pitch < 36) pitch += 12;
    return pitch;
}

struct Arranger {
    const TuneStyle& style;
    Rng rng;
    MidiTrack lead, harmony, bass, comp, pad, drums;
    int compCentre = 64;

    explicit Arranger(const TuneStyle& s) : style(s), rng(s.seed) {}

    // The melody's tonic: the lead sits around the fourth and fifth octaves.
    int tonicMidi() const { return 60 + style.tonic + (style.tonic == 0 ? 12 : 0); }

    void bassBar(int tick, int degree, int nextDegree, bool finalBar) {
        const int root = bassRoot(style.tonic, degree);
        if (finalBar) {
            bass.note(static_cast<std::uint32_t>(tick), kBar, kBass, root, 100);
            return;
        }
        int fifth = bassRoot(style.tonic, degree + 4);
        if (fifth < root) fifth += 12;
        if (fifth - root > 7) fifth -= 12;
        int third = bassRoot(style.tonic, degree + 2);
        if (third < root) third += 12;
        const int next = bassRoot(style.tonic, nextDegree);
        const int approach = (tick / kBar) % 2 ? next - 1 : next + (next + 2 <= 52 ? 2 : -1);
        auto put = [&](int eighth, int eighths, int pitch, int velocity) {
            bass.note(static_cast<std::uint32_t>(tick + eighth * kEighth),
                      static_cast<std::uint32_t>(eighths * kEighth - 20), kBass, pitch,
                      velocity + rng.below(7) - 3);
        };
        switch (style.groove) {
            case 1:  // walking quarters
                put(0, 2, root, 100);
                put(2, 2, third, 88);
                put(4, 2, fifth, 94);
                put(6, 2, approach, 88);
                break;
            case 2:  // driving eighths
                for (int e = 0; e < 6; ++e) put(e, 1, root, e % 2 ? 82 : 98);
                put(6, 1, fifth, 90);
                put(7, 1, approach, 86);
                break;
            default:  // pop
                put(0, 3, root, 100);
                put(3, 1, root, 84);
                put(4, 2, fifth, 94);
                put(6, 1, root + 12 <= 55 ? root + 12 : root, 84);
                put(7, 1, approach, 86);
                break;
        }
    }

    void compBar(int tick, int degree, bool finalBar, int velocity) {
        const bool seventh = degree == 1 || degree == 4 || degree == 5;
        const std::vector<int> chord = voicing(60 + style.tonic, degree, compCentre, seventh);
        static const std::array<std::vector<std::pair<int, int>>, 3> kRhythms = {{
            {{0, 2}, {3, 1}, {4, 2}, {7, 1}},
            {{0, 3}, {3, 5}},
            {{0, 1}, {2, 2}, {4, 1}, {6, 2}},
        }};
        const auto& rhythm = finalBar ? std::vector<std::pair<int, int>>{{0, 8}}
                                      : kRhythms[static_cast<std::size_t>(style.compRhythm)];
        for (const auto& [at, eighths] : rhythm) {
            const int v = velocity + (at % 2 ? -6 : 0) + rng.below(7) - 3;
            for (int pitch : chord)
                comp.note(static_cast<std::uint32_t>(tick + at * kEighth),
                          static_cast<std::uint32_t>(eighths * kEighth - (finalBar ? 0 : 30)),
                          kComp, pitch, v);
        }
    }

    void padBar(int tick, int degree, int length) {
        for (int pitch : voicing(60 + style.tonic, degree, 60, false))
            pad.note(static_cast<std::uint32_t>(tick), static_cast<std::uint32_t>(length), kPad,
                     pitch, 50);
    }

    void hit(int tick, int key, int velocity, int length = kSixteenth) {
        drums.note(static_cast<std::uint32_t>(tick), static_cast<std::uint32_t>(length), kDrums,
                   key, std::clamp(velocity + rng.below(7) - 3, 1, 127));
    }

    // One bar of drums; `intensity` 0 light, 1 full, 2 bridge (ride cymbal).
    void drumBar(int tick, int intensity, bool crash, bool fill) {
        static const std::array<std::vector<int>, 3> kKicks = {{{0, 4, 5}, {0, 4}, {0, 2, 4, 6}}};
        if (crash) hit(tick, kCrash, 100, kBeat);
        for (int e = 0; e < 8; ++e) {
            if (fill && e >= 6) break;
            const int at = tick + e * kEighth;
            if (intensity == 2)
                hit(at, kRide, e % 2 ? 58 : 76);
            else if (!(crash && e == 0))
                hit(at, e == 7 && intensity == 1 ? kOpenHat : kClosedHat, e % 2 ? 52 : 72);
        }
        for (int e : kKicks[static_cast<std::size_t>(style.groove)])
            if (!(fill && e >= 6)) hit(tick + e * kEighth, kKick, 96);
        for (int e : {2, 6}) {
            if (fill && e == 6) continue;
            hit(tick + e * kEighth, intensity == 0 ? kSideStick : kSnare, intensity == 0 ? 70 : 92);
        }
        if (intensity == 2)
            for (int e : {1, 3, 5, 7}) hit(tick + e * kEighth, kTambourine, 46);
        if (fill) {
            // The last beat: four sixteenths down the toms or on the snare, growing louder.
            static const std::array<int, 4> kToms = {kHighTom, kMidTom, kMidTom, kLowTom};
            for (int s = 0; s < 4; ++s) {
                const int key = intensity == 0 ? kSnare : kToms[static_cast<std::size_t>(s)];
                hit(tick + 6 * kEighth + s * kSixteenth, key, 70 + s * 10);
            }
            hit(tick + 6 * kEighth, kKick, 90);
        }
    }

    void setUp() {
        struct Part {
            MidiTrack* track;
            int channel, program, volume, pan;
        };
        const std::array<Part, 6> parts = {{
            {&lead, kLead, style.lead, 108, 64},
            {&harmony, kHarmony, style.harmony, 76, 84},
            {&bass, kBass, 33, 104, 60},
            {&comp, kComp, style.comp, 84, 44},
            {&pad, kPad, style.pad, 66, 76},
            {&drums, kDrums, 0, 96, 64},
        }};
        static const std::array<const char*, 6> kNames = {"Lead",   "Harmony", "Bass",
                                                          "Chords", "Pad",     "Drums"};
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const Part& part = parts[i];
            part.track->trackName(0, kNames[i]);
            if (part.channel != kDrums) part.track->programChange(0, part.channel, part.program);
            part.track->controlChange(0, part.channel, 7, part.volume);
            part.track->controlChange(0, part.channel, 10, part.pan);
            part.track->controlChange(0, part.channel, 91, 48);
            part.track->controlChange(0, part.channel, 93,
                                      part.channel == kComp || part.channel == kPad ? 24 : 8);
        }
    }

    void melody(const std::vector<MelodyNote>& notes, bool harmonise) {
        const int tonic = tonicMidi();
        for (const MelodyNote& n : notes) {
            lead.note(static_cast<std::uint32_t>(n.tick), static_cast<std::uint32_t>(n.length),
                      kLead, scalePitch(tonic, n.index), n.velocity);
            if (harmonise)
                harmony.note(static_cast<std::uint32_t>(n.tick),
                             static_cast<std::uint32_t>(n.length), kHarmony,
                             scalePitch(tonic, n.index - 2), n.velocity - 26);
        }
    }

    // One eight-bar section with its accompaniment.
    void section(int startBar, const Chords& chords, int intensity, bool withPad, bool crash) {
        for (int b = 0; b < 8; ++b) {
            const int tick = (startBar + b) * kBar;
            const int degree = chords[static_cast<std::size_t>(b)];
            const int next = b < 7 ? chords[static_cast<std::size_t>(b + 1)] : 0;
            bassBar(tick, degree, next, false);
            compBar(tick, degree, false, intensity == 0 ? 64 : 72);
            if (withPad) padBar(tick, degree, kBar);
            drumBar(tick, intensity, crash && b == 0, b == 7);
        }
    }

    std::vector<MidiTrack> tracks(int endTick) {
        MidiTrack conductor;
        conductor.trackName(0, "V.O.R.N. VOZID");
        conductor.tempo(0, static_cast<std::uint32_t>(60000000 / style.bpm));
        // 4/4 time signature.
        std::vector<MidiTrack> out = {conductor, lead, harmony, bass, comp, pad, drums};
        for (MidiTrack& t : out) t.endOfTrack(static_cast<std::uint32_t>(endTick));
        return out;
    }
};

std::vector<MidiTrack> composeLevelTune(const TuneStyle& style) {
    Arranger a(style);
    a.setUp();
    const Progression& prog = kProgressions[static_cast<std::size_t>(style.progression)];
    const Theme themeA = makeTheme(a.rng, false);
    const Theme themeB = makeTheme(a.rng, true);
    const int lo = -3, hi = 9;
    int previous = 2;
    // A A' B A'': the last A turns back to the start, so the loop is seamless.
    Rng phraseRng(style.seed * 31 + 7);
    const auto a1 = makePhrase(phraseRng, themeA, prog.a, false, previous, lo, hi, 0);
    Rng phraseRng2(style.seed * 31 + 7);
    int previous2 = 2;
    const auto a2 = makePhrase(phraseRng2, themeA, prog.aTonic, true, previous2, lo, hi, 8 * kBar);
    int previous3 = previous2 + 2;
    const auto b = makePhrase(a.rng, themeB, prog.b, false, previous3, lo, hi, 16 * kBar);
    Rng phraseRng4(style.seed * 31 + 7);
    int previous4 = 2;
    const auto a3 = makePhrase(phraseRng4, themeA, prog.aTurn, false, previous4, lo, hi, 24 * kBar);
    a.melody(a1, false);
    a.melody(a2, false);
    a.melody(b, true);
    a.melody(a3, true);
    a.section(0, prog.a, 0, false, true);
    a.section(8, prog.aTonic, 1, true, true);
    a.section(16, prog.b, 2, true, true);
    a.section(24, prog.aTurn, 1, true, true);
    return a.tracks(32 * kBar);
}

std::vector<MidiTrack> composeTitleTune(const TuneStyle& style) {
    Arranger a(style);
    a.setUp();
    const Progression& prog = kProgressions[0];
    const Theme themeA = makeTheme(a.rng, false);
    const Theme themeB = makeTheme(a.rng, true);
    // Intro: two bars of fanfare hits over a snare roll.
    for (int bar = 0; bar < 2; ++bar) {
        const int tick = bar * kBar;
        const int degree = bar == 0 ? 0 : 4;
        for (int pitch : voicing(60 + style.tonic, degree, 66, bar == 1)) {
            a.comp.note(static_cast<std::uint32_t>(tick), kBeat * 2, kComp, pitch, 96);
            a.harmony.note(static_cast<std::uint32_t>(tick), kBeat * 2 - 40, kHarmony, pitch, 100);
        }
        a.bass.note(static_cast<std::uint32_t>(tick), kBeat * 2, kBass,
                    bassRoot(style.tonic, degree), 104);
        a.hit(tick, kCrash, 110, kBeat);
        a.hit(tick, kKick, 110);
        for (int s = 8; s < 16; ++s) a.hit(tick + s * kSixteenth, kSnare, 50 + s * 4);
        a.padBar(tick, degree, kBar);
    }
    int previous = 2;
    const auto melodyA = makePhrase(a.rng, themeA, prog.aTonic, true, previous, -3, 9, 2 * kBar);
    const auto melodyB = makePhrase(a.rng, themeB, prog.b, false, previous, -3, 9, 10 * kBar);
    a.melody(melodyA, true);
    a.melody(melodyB, true);
    a.section(2, prog.aTonic, 1, true, true);
    a.section(10, prog.b, 2, true, true);
    // Coda: IV, V, then the tonic held for two bars to the very end.
    const int coda = 18 * kBar;
    const int tonic = a.tonicMidi();
    const std::array<int, 2> codaChords = {3, 4};
    for (int i = 0; i < 2; ++i) {
        const int tick = coda + i * kBar;
        a.bassBar(tick, codaChords[static_cast<std::size_t>(i)], i == 0 ? 4 : 0, false);
        a.compBar(tick, codaChords[static_cast<std::size_t>(i)], false, 76);
        a.padBar(tick, codaChords[static_cast<std::size_t>(i)], kBar);
        a.drumBar(tick, 1, false, i == 1);
    }
    // A rising line into the last chord.
    const std::array<int, 8> rise = {0, 1, 2, 3, 4, 5, 6, 6};
    for (int i = 0; i < 8; ++i) {
        const int tick = coda + i * kEighth * 2;
        const int index = rise[static_cast<std::size_t>(i)];
        a.lead.note(static_cast<std::uint32_t>(tick), kBeat - 30, kLead, scalePitch(tonic, index),
                    96 + i * 2);
        a.harmony.note(static_cast<std::uint32_t>(tick), kBeat - 30, kHarmony,
                       scalePitch(tonic, index - 2), 76);
    }
    const int end = coda + 4 * kBar;
    const int last = coda + 2 * kBar;
    a.lead.note(static_cast<std::uint32_t>(last), static_cast<std::uint32_t>(end - last), kLead,
                scalePitch(tonic, 7), 112);
    a.harmony.note(static_cast<std::uint32_t>(last), static_cast<std::uint32_t>(end - last),
                   kHarmony, scalePitch(tonic, 4), 90);
    for (int pitch : voicing(60 + style.tonic, 0, 64, false)) {
        a.comp.note(static_cast<std::uint32_t>(last), static_cast<std::uint32_t>(end - last), kComp,
                    pitch, 90);
        a.pad.note(static_cast<std::uint32_t>(last), static_cast<std::uint32_t>(end - last), kPad,
                   pitch - 12, 60);
    }
    a.bass.note(static_cast<std::uint32_t>(last), static_cast<std::uint32_t>(end - last), kBass,
                bassRoot(style.tonic, 0), 104);
    a.hit(last, kCrash, 116, end - last);
    a.hit(last, kKick, 110);
    return a.tracks(end);
}

}  // namespace

int tuneTempo(int number) {
    return kStyles[static_cast<std::size_t>(std::clamp(number, 0, kTuneCount))].bpm;
}

int tuneBars(int number) {
    return number == 0 ? 22 : 32;
}

std::vector<writers::MidiTrack> composeTune(int number) {
    const TuneStyle& style = kStyles[static_cast<std::size_t>(std::clamp(number, 0, kTuneCount))];
    return number == 0 ? composeTitleTune(style) : composeLevelTune(style);
}

}  // namespace vorn::gen
