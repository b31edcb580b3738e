// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The music rendered ahead: each tune synthesized once and played from memory or from the disk
// cache, keyed on what the file holds, and the mixer never left waiting for the rendering.

#include "platform/errors.h"
#include "platform/media/backend.h"
#include "platform/media/real/audioengine.h"
#include "platform/media/real/musicrender.h"
#include "platform/platform.h"
#include "platform/virtualclock.h"

#include "content/writers/midiwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

using namespace vorn;

namespace music_render_test {

constexpr int kRate = MusicRenderer::kSampleRate;

QByteArray midiBytes(const std::vector<writers::MidiTrack>& tracks) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tune.mid"));
    writers::writeMidi(path, tracks, 480);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One note of `ms` at 120 beats a minute (960 ticks a second), struck at once.
QByteArray heldNote(int key, int ms) {
    writers::MidiTrack track;
    track.programChange(0, 0, 0);
    track.note(0, static_cast<std::uint32_t>(ms * 960 / 1000), 0, key, 110);
    return midiBytes({track});
}

int peak(const RenderedTune& tune, std::size_t fromFrame, std::size_t toFrame) {
    int p = 0;
    toFrame = std::min(toFrame, tune.framesReady());
    for (std::size_t i = fromFrame * 2; i < toFrame * 2; ++i)
        p = std::max(p, std::abs(static_cast<int>(tune.samples()[i])));
    return p;
}

bool sameSamples(const RenderedTune& a, const RenderedTune& b) {
    return a.framesReady() == b.framesReady() &&
           std::equal(a.samples(), a.samples() + a.framesReady() * 2, b.samples());
}

class MusicRender : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(cache.isValid());
        if (MusicRenderer::findSoundfont().isEmpty()) GTEST_SKIP() << "no General MIDI soundfont";
    }
    std::unique_ptr<MusicRenderer> renderer(
        std::size_t memoryBytes = MusicRenderer::kDefaultCacheBytes) {
        return MusicRenderer::create(MusicRenderer::findSoundfont(),
                                     cache.filePath(QStringLiteral("music")), memoryBytes);
    }
    QTemporaryDir cache;
};

TEST_F(MusicRender, ATuneSoundsFromItsFirstFrameAndEndsWithItsTail) {
    auto r = renderer();
    ASSERT_TRUE(r);
    const auto tune = r->render(heldNote(60, 1000), 0);
    ASSERT_TRUE(tune);
    ASSERT_TRUE(r->waitComplete(*tune, 20000));
    // The note is struck on the first frames, not a block later.
    EXPECT_GT(peak(*tune, 0, 256), 100);
    EXPECT_GT(peak(*tune, kRate / 2, kRate), 1000);
    // It ends once the note's release and the reverb have died away, with time to spare (the
    // last voice ends well after the sound does), and not long after.
    std::size_t lastSound = 0;
    for (std::size_t i = 0; i < tune->framesReady() * 2; ++i)
        if (tune->samples()[i] != 0) lastSound = i / 2;
    EXPECT_GT(lastSound, static_cast<std::size_t>(kRate));
    EXPECT_GE(tune->framesReady() - lastSound, static_cast<std::size_t>(kRate) * 3);
    EXPECT_LT(tune->framesReady() - lastSound, static_cast<std::size_t>(kRate) * 10);
}

