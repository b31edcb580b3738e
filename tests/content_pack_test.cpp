// The default content pack as the player meets it: tunes that loop without a seam, an hourglass
// that runs out steadily, faces that sit on the character, backgrounds that keep the screens'
// texts readable, and a generator that gives the same bytes every time.

#include "platform/images.h"
#include "platform/media/avi.h"
#include "platform/media/probe.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

namespace {

const QString kBuild = QStringLiteral(VORN_BUILD_DIR);
const QString kGame = kBuild + QStringLiteral("/game");

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// ---------------------------------------------------------------- music

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

// ---------------------------------------------------------------- sounds

std::vector<std::int16_t> samples(const QByteArray& wav) {
    const qsizetype data = wav.indexOf("data");
    std::vector<std::int16_t> out;
    for (qsizetype i = data + 8; i + 1 < wav.size(); i += 2)
        out.push_back(static_cast<std::int16_t>(static_cast<std::uint8_t>(wav[i]) |
                                                (static_cast<std::uint8_t>(wav[i + 1]) << 8)));
    return out;
}

double crossingsPerSecond(const std::vector<std::int16_t>& s, int rate) {
    int crossings = 0;
    for (std::size_t i = 1; i < s.size(); ++i) crossings += (s[i - 1] < 0) != (s[i] < 0);
    return crossings * static_cast<double>(rate) / static_cast<double>(s.size());
}

TEST(ContentSounds, ChimeIsBrightAndBuzzerIsLow) {
    const QByteArray right = readFile(kGame + "/son/juste.wav");
    const QByteArray wrong = readFile(kGame + "/son/faux.wav");
    const auto rightInfo = vorn::probe::wave(right);
    const auto wrongInfo = vorn::probe::wave(wrong);
    ASSERT_TRUE(rightInfo && wrongInfo);
    for (const auto* info : {&*rightInfo, &*wrongInfo}) {
        EXPECT_EQ(info->bitsPerSample, 16);
        EXPECT_TRUE(info->sampleRate == 22050 || info->sampleRate == 44100);
        EXPECT_GT(info->lengthMs, 300);
        EXPECT_LT(info->lengthMs, 1000);
    }
    const auto r = samples(right), w = samples(wrong);
    EXPECT_GT(crossingsPerSecond(r, rightInfo->sampleRate),
              3 * crossingsPerSecond(w, wrongInfo->sampleRate));
    // Loud enough to hear, with room before clipping.
    for (const auto* s : {&r, &w}) {
        int peak = 0;
        for (std::int16_t v : *s) peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GT(peak, 16000);
        EXPECT_LT(peak, 32000);
    }
}

TEST(ContentSounds, StartAtOnce) {
    // The mark shows the moment the key is pressed: its sound must not lag behind.
    for (const char* file : {"/son/juste.wav", "/son/faux.wav"}) {
        const QByteArray bytes = readFile(kGame + file);
        const auto info = vorn::probe::wave(bytes);
        ASSERT_TRUE(info) << file;
        const auto s = samples(bytes);
        const std::size_t firstLoud = static_cast<std::size_t>(
            std::find_if(s.begin(), s.end(), [](std::int16_t v) { return std::abs(v) > 3000; }) -
            s.begin());
        EXPECT_LT(firstLoud * 1000 / static_cast<std::size_t>(info->sampleRate), 20u) << file;
    }
}

// ---------------------------------------------------------------- hourglass

bool isSand(QRgb p) {
    return qRed(p) > 170 && qGreen(p) > 90 && qGreen(p) < 210 && qBlue(p) < 130 &&
           qRed(p) - qBlue(p) > 90;
}

TEST(ContentHourglass, SandRunsOutSteadilyOverTheQuestion) {
    const auto clip = vorn::avi::decodeFrames(kGame + "/video/sablier2.avi");
    ASSERT_TRUE(clip);
    ASSERT_GE(clip->frames.size(), 44u);
    EXPECT_NEAR(43 / clip->framesPerSecond, 9.85, 0.05);
    std::vector<int> top, bottom;
    for (std::size_t i = 0; i < 44; ++i) {
        const QImage& f = clip->frames[i];
        int t = 0, b = 0;
        // Inside the glass, between the wooden plates and pillars.
        for (int y = 15; y < 95; ++y)
            for (int x = 18; x < 62; ++x)
                if (isSand(f.pixel(x, y))) (y < 55 ? t : b)++;
        top.push_back(t);
        bottom.push_back(b);
    }
    // Frame 1, shown while stopped, is full; frame 44 has the top bulb empty.
    EXPECT_GT(top[0], 600);
    EXPECT_LT(bottom[0], 40);
    EXPECT_LT(top[43], top[0] / 20);
    const double step = static_cast<double>(top[1] - top[43]) / 42;
    for (std::size_t i = 2; i < 44; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_LE(top[i], top[i - 1] + 8);
        EXPECT_GE(bottom[i], bottom[i - 1] - 8);
        // No frame jumps ahead: the sand falls at a steady pace.
        EXPECT_LT(top[i - 1] - top[i], 3 * step + 10);
    }
}

TEST(ContentHourglass, FramesSitOnTheSilverOfTheirControl) {
    // The control paints silver around and behind the frames: their edges must match it.
    const auto clip = vorn::avi::decodeFrames(kGame + "/video/sablier2.avi");
    ASSERT_TRUE(clip);
    for (std::size_t i = 0; i < clip->frames.size(); ++i) {
        const QImage& f = clip->frames[i];
        for (const QPoint corner :
             {QPoint(1, 1), QPoint(f.width() - 2, 1), QPoint(1, f.height() - 2),
              QPoint(f.width() - 2, f.height() - 2)}) {
            const QColor c = f.pixelColor(corner);
            EXPECT_NEAR(c.red(), 192, 8) << i;
            EXPECT_NEAR(c.green(), 192, 8) << i;
            EXPECT_NEAR(c.blue(), 192, 8) << i;
        }
    }
}

// ---------------------------------------------------------------- pictures

QImage picture(const QString& file) {
    return vorn::loadPicture(kGame + "/" + file);
}

double linear(int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double luminance(QRgb p) {
    return 0.2126 * linear(qRed(p)) + 0.7152 * linear(qGreen(p)) + 0.0722 * linear(qBlue(p));
}

// Contrast ratio (as in WCAG) between `text` and the mean luminance of the area behind it.
double contrast(const QImage& image, const QRect& area, const QColor& text) {
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) sum += luminance(image.pixel(x, y));
    const double back = sum / (area.width() * area.height());
    const double fore = luminance(text.rgb());
    return (std::max(back, fore) + 0.05) / (std::min(back, fore) + 0.05);
}

const QColor kNavy(0, 0, 128), kAqua(0, 255, 255), kGreen(0, 128, 0), kWhite(255, 255, 255),
    kBlue(0, 0, 255);

TEST(ContentPictures, LevelScreensKeepTheirTextsReadable) {
    for (int level = 1; level <= 4; ++level) {
        SCOPED_TRACE(level);
        const QImage bg = picture(QStringLiteral("image/niv%1.jpg").arg(level));
        ASSERT_EQ(bg.size(), QSize(640, 440));
        EXPECT_GT(contrast(bg, QRect(24, 12, 84, 28), kNavy), 4.5);     // score
        EXPECT_GT(contrast(bg, QRect(28, 170, 76, 26), kGreen), 3.0);   // counter, large bold
        EXPECT_GT(contrast(bg, QRect(32, 204, 98, 30), kAqua), 4.5);    // percentage
        EXPECT_GT(contrast(bg, QRect(32, 293, 568, 37), kWhite), 4.5);  // question
        for (const QRect& answer : {QRect(72, 336, 225, 35), QRect(72, 385, 225, 35),
                                    QRect(355, 336, 225, 35), QRect(355, 385, 225, 35)})
            EXPECT_GT(contrast(bg, answer, kWhite), 4.5);
    }
}

TEST(ContentPictures, LevelsLookDifferentAndTheBonusStandsOut) {
    std::vector<std::array<double, 3>> means;
    for (int level = 1; level <= 4; ++level) {
        const QImage bg = picture(QStringLiteral("image/niv%1.jpg").arg(level));
        std::array<double, 3> m{};
        int n = 0;
        for (int y = 60; y < 280; y += 2)
            for (int x = 150; x < 480; x += 2) {
                const QRgb p = bg.pixel(x, y);
                m[0] += qRed(p), m[1] += qGreen(p), m[2] += qBlue(p), ++n;
            }
        for (double& c : m) c /= n;
        means.push_back(m);
    }
    for (std::size_t a = 0; a < 4; ++a)
        for (std::size_t b = a + 1; b < 4; ++b) {
            double d = 0;
            for (int c = 0; c < 3; ++c)
                d = std::max(d, std::abs(means[a][static_cast<std::size_t>(c)] -
                                         means[b][static_cast<std::size_t>(c)]));
            EXPECT_GT(d, 30) << "levels " << a + 1 << " and " << b + 1;
        }
    // The bonus level is the night one: the darkest of the four behind its title.
    for (std::size_t a = 0; a < 3; ++a) {
        const double lit = means[a][0] + means[a][1] + means[a][2];
        EXPECT_LT(means[3][0] + means[3][1] + means[3][2], lit - 120) << a + 1;
    }
}

TEST(ContentPictures, TitleLeavesACalmPlaceForThePrompt) {
    const QImage bg = picture("image/titre.jpg");
    ASSERT_EQ(bg.size(), QSize(640, 440));
    const QRect prompt(24, 312, 300, 30);
    EXPECT_GT(contrast(bg, prompt, kBlue), 4.5);
    double lo = 1, hi = 0;
    for (int y = prompt.top(); y <= prompt.bottom(); ++y)
        for (int x = prompt.left(); x <= prompt.right(); ++x) {
            lo = std::min(lo, luminance(bg.pixel(x, y)));
            hi = std::max(hi, luminance(bg.pixel(x, y)));
        }
    EXPECT_LT(hi - lo, 0.12);
}

TEST(ContentPictures, ResultsBackgroundTakesNavyTextEverywhere) {
    const QImage bg = picture("image/resultats.jpg");
    ASSERT_EQ(bg.size(), QSize(640, 440));
    // Every place where the results, name-entry and high-score screens write.
    for (int y = 20; y + 20 <= 396; y += 20)
        for (int x = 18; x + 20 <= 616; x += 20)
            EXPECT_GT(contrast(bg, QRect(x, y, 20, 20), kNavy), 7) << x << "," << y;
}

QRgb keyOf(const QImage& image) {
    return image.pixel(0, image.height() - 1) | 0xFF000000u;
}

bool shown(const QImage& image, int x, int y) {
    return (image.pixel(x, y) | 0xFF000000u) != keyOf(image);
}

TEST(ContentPictures, FacesSitOnTheCharactersHead) {
    const QImage body = picture("image/aliasMb.bmp");
    ASSERT_EQ(body.size(), QSize(85, 115));
    std::vector<QImage> faces;
    for (char c = 'a'; c <= 'e'; ++c) {
        SCOPED_TRACE(c);
        const QImage face = picture(QStringLiteral("image/aliasMb-%1.bmp").arg(QChar(c)));
        ASSERT_EQ(face.size(), body.size());
        EXPECT_EQ(keyOf(face), keyOf(body));
        int drawn = 0, offBody = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                if (shown(face, x, y)) {
                    ++drawn;
                    offBody += !shown(body, x, y);
                }
        EXPECT_GT(drawn, 60);
        EXPECT_EQ(offBody, 0);
        faces.push_back(face);
    }
    for (std::size_t a = 0; a < faces.size(); ++a)
        for (std::size_t b = a + 1; b < faces.size(); ++b)
            EXPECT_NE(faces[a], faces[b]) << a << " " << b;
}

// The see-through colour only surrounds the drawing: no hole inside lets the screen through.
int holes(const QImage& image) {
    const int w = image.width(), h = image.height();
    std::vector<char> reached(static_cast<std::size_t>(w * h), 0);
    std::vector<QPoint> todo;
    for (int x = 0; x < w; ++x) todo.insert(todo.end(), {QPoint(x, 0), QPoint(x, h - 1)});
    for (int y = 0; y < h; ++y) todo.insert(todo.end(), {QPoint(0, y), QPoint(w - 1, y)});
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h) continue;
        auto& seen = reached[static_cast<std::size_t>(p.y() * w + p.x())];
        if (seen || shown(image, p.x(), p.y())) continue;
        seen = 1;
        todo.insert(todo.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    int count = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            count += !shown(image, x, y) && !reached[static_cast<std::size_t>(y * w + x)];
    return count;
}

TEST(ContentPictures, CharacterAndMarksHaveNoHoles) {
    for (const char* file : {"image/aliasMb.bmp", "image/juste.bmp", "image/faux.bmp"}) {
        const QImage image = picture(file);
        EXPECT_EQ(holes(image), 0) << file;
        EXPECT_EQ(image.pixelColor(0, image.height() - 1), QColor(255, 0, 255)) << file;
    }
}

TEST(ContentPictures, MarksAreGreenForRightAndRedForWrong) {
    auto count = [](const QImage& mark, bool green) {
        int n = 0;
        for (int y = 0; y < mark.height(); ++y)
            for (int x = 0; x < mark.width(); ++x) {
                if (!shown(mark, x, y)) continue;
                const QRgb p = mark.pixel(x, y);
                n += green ? qGreen(p) > qRed(p) + 60 && qGreen(p) > qBlue(p) + 40
                           : qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 60;
            }
        return n;
    };
    const QImage right = picture("image/juste.bmp"), wrong = picture("image/faux.bmp");
    ASSERT_EQ(right.size(), QSize(35, 35));
    ASSERT_EQ(wrong.size(), QSize(35, 35));
    EXPECT_GT(count(right, true), 120);
    EXPECT_EQ(count(right, false), 0);
    EXPECT_GT(count(wrong, false), 120);
    EXPECT_EQ(count(wrong, true), 0);
}

// The band of the alarm's box that the hourglass (80 x 110, in front of it) leaves uncovered.
bool inAlarmRing(int x, int y) {
    return x < 5 || x >= 85 || y < 5 || y >= 115;
}

TEST(ContentPictures, AlarmLightsUpRedAroundTheStoppedHourglass) {
    const QImage alarm = picture("image/alarme.bmp");
    ASSERT_EQ(alarm.size(), QSize(90, 120));
    int ring = 0, red = 0;
    for (int y = 0; y < alarm.height(); ++y)
        for (int x = 0; x < alarm.width(); ++x) {
            if (!inAlarmRing(x, y)) continue;
            const QRgb p = alarm.pixel(x, y);
            ++ring;
            red += qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90;
        }
    EXPECT_GT(red, ring * 9 / 10);
}

TEST(ContentPictures, HourglassPlaceIsSilverOnEveryLevel) {
    // Without a time-out the alarm's place around the hourglass shows the background: silver,
    // like the hourglass's own background, so that the hourglass stands in a clean frame.
    for (int level = 1; level <= 4; ++level) {
        const QImage bg = picture(QStringLiteral("image/niv%1.jpg").arg(level));
        int ring = 0, silver = 0;
        for (int y = 155; y < 275; ++y)
            for (int x = 499; x < 589; ++x) {
                if (!inAlarmRing(x - 499, y - 155) || x < 502 || x > 585 || y < 158 || y > 271)
                    continue;
                const QColor c = bg.pixelColor(x, y);
                ++ring;
                silver += std::abs(c.red() - 192) < 12 && std::abs(c.green() - 192) < 12 &&
                          std::abs(c.blue() - 192) < 12;
            }
        EXPECT_GT(silver, ring * 9 / 10) << level;
    }
}

// ---------------------------------------------------------------- videos

double meanLuminance(const QImage& frame) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < frame.height(); y += 3)
        for (int x = 0; x < frame.width(); x += 3, ++n) sum += luminance(frame.pixel(x, y));
    return sum / n;
}

