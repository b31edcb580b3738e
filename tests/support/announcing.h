// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Files whose headers announce far more than they hold: a few dozen bytes that a reader would
// take for an hour of sound or thousands of frames, to test the budgets without the memory.

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace vorn::test {

struct WaveFormat {
    int tag = 1;  // 1 PCM, 3 IEEE float, 0x11 IMA ADPCM...
    int channels = 2;
    int rate = 44100;
    int bits = 16;
    int blockAlign = 4;
    int framesPerBlock = 0;  // written in the format's extension when not 0 (ADPCM)
};

// A wave file's format chunk.
QByteArray waveFormatChunk(const WaveFormat& format);

// A wave file's headers announcing `dataBytes` of sound, followed by none of it.
QByteArray waveHeader(const WaveFormat& format, std::uint32_t dataBytes);

// Writes an AVI of three small `width` x `height` frames to `path`, then returns its bytes with
// the headers changed to announce `frames` frames at `rate` a second. The demuxer believes its
// headers, as it would of a file that held them all.
QByteArray announcingAvi(const QString& path, int width, int height, std::uint32_t frames,
                         std::uint32_t rate);

}  // namespace vorn::test