TEST_F(MusicRender, ATuneIsRenderedOnceByItsContentsAndFromEachTickApart) {
    auto r = renderer();
    ASSERT_TRUE(r);
    const QByteArray a = heldNote(60, 1000);
    const auto first = r->render(a, 0);
    ASSERT_TRUE(first);
    // The same contents, read again (from another file): the same render.
    const QByteArray copy(a.constData(), a.size());
    EXPECT_EQ(r->render(copy, 0), first);
    EXPECT_EQ(r->rendersBegun(), 1);
    ASSERT_TRUE(r->waitIdle(20000));
    // Other contents, or the same tune resumed from elsewhere, sound otherwise. The other tune
    // is long and the thread held once its note rings: it is surely still rendering when it is
    // replaced.
    const auto other = r->render(heldNote(67, 20000), 0);
    EXPECT_NE(other, first);
    EXPECT_EQ(r->rendersBegun(), 2);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (other->framesReady() < kRate / 2 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    r->holdThread(true);
    ASSERT_FALSE(other->complete());
    const auto resumed = r->render(a, 480);
    EXPECT_EQ(r->rendersBegun(), 3);
    r->holdThread(false);
    ASSERT_TRUE(r->waitIdle(20000));
    // Whole tunes are kept on disk (not one given up half-rendered); a tune resumed part-way is
    // not.
    EXPECT_EQ(
        QDir(cache.filePath(QStringLiteral("music"))).entryList({QStringLiteral("*.pcm")}).size(),
        1);
    // From half a second in, the note is no longer struck: a rest where the tune had sound. Nor
    // does the tune given up for it (still rendering when it was asked for) leave its reverb.
    EXPECT_LT(peak(*resumed, 0, kRate / 4), 50);
}

TEST_F(MusicRender, LaterGamesPlayTheRenderKeptOnDiskAndADamagedOneIsRenderedAgain) {
    const QByteArray tune = heldNote(64, 800);
    std::shared_ptr<const RenderedTune> rendered;
    {
        auto r = renderer();
        ASSERT_TRUE(r);
        rendered = r->render(tune, 0);
        ASSERT_TRUE(r->waitIdle(20000));
    }
    const QDir dir(cache.filePath(QStringLiteral("music")));
    const QStringList files = dir.entryList({QStringLiteral("*.pcm")});
    ASSERT_EQ(files.size(), 1);

    {
        auto r = renderer();
        const auto again = r->render(tune, 0);
        ASSERT_TRUE(again);
        EXPECT_EQ(r->rendersBegun(), 0) << "synthesized again";
        EXPECT_TRUE(again->complete());
        EXPECT_TRUE(sameSamples(*again, *rendered));
    }

    // A file cut short (a full disk, a game killed while writing) is not played.
    QFile file(dir.filePath(files.front()));
    ASSERT_TRUE(file.resize(file.size() - 1000));
    {
        auto r = renderer();
        const auto again = r->render(tune, 0);
        ASSERT_TRUE(again);
        EXPECT_EQ(r->rendersBegun(), 1);
        ASSERT_TRUE(r->waitIdle(20000));
        EXPECT_TRUE(sameSamples(*again, *rendered));
    }
    // ... and is written whole again.
    auto r = renderer();
    r->render(tune, 0);
    EXPECT_EQ(r->rendersBegun(), 0);
}

TEST_F(MusicRender, TheMixerRendersWhatTheThreadHasNotReachedYet) {
    auto r = renderer();
    ASSERT_TRUE(r);
    r->holdThread(true);
    const auto tune = r->render(heldNote(60, 3000), 0);
    ASSERT_TRUE(tune);
    EXPECT_GE(tune->framesReady(), 512u) << "the mixer's first block is not ready";
    EXPECT_LT(tune->framesReady(), static_cast<std::size_t>(kRate));
    r->ensure(*tune, kRate * 2);
    EXPECT_GE(tune->framesReady(), static_cast<std::size_t>(kRate) * 2);
    EXPECT_FALSE(tune->complete());
    r->holdThread(false);
    EXPECT_TRUE(r->waitComplete(*tune, 20000));
}

TEST_F(MusicRender, ATuneBegunMakesRoomForAllItWillHoldBeforeItFills) {
    // Room for one of these renders (some 7 s with its tail, about 1.2 MB), not two.
    auto r = renderer(1500 * 1024);
    ASSERT_TRUE(r);
    const QByteArray a = heldNote(60, 1000), b = heldNote(62, 1000);
    r->render(a, 0);
    ASSERT_TRUE(r->waitIdle(20000));
    const std::size_t one = r->cachedBytes();
    ASSERT_GT(one, 1000u * 1024);
    // The next one begun, held at its first frames: the finished one has already gone.
    r->holdThread(true);
    const auto second = r->render(b, 0);
    EXPECT_FALSE(second->complete());
    EXPECT_LT(r->cachedBytes(), one);
    r->holdThread(false);
    ASSERT_TRUE(r->waitIdle(20000));
    EXPECT_LE(r->cachedBytes(), 1500u * 1024);
}

TEST_F(MusicRender, ANewTuneAbandonsAnUnfinishedOneAndMemoryKeepsToItsBudget) {
    // Room for about one of these renders (each some 7 s with its tail, about 1.2 MB).
    auto r = renderer(1200 * 1024);
    ASSERT_TRUE(r);
    r->holdThread(true);
    const QByteArray a = heldNote(60, 1000), b = heldNote(62, 1000), c = heldNote(64, 1000);
    const auto first = r->render(a, 0);
    const auto second = r->render(b, 0);
    // The first, unfinished, is given up: asked for again, it is begun again.
    EXPECT_TRUE(first->complete());
    EXPECT_LT(first->framesReady(), static_cast<std::size_t>(kRate));
    r->holdThread(false);
    ASSERT_TRUE(r->waitIdle(20000));
    EXPECT_NE(r->render(a, 0), first);
    EXPECT_EQ(r->rendersBegun(), 3);
    ASSERT_TRUE(r->waitIdle(20000));
    r->render(c, 0);
    ASSERT_TRUE(r->waitIdle(20000));
    // Only the latest renders stay in memory; the others are read back from disk.
    EXPECT_LE(r->cachedBytes(), 1200u * 1024 + 1024 * 1024);
    EXPECT_EQ(r->rendersBegun(), 4);
    r->render(b, 0);
    EXPECT_EQ(r->rendersBegun(), 4);
}

// Through the sound backend: a tune played again, as a level tune at the end of each round, is
// not synthesized again.
TEST(MusicRenderEngine, ATunePlayedAgainIsNotSynthesizedAgain) {
    QTemporaryDir dir;
    RecordingErrorPresenter errors;
    EventGuard guard{errors};
    VirtualClock clock{guard};
    auto backend = createRealBackend(clock);
    if (!backend->audible() || MusicRenderer::findSoundfont().isEmpty()) GTEST_SKIP() << "no sound";
    writers::MidiTrack track;
    track.note(0, 700, 0, 71, 100);  // a tune of its own: no other test plays it
    const QString path = dir.filePath(QStringLiteral("again.mid"));
    writers::writeMidi(path, {track}, 480);
    auto music = backend->open(path);
    music->start(0);
    MusicRenderer* renderer = AudioEngine::instance()->musicRenderer();
    ASSERT_TRUE(renderer);
    const int begun = renderer->rendersBegun();
    ASSERT_TRUE(renderer->waitIdle(20000));
    music->halt();
    music->start(0);
    auto reopened = backend->open(path);
    reopened->start(0);
    EXPECT_EQ(renderer->rendersBegun(), begun);
}

}  // namespace music_render_test
