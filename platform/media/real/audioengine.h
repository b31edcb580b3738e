// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The process's one audio output: SDL2_mixer at 44100 Hz, stereo, 16-bit, with a small buffer,
// and the music, rendered ahead by the one FluidSynth synthesizer (platform/media/real/
// musicrender.h) and copied into the mixer's music hook. At full volume the music is about as
// loud as the pack's sounds; a limiter keeps its peaks under full scale.
// When no audio device can be opened the engine is silent: it says so once on standard error
// and every call that would make sound does nothing.
//
// Threads: the mixer's callbacks (the music hook, the channel gain effect) run on SDL's audio
// thread. They only read the gains and copy the rendered music under the engine's lock (rendering
// it themselves only if the renderer is behind); they never call into the game.

#include <QByteArray>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

struct Mix_Chunk;

namespace vorn {

class MusicRenderer;
class RenderedTune;

// A backend's two output gains in the game's format: low word left, high word right, 0 to
// 0xFFFF each. Read live by the audio thread, so a change is heard at once.
struct OutputGains {
    std::atomic<std::uint32_t> midi{0xFFFFFFFF};
    std::atomic<std::uint32_t> wave{0xFFFFFFFF};
};

class AudioEngine {
  public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kBufferFrames = 512;

    // The engine of the process, opened on first use.
    static std::shared_ptr<AudioEngine> instance();

    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // False when no audio device could be opened.
    bool audible() const { return audible_; }

    // --- Music ---
    // True when the synthesizer is ready (loads the soundfont on the first call). False when
    // silent or when no soundfont can be loaded (said once on standard error).
    bool musicAvailable();
    // A token that names one music source (one open MIDI file).
    std::uint64_t newMusicToken() { return ++lastToken_; }
    // Plays the Standard MIDI File `bytes` from `tick` for `token`, replacing whatever music was
    // playing. `gains` scales the output while this music plays.
    void startMusic(std::uint64_t token, const QByteArray& bytes, std::uint32_t tick,
                    std::shared_ptr<const OutputGains> gains);
    // Stops the music of `token` and silences every note at once; nothing when another source
    // has taken over since.
    void haltMusic(std::uint64_t token);

    // --- Channels ---
    // Plays `chunk` once on a free channel (more channels are added when all are busy), scaled by
    // `gains->wave`. Returns the channel, or -1 when silent or when the mixer refuses.
    // `gains` must outlive the play: halt it with haltChunk before releasing either.
    int playChunk(Mix_Chunk* chunk, const OutputGains* gains);
    // Stops `channel` if it still plays `chunk` (another sound may have taken it over since).
    void haltChunk(int channel, const Mix_Chunk* chunk);
    bool chunkPlaying(int channel, const Mix_Chunk* chunk) const;

    // The music's renderer, once musicAvailable() said yes (for the benchmarks and tests).
    MusicRenderer* musicRenderer() { return renderer_.get(); }

  private:
    AudioEngine();
    static void musicHook(void* engine, std::uint8_t* stream, int len);
    void renderMusic(std::uint8_t* stream, int len);

    bool audible_ = false;
    std::atomic<std::uint64_t> lastToken_{0};

    std::mutex rendererMutex_;  // guards the first loading of the renderer
    bool musicTried_ = false;
    std::unique_ptr<MusicRenderer> renderer_;  // set once, kept to the end

    // The music playing; guarded by musicMutex_.
    std::mutex musicMutex_;
    std::shared_ptr<const RenderedTune> music_;
    std::size_t musicFrame_ = 0;  // the next frame of music_ to be heard
    std::uint64_t musicOwner_ = 0;
    std::shared_ptr<const OutputGains> musicGains_;
};

}  // namespace vorn