TEST(ContentVideos, InterludesFadeFromAndToTheirBlackFrame) {
    for (int n = 0; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const auto clip = vorn::avi::decodeFrames(kGame + QStringLiteral("/video/%1.avi").arg(n));
        ASSERT_TRUE(clip);
        ASSERT_GT(clip->frames.size(), 30u);
        EXPECT_EQ(clip->frames[0].size(), n == 6 ? QSize(528, 192) : QSize(512, 375));
        EXPECT_LT(meanLuminance(clip->frames.front()), 0.02);
        EXPECT_LT(meanLuminance(clip->frames.back()), 0.03);
        EXPECT_GT(meanLuminance(clip->frames[clip->frames.size() / 2]), 0.05);
    }
}

// ---------------------------------------------------------------- the generator

TEST(ContentGenerator, GivesTheSameBytesEveryTime) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess generator;
    generator.start(kBuild + "/vorn-content", {dir.path(), "pictures", "music", "sounds"});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    int compared = 0;
    for (const QString& sub : {QStringLiteral("image"), QStringLiteral("son")}) {
        for (const QString& name : QDir(dir.path() + "/" + sub).entryList(QDir::Files)) {
            const QString file = sub + "/" + name;
            EXPECT_EQ(readFile(dir.path() + "/" + file), readFile(kGame + "/" + file))
                << qPrintable(file);
            ++compared;
        }
    }
    EXPECT_EQ(compared, 24);
    EXPECT_TRUE(QDir(dir.path() + "/save").exists());
}

TEST(ContentGenerator, RefusesWhatItDoesNotKnow) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess generator;
    generator.start(kBuild + "/vorn-content", {});
    ASSERT_TRUE(generator.waitForFinished(30000));
    EXPECT_EQ(generator.exitCode(), 2);
    generator.start(kBuild + "/vorn-content", {dir.path(), "posters"});
    ASSERT_TRUE(generator.waitForFinished(30000));
    EXPECT_EQ(generator.exitCode(), 1);
    EXPECT_TRUE(generator.readAllStandardError().contains("posters"));
}

}  // namespace
