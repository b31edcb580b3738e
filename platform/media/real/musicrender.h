// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The music, rendered ahead. Each tune is synthesized once, from the tick it is played from, into
// 16-bit stereo PCM by a thread of its own, faster than it plays; the mixer's music hook then only
// copies samples and applies the volume. A tune played again (a level tune loops, a game plays
// the same tunes again) is taken from the cache, keyed on the file's contents, the soundfont and
// the tick, so the synthesizer costs nothing while the game waits. Finished renders of whole
// tunes are also kept on disk (in the user's cache folder), so a tune is synthesized once per
// installation, not once per game.
//
// What is rendered is what the live synthesizer made: a fresh synthesizer state for each play,
// the synthesizer gain, the peak limiter restarted at each play, and the reverb's tail after the
// last note. Should the mixer ever run ahead of the rendering thread (a loaded machine, an output
// that drains faster than real time), the hook renders the missing frames itself, as the live
// synthesizer did: the music is never late and never has a gap.

#include "platform/media/real/peaklimiter.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;

namespace vorn {

// A synthesizer set up as the game's music is rendered (rate, gain, effects, polyphony, timing),
// with a soundfont loaded; both null when either fails. The benchmarks measure the same one.
struct MusicSynth {
    _fluid_hashtable_t* settings = nullptr;
    _fluid_synth_t* synth = nullptr;
};
MusicSynth newMusicSynth(const QString& soundfont);
void deleteMusicSynth(const MusicSynth& music);

// The PCM of one tune from one tick: interleaved stereo, the limiter applied, the volume not.
class RenderedTune {
  public:
    RenderedTune(QByteArray key, std::size_t capacityFrames);
    // A finished render read back from the disk cache; null if `path` is not one, complete.
    static std::shared_ptr<RenderedTune> load(const QString& path, const QByteArray& key);
    ~RenderedTune();
    RenderedTune(const RenderedTune&) = delete;
    RenderedTune& operator=(const RenderedTune&) = delete;

    // Frames ready to be read from samples(); they never change once ready.
    std::size_t framesReady() const { return ready_.load(std::memory_order_acquire); }
    // True once the tune and its tail are all rendered (or the rendering was given up).
    bool complete() const { return complete_.load(std::memory_order_acquire); }
    const std::int16_t* samples() const { return data_; }
    const QByteArray& key() const { return key_; }
    // The memory its samples take once complete.
    std::size_t bytes() const { return framesReady() * 2 * sizeof(std::int16_t); }
    // What it takes once rendered: a render under way counts for the room it will fill.
    std::size_t bytesWhenComplete() const {
        return (complete() ? framesReady() : capacity_) * 2 * sizeof(std::int16_t);
    }

  private:
    friend class MusicRenderer;
    QByteArray key_;
    std::size_t capacity_;
    std::unique_ptr<std::int16_t[]> samples_;  // written by pages as it renders
    std::unique_ptr<QFile> file_;              // or the cache file, mapped
    std::int16_t* data_ = nullptr;
    std::atomic<std::size_t> ready_{0};
    std::atomic<bool> complete_{false};
    std::atomic<bool> abandoned_{false};  // given up for another tune before it was complete
    std::int64_t quietFrames_ = 0;
};

class MusicRenderer {
  public:
    static constexpr int kSampleRate = 44100;
    // The finished renders kept for later plays, at most (a level tune is about 11 MB).
    static constexpr std::size_t kDefaultCacheBytes = 48u << 20;

    // The General MIDI soundfont installed, the first of those the game knows; empty if none.
    static QString findSoundfont();
    // A renderer with its own synthesizer on `soundfont`; null (said on standard error) when the
    // synthesizer or the soundfont cannot be loaded.
    // Finished renders are written to `cacheDir` (none when empty), which is kept under
    // kDiskBytes by removing the renders least recently played.
    static constexpr std::int64_t kDiskBytes = 256ll << 20;
    static std::unique_ptr<MusicRenderer> create(const QString& soundfont, const QString& cacheDir,
                                                 std::size_t cacheBytes = kDefaultCacheBytes);
    // The user's cache folder for renders ($XDG_CACHE_HOME/vorn/music).
    static QString defaultCacheDir();
    ~MusicRenderer();
    MusicRenderer(const MusicRenderer&) = delete;
    MusicRenderer& operator=(const MusicRenderer&) = delete;

    // The render of the Standard MIDI File `bytes` played from `tick`: from the cache, or begun
    // now on the rendering thread, which gives up any earlier render not yet complete. Returns
    // once the first blocks are ready; null when the synthesizer refuses the file.
    std::shared_ptr<const RenderedTune> render(const QByteArray& bytes, std::uint32_t tick);

    // Makes the frames of `tune` up to `frames` ready, rendering them on this thread if the
    // rendering thread has not got there yet. Called by the mixer's hook.
    void ensure(const RenderedTune& tune, std::size_t frames);

    // For the benchmarks and tests: renders begun since the start, and the bytes cached.
    int rendersBegun() const { return rendersBegun_.load(); }
    std::size_t cachedBytes() const;
    // Waits until `tune` is complete (for the tests); false after `timeoutMs`.
    bool waitComplete(const RenderedTune& tune, int timeoutMs) const;
    // Waits until every render begun is complete and stored; false after `timeoutMs`.
    bool waitIdle(int timeoutMs) const;
    // Holds the rendering thread (for the tests): only what ensure() asks for gets rendered.
    void holdThread(bool hold);

  private:
    MusicRenderer(_fluid_hashtable_t* settings, _fluid_synth_t* synth, QString soundfont,
                  QString cacheDir, std::size_t cacheBytes);
    QString cachePath(const QByteArray& key) const;
    void store(const RenderedTune& tune);
    void run();
    // Renders the next block of the active tune; synthMutex_ held.
    void renderBlockLocked(RenderedTune& tune);
    void finishLocked(RenderedTune& tune);
    void drainLocked();
    void evictLocked();

    _fluid_hashtable_t* settings_;
    _fluid_synth_t* synth_;
    QByteArray soundfontKey_;  // the soundfont's path, size and time
    QString cacheDir_;
    std::size_t cacheBytes_;

    // The synthesizer, its player and the tune being rendered.
    mutable std::mutex synthMutex_;
    _fluid_player_t* player_ = nullptr;
    std::shared_ptr<RenderedTune> active_;
    std::vector<float> scratch_;
    PeakLimiter limiter_;

    // The cache, most recently played first; the thread's wake-up.
    mutable std::mutex cacheMutex_;
    mutable std::condition_variable changed_;
    std::list<std::shared_ptr<RenderedTune>> cache_;
    bool stopping_ = false;
    bool held_ = false;
    bool work_ = false;                      // the active tune has blocks left to render
    std::shared_ptr<RenderedTune> toStore_;  // to be written to disk once complete
    std::uint64_t generation_ = 0;           // renders begun
    std::atomic<int> rendersBegun_{0};
    std::thread thread_;
};

}  // namespace vorn
