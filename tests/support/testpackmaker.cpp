// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/testpackmaker.h"

#include "content/writers/aviwriter.h"
#include "content/writers/jpegwriter.h"
#include "content/writers/midiwriter.h"
#include "content/writers/wavwriter.h"
#include "core/layout.h"
#include "core/pack.h"
#include "support/testpack.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <numeric>

namespace vorn::test {

namespace {

QImage plain(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture on a magenta background (the transparent colour, read from the bottom-left pixel).
void writeKeyedBmp(const QString& path, int w, int h, QColor colour) {
    QImage image = plain(w, h, QColor(255, 0, 255));
    QPainter p(&image);
    p.fillRect(QRect(w / 4, h / 4, w / 2, h / 2), colour);
    p.end();
    image.save(path, "BMP");
}

std::vector<std::int16_t> tone(int ms, int rate, double hz) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(rate * ms / 1000));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(
            8000 * std::sin(2 * M_PI * hz * static_cast<double>(i) / rate));
    return samples;
}

void writeTune(const QString& path, int ms, int note) {
    writers::MidiTrack track;
    track.tempo(0, 500000);  // 120 beats a minute: 480 ticks are 500 ms
    const auto ticks = static_cast<std::uint32_t>(ms * 480 / 500);
    track.programChange(0, 0, 0);
    track.note(0, ticks, 0, note, 90);
    track.endOfTrack(ticks);
    writers::writeMidi(path, {track}, 480);
}

void writeVideo(const QString& path, int w, int h, int frames, int fpsNum, int fpsDen, bool sound) {
    writers::AviFormat format;
    format.width = w;
    format.height = h;
    format.frameRateNum = fpsNum;
    format.frameRateDen = fpsDen;
    format.sampleRate = sound ? 8000 : 0;
    writers::AviWriter writer(path, format);
    if (sound) writer.addAudio(tone(frames * 1000 * fpsDen / fpsNum, 8000, 440));
    for (int i = 0; i < frames; ++i)
        writer.addFrame(plain(w, h, QColor(20 * (i % 12), 40, 200 - 4 * (i % 40))));
    writer.finish();
}

}  // namespace

void makeTestPackMedia(const QString& dir) {
    QDir d(dir);
    for (const char* sub : {pack::databaseDirectory, "image", "son", "video", pack::saveDirectory})
        d.mkpath(QLatin1String(sub));
    auto at = [&d](const QString& file) { return d.filePath(file); };
    // Backgrounds a tenth of their size: the screens stretch them.
    writers::writeJpeg(at(pack::file(pack::titlePicture)), plain(64, 44, QColor(240, 230, 200)));
    writers::writeJpeg(at(pack::file(pack::resultsPicture)), plain(64, 44, QColor(230, 240, 250)));
    for (int level = 1; level <= 4; ++level)
        writers::writeJpeg(at(pack::levelPicture(level)),
                           plain(64, 44, QColor(10 * level, 30, 90)));
    const QSize face = layout::niv::visage3.box.size(), mark = layout::niv::juste[0].box.size();
    writeKeyedBmp(at(pack::file(pack::playerPicture)), face.width(), face.height(), Qt::darkYellow);
    for (char mood = pack::firstFace; mood <= pack::lastFace; ++mood)
        writeKeyedBmp(at(pack::facePicture(mood)), face.width(), face.height(),
                      QColor(40 * (mood - pack::firstFace), 200, 100));
    writeKeyedBmp(at(pack::file(pack::rightMarkPicture)), mark.width(), mark.height(), Qt::green);
    writeKeyedBmp(at(pack::file(pack::wrongMarkPicture)), mark.width(), mark.height(), Qt::red);
    const QSize alarm = layout::niv::alarme.box.size();
    plain(alarm.width(), alarm.height(), QColor(250, 200, 0))
        .save(at(pack::file(pack::alarmPicture)), "BMP");
    const QStringList tunes = pack::tunes();
    for (int n = 0; n < tunes.size(); ++n) writeTune(at(tunes[n]), kTuneMs, 60 + n);
    writers::writeWav(at(pack::file(pack::rightSound)), tone(kSoundMs, 8000, 880), 1, 8000);
    writers::writeWav(at(pack::file(pack::wrongSound)), tone(kSoundMs, 8000, 110), 1, 8000);
    // Small frames of the interludes' proportions.
    for (int n = 0; n <= pack::lastVideo; ++n) {
        const bool wide = n == numbers::kEndOfGameVideo;
        writeVideo(at(pack::video(n)), wide ? 33 : 32, wide ? 12 : 24, 15 * kVideoMs / 1000, 15, 1,
                   true);
    }
    // The hourglass runs its question frames in the question's time.
    const int frames = layout::niv::sablierLastFrame - layout::niv::sablierFirstFrame + 1;
    const int gcd = std::gcd(frames * 1000, layout::niv::TimerQuestMs);
    writeVideo(at(pack::file(pack::hourglass)), 16, 22, layout::niv::sablierLastFrame + 1,
               frames * 1000 / gcd, layout::niv::TimerQuestMs / gcd, false);
    QFile help(at(pack::file(pack::rules)));
    help.open(QIODevice::WriteOnly);
    help.write("<html><body>Règles</body></html>");
}

}  // namespace vorn::test
