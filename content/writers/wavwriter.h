#pragma once
// Writes 16-bit PCM RIFF WAVE files.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace vorn::writers {

// `samples` are interleaved when `channels` is 2.
QByteArray wavBytes(const std::vector<std::int16_t>& samples, int channels, int sampleRate);
// Raises std::runtime_error when the file cannot be written.
void writeWav(const QString& path, const std::vector<std::int16_t>& samples, int channels, int sampleRate);

}  // namespace vorn::writers
