// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reading the headers of media files without playing them: the timing of a MIDI file and the
// format of a WAVE file. Whether a file can be played is decided in playable.h.

#include <QByteArray>
#include <QIODevice>

#include <cstdint>
#include <optional>

namespace vorn::probe {

// Standard MIDI file: the time, in ms, of the last event of any track, following every tempo
// change. Empty when the bytes are not a valid MIDI file, or last longer than 2^62 ms.
std::optional<std::int64_t> midiLengthMs(const QByteArray& bytes);

struct WaveInfo {
    int formatTag = 0;  // 1 PCM, 3 IEEE float, 6 A-law, 7 mu-law, 2 MS ADPCM, 0x11 IMA ADPCM
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int blockAlign = 0;
    // Frames a block holds: 1 when each block holds one frame (PCM, float, A-law, mu-law), the
    // header's samples per block for ADPCM.
    int framesPerBlock = 1;
    std::int64_t dataBytes = 0;      // what the file holds of its sound data
    std::int64_t declaredBytes = 0;  // what its header announces, which may be more
    // From the size of the data when each block holds one frame; 0 for compressed blocks, whose
    // decoded length playable::waveLengthMs gives.
    std::int64_t lengthMs = 0;
};
// RIFF WAVE file: its format as the header gives it, read from the chunks' headers alone (the
// sound data is skipped, not read). Empty when the bytes are not a RIFF WAVE file with a format
// and a data chunk.
std::optional<WaveInfo> wave(QIODevice& device);
std::optional<WaveInfo> wave(const QByteArray& bytes);

}  // namespace vorn::probe
