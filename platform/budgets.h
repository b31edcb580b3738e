// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What one file of a game folder may cost the game, in one place. Game folders are made and
// swapped by players, so every file is input from a stranger: a legal but oversized picture,
// sound, tune or video must not take the machine's memory. Each reader checks its file against
// these limits from the file's header, before it takes the memory, and refuses a file over its
// limit with a reason that names what is too large and the limit; the content checker and the
// tests use the same limits and the same words.
//
// Together the limits keep a whole game, on a folder whose every file is the largest accepted,
// within a few hundred megabytes (measured by the benchmarks).

#include "platform/errors.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace vorn::budget {

constexpr std::int64_t kMiB = std::int64_t{1} << 20;

// --- Pictures ---
// The largest picture accepted, in pixels a side. Pictures are decoded at the size they are shown
// at (see images.h), so their size costs decoding time, not memory.
constexpr int kMaxPictureSide = 8192;
// A progressive JPEG keeps every coefficient of the whole picture while it decodes, whatever
// size it is shown at: 2 bytes a coefficient, 64 a block, for each colour component (about 3
// bytes a pixel in colour). A picture of 3200 x 3200 fits; a baseline JPEG needs none of it.
constexpr std::int64_t kMaxJpegCoefficientBytes = 32 * kMiB;

// --- Sounds (WAV), decoded whole into memory when they are opened ---
// Longer than any sound effect: the answer sounds play during a pause of 2.5 s.
constexpr std::int64_t kMaxSoundMs = 60'000;
// The samples once decoded, in the decoder's own format (before the mixer converts them, which
// takes as much again for a while): 60 s of CD-quality or 48 kHz stereo fits; 22 s of 96 kHz
// 24-bit stereo do.
constexpr std::int64_t kMaxSoundBytes = 16 * kMiB;

// --- Tunes (MIDI), rendered ahead into memory, about 10 MB a minute ---
// Longer than a level of ten questions lasts (about two minutes).
constexpr std::int64_t kMaxTuneMs = 3 * 60'000;
// A Standard MIDI file of a few minutes holds a few hundred kilobytes.
constexpr std::int64_t kMaxTuneFileBytes = 4 * kMiB;

// --- Videos (AVI) ---
// An interlude's sound track is decoded whole before it plays, about 10 MB a minute.
constexpr std::int64_t kMaxVideoMs = 3 * 60'000;
// A video's pictures, in pixels a side: each picture is decoded and converted whole, several at
// a time, for a window of 640 x 480. 720p fits.
constexpr int kMaxVideoSide = 1280;
// The hourglass keeps all its frames decoded, 4 bytes a pixel: 476 frames of 80 x 110, half a
// minute at 15 a second, where a question lasts 10 s (30 s at the longest time to answer).
constexpr std::int64_t kMaxAnimationBytes = 16 * kMiB;

// --- The reasons, without the file's name; nothing when the file is within its limits ---

// "Picture is too large: 9000 x 20 pixels, at most 8192 x 8192".
std::optional<QString> pictureSize(std::int64_t width, std::int64_t height);
// "a progressive JPEG of 8192 x 8192 pixels needs 192 MB to decode, at most 32 MB: save it as a
// baseline JPEG".
std::optional<QString> progressiveJpeg(std::int64_t width, std::int64_t height,
                                       std::int64_t coefficientBytes);
// "a sound of 50 min is too long for the game, at most 60 s"; "60 s of 8 channels at 96000 Hz
// take 176 MB decoded, at most 16 MB".
std::optional<QString> sound(std::int64_t lengthMs, int channels, int sampleRate,
                             std::int64_t decodedBytes);
// "a file of 1.0 GB is too large for a tune, at most 4 MB"; "a tune of 62 min is too long for the
// game, at most 3 min". The length is checked only once the file's size is within its limit.
std::optional<QString> tuneFile(std::int64_t fileBytes);
std::optional<QString> tune(std::int64_t lengthMs);
// "pictures of 4096 x 4096 are too large for a video, at most 1280 x 1280"; "a video of 50 min is
// too long for the game, at most 3 min".
std::optional<QString> videoPictures(int width, int height);
std::optional<QString> videoLength(std::int64_t lengthMs);
// "6000 frames of 320 x 240 are too many for an animation: 16 MB holds 54 at that size".
std::optional<QString> animation(std::int64_t frames, int width, int height);

// A length as a player reads it, rounded up: "850 ms", "2.5 s", "60 s", "60.1 s", "1 min 40 s",
// "50 min".
QString lengthText(std::int64_t ms);
// A memory size: "512 KB", "2.5 MB", "192 MB", "1.0 GB".
QString sizeText(std::int64_t bytes);

// Makes every block of 4 MB or more that the process frees go back to the system at once. The
// files' decoders take large buffers for a moment (a sound before the mixer converts it, a
// progressive picture's coefficients, a tune rendered ahead); the C library's allocator would
// otherwise raise its threshold after the first such block and keep the next ones in its heap,
// where freed room stays counted against the game. Called first thing by the programs that play.
void returnLargeBlocksAtOnce();

}  // namespace vorn::budget

namespace vorn {

// A file refused for its budget: the message names the file ("son/juste.wav: a sound of 50 min
// is too long for the game, at most 60 s"); the content checker reports the reason alone under
// the file's name.
class OverBudget : public Error {
  public:
    OverBudget(const QString& file, const QString& reason)
        : Error(file + QStringLiteral(": ") + reason), reason_(reason) {}
    const QString& reason() const { return reason_; }

  private:
    QString reason_;
};

}  // namespace vorn
