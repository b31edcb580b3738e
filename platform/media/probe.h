#pragma once
// Reading media files for what the game needs to know without playing them: their length, and
// whether they are of their kind. Both backends use these, so a missing or broken file fails the
// same way whether sound is real or simulated.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace vorn::probe {

// Standard MIDI file: the time, in ms, of the last event of any track, following every tempo
// change. Empty when the bytes are not a valid MIDI file.
std::optional<std::int64_t> midiLengthMs(const QByteArray& bytes);

struct WaveInfo {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::int64_t dataBytes = 0;
    std::int64_t lengthMs = 0;
};
// RIFF WAVE file: its format and length. Empty when the bytes are not a valid WAVE file.
std::optional<WaveInfo> wave(const QByteArray& bytes);

struct VideoInfo {
    int width = 0;
    int height = 0;
    double framesPerSecond = 0;
    std::int64_t frameCount = 0;
    std::int64_t lengthMs = 0;
    bool hasAudio = false;
};
// A video file read by FFmpeg: empty when FFmpeg cannot open it or finds no video stream.
std::optional<VideoInfo> video(const QString& path);

}  // namespace vorn::probe
