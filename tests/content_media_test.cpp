// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The default pack's sounds, hourglass and interludes: a bright chime and a low buzzer that start
// at once, sand that runs out steadily over a question on the silver of its control, videos that
// fade from and to their black frame.

#include "platform/media/avi.h"
#include "platform/media/probe.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "support/defaultpack.h"

#include <gtest/gtest.h>

namespace content_media_test {

using namespace vorn::test;

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
        std::vector<double> luminance;
        QSize size;
        ASSERT_TRUE(vorn::avi::forEachFrame(kGame + QStringLiteral("/video/%1.avi").arg(n),
                                            [&](const QImage& frame) {
                                                size = frame.size();
                                                luminance.push_back(meanLuminance(frame));
                                            }));
        ASSERT_GT(luminance.size(), 30u);
        EXPECT_EQ(size, n == 6 ? QSize(528, 192) : QSize(512, 375));
        EXPECT_LT(luminance.front(), 0.02);
        EXPECT_LT(luminance.back(), 0.03);
        EXPECT_GT(luminance[luminance.size() / 2], 0.05);
    }
}

}  // namespace content_media_test
