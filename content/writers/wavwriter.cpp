// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/writers/wavwriter.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace vorn::writers {

namespace {

void le(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The IMA ADPCM step sizes and the step index changes for each 3-bit magnitude.
constexpr std::array<int, 89> kImaSteps = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr std::array<int, 8> kImaIndexShift = {-1, -1, -1, -1, 2, 4, 6, 8};

constexpr int kImaBlockBytesPerChannel = 256;

// One channel's encoder state, advanced exactly as a decoder advances it.
struct ImaChannel {
    int predictor = 0;
    int index = 0;

    int encode(int sample) {
        int diff = sample - predictor;
        int nibble = 0;
        if (diff < 0) {
            nibble = 8;
            diff = -diff;
        }
        int step = kImaSteps[static_cast<std::size_t>(index)];
        int delta = step >> 3;
        for (int bit = 4; bit > 0; bit >>= 1) {
            if (diff >= step) {
                nibble |= bit;
                diff -= step;
                delta += step;
            }
            step >>= 1;
        }
        predictor = std::clamp(predictor + ((nibble & 8) ? -delta : delta), -32768, 32767);
        index = std::clamp(index + kImaIndexShift[static_cast<std::size_t>(nibble & 7)], 0, 88);
        return nibble;
    }
};

QByteArray riff(const QByteArray& format, const QByteArray& extraChunks, const QByteArray& data) {
    QByteArray out;
    out.append("RIFF");
    le(out,
       static_cast<std::uint32_t>(4 + 8 + format.size() + extraChunks.size() + 8 + data.size() +
                                  (data.size() & 1)),
       4);
    out.append("WAVEfmt ");
    le(out, static_cast<std::uint32_t>(format.size()), 4);
    out.append(format);
    out.append(extraChunks);
    out.append("data");
    le(out, static_cast<std::uint32_t>(data.size()), 4);
    out.append(data);
    if (data.size() & 1) out.append('\0');
    return out;
}

QByteArray pcm(const std::vector<std::int16_t>& samples, int channels, int sampleRate, int bits) {
    const int bytesPerSample = bits / 8;
    const auto blockAlign = static_cast<std::uint32_t>(channels * bytesPerSample);
    QByteArray format;
    le(format, 1, 2);  // PCM
    le(format, static_cast<std::uint32_t>(channels), 2);
    le(format, static_cast<std::uint32_t>(sampleRate), 4);
    le(format, static_cast<std::uint32_t>(sampleRate) * blockAlign, 4);
    le(format, blockAlign, 2);
    le(format, static_cast<std::uint32_t>(bits), 2);
    QByteArray data;
    data.reserve(static_cast<qsizetype>(samples.size()) * bytesPerSample);
    for (std::int16_t s : samples) {
        if (bits == 8)
            data.append(static_cast<char>((s >> 8) + 128));
        else
            le(data, static_cast<std::uint16_t>(s), 2);
    }
    return riff(format, {}, data);
}

QByteArray imaAdpcm(const std::vector<std::int16_t>& samples, int channels, int sampleRate) {
    const int blockAlign = kImaBlockBytesPerChannel * channels;
    // The header holds the first sample; each further byte holds two.
    const int samplesPerBlock = (kImaBlockBytesPerChannel - 4) * 2 + 1;
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    const std::size_t blocks = (frames + samplesPerBlock - 1) / samplesPerBlock;
    auto sampleAt = [&](std::size_t frame, int channel) -> int {
        if (frames == 0) return 0;
        frame = std::min(frame, frames - 1);  // the padding repeats the last frame
        return samples[frame * static_cast<std::size_t>(channels) +
                       static_cast<std::size_t>(channel)];
    };

    QByteArray format;
    le(format, 0x11, 2);  // IMA ADPCM
    le(format, static_cast<std::uint32_t>(channels), 2);
    le(format, static_cast<std::uint32_t>(sampleRate), 4);
    le(format, static_cast<std::uint32_t>(sampleRate * blockAlign / samplesPerBlock), 4);
    le(format, static_cast<std::uint32_t>(blockAlign), 2);
    le(format, 4, 2);  // bits a sample
    le(format, 2, 2);  // size of the extension
    le(format, static_cast<std::uint32_t>(samplesPerBlock), 2);
    QByteArray fact("fact");
    le(fact, 4, 4);
    le(fact, static_cast<std::uint32_t>(frames), 4);

    std::vector<ImaChannel> state(static_cast<std::size_t>(channels));
    QByteArray data;
    data.reserve(static_cast<qsizetype>(blocks) * blockAlign);
    for (std::size_t block = 0; block < blocks; ++block) {
        const std::size_t first = block * static_cast<std::size_t>(samplesPerBlock);
        for (int c = 0; c < channels; ++c) {
            ImaChannel& ch = state[static_cast<std::size_t>(c)];
            ch.predictor = sampleAt(first, c);
            le(data, static_cast<std::uint16_t>(ch.predictor), 2);
            data.append(static_cast<char>(ch.index));
            data.append('\0');
        }
        // Each channel in turn gives four bytes, eight samples, low nibble first.
        for (int group = 0; group < (samplesPerBlock - 1) / 8; ++group) {
            for (int c = 0; c < channels; ++c) {
                ImaChannel& ch = state[static_cast<std::size_t>(c)];
                for (int byte = 0; byte < 4; ++byte) {
                    const std::size_t at =
                        first + 1 + static_cast<std::size_t>(group * 8 + byte * 2);
                    const int low = ch.encode(sampleAt(at, c));
                    const int high = ch.encode(sampleAt(at + 1, c));
                    data.append(static_cast<char>(low | (high << 4)));
                }
            }
        }
    }
    return riff(format, fact, data);
}

}  // namespace

QByteArray wavBytes(const std::vector<std::int16_t>& samples, int channels, int sampleRate,
                    WavEncoding encoding) {
    switch (encoding) {
        case WavEncoding::Pcm8:
            return pcm(samples, channels, sampleRate, 8);
        case WavEncoding::ImaAdpcm:
            return imaAdpcm(samples, channels, sampleRate);
        case WavEncoding::Pcm16:
            break;
    }
    return pcm(samples, channels, sampleRate, 16);
}

void writeWav(const QString& path, const std::vector<std::int16_t>& samples, int channels,
              int sampleRate, WavEncoding encoding) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(wavBytes(samples, channels, sampleRate, encoding)) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace vorn::writers
