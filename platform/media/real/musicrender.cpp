// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/real/musicrender.h"

#include "platform/media/midifile.h"

#include <fluidsynth.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

namespace vorn {

namespace {

// The General MIDI soundfonts, in order of preference.
constexpr const char* kSoundfonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
};

// The synthesizer's own output level. A General MIDI soundfont plays far quieter than full
// scale: at this gain a tune of the pack sounds about as loud as the pack's sounds and videos do
// at the same volume, so the game's two volumes alone set the balance between music and sounds.
constexpr double kSynthGain = 1.2;
// At that gain the loudest moments of a tune would pass full scale: the limiter holds them just
// under it (about -0.9 dB) and lets go over a fifth of a second.
constexpr float kMusicCeiling = 0.9f;
constexpr float kMusicReleaseSeconds = 0.2f;
// Once the tune has ended and no voice sounds, the reverb rings out for this long; the render
// ends there.
constexpr int kTailSeconds = 3;
// Room after the tune's last event for its last notes' release and the tail; a tune whose
// notes never end is cut there.
constexpr int kRoomAfterEndMs = 20000;
// A block rendered at a time: about 0.3 ms of work, so the hook never waits long for the lock.
constexpr int kBlockFrames = 1024;
// Rendered before render() returns: the mixer's first blocks.
constexpr std::size_t kLeadFrames = 2 * kBlockFrames;

// A cache file: this header, padded with blanks, then the samples.
constexpr qint64 kHeaderBytes = 512;
constexpr const char* kMagic = "VORNPCM1";

QByteArray sha1(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

std::int16_t toSample(float value) {
    const float scaled = value * 32767.0f;
    return static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

std::size_t capacityFor(const QByteArray& bytes, std::uint32_t tick) {
    std::int64_t ms = 10 * 60 * 1000;  // a file the synthesizer reads but we cannot time
    if (const auto timing = midi::readTiming(bytes)) {
        ms = static_cast<std::int64_t>(
            midi::msAtTick(*timing, timing->lastTick) -
            midi::msAtTick(*timing, std::min<std::uint64_t>(tick, timing->lastTick)));
        ms = std::max<std::int64_t>(0, ms);
    }
    return static_cast<std::size_t>((ms + kRoomAfterEndMs) * MusicRenderer::kSampleRate / 1000);
}

}  // namespace

RenderedTune::RenderedTune(QByteArray key, std::size_t capacityFrames)
    : key_(std::move(key)),
      capacity_(capacityFrames),
      // Not filled: the pages are taken as the render reaches them.
      samples_(std::make_unique_for_overwrite<std::int16_t[]>(capacityFrames * 2)),
      data_(samples_.get()) {}

QString MusicRenderer::findSoundfont() {
    for (const char* candidate : kSoundfonts)
        if (QFileInfo(QString::fromLocal8Bit(candidate)).isFile())
            return QString::fromLocal8Bit(candidate);
    return {};
}

RenderedTune::~RenderedTune() = default;

std::shared_ptr<RenderedTune> RenderedTune::load(const QString& path, const QByteArray& key) {
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly) || file->size() < kHeaderBytes) return nullptr;
    const QList<QByteArray> header = file->read(kHeaderBytes).trimmed().split(' ');
    if (header.size() < 3 || header[0] != kMagic || header.mid(2).join(' ') != key) return nullptr;
    bool ok = false;
    const qint64 frames = header[1].toLongLong(&ok);
    // A file cut short, or longer than it says, is not used (and is written again).
    if (!ok || frames <= 0 || file->size() != kHeaderBytes + frames * 4) return nullptr;
    uchar* data = file->map(kHeaderBytes, frames * 4);
    if (!data) return nullptr;
    // The music is read from the start, a block at a time, by the audio thread: have the pages
    // read ahead of it.
    const auto page = static_cast<quintptr>(sysconf(_SC_PAGESIZE));
    const quintptr start = reinterpret_cast<quintptr>(data) & ~(page - 1);
    madvise(reinterpret_cast<void*>(start),
            static_cast<std::size_t>(frames * 4) + (reinterpret_cast<quintptr>(data) - start),
            MADV_WILLNEED);
    auto tune = std::make_shared<RenderedTune>(key, 0);
    tune->file_ = std::move(file);
    tune->data_ = reinterpret_cast<std::int16_t*>(data);
    tune->ready_.store(static_cast<std::size_t>(frames), std::memory_order_release);
    tune->complete_.store(true, std::memory_order_release);
    return tune;
}

