#include "content/writers/wavwriter.h"

#include <QFile>

#include <stdexcept>

namespace vorn::writers {

namespace {
void le(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}
}  // namespace

QByteArray wavBytes(const std::vector<std::int16_t>& samples, int channels, int sampleRate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto blockAlign = static_cast<std::uint32_t>(channels * 2);
    QByteArray out;
    out.reserve(static_cast<qsizetype>(44 + dataBytes));
    out.append("RIFF");
    le(out, 36 + dataBytes, 4);
    out.append("WAVEfmt ");
    le(out, 16, 4);
    le(out, 1, 2);  // PCM
    le(out, static_cast<std::uint32_t>(channels), 2);
    le(out, static_cast<std::uint32_t>(sampleRate), 4);
    le(out, static_cast<std::uint32_t>(sampleRate) * blockAlign, 4);
    le(out, blockAlign, 2);
    le(out, 16, 2);
    out.append("data");
    le(out, dataBytes, 4);
    for (std::int16_t s : samples) le(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

void writeWav(const QString& path, const std::vector<std::int16_t>& samples, int channels, int sampleRate) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(wavBytes(samples, channels, sampleRate)) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace vorn::writers
