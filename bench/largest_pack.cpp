// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The largest game folder the game accepts: every file at the limits of platform/budgets.h, each
// of the kind that costs the game the most memory, so that the whole game's peak on it is the
// most a shared folder can take (bench/main.cpp measures it beside the default pack's).
//
//   backgrounds   the title and results: progressive JPEGs whose coefficients take the most a
//                 picture may hold while it decodes (32 MB, 3328 x 3328); the levels: baseline
//                 JPEGs of 8192 x 8192
//   pictures      the player, faces, marks and alarm: 32-bit bitmaps of 8192 x 8192 with an
//                 alpha mask (256 MB each, a hole in the file: every alpha byte is read)
//   sounds        21.8 s of 96 kHz 24-bit stereo: 16 MB once decoded
//   tunes         3 minutes each, their files of 4 MB (notes, and controller changes to fill it)
//   interludes    3 minutes of 1280 x 1280 pictures (one a second) with a stereo sound track
//   hourglass     476 frames of 80 x 110: 16 MB decoded
// The question table and the rules are the default pack's.

#include "bench/largest_pack.h"

#include "content/writers/aviwriter.h"
#include "content/writers/midiwriter.h"
#include "core/pack.h"
#include "platform/budgets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>

namespace vorn::bench {

namespace {

void check(bool ok, const QString& what) {
    if (!ok) throw std::runtime_error(what.toStdString());
}

void putLe(QByteArray& b, std::uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A picture's pixel at (x, y) of a width x height picture: soft gradients and rings, which a
// JPEG keeps small; computed a row at a time, never held whole.
void patternRow(int y, int width, int height, std::vector<JSAMPLE>& rgb) {
    for (int x = 0; x < width; ++x) {
        const double dx = x - width / 2.0, dy = y - height / 2.0;
        const double ring = std::sin(std::sqrt(dx * dx + dy * dy) / (width / 40.0));
        rgb[3 * x] = static_cast<JSAMPLE>(255.0 * x / width);
        rgb[3 * x + 1] = static_cast<JSAMPLE>(255.0 * y / height);
        rgb[3 * x + 2] = static_cast<JSAMPLE>(127.5 + 100 * ring);
    }
}

// The side of the largest square progressive JPEG whose coefficients fit their budget: its colour
// sampled 2 x 2, 3 bytes a pixel, in whole 16-pixel blocks.
int progressiveSide() {
    const auto side =
        static_cast<int>(std::sqrt(static_cast<double>(budget::kMaxJpegCoefficientBytes) / 3));
    return side / 16 * 16;
}

void writeJpeg(const QString& path, int width, int height, bool progressive) {
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    check(out != nullptr, QStringLiteral("cannot write ") + path);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 80, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> rgb(static_cast<std::size_t>(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        patternRow(static_cast<int>(cinfo.next_scanline), width, height, rgb);
        JSAMPROW row = rgb.data();
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
}

// A 32-bit bitmap with a version 5 header and an alpha mask, its pixels a hole in the file.
void writeBitmap(const QString& path, int side) {
    const std::uint32_t headerBytes = 14 + 124;
    const std::uint64_t pixels = std::uint64_t{4} * side * side;
    QByteArray b("BM");
    putLe(b, static_cast<std::uint32_t>(headerBytes + pixels));
    putLe(b, 0);
    putLe(b, headerBytes);
    putLe(b, 124);
    putLe(b, static_cast<std::uint32_t>(side));
    putLe(b, static_cast<std::uint32_t>(side));
    putLe(b, 1, 2);
    putLe(b, 32, 2);
    putLe(b, 3);  // bit fields
    putLe(b, static_cast<std::uint32_t>(pixels));
    for (std::uint32_t v :
         {2835u, 2835u, 0u, 0u, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u, 0x73524742u})
        putLe(b, v);
    b.append(QByteArray(36 + 12, '\0'));  // end points, gamma
    for (std::uint32_t v : {4u, 0u, 0u, 0u}) putLe(b, v);
    QFile file(path);
    check(file.open(QIODevice::WriteOnly) && file.write(b) == b.size() &&
              file.resize(static_cast<qint64>(headerBytes + pixels)),
          QStringLiteral("cannot write ") + path);
}

// 24-bit stereo PCM at 96 kHz: as many frames as the budget holds once decoded (4 bytes a sample).
void writeSound(const QString& path) {
    const std::uint32_t frames = static_cast<std::uint32_t>(budget::kMaxSoundBytes / 8);
    const std::uint32_t rate = 96000, dataBytes = frames * 6;
    QByteArray b("RIFF");
    putLe(b, 36 + dataBytes);
    b.append("WAVEfmt ");
    putLe(b, 16);
    putLe(b, 1, 2);
    putLe(b, 2, 2);
    putLe(b, rate);
    putLe(b, rate * 6);
    putLe(b, 6, 2);
    putLe(b, 24, 2);
    b.append("data");
    putLe(b, dataBytes);
    b.reserve(b.size() + dataBytes);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const auto v = static_cast<std::uint32_t>(
            static_cast<std::int32_t>(2e6 * std::sin(2 * M_PI * 440.0 * i / rate)));
        putLe(b, v, 3);
        putLe(b, v, 3);
    }
    QFile file(path);
    check(file.open(QIODevice::WriteOnly) && file.write(b) == b.size(),
          QStringLiteral("cannot write ") + path);
}

// Five minutes at 120 beats a minute: a note on every eighth, and controller changes (a slow
// swell of the volume) until the file holds 4 MB.
QByteArray tuneBytes(int pitch) {
    constexpr int kTicks = 480;
    const std::uint32_t end = static_cast<std::uint32_t>(budget::kMaxTuneMs / 500 * kTicks);
    writers::MidiTrack track;
    track.programChange(0, 0, 0);
    for (std::uint32_t t = 0; t + kTicks / 2 <= end; t += kTicks / 2)
        track.note(t, kTicks / 2, 0, pitch + static_cast<int>((t / (kTicks / 2)) % 12), 80);
    // Each change takes 4 bytes (its delta, the status kept running, controller and value).
    const std::int64_t room = budget::kMaxTuneFileBytes - 64 * 1024 -
                              static_cast<std::int64_t>(track.events().size()) * 5;
    const std::int64_t changes = std::max<std::int64_t>(0, room / 5);
    for (std::int64_t i = 0; i < changes; ++i)
        track.controlChange(static_cast<std::uint32_t>(i * end / changes), 0, 11,
                            64 + static_cast<int>(i % 64));
    track.endOfTrack(end);
    return writers::midiBytes({track}, kTicks);
}

// The longest video of the largest pictures, one a second, with stereo CD sound.
void writeInterlude(const QString& path) {
    writers::AviFormat format;
    format.width = budget::kMaxVideoSide;
    format.height = budget::kMaxVideoSide;
    format.frameRateNum = 1;
    format.sampleRate = 44100;
    format.channels = 2;
    writers::AviWriter avi(path, format);
    const int seconds = static_cast<int>(budget::kMaxVideoMs / 1000);
    QImage frame(format.width, format.height, QImage::Format_RGB32);
    std::vector<std::int16_t> second(44100 * 2);
    for (int s = 0; s < seconds; ++s) {
        frame.fill(QColor::fromHsv((s * 7) % 360, 160, 200));
        QPainter(&frame).fillRect(s * 6, s * 6, 400, 400, Qt::white);
        for (std::size_t i = 0; i < second.size(); i += 2)
            second[i] = second[i + 1] =
                static_cast<std::int16_t>(6000 * std::sin(2 * M_PI * 330.0 * (i / 2) / 44100));
        avi.addAudio(second);
        avi.addFrame(frame);
    }
    avi.finish();
}

// As many 80 x 110 frames at 15 a second as the budget holds.
void writeHourglass(const QString& path) {
    writers::AviFormat format;
    format.width = 80;
    format.height = 110;
    format.frameRateNum = 15;
    format.sampleRate = 0;
    writers::AviWriter avi(path, format);
    const std::int64_t frames = budget::kMaxAnimationBytes / (80 * 110 * 4);
    QImage frame(80, 110, QImage::Format_RGB32);
    for (std::int64_t n = 0; n < frames; ++n) {
        frame.fill(QColor(192, 192, 192));
        QPainter(&frame).fillRect(20, static_cast<int>(10 + n % 90), 40, 10, QColor(230, 170, 60));
        avi.addFrame(frame);
    }
    avi.finish();
}

// The same file under another name, without its bytes twice.
void same(const QString& file, const QString& other) {
    QFile::remove(other);
    check(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()) == 0 ||
              QFile::copy(file, other),
          QStringLiteral("cannot write ") + other);
}

}  // namespace

bool makeLargestPack(const QString& from, const QString& dir, std::string* error) {
    try {
        QDir root(dir);
        for (const char* sub : {"dB", "image", "son", "video", "save"})
            check(root.mkpath(QString::fromLatin1(sub)), QStringLiteral("cannot make ") + dir);
        auto at = [&root](const QString& file) { return root.filePath(file); };
        const QString table = QStringLiteral("dB/questionnaire.db");
        for (const QString& file : {table, pack::file(pack::rules)}) {
            QFile::remove(at(file));
            check(QFile::copy(QDir(from).filePath(file), at(file)),
                  QStringLiteral("cannot copy ") + file);
        }

        const QString progressive = at(QStringLiteral("image/progressive.jpg"));
        const QString baseline = at(QStringLiteral("image/baseline.jpg"));
        const QString bitmap = at(QStringLiteral("image/bitmap.bmp"));
        writeJpeg(progressive, progressiveSide(), progressiveSide(), true);
        writeJpeg(baseline, budget::kMaxPictureSide, budget::kMaxPictureSide, false);
        writeBitmap(bitmap, budget::kMaxPictureSide);
        for (const pack::PictureFile& picture : pack::pictures()) {
            const bool background = picture.file.endsWith(QStringLiteral(".jpg"));
            const bool levelPicture = picture.file.startsWith(QStringLiteral("image/niv"));
            same(background ? (levelPicture ? baseline : progressive) : bitmap, at(picture.file));
        }

        const QString sound = at(QStringLiteral("son/sound.wav"));
        writeSound(sound);
        for (const QString& file : pack::sounds()) same(sound, at(file));
        int pitch = 48;
        for (const QString& file : pack::tunes()) {
            QFile tune(at(file));
            const QByteArray bytes = tuneBytes(pitch++);
            check(bytes.size() <= budget::kMaxTuneFileBytes && tune.open(QIODevice::WriteOnly) &&
                      tune.write(bytes) == bytes.size(),
                  QStringLiteral("cannot write ") + file);
        }

        const QString interlude = at(QStringLiteral("video/interlude.avi"));
        writeInterlude(interlude);
        for (const pack::VideoFile& video : pack::interludes()) same(interlude, at(video.file));
        writeHourglass(at(pack::file(pack::hourglass)));
        for (const QString& spare : {progressive, baseline, bitmap, sound, interlude})
            QFile::remove(spare);
        return true;
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
}

}  // namespace vorn::bench