QString MusicRenderer::defaultCacheDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/vorn/music");
}

MusicSynth newMusicSynth(const QString& soundfont) {
    // Only errors from the synthesizer reach standard error.
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);

    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return {};
    fluid_settings_setnum(settings, "synth.sample-rate", MusicRenderer::kSampleRate);
    fluid_settings_setnum(settings, "synth.gain", kSynthGain);
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    // The chorus costs much of the synthesis time and the tunes do without it; the reverb stays.
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_settings_setint(settings, "synth.polyphony", 64);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    // The player must not reset the synthesizer at the end of a file: that would cut the last
    // notes' release and the reverb. Each render resets it instead.
    fluid_settings_setint(settings, "player.reset-synth", 0);
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (!synth ||
        fluid_synth_sfload(synth, QFile::encodeName(soundfont).constData(), 1) == FLUID_FAILED) {
        if (synth) delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        return {};
    }
    return {settings, synth};
}

void deleteMusicSynth(const MusicSynth& music) {
    if (music.synth) delete_fluid_synth(music.synth);
    if (music.settings) delete_fluid_settings(music.settings);
}

std::unique_ptr<MusicRenderer> MusicRenderer::create(const QString& soundfont,
                                                     const QString& cacheDir,
                                                     std::size_t cacheBytes) {
    const MusicSynth music = newMusicSynth(soundfont);
    if (!music.synth) return nullptr;
    return std::unique_ptr<MusicRenderer>(
        new MusicRenderer(music.settings, music.synth, soundfont, cacheDir, cacheBytes));
}

MusicRenderer::MusicRenderer(fluid_settings_t* settings, fluid_synth_t* synth, QString soundfont,
                             QString cacheDir, std::size_t cacheBytes)
    : settings_(settings),
      synth_(synth),
      cacheDir_(std::move(cacheDir)),
      cacheBytes_(cacheBytes),
      scratch_(static_cast<std::size_t>(kBlockFrames) * 2),
      limiter_(kMusicCeiling, kMusicReleaseSeconds, kSampleRate),
      thread_() {
    // Another soundfont, or the same one changed, sounds otherwise: it is part of every key.
    const QFileInfo font(soundfont);
    soundfontKey_ = QFile::encodeName(font.absoluteFilePath()).toPercentEncoding() + ' ' +
                    QByteArray::number(font.size()) + ' ' +
                    QByteArray::number(font.lastModified().toMSecsSinceEpoch());
    thread_ = std::thread([this] { run(); });
}

