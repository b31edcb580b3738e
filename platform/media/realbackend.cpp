// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The backend that makes real sound: MIDI through the process's FluidSynth synthesizer, WAV
// through SDL2_mixer channels, AVI through FFmpeg. Every open first passes the playability check
// that the simulated backend and the content checker use, so a missing, broken or unplayable
// file gives the same error whether or not sound can be heard. Completion notices are not its
// business: the media player times them from each device's length on the user-interface thread.

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/media/avi.h"
#include "platform/media/midifile.h"
#include "platform/media/playable.h"
#include "platform/media/real/audioengine.h"
#include "platform/media/real/videodevice.h"
#include "platform/platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QFile>

#include <algorithm>
#include <map>

namespace vorn {

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Error(mediaerror::fileNotFound());
    return file.readAll();
}

// A MIDI file: one source of music for the process's synthesizer.
class MidiDevice : public MediaDevice {
  public:
    MidiDevice(Clock& clock, std::shared_ptr<AudioEngine> engine,
               std::shared_ptr<const OutputGains> gains, QByteArray bytes, std::int64_t lengthMs)
        : clock_(clock),
          engine_(std::move(engine)),
          gains_(std::move(gains)),
          bytes_(std::move(bytes)),
          lengthMs_(lengthMs),
          token_(engine_->newMusicToken()) {}
    ~MidiDevice() override { halt(); }
    MidiDevice(const MidiDevice&) = delete;
    MidiDevice& operator=(const MidiDevice&) = delete;

    DeviceType type() const override { return DeviceType::Sequencer; }
    std::int64_t lengthMs() const override { return lengthMs_; }
    void start(std::int64_t fromMs) override {
        if (!engine_->musicAvailable()) return;
        const auto tick = midi::tickAtMs(bytes_, fromMs);
        engine_->startMusic(token_, bytes_, tick.value_or(0), gains_);
    }
    void halt() override { engine_->haltMusic(token_); }
    void playToEnd(VideoSurface*, std::int64_t fromMs) override {
        start(fromMs);
        // The last notes ring out after the return, as they do after a completion notice.
        clock_.sleep(lengthMs_ - fromMs);
    }

  private:
    Clock& clock_;
    std::shared_ptr<AudioEngine> engine_;
    std::shared_ptr<const OutputGains> gains_;
    QByteArray bytes_;
    std::int64_t lengthMs_;
    std::uint64_t token_;
};

// A WAV file, converted to the mixer's format once at the open (within the sound budget, which
// the open's check of the file has made sure of). The mixer reads the file itself.
class WaveDevice : public MediaDevice {
  public:
    WaveDevice(Clock& clock, std::shared_ptr<AudioEngine> engine,
               std::shared_ptr<const OutputGains> gains, const QString& path, std::int64_t lengthMs)
        : clock_(clock), engine_(std::move(engine)), gains_(std::move(gains)), lengthMs_(lengthMs) {
        if (!engine_->audible()) return;
        SDL_RWops* rw = SDL_RWFromFile(QFile::encodeName(path).constData(), "rb");
        chunk_ = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
        // A RIFF file that the mixer cannot decode (an unknown compression) is not a sound here.
        if (!chunk_) throw Error(mediaerror::invalidFile());
    }
    ~WaveDevice() override {
        halt();
        if (chunk_) Mix_FreeChunk(chunk_);
    }
    WaveDevice(const WaveDevice&) = delete;
    WaveDevice& operator=(const WaveDevice&) = delete;

    DeviceType type() const override { return DeviceType::WaveAudio; }
    std::int64_t lengthMs() const override { return lengthMs_; }

    void start(std::int64_t fromMs) override {
        halt();
        if (!chunk_) return;
        Mix_Chunk* play = chunk_;
        if (fromMs > 0) {
            // Resuming: a view on the rest of the samples, whole frames only.
            constexpr Uint32 kFrameBytes = AudioEngine::kChannels * sizeof(Sint16);
            const auto offset = static_cast<Uint32>(
                std::min<std::int64_t>(fromMs * AudioEngine::kSampleRate / 1000 * kFrameBytes,
                                       chunk_->alen / kFrameBytes * kFrameBytes));
            if (offset >= chunk_->alen) return;
            rest_ = Mix_QuickLoad_RAW(chunk_->abuf + offset, chunk_->alen - offset);
            if (!rest_) return;
            play = rest_;
        }
        playing_ = play;
        channel_ = engine_->playChunk(play, gains_.get());
    }

    void halt() override {
        if (playing_) engine_->haltChunk(channel_, playing_);
        playing_ = nullptr;
        channel_ = -1;
        if (rest_) {
            Mix_FreeChunk(rest_);  // the view only: the samples belong to chunk_
            rest_ = nullptr;
        }
    }

    void playToEnd(VideoSurface*, std::int64_t fromMs) override {
        start(fromMs);
        clock_.sleep(lengthMs_ - fromMs);
    }

  private:
    Clock& clock_;
    std::shared_ptr<AudioEngine> engine_;
    std::shared_ptr<const OutputGains> gains_;
    std::int64_t lengthMs_;
    Mix_Chunk* chunk_ = nullptr;
    Mix_Chunk* rest_ = nullptr;
    Mix_Chunk* playing_ = nullptr;
    int channel_ = -1;
};

class RealBackend : public MediaBackend {
  public:
    explicit RealBackend(Clock& clock)
        : clock_(clock),
          engine_(AudioEngine::instance()),
          gains_(std::make_shared<OutputGains>()) {}

    std::unique_ptr<MediaDevice> open(const QString& path) override {
        const MediaFileInfo info = inspectMediaFile(path);
        switch (info.type) {
            case DeviceType::Sequencer:
                return std::make_unique<MidiDevice>(clock_, engine_, gains_, readAll(path),
                                                    info.lengthMs);
            case DeviceType::WaveAudio:
                return std::make_unique<WaveDevice>(clock_, engine_, gains_, path, info.lengthMs);
            case DeviceType::Video:
                return openVideoDevice(clock_, engine_, gains_, path, info.lengthMs);
        }
        throw Error(mediaerror::unknown());
    }

    std::shared_ptr<const AnimationClip> openAnimation(const QString& path) override {
        return animations_.open(path);
    }

    std::uint32_t midiVolume() const override { return gains_->midi.load(); }
    void setMidiVolume(std::uint32_t volume) override { gains_->midi.store(volume); }
    std::uint32_t waveVolume() const override { return gains_->wave.load(); }
    void setWaveVolume(std::uint32_t volume) override { gains_->wave.store(volume); }
    bool audible() const override { return engine_->audible(); }

  private:
    Clock& clock_;
    std::shared_ptr<AudioEngine> engine_;
    std::shared_ptr<OutputGains> gains_;
    avi::AnimationCache animations_;
};

}  // namespace

std::unique_ptr<MediaBackend> createRealBackend(Clock& clock) {
    return std::make_unique<RealBackend>(clock);
}

}  // namespace vorn
