// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/gen/videos.h"

#include "content/gen/hourglass.h"
#include "content/gen/paint.h"
#include "content/gen/pictures.h"
#include "content/gen/synth.h"
#include "content/writers/aviwriter.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "core/layout.h"
#include "core/numbers.h"
#include "core/pack.h"

namespace vorn::gen {

namespace {

using namespace palette;

constexpr int kFps = 15;
// The frames the interludes play in.
constexpr int kWidth = layout::anim::panel.width();
constexpr int kHeight = layout::anim::panel.height();
constexpr int kWideWidth = layout::anim::endOfGamePanel.width();
constexpr int kWideHeight = layout::anim::endOfGamePanel.height();

// ---------------------------------------------------------------- timing helpers

double clamp01(double x) {
    return std::clamp(x, 0.0, 1.0);
}

// 0 before `from`, 1 after `from + length`, linear between.
double phase(double t, double from, double length) {
    return clamp01((t - from) / length);
}

double easeOut(double x) {
    const double u = 1 - clamp01(x);
    return 1 - u * u * u;
}

// Overshoots a little before settling, for things that pop into place.
double easeOutBack(double x) {
    x = clamp01(x);
    const double c = 1.9;
    const double u = x - 1;
    return 1 + (c + 1) * u * u * u + c * u * u;
}

// ---------------------------------------------------------------- drawing helpers

void fadeFromAndToBlack(QPainter& p, QSizeF size, double t, double seconds, double in = 0.5,
                        double out = 0.45) {
    const double a = std::max(1 - phase(t, 0, in), phase(t, seconds - out, out));
    if (a > 0) p.fillRect(QRectF(QPointF(0, 0), size), QColor(0, 0, 0, static_cast<int>(255 * a)));
}

// A title in the pack's style, centred on `centre`, grown by `scale` from its centre.
void drawBigTitle(QPainter& p, const QString& text, int pixels, QPointF centre, double scale,
                  const TitleStyle& style, double rotation = 0) {
    if (scale <= 0.01) return;
    p.save();
    p.translate(centre);
    p.rotate(rotation);
    p.scale(scale, scale);
    drawTitle(p, textPath(text, latoBlack(pixels), QPointF(0, 0)), style);
    p.restore();
}

// A line in Lobster Two with a dark outline.
void drawMotto(QPainter& p, const QString& text, int pixels, QPointF centre, const QColor& fill,
               const QColor& outline, double opacity = 1) {
    if (opacity <= 0) return;
    p.save();
    p.setOpacity(opacity);
    const QPainterPath path = textPath(text, lobster(pixels), centre);
    p.setPen(QPen(outline, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

TitleStyle levelTitleStyle(int level) {
    TitleStyle style;
    if (level < numbers::kBonusLevel) {
        const QColor accent = levelAccent(level);
        style.top = Qt::white;
        style.bottom = mix(Qt::white, accent, 0.35);
        style.extrusion = accent.darker(170);
    }
    style.depth = 4;
    style.outlineWidth = 6;
    return style;
}

// The answer desk of the level screens, as a band carrying information lines.
void drawDesk(QPainter& p, const QRectF& band, const QColor& accent) {
    QLinearGradient fill(band.topLeft(), band.bottomLeft());
    fill.setColorAt(0, desk.lighter(130));
    fill.setColorAt(1, desk.darker(130));
    p.fillRect(band, fill);
    p.fillRect(QRectF(band.left(), band.top(), band.width(), 3), accent);
}

void drawDeskLine(QPainter& p, const QString& text, QPointF at, const QColor& colour, double shown,
                  int pixels = 17) {
    if (shown <= 0) return;
    p.save();
    p.setOpacity(clamp01(shown));
    p.translate((1 - easeOut(shown)) * -40, 0);
    p.setPen(colour);
    p.setFont(latoBlack(pixels));
    p.drawText(QRectF(at.x(), at.y() - 14, 480, 28), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}

// The player character, `scale` times its size on the level screen.
void drawCharacter(QPainter& p, QPointF topLeft, double scale, int mood, double rotation = 0) {
    p.save();
    p.translate(topLeft + QPointF(kPlayerWidth * scale / 2, kPlayerHeight * scale));
    p.rotate(rotation);
    p.translate(-kPlayerWidth * scale / 2, -kPlayerHeight * scale);
    p.scale(scale, scale);
    drawPlayerBody(p);
    drawPlayerFace(p, mood);
    p.restore();
}

void drawKeys(QPainter& p, double t, double start, double centreX, double top, double size) {
    const QFont keyFont = latoBlack(static_cast<int>(size * 0.62));
    for (int i = 0; i < 4; ++i) {
        const double pop = easeOutBack(phase(t, start + i * 0.22, 0.35));
        if (pop <= 0.01) continue;
        const QPointF centre(centreX + (i - 1.5) * size * 1.25, top + size / 2);
        p.save();
        p.translate(centre);
        p.scale(pop, pop);
        const QRectF key(-size / 2, -size / 2, size, size);
        drawPanel(p, key.translated(0, 4), size * 0.22, levelAccent(i + 1).darker(150));
        drawPanel(p, key, size * 0.22, levelAccent(i + 1), ink, 2);
        p.setPen(Qt::white);
        p.setFont(keyFont);
        p.drawText(key.adjusted(0, -2, 0, 0), Qt::AlignCenter, QString::number(i + 1));
        p.restore();
    }
}

// Confetti falling through the frame; the same pieces every time.
void drawConfetti(QPainter& p, QSizeF size, double t, int count, std::uint64_t seed) {
    Rng rng(seed);
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const double x0 = rng.uniform() * size.width();
        const double speed = rng.range(40, 90);
        const double delay = rng.range(0, 2.5);
        const double spin = rng.range(-6, 6);
        const double sway = rng.range(6, 18);
        const QColor colour = levelAccent(1 + rng.below(4)).lighter(110);
        const double y = (t - delay) * speed - 12;
        if (y < -12 || y > size.height() + 12) continue;
        p.save();
        p.translate(x0 + sway * std::sin(t * 2 + i), y);
        p.rotate(t * spin * 50);
        p.scale(1, std::cos(t * spin) * 0.8 + 0.2);
        p.setBrush(colour);
        p.drawRect(QRectF(-3.5, -2, 7, 4));
        p.restore();
    }
    p.restore();
}

// A firework burst centred at `centre` going off at `start`.
void drawFirework(QPainter& p, QPointF centre, double t, double start, const QColor& colour,
                  std::uint64_t seed) {
    const double age = t - start;
    if (age < 0 || age > 1.4) return;
    Rng rng(seed);
    const double spread = easeOut(age / 1.0) * 64;
    const double fade = 1 - clamp01((age - 0.5) / 0.9);
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 26; ++i) {
        const double angle = i * 2 * std::numbers::pi / 26 + rng.range(-0.1, 0.1);
        const double r = spread * rng.range(0.75, 1.0);
        const QPointF at =
            centre + QPointF(std::cos(angle), std::sin(angle)) * r + QPointF(0, age * age * 14);
        p.setBrush(
            withAlpha(i % 3 == 0 ? QColor(Qt::white) : colour, static_cast<int>(255 * fade)));
        p.drawEllipse(at, 2.4, 2.4);
        p.setBrush(withAlpha(colour, static_cast<int>(90 * fade)));
        p.drawEllipse(at - QPointF(std::cos(angle), std::sin(angle)) * 5, 1.3, 1.3);
    }
    drawGlow(p, centre, 22 * (1 - clamp01(age / 0.4)), withAlpha(Qt::white, 180));
    p.restore();
}

// ---------------------------------------------------------------- music of the videos

// Small arrangements on the synthesizer, in the same harmony as the tunes.
struct Band {
    synth::Mix& mix;
    int tonic;  // MIDI note of the key's tonic, fourth octave
    std::uint64_t seed = 1;

    double pitch(int degree, int octave = 0) const {
        static const int kMajorScale[7] = {0, 2, 4, 5, 7, 9, 11};
        const int o = static_cast<int>(std::floor(degree / 7.0));
        return tonic + 12 * (octave + o) + kMajorScale[degree - 7 * o];
    }
    void chord(double at, int degree, double length, double gain = 0.18) {
        for (int step : {0, 2, 4}) {
            mix.add(at, synth::brass(synth::midiFrequency(pitch(degree + step)), length), gain);
            mix.add(at, synth::pad(synth::midiFrequency(pitch(degree + step, -1)), length),
                    gain * 0.5);
        }
        mix.add(at, synth::bassTone(synth::midiFrequency(pitch(degree, -2)), length), 0.55);
    }
    void lead(double at, int degree, double length, double gain = 0.3, int octave = 1) {
        mix.add(at, synth::brass(synth::midiFrequency(pitch(degree, octave)), length, 0, 0.004),
                gain);
    }
    void ding(double at, int degree, double gain = 0.25, int octave = 1) {
        mix.add(at, synth::bell(synth::midiFrequency(pitch(degree, octave)), 0.05), gain);
    }
    void pluck(double at, int degree, double gain = 0.3, int octave = 1) {
        mix.add(at, synth::pluck(synth::midiFrequency(pitch(degree, octave)), 0.2), gain);
    }
    void beat(double at, double beatLength, int beats, bool snare = true) {
        for (int b = 0; b < beats; ++b) {
            const double when = at + b * beatLength;
            if (b % 2 == 0) mix.add(when, synth::kick(), 0.55);
            if (snare && b % 2 == 1) mix.add(when, synth::snare(seed++), 0.35);
            mix.add(when, synth::hat(seed++), 0.25);
            mix.add(when + beatLength / 2, synth::hat(seed++), 0.15);
        }
    }
    void crash(double at, double length = 1.6) { mix.add(at, synth::cymbal(seed++, length), 0.35); }
    void roll(double at, double length) { mix.add(at, synth::roll(seed++, length), 0.5); }
    void whoosh(double at, double length, bool rising) {
        mix.add(at, synth::whoosh(seed++, length, rising), 0.35);
    }
    void toms(double at, double step) {
        for (int i = 0; i < 4; ++i)
            mix.add(at + i * step, synth::bassTone(synth::midiFrequency(50 - i * 4), 0.08), 0.45);
    }
};

// ---------------------------------------------------------------- the videos

struct Video {
    int width = kWidth;
    int height = kHeight;
    double seconds = 5;
    std::function<void(QPainter&, double)> paint;
    std::function<void(synth::Mix&)> sound;
};

void writeVideo(const QString& path, const Video& video) {
    writers::AviFormat format;
    format.width = video.width;
    format.height = video.height;
    format.frameRateNum = kFps;
    format.frameRateDen = 1;
    format.sampleRate = synth::kRate;
    format.channels = 1;
    synth::Mix mix(video.seconds);
    video.sound(mix);
    writers::AviWriter writer(path, format);
    writer.addAudio(mix.pcm(0.8));
    const int frames = static_cast<int>(std::lround(video.seconds * kFps));
    QImage frame(video.width, video.height, QImage::Format_RGB32);
    for (int i = 0; i < frames; ++i) {
        frame.fill(Qt::black);
        QPainter p;
        beginPainter(p, frame);
        video.paint(p, static_cast<double>(i) / kFps);
        p.end();
        writer.addFrame(frame);
    }
    writer.finish();
}

Video introVideo() {
    Video v;
    v.seconds = 9;
    const double reveal0 = 0.5, reveal1 = 3.3;
    v.paint = [=](QPainter& p, double t) {
        const QSizeF size(kWidth, kHeight);
        drawSunburst(p, QPointF(256, 130), 32, 600, titleSky, titleRay, t * 6);
        p.fillRect(QRectF(QPointF(0, 0), size), titleVignette(QPointF(256, 130), 380));
        Rng rng(9);
        for (int i = 0; i < 40; ++i) {
            const QPointF at(rng.uniform() * kWidth, rng.uniform() * 260);
            const double tw = 0.5 + 0.5 * std::sin(t * rng.range(2, 5) + rng.range(0, 6.3));
            drawSparkle(p, at, 2 + 3 * tw,
                        withAlpha(QColor(255, 240, 190), static_cast<int>(230 * tw)));
        }
        const double reveal = phase(t, reveal0, reveal1 - reveal0);
        const double pulse =
            1 + 0.08 * (1 - easeOut(phase(t, reveal1, 0.5))) * (t >= reveal1 ? 1 : 0);
        if (t >= reveal1) drawGlow(p, QPointF(256, 118), 200, QColor(255, 220, 120, 80));
        drawGameName(p, QPointF(256, 122), 0.8 * pulse, reveal);
        // Subtitle ribbon rising into place.
        const double rise = easeOutBack(phase(t, 3.6, 0.7));
        if (rise > 0) {
            const QRectF ribbon(86, 224 + (1 - rise) * 200, 340, 34);
            drawPanel(p, ribbon, 6, cream, ink, 2.5);
            p.setPen(ink);
            p.setFont(lobster(22));
            p.drawText(ribbon.adjusted(0, -2, 0, 0), Qt::AlignCenter,
                       QStringLiteral("le grand quiz de culture g\u00e9n\u00e9rale"));
        }
        drawKeys(p, t, 4.5, 256, 296, 46);
        // The flash of the last letter.
        const double flash = 1 - phase(t, reveal1, 0.4);
        if (t >= reveal1 && flash > 0)
            p.fillRect(QRectF(QPointF(0, 0), size),
                       QColor(255, 255, 255, static_cast<int>(170 * flash)));
        fadeFromAndToBlack(p, size, t, v.seconds, 0.6, 0.5);
    };
    v.sound = [=](synth::Mix& mix) {
        Band band{mix, 60};
        band.roll(reveal0, reveal1 - reveal0);
        const int letters = 13;
        for (int i = 0; i < letters; ++i)
            band.pluck(reveal0 + (reveal1 - reveal0) * (i + 0.6) / letters, i % 7 + (i / 7) * 7 - 7,
                       0.35, 1);
        band.crash(reveal1, 2.0);
        band.chord(reveal1, 0, 1.2, 0.2);
        band.whoosh(3.4, 0.6, true);
        for (int i = 0; i < 4; ++i) band.ding(4.5 + i * 0.22, std::array{4, 7, 9, 11}[i], 0.3, 1);
        // A short fanfare to close.
        const double beat = 0.25;
        band.beat(5.5, beat * 2, 6);
        band.lead(5.5, 4, beat * 0.8, 0.28, 0);
        band.lead(5.5 + beat, 7, beat * 0.8, 0.28, 0);
        band.lead(5.5 + 2 * beat, 9, beat * 0.8, 0.28, 0);
        band.lead(5.5 + 3 * beat, 11, beat * 1.6, 0.3, 0);
        band.chord(5.5, 3, 1.0, 0.12);
        band.lead(6.5, 9, beat * 0.8, 0.28, 0);
        band.lead(6.5 + beat, 11, beat * 0.8, 0.28, 0);
        band.lead(6.5 + 2 * beat, 13, beat * 1.8, 0.3, 0);
        band.chord(6.5, 4, 1.0, 0.12);
        band.chord(7.5, 0, 1.1, 0.2);
        band.lead(7.5, 14, 1.1, 0.32, 0);
        band.crash(7.5, 1.5);
    };
    return v;
}

// The key of each level's jingle (a MIDI tonic).
int levelTonic(int level) {
    static const int kTonics[] = {65, 67, 62, 58};
    return kTonics[std::clamp(level, 1, 4) - 1];
}

Video levelVideo(int level) {
    Video v;
    v.seconds = 5;
    const QColor accent = levelAccent(level);
    static const char* const kMottos[] = {"Pour se mettre en jambes", "On monte d\u2019un cran",
                                          "Le niveau des experts"};
    const QString motto = QString::fromUtf8(kMottos[level - 1]);
    const int threshold = numbers::passThreshold(level);
    v.paint = [=](QPainter& p, double t) {
        const QSizeF size(kWidth, kHeight);
        p.save();
        const double s = kHeight / 440.0 * 1.0;
        p.translate((kWidth - 640 * s) / 2, 0);
        p.scale(s, s);
        drawLevelScenery(p, level, QSizeF(640, 440), t);
        p.restore();
        const double zoom = easeOutBack(phase(t, 0.3, 0.8));
        drawBigTitle(p, QStringLiteral("NIVEAU %1").arg(level), 66, QPointF(256, 62), zoom,
                     levelTitleStyle(level));
        drawMotto(p, motto, 26, QPointF(256 + (1 - easeOut(phase(t, 1.1, 0.6))) * 60, 122), cream,
                  ink, phase(t, 1.1, 0.5));
        const double deskUp = easeOut(phase(t, 1.4, 0.6));
        const double deskTop = kHeight - 130 * deskUp;
        drawCharacter(p, QPointF(18, deskTop - 118 + (1 - easeOutBack(phase(t, 1.9, 0.5))) * 130),
                      1.0, level - 1);
        drawDesk(p, QRectF(0, deskTop, kWidth, 140), accent);
        const QString lines[] = {
            QStringLiteral("%1 questions, %2 secondes pour chacune")
                .arg(numbers::questionsOfLevel(level))
                .arg(QLocale(QLocale::French).toString(layout::niv::TimerQuestMs / 1000.0, 'f', 2)),
            QStringLiteral("+%1 points par bonne r\u00e9ponse, \u2212%2 par erreur")
                .arg(numbers::kPointsPerRightAnswer * level)
                .arg(numbers::kPenalty),
            QStringLiteral("Objectif : %1 % de bonnes r\u00e9ponses").arg(threshold),
        };
        const QColor colours[] = {Qt::white, QColor(0, 255, 255), accent.lighter(140)};
        for (int i = 0; i < 3; ++i)
            drawDeskLine(p, lines[i], QPointF(120, deskTop + 34 + i * 32), colours[i],
                         phase(t, 2.1 + i * 0.45, 0.35));
        fadeFromAndToBlack(p, size, t, v.seconds);
    };
    v.sound = [=](synth::Mix& mix) {
        Band band{mix, levelTonic(level), static_cast<std::uint64_t>(level) * 100};
        band.whoosh(0.2, 0.8, true);
        band.toms(0.75, 0.09);
        band.crash(1.1, 1.8);
        band.chord(1.1, 0, 0.5, 0.2);
        band.lead(1.1, 4, 0.5);
        const double beat = 0.3;
        band.beat(1.7, beat, 10, true);
        const int bass[] = {0, 0, 3, 3, 4, 4, 0, 0};
        for (int i = 0; i < 8; ++i) {
            band.mix.add(1.7 + i * beat,
                         synth::bassTone(synth::midiFrequency(band.pitch(bass[i], -2)), beat * 0.8),
                         0.5);
            band.pluck(1.7 + i * beat, bass[i] + (i % 2 ? 4 : 2), 0.22, 1);
        }
        for (int i = 0; i < 3; ++i) band.ding(2.1 + i * 0.45, 4 + 2 * i, 0.28, 1);
        band.chord(4.1, 0, 0.5, 0.18);
        band.lead(4.1, 7, 0.5, 0.28);
    };
    return v;
}

Video bonusVideo() {
    Video v;
    v.seconds = 6;
    v.paint = [=](QPainter& p, double t) {
        const QSizeF size(kWidth, kHeight);
        p.save();
        const double s = kHeight / 440.0;
        p.translate((kWidth - 640 * s) / 2, 0);
        p.scale(s, s);
        drawLevelScenery(p, 4, QSizeF(640, 440), t * 3);
        p.restore();
        // The trophy rises, then shines.
        const double rise = easeOutBack(phase(t, 0.3, 1.1));
        drawGlow(p, QPointF(256, 170), 120 * rise, QColor(255, 220, 120, 120));
        drawTrophy(p, QPointF(256, 236 + (1 - rise) * 260), 130);
        for (int i = 0; i < 8; ++i) {
            const double a = i * std::numbers::pi / 4 + t;
            const double tw = 0.5 + 0.5 * std::sin(t * 6 + i);
            if (t > 1.4)
                drawSparkle(p, QPointF(256 + 90 * std::cos(a), 170 + 60 * std::sin(a)), 4 + 5 * tw,
                            withAlpha(QColor(255, 240, 190), static_cast<int>(255 * tw)));
        }
        drawBigTitle(p, QStringLiteral("NIVEAU BONUS"), 52, QPointF(256, 50),
                     easeOutBack(phase(t, 1.3, 0.7)), levelTitleStyle(4));
        const double deskUp = easeOut(phase(t, 2.2, 0.5));
        const double deskTop = kHeight - 100 * deskUp;
        drawDesk(p, QRectF(0, deskTop, kWidth, 110), gold);
        drawDeskLine(p, QStringLiteral("30 questions, +4000 points par bonne r\u00e9ponse"),
                     QPointF(28, deskTop + 32), Qt::white, phase(t, 2.6, 0.35));
        drawDeskLine(p, QStringLiteral("MORT SUBITE : la premi\u00e8re erreur arr\u00eate tout !"),
                     QPointF(28, deskTop + 66), gold.lighter(115), phase(t, 3.2, 0.35));
        fadeFromAndToBlack(p, size, t, v.seconds);
    };
    v.sound = [=](synth::Mix& mix) {
        Band band{mix, levelTonic(4), 400};
        band.roll(0.2, 1.2);
        band.crash(1.4, 2.2);
        band.chord(1.4, 0, 0.9, 0.22);
        const double beat = 0.2;
        band.lead(1.4, 0, beat * 0.8);
        band.lead(1.4 + beat, 2, beat * 0.8);
        band.lead(1.4 + 2 * beat, 4, beat * 0.8);
        band.lead(1.4 + 3 * beat, 7, beat * 2.5, 0.32);
        band.beat(2.2, 0.3, 10);
        const int bass[] = {0, 0, 5, 5, 3, 3, 4, 4};
        for (int i = 0; i < 8; ++i)
            band.mix.add(2.2 + i * 0.3,
                         synth::bassTone(synth::midiFrequency(band.pitch(bass[i], -2)), 0.25), 0.5);
        band.ding(2.6, 7, 0.3);
        band.ding(3.2, 9, 0.3);
        band.chord(4.6, 0, 0.9, 0.22);
        band.lead(4.6, 7, 0.9, 0.32);
        band.crash(4.6, 1.3);
    };
    return v;
}

Video lostVideo() {
    Video v;
    v.seconds = 5;
    v.paint = [=](QPainter& p, double t) {
        const QSizeF size(kWidth, kHeight);
        fillVertical(p, QRectF(QPointF(0, 0), size),
                     {QColor(52, 60, 92), QColor(88, 96, 128), QColor(126, 130, 150)});
        // Rain.
        Rng rng(55);
        p.setPen(QPen(QColor(200, 214, 240, 130), 1.4, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 90; ++i) {
            const double x = rng.uniform() * (kWidth + 80);
            const double speed = rng.range(260, 360);
            const double y = std::fmod(rng.uniform() * kHeight + t * speed, kHeight + 40) - 20;
            p.drawLine(QPointF(x - y * 0.15, y), QPointF(x - y * 0.15 - 3, y + 12));
        }
        // A grey cloud over the player.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 76, 100));
        QPainterPath cloud;
        cloud.setFillRule(Qt::WindingFill);
        const double cx = 150 + 6 * std::sin(t * 1.5);
        for (QPointF c : {QPointF(-50, 10), QPointF(-15, -12), QPointF(25, -6), QPointF(58, 10)})
            cloud.addEllipse(QPointF(cx, 70) + c, 40, 30);
        cloud.addRoundedRect(QRectF(cx - 90, 62, 180, 42), 20, 20);
        p.drawPath(cloud);
        // The floor and the player, sinking a little.
        p.fillRect(QRectF(0, 318, kWidth, 60), QColor(40, 44, 66));
        p.fillRect(QRectF(0, 318, kWidth, 3), coral);
        const double sink = easeOut(phase(t, 1.0, 2.5)) * 12;
        drawCharacter(p, QPointF(150 - 85, 318 - 230 + sink), 2.0, 4,
                      -3 * easeOut(phase(t, 1.0, 2.5)));
        // The verdict.
        TitleStyle style;
        style.top = QColor(255, 190, 170);
        style.bottom = coral;
        style.extrusion = coral.darker(200);
        style.outlineWidth = 6;
        style.depth = 4;
        const double pop = easeOutBack(phase(t, 0.4, 0.7));
        drawBigTitle(p, QStringLiteral("PERDU !"), 64, QPointF(362, 150), pop, style,
                     4 * std::sin(t * 3) * pop);
        drawMotto(p, QStringLiteral("Ce sera pour la prochaine fois\u2026"), 21, QPointF(362, 222),
                  cream, ink, phase(t, 1.6, 0.6));
        fadeFromAndToBlack(p, size, t, v.seconds);
    };
    v.sound = [=](synth::Mix& mix) {
        // The sad trombone: three falling notes and a long one that sags and wobbles.
        const double notes[] = {55, 54, 53};
        for (int i = 0; i < 3; ++i)
            mix.add(0.45 + i * 0.5, synth::brass(synth::midiFrequency(notes[i]), 0.38, -0.4, 0.006),
                    0.5);
        mix.add(1.95, synth::brass(synth::midiFrequency(52), 1.7, -1.2, 0.03), 0.55);
        mix.add(1.95, synth::bassTone(synth::midiFrequency(28), 1.6), 0.35);
        mix.add(0, synth::whoosh(77, 5, false), 0.08);
        mix.add(3.8, synth::kick(), 0.4);
    };
    return v;
}

Video finishedVideo() {
    Video v;
    v.width = kWideWidth;
    v.height = kWideHeight;
    v.seconds = 6;
    v.paint = [=](QPainter& p, double t) {
        const QSizeF size(kWideWidth, kWideHeight);
        drawSunburst(p, QPointF(190, 96), 24, 420, QColor(26, 44, 116), QColor(36, 62, 148),
                     t * 10);
        drawGlow(p, QPointF(190, 80), 150, QColor(255, 214, 110, 90));
        const QColor burst[] = {gold, coral, palette::teal.lighter(130), violet.lighter(140)};
        const QPointF places[] = {{340, 40}, {40, 36}, {470, 30}, {300, 150}, {130, 26}, {420, 60}};
        for (int i = 0; i < 6; ++i)
            drawFirework(p, places[i], t, 1.0 + i * 0.7, burst[i % 4],
                         static_cast<std::uint64_t>(i + 3));
        const double pop = easeOutBack(phase(t, 0.3, 0.7));
        drawBigTitle(p, QStringLiteral("BRAVO !"), 66, QPointF(190, 74), pop, TitleStyle{});
        drawMotto(p, QStringLiteral("Vous avez fini le jeu !"), 24, QPointF(190, 140), cream, ink,
                  phase(t, 1.0, 0.5));
        const double jump = std::abs(std::sin(t * 4)) * 8 * phase(t, 1.2, 0.3);
        drawCharacter(p, QPointF(360, kWideHeight - 115 + 4 - jump), 1.0, 0);
        drawTrophy(p, QPointF(478, 186), 86 * easeOutBack(phase(t, 0.8, 0.6)));
        drawConfetti(p, size, t, 70, 66);
        fadeFromAndToBlack(p, size, t, v.seconds, 0.4, 0.5);
    };
    v.sound = [=](synth::Mix& mix) {
        Band band{mix, 60, 600};
        const double beat = 0.18;
        band.roll(0, 0.3);
        for (int i = 0; i < 4; ++i)
            band.lead(0.3 + i * beat, std::array{0, 2, 4, 7}[i], beat * 0.8, 0.3);
        band.chord(0.3 + 4 * beat, 0, 1.2, 0.22);
        band.lead(0.3 + 4 * beat, 9, 1.2, 0.32);
        band.crash(0.3 + 4 * beat, 2.0);
        mix.add(1.2, synth::applause(606, 4.6), 0.7);
        for (int i = 0; i < 6; ++i) {
            const double at = 1.0 + i * 0.7;
            mix.add(at - 0.25, synth::whoosh(610 + static_cast<std::uint64_t>(i), 0.25, true),
                    0.25);
            mix.add(at, synth::snare(620 + static_cast<std::uint64_t>(i)), 0.45);
        }
        band.beat(2.2, 0.36, 8);
        band.chord(2.2, 3, 0.7, 0.14);
        band.chord(2.92, 4, 0.7, 0.14);
        band.chord(3.64, 0, 1.5, 0.18);
        band.lead(3.64, 7, 1.5, 0.3);
    };
    return v;
}

}  // namespace

void writeVideos(const QDir& gameDir) {
    writeVideo(gameDir.filePath(pack::video(numbers::kIntroVideo)), introVideo());
    for (int level = 1; level <= numbers::kLastLevel; ++level)
        writeVideo(gameDir.filePath(pack::video(level)), levelVideo(level));
    writeVideo(gameDir.filePath(pack::video(numbers::kBonusLevel)), bonusVideo());
    writeVideo(gameDir.filePath(pack::video(numbers::kLostGameVideo)), lostVideo());
    writeVideo(gameDir.filePath(pack::video(numbers::kEndOfGameVideo)), finishedVideo());

    writers::AviFormat format;
    format.width = kHourglassWidth;
    format.height = kHourglassHeight;
    format.frameRateNum = kHourglassRateNum;
    format.frameRateDen = kHourglassRateDen;
    format.sampleRate = 0;
    writers::writeAvi(gameDir.filePath(pack::file(pack::hourglass)), format, hourglassFrames(), {});
}

}  // namespace vorn::gen