MusicRenderer::~MusicRenderer() {
    {
        std::lock_guard lock(cacheMutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
    std::lock_guard lock(synthMutex_);
    if (player_) delete_fluid_player(player_);
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
}

std::shared_ptr<const RenderedTune> MusicRenderer::render(const QByteArray& bytes,
                                                          std::uint32_t tick) {
    const QByteArray key = sha1(bytes) + ' ' + QByteArray::number(tick) + ' ' + soundfontKey_;
    {
        std::lock_guard lock(cacheMutex_);
        for (auto it = cache_.begin(); it != cache_.end(); ++it) {
            if ((*it)->key() != key || (*it)->abandoned_) continue;
            cache_.splice(cache_.begin(), cache_, it);  // the most recently played
            return cache_.front();
        }
    }
    if (!cacheDir_.isEmpty()) {
        const QString path = cachePath(key);
        if (auto stored = RenderedTune::load(path, key)) {
            // Played now: the last to go when the folder is trimmed.
            QFile touched(path);
            if (touched.open(QIODevice::ReadWrite))
                touched.setFileTime(QDateTime::currentDateTimeUtc(),
                                    QFileDevice::FileModificationTime);
            std::lock_guard lock(cacheMutex_);
            cache_.push_front(stored);
            evictLocked();
            return stored;
        }
    }

    auto tune = std::make_shared<RenderedTune>(key, capacityFor(bytes, tick));
    std::shared_ptr<RenderedTune> dropped;
    bool started = false;
    {
        std::lock_guard lock(synthMutex_);
        if (active_ && !active_->complete()) {
            // Another tune takes over: what is rendered of this one is not kept.
            active_->abandoned_ = true;
            active_->complete_.store(true, std::memory_order_release);
            dropped = active_;
        }
        active_.reset();
        if (player_) delete_fluid_player(player_);
        player_ = nullptr;
        // A clean synthesizer for each render: no note, program, controller or reverb of the
        // tune before.
        fluid_synth_system_reset(synth_);
        // A tune given up while it sounded (or cut at its room's end) leaves its reverb ringing,
        // which the reset does not clear: it is rendered away, unheard, so as not to be kept in
        // this tune's render. After a tune that ended by itself this is one silent block.
        drainLocked();
        limiter_.reset();
        player_ = new_fluid_player(synth_);
        if (player_ && fluid_player_add_mem(player_, bytes.constData(),
                                            static_cast<size_t>(bytes.size())) != FLUID_OK) {
            delete_fluid_player(player_);
            player_ = nullptr;
        }
        if (player_) {
            if (tick > 0) fluid_player_seek(player_, static_cast<int>(tick));
            fluid_player_play(player_);
            active_ = tune;
            started = true;
            ++rendersBegun_;
            while (tune->framesReady() < kLeadFrames && !tune->complete()) renderBlockLocked(*tune);
        }
    }
    std::lock_guard lock(cacheMutex_);
    if (dropped) cache_.remove(dropped);
    if (!started) return nullptr;
    cache_.push_front(tune);
    work_ = true;  // the thread renders the rest, then stores it
    // A tune resumed part-way is rarely resumed at the same tick again: it stays in memory only.
    toStore_ = tick == 0 ? tune : nullptr;
    ++generation_;
    evictLocked();
    changed_.notify_all();
    return tune;
}

void MusicRenderer::drainLocked() {
    constexpr float kSilence = 1e-6f;  // far under the last bit of a 16-bit sample
    float* buffer = scratch_.data();
    for (int block = 0; block < kRoomAfterEndMs / 1000 * kSampleRate / kBlockFrames; ++block) {
        fluid_synth_write_float(synth_, kBlockFrames, buffer, 0, 2, buffer, 1, 2);
        float loudest = 0;
        for (int i = 0; i < 2 * kBlockFrames; ++i)
            loudest = std::max(loudest, std::fabs(buffer[i]));
        if (loudest < kSilence && fluid_synth_get_active_voice_count(synth_) == 0) return;
    }
}

void MusicRenderer::ensure(const RenderedTune& tune, std::size_t frames) {
    if (tune.framesReady() >= frames || tune.complete()) return;
    std::lock_guard lock(synthMutex_);
    while (active_.get() == &tune && tune.framesReady() < frames && !tune.complete())
        renderBlockLocked(*active_);
}

void MusicRenderer::renderBlockLocked(RenderedTune& tune) {
    const std::size_t ready = tune.ready_.load(std::memory_order_relaxed);
    const int n = static_cast<int>(std::min<std::size_t>(kBlockFrames, tune.capacity_ - ready));
    if (n <= 0) {
        finishLocked(tune);
        return;
    }
    float* buffer = scratch_.data();
    fluid_synth_write_float(synth_, n, buffer, 0, 2, buffer, 1, 2);
    limiter_.process(buffer, n);
    std::int16_t* out = tune.samples_.get() + ready * 2;
    for (int i = 0; i < 2 * n; ++i) out[i] = toSample(buffer[i]);
    tune.ready_.store(ready + static_cast<std::size_t>(n), std::memory_order_release);

    const bool playing = player_ && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
    if (!playing && fluid_synth_get_active_voice_count(synth_) == 0) {
        tune.quietFrames_ += n;
        if (tune.quietFrames_ > static_cast<std::int64_t>(kSampleRate) * kTailSeconds)
            finishLocked(tune);
    } else {
        tune.quietFrames_ = 0;
    }
}

void MusicRenderer::finishLocked(RenderedTune& tune) {
    tune.complete_.store(true, std::memory_order_release);
    if (active_.get() == &tune) {
        if (player_) delete_fluid_player(player_);
        player_ = nullptr;
        active_.reset();
    }
}

void MusicRenderer::evictLocked() {
    // Finished renders beyond the budget go, the least recently played first; the one just
    // asked for always stays. A render under way counts for all it will hold, so that the
    // tunes kept never add up past the budget while it fills.
    std::size_t total = 0;
    for (const auto& tune : cache_) total += tune->bytesWhenComplete();
    while (total > cacheBytes_ && cache_.size() > 1 && cache_.back()->complete()) {
        total -= cache_.back()->bytesWhenComplete();
        cache_.pop_back();
    }
}

std::size_t MusicRenderer::cachedBytes() const {
    std::lock_guard lock(cacheMutex_);
    std::size_t total = 0;
    for (const auto& tune : cache_) total += tune->bytes();
    return total;
}

void MusicRenderer::run() {
    // Rendering ahead must not take the processor from the game's own thread.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    std::unique_lock lock(cacheMutex_);
    while (!stopping_) {
        if (!work_ || held_) {
            changed_.wait(lock);
            continue;
        }
        const std::uint64_t generation = generation_;
        lock.unlock();
        bool more = false;
        {
            std::lock_guard synth(synthMutex_);
            if (active_ && !active_->complete()) renderBlockLocked(*active_);
            more = active_ && !active_->complete();
        }
        lock.lock();
        if (more || generation != generation_) continue;  // a render begun meanwhile: go on
        work_ = false;
        evictLocked();
        if (const auto tune = toStore_;
            tune && tune->complete() && !tune->abandoned_ && !cacheDir_.isEmpty()) {
            lock.unlock();
            store(*tune);
            lock.lock();
        }
        if (generation == generation_) toStore_.reset();
        changed_.notify_all();
    }
}

bool MusicRenderer::waitIdle(int timeoutMs) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(cacheMutex_);
    while ((work_ || toStore_) && std::chrono::steady_clock::now() < until)
        changed_.wait_for(lock, std::chrono::milliseconds(10));
    return !work_ && !toStore_;
}

QString MusicRenderer::cachePath(const QByteArray& key) const {
    return cacheDir_ + QLatin1Char('/') + QString::fromLatin1(sha1(key)) + QStringLiteral(".pcm");
}

void MusicRenderer::store(const RenderedTune& tune) {
    // Written whole under another name, then renamed: another game sharing the folder never
    // reads a file in part. A folder that cannot be written only means rendering again.
    if (!QDir().mkpath(cacheDir_)) return;
    QByteArray header =
        QByteArray(kMagic) + ' ' + QByteArray::number(tune.framesReady()) + ' ' + tune.key();
    if (header.size() >= kHeaderBytes) return;
    header = header.leftJustified(kHeaderBytes - 1, ' ') + '\n';
    QSaveFile file(cachePath(tune.key()));
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(header);
    file.write(reinterpret_cast<const char*>(tune.samples()),
               static_cast<qint64>(tune.framesReady() * 2 * sizeof(std::int16_t)));
    if (!file.commit()) return;

    // The folder is kept under its budget: the renders least recently played go first.
    const QFileInfoList files =
        QDir(cacheDir_).entryInfoList({QStringLiteral("*.pcm")}, QDir::Files, QDir::Time);
    qint64 total = 0;
    for (const QFileInfo& info : files) {
        total += info.size();
        if (total > kDiskBytes) QFile::remove(info.absoluteFilePath());
    }
}

bool MusicRenderer::waitComplete(const RenderedTune& tune, int timeoutMs) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(cacheMutex_);
    while (!tune.complete() && std::chrono::steady_clock::now() < until)
        changed_.wait_for(lock, std::chrono::milliseconds(10));
    return tune.complete();
}

void MusicRenderer::holdThread(bool hold) {
    std::lock_guard lock(cacheMutex_);
    held_ = hold;
    changed_.notify_all();
}

}  // namespace vorn
