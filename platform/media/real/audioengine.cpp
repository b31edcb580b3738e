// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/real/audioengine.h"

#include "platform/media/real/musicrender.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vorn {

namespace {

int leftGain(std::uint32_t volume) {
    return static_cast<int>(volume & 0xFFFF);
}
int rightGain(std::uint32_t volume) {
    return static_cast<int>(volume >> 16);
}

// The channel effect: scales a stereo 16-bit block by the wave gains, left and right apart.
void SDLCALL waveGainEffect(int, void* stream, int len, void* data) {
    const auto* gains = static_cast<const OutputGains*>(data);
    const std::uint32_t volume = gains->wave.load(std::memory_order_relaxed);
    if (volume == 0xFFFFFFFF) return;
    const std::int32_t left = leftGain(volume), right = rightGain(volume);
    auto* samples = static_cast<Sint16*>(stream);
    const int count = len / static_cast<int>(sizeof(Sint16));
    for (int i = 0; i + 1 < count; i += 2) {
        samples[i] = static_cast<Sint16>(samples[i] * left / 0xFFFF);
        samples[i + 1] = static_cast<Sint16>(samples[i + 1] * right / 0xFFFF);
    }
}

}  // namespace

std::shared_ptr<AudioEngine> AudioEngine::instance() {
    // Kept for the life of the process; devices hold their own references, so the engine closes
    // only after the last of them.
    static std::shared_ptr<AudioEngine> engine(new AudioEngine());
    return engine;
}

AudioEngine::AudioEngine() {
    // The game's own signal handling stays in place.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    QByteArray reason;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        reason = SDL_GetError();
    } else if (Mix_OpenAudioDevice(kSampleRate, AUDIO_S16SYS, kChannels, kBufferFrames, nullptr,
                                   0) != 0) {
        reason = Mix_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    } else {
        audible_ = true;
    }
    if (!audible_) {
        std::fprintf(stderr, "vorn: no audio device could be opened (%s); playing without sound\n",
                     reason.isEmpty() ? "unknown reason" : reason.constData());
        return;
    }
    Mix_AllocateChannels(16);
    Mix_HookMusic(&AudioEngine::musicHook, this);
}

AudioEngine::~AudioEngine() {
    if (audible_) {
        Mix_HookMusic(nullptr, nullptr);
        Mix_HaltChannel(-1);
        Mix_CloseAudio();  // joins the audio thread: no callback runs after this
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    std::lock_guard lock(musicMutex_);
    music_.reset();
    renderer_.reset();
}

bool AudioEngine::musicAvailable() {
    if (!audible_) return false;
    std::lock_guard lock(rendererMutex_);
    if (musicTried_) return renderer_ != nullptr;
    musicTried_ = true;

    const QString soundfont = MusicRenderer::findSoundfont();
    if (!soundfont.isEmpty())
        renderer_ = MusicRenderer::create(soundfont, MusicRenderer::defaultCacheDir());
    if (renderer_) return true;
    std::fprintf(stderr, "vorn: %s; music plays without sound\n",
                 !soundfont.isEmpty() ? "the General MIDI soundfont could not be loaded"
                                      : "no General MIDI soundfont found in /usr/share/sounds/sf2");
    return false;
}

void AudioEngine::startMusic(std::uint64_t token, const QByteArray& bytes, std::uint32_t tick,
                             std::shared_ptr<const OutputGains> gains) {
    if (!musicAvailable()) return;
    // Rendered (or found rendered) before the engine's lock is taken: the hook goes on with the
    // music before until the new one is ready to be heard.
    std::shared_ptr<const RenderedTune> tune = renderer_->render(bytes, tick);
    std::shared_ptr<const RenderedTune> previous;
    std::lock_guard lock(musicMutex_);
    previous = std::exchange(music_, std::move(tune));  // released after the lock
    musicFrame_ = 0;
    musicOwner_ = music_ ? token : 0;
    musicGains_ = std::move(gains);
}

void AudioEngine::haltMusic(std::uint64_t token) {
    std::shared_ptr<const RenderedTune> previous;
    std::lock_guard lock(musicMutex_);
    if (token == 0 || musicOwner_ != token) return;
    previous = std::exchange(music_, nullptr);
    musicOwner_ = 0;
}

void AudioEngine::musicHook(void* engine, std::uint8_t* stream, int len) {
    static_cast<AudioEngine*>(engine)->renderMusic(stream, len);
}

void AudioEngine::renderMusic(std::uint8_t* stream, int len) {
    std::memset(stream, 0, static_cast<std::size_t>(len));
    std::lock_guard lock(musicMutex_);
    if (!music_) return;
    const auto frames = static_cast<std::size_t>(len) / (kChannels * sizeof(Sint16));
    if (music_->framesReady() < musicFrame_ + frames)
        renderer_->ensure(*music_, musicFrame_ + frames);
    const std::size_t ready = music_->framesReady();
    if (ready <= musicFrame_) return;  // the tune and its tail have been heard
    const std::size_t n = std::min(frames, ready - musicFrame_);
    const std::uint32_t volume =
        musicGains_ ? musicGains_->midi.load(std::memory_order_relaxed) : 0xFFFFFFFFu;
    const std::int16_t* from = music_->samples() + musicFrame_ * kChannels;
    auto* out = reinterpret_cast<Sint16*>(stream);
    if (volume == 0xFFFFFFFFu) {
        std::memcpy(out, from, n * kChannels * sizeof(Sint16));
    } else {
        const std::int32_t left = leftGain(volume), right = rightGain(volume);
        for (std::size_t i = 0; i < n; ++i) {
            out[2 * i] = static_cast<Sint16>(from[2 * i] * left / 0xFFFF);
            out[2 * i + 1] = static_cast<Sint16>(from[2 * i + 1] * right / 0xFFFF);
        }
    }
    musicFrame_ += n;
}

int AudioEngine::playChunk(Mix_Chunk* chunk, const OutputGains* gains) {
    if (!audible_ || !chunk) return -1;
    // Sounds are started from this thread only, so a channel seen idle here stays idle until we
    // play on it. The gain effect goes on first, so that not one block of the sound is mixed
    // without it; the mixer removes a channel's effects when its sound ends or is halted.
    int channel = -1;
    for (int attempt = 0; attempt < 2 && channel < 0; ++attempt) {
        const int count = Mix_AllocateChannels(-1);
        for (int i = 0; i < count; ++i) {
            if (!Mix_Playing(i)) {
                channel = i;
                break;
            }
        }
        if (channel < 0) Mix_AllocateChannels(count * 2);  // every channel busy: add more
    }
    if (channel < 0) return -1;
    Mix_UnregisterAllEffects(channel);
    if (Mix_RegisterEffect(channel, &waveGainEffect, nullptr, const_cast<OutputGains*>(gains)) == 0)
        return -1;
    if (Mix_PlayChannel(channel, chunk, 0) < 0) {
        Mix_UnregisterAllEffects(channel);
        return -1;
    }
    return channel;
}

void AudioEngine::haltChunk(int channel, const Mix_Chunk* chunk) {
    // A channel that ends on its own meanwhile is merely halted twice: harmless, as only this
    // thread starts sounds.
    if (chunkPlaying(channel, chunk)) Mix_HaltChannel(channel);
}

bool AudioEngine::chunkPlaying(int channel, const Mix_Chunk* chunk) const {
    if (!audible_ || channel < 0 || !chunk || channel >= Mix_AllocateChannels(-1)) return false;
    return Mix_GetChunk(channel) == chunk && Mix_Playing(channel);
}

}  // namespace vorn
