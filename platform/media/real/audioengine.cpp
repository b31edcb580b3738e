#include "platform/media/real/audioengine.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstring>

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
// Once the music has stopped and no voice sounds, the reverb rings out for this long; after it
// the hook stops rendering, so an idle synthesizer costs no CPU.
constexpr int kTailSeconds = 3;
constexpr int kScratchFrames = 1024;

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

Sint16 toSample(float value) {
    const float scaled = value * 32767.0f;
    return static_cast<Sint16>(std::clamp(scaled, -32768.0f, 32767.0f));
}

}  // namespace

std::shared_ptr<AudioEngine> AudioEngine::instance() {
    // Kept for the life of the process; devices hold their own references, so the engine closes
    // only after the last of them.
    static std::shared_ptr<AudioEngine> engine(new AudioEngine());
    return engine;
}

AudioEngine::AudioEngine() : limiter_(kMusicCeiling, kMusicReleaseSeconds, kSampleRate) {
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
    scratch_.resize(static_cast<std::size_t>(kScratchFrames) * kChannels);
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
    releasePlayerLocked();
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

bool AudioEngine::musicAvailable() {
    if (!audible_) return false;
    std::lock_guard lock(musicMutex_);
    if (musicTried_) return synth_ != nullptr;
    musicTried_ = true;

    // Only errors from the synthesizer reach standard error.
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);

    const char* soundfont = nullptr;
    for (const char* candidate : kSoundfonts) {
        if (QFileInfo(QString::fromLocal8Bit(candidate)).isFile()) {
            soundfont = candidate;
            break;
        }
    }
    settings_ = new_fluid_settings();
    if (settings_) {
        fluid_settings_setnum(settings_, "synth.sample-rate", kSampleRate);
        fluid_settings_setnum(settings_, "synth.gain", kSynthGain);
        fluid_settings_setint(settings_, "synth.cpu-cores", 1);
        fluid_settings_setint(settings_, "synth.lock-memory", 0);
        // The chorus costs much of the synthesis time (music plays while the game waits) and
        // the tunes do without it; the reverb stays.
        fluid_settings_setint(settings_, "synth.chorus.active", 0);
        fluid_settings_setint(settings_, "synth.polyphony", 64);
        fluid_settings_setstr(settings_, "player.timing-source", "sample");
        // The player must not reset the synthesizer at the end of a file: that would cut the
        // last notes' release and the reverb. Each start resets it instead.
        fluid_settings_setint(settings_, "player.reset-synth", 0);
        synth_ = new_fluid_synth(settings_);
    }
    if (synth_ && soundfont && fluid_synth_sfload(synth_, soundfont, 1) != FLUID_FAILED)
        return true;

    std::fprintf(stderr, "vorn: %s; music plays without sound\n",
                 soundfont ? "the General MIDI soundfont could not be loaded"
                           : "no General MIDI soundfont found in /usr/share/sounds/sf2");
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
    synth_ = nullptr;
    settings_ = nullptr;
    return false;
}

void AudioEngine::releasePlayerLocked() {
    if (!player_) return;
    // Safe: the audio thread renders only under musicMutex_, which the caller holds.
    delete_fluid_player(player_);
    player_ = nullptr;
}

void AudioEngine::startMusic(std::uint64_t token, const QByteArray& bytes, std::uint32_t tick,
                             std::shared_ptr<const OutputGains> gains) {
    if (!musicAvailable()) return;
    std::lock_guard lock(musicMutex_);
    releasePlayerLocked();
    // A clean synthesizer for each start: no note, program or controller of the previous tune.
    fluid_synth_system_reset(synth_);
    if (muted_ && !idle_) renderTailAwayLocked();
    limiter_.reset();
    musicOwner_ = 0;
    player_ = new_fluid_player(synth_);
    if (!player_) return;
    if (fluid_player_add_mem(player_, bytes.constData(), static_cast<size_t>(bytes.size())) !=
        FLUID_OK) {
        releasePlayerLocked();
        return;
    }
    if (tick > 0) fluid_player_seek(player_, static_cast<int>(tick));
    fluid_player_play(player_);
    musicOwner_ = token;
    musicGains_ = std::move(gains);
    muted_ = false;
    idle_ = false;
    quietFrames_ = 0;
}

void AudioEngine::haltMusic(std::uint64_t token) {
    std::lock_guard lock(musicMutex_);
    if (!synth_ || token == 0 || musicOwner_ != token) return;
    releasePlayerLocked();
    fluid_synth_all_sounds_off(synth_, -1);
    musicOwner_ = 0;
    // The reverb still holds a moment of the tune: keep rendering it away, unheard.
    muted_ = true;
    quietFrames_ = 0;
}

void AudioEngine::renderTailAwayLocked() {
    // The reset silences the voices but not the reverb: what a halted tune left ringing would
    // sound under the new one. Render it away now, until it falls under the output's last bit.
    constexpr float kInaudible = 0.5f / 32768.0f;
    const std::int64_t tailFrames = static_cast<std::int64_t>(kSampleRate) * kTailSeconds;
    for (std::int64_t done = quietFrames_; done < tailFrames; done += kScratchFrames) {
        float* buffer = scratch_.data();
        fluid_synth_write_float(synth_, kScratchFrames, buffer, 0, 2, buffer, 1, 2);
        const auto [low, high] = std::minmax_element(buffer, buffer + 2 * kScratchFrames);
        if (std::max(-*low, *high) < kInaudible) break;
    }
    idle_ = true;
}

void AudioEngine::musicHook(void* engine, std::uint8_t* stream, int len) {
    static_cast<AudioEngine*>(engine)->renderMusic(stream, len);
}

void AudioEngine::renderMusic(std::uint8_t* stream, int len) {
    std::memset(stream, 0, static_cast<std::size_t>(len));
    std::lock_guard lock(musicMutex_);
    if (!synth_ || idle_) return;
    auto* out = reinterpret_cast<Sint16*>(stream);
    const int frames = len / (kChannels * static_cast<int>(sizeof(Sint16)));
    const std::uint32_t volume =
        musicGains_ ? musicGains_->midi.load(std::memory_order_relaxed) : 0xFFFFFFFFu;
    const float left = static_cast<float>(leftGain(volume)) / 65535.0f;
    const float right = static_cast<float>(rightGain(volume)) / 65535.0f;
    for (int done = 0; done < frames;) {
        const int n = std::min(kScratchFrames, frames - done);
        float* buffer = scratch_.data();
        fluid_synth_write_float(synth_, n, buffer, 0, 2, buffer, 1, 2);
        if (!muted_) {
            limiter_.process(buffer, n);
            Sint16* target = out + static_cast<std::ptrdiff_t>(done) * 2;
            for (int i = 0; i < n; ++i) {
                target[2 * i] = toSample(buffer[2 * i] * left);
                target[2 * i + 1] = toSample(buffer[2 * i + 1] * right);
            }
        }
        done += n;
    }
    const bool playing = player_ && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
    if (!playing && fluid_synth_get_active_voice_count(synth_) == 0) {
        quietFrames_ += frames;
        if (quietFrames_ > static_cast<std::int64_t>(kSampleRate) * kTailSeconds) idle_ = true;
    } else {
        quietFrames_ = 0;
    }
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
