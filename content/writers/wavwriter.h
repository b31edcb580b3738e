// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Writes RIFF WAVE files: 16-bit PCM (the content pack's sounds), 8-bit PCM, or 4-bit IMA ADPCM.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace vorn::writers {

enum class WavEncoding {
    Pcm16,
    Pcm8,      // unsigned 8-bit samples
    ImaAdpcm,  // 4 bits a sample in blocks of 256 bytes a channel; the last block padded
};

// `samples` are interleaved when `channels` is 2.
QByteArray wavBytes(const std::vector<std::int16_t>& samples, int channels, int sampleRate,
                    WavEncoding encoding = WavEncoding::Pcm16);
// Raises std::runtime_error when the file cannot be written.
void writeWav(const QString& path, const std::vector<std::int16_t>& samples, int channels,
              int sampleRate, WavEncoding encoding = WavEncoding::Pcm16);

}  // namespace vorn::writers
