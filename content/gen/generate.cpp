// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-content GAME_DIR [GROUP...]: writes the default content pack (pictures, music, sounds,
// videos) into GAME_DIR, or only the groups named: pictures, music, sounds, videos.
// The same program gives the same bytes on every run.

#include "content/gen/hourglass.h"
#include "content/gen/music.h"
#include "content/gen/pictures.h"
#include "content/gen/sounds.h"
#include "content/gen/synth.h"
#include "content/gen/videos.h"
#include "content/writers/jpegwriter.h"
#include "content/writers/midiwriter.h"
#include "content/writers/wavwriter.h"
#include "core/numbers.h"
#include "core/pack.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <exception>

namespace {

using namespace vorn::gen;
namespace pack = vorn::pack;
namespace writers = vorn::writers;

constexpr int kJpegQuality = 90;

void saveBitmap(const QString& path, const QImage& image) {
    // 24 bits a pixel, as the game's pictures are stored.
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP"))
        throw std::runtime_error("cannot write " + path.toStdString());
}

void writePictures(const QDir& dir) {
    writers::writeJpeg(dir.filePath(pack::file(pack::titlePicture)), titlePicture(), kJpegQuality);
    writers::writeJpeg(dir.filePath(pack::file(pack::resultsPicture)), resultsPicture(),
                       kJpegQuality);
    for (int level = 1; level <= vorn::numbers::kBonusLevel; ++level)
        writers::writeJpeg(dir.filePath(pack::levelPicture(level)), levelPicture(level),
                           kJpegQuality);
    saveBitmap(dir.filePath(pack::file(pack::playerPicture)), playerPicture());
    for (char face = pack::firstFace; face <= pack::lastFace; ++face)
        saveBitmap(dir.filePath(pack::facePicture(face)), facePicture(face - pack::firstFace));
    saveBitmap(dir.filePath(pack::file(pack::rightMarkPicture)), markPicture(true));
    saveBitmap(dir.filePath(pack::file(pack::wrongMarkPicture)), markPicture(false));
    saveBitmap(dir.filePath(pack::file(pack::alarmPicture)), alarmPicture());
}

void writeMusic(const QDir& dir) {
    writers::writeMidi(dir.filePath(pack::file(pack::titleTune)), composeTune(0), kTicksPerQuarter);
    for (int n = 1; n <= pack::levelTunes; ++n)
        writers::writeMidi(dir.filePath(pack::levelTune(n)), composeTune(n), kTicksPerQuarter);
}

void writeSounds(const QDir& dir) {
    writers::writeWav(dir.filePath(pack::file(pack::rightSound)), rightAnswerSound(), 1,
                      synth::kRate);
    writers::writeWav(dir.filePath(pack::file(pack::wrongSound)), wrongAnswerSound(), 1,
                      synth::kRate);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // fonts for the pictures
    QStringList args = QGuiApplication::arguments();
    if (args.size() < 2 || args[1].startsWith(u'-')) {
        std::fputs("usage: vorn-content GAME_DIR [pictures|music|sounds|videos]...\n", stderr);
        return 2;
    }
    const QDir dir(args[1]);
    QStringList groups = args.mid(2);
    const QStringList all = {QStringLiteral("pictures"), QStringLiteral("music"),
                             QStringLiteral("sounds"), QStringLiteral("videos")};
    if (groups.isEmpty()) groups = all;
    try {
        for (const char* sub : {"image", "son", "video", pack::saveDirectory})
            if (!dir.mkpath(QString::fromLatin1(sub)))
                throw std::runtime_error(std::string("cannot create ") + sub);
        for (const QString& group : groups) {
            QElapsedTimer timer;
            timer.start();
            if (group == u"pictures")
                writePictures(dir);
            else if (group == u"music")
                writeMusic(dir);
            else if (group == u"sounds")
                writeSounds(dir);
            else if (group == u"videos")
                writeVideos(dir);
            else
                throw std::runtime_error("unknown group " + group.toStdString());
            std::printf("vorn-content: %s in %lld ms\n", qPrintable(group),
                        static_cast<long long>(timer.elapsed()));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorn-content: %s\n", e.what());
        return 1;
    }
    return 0;
}
