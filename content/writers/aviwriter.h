// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Writes AVI files with Motion JPEG pictures and 16-bit PCM sound through FFmpeg, bit-exact
// (the same input gives the same bytes).

#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace vorn::writers {

struct AviFormat {
    int width = 0;
    int height = 0;
    int frameRateNum = 15;  // frames per second as a fraction
    int frameRateDen = 1;
    int quality = 4;         // MJPEG quantiser, 2 (best) to 31
    int sampleRate = 22050;  // 0 for no sound track
    int channels = 1;
};

class AviWriter {
  public:
    // Opens the file; raises std::runtime_error when it cannot.
    AviWriter(const QString& path, const AviFormat& format);
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Adds the next frame (scaled to the format's size when it differs).
    void addFrame(const QImage& frame);
    // Adds sound, interleaved when stereo; may be called any number of times, before or between
    // frames.
    void addAudio(const std::vector<std::int16_t>& samples);
    // Writes the index and closes the file.
    void finish();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The whole file at once.
void writeAvi(const QString& path, const AviFormat& format, const std::vector<QImage>& frames,
              const std::vector<std::int16_t>& audio);

}  // namespace vorn::writers
