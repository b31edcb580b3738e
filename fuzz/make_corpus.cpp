// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the fuzz targets' seed corpus with the project's own writers: small files of every kind
// the game reads, so that the fuzzers start from inputs that reach deep into each reader.
//
//   vorn-fuzz-corpus DIR     writes DIR/<target>/<name> (the checked-in corpus is fuzz/corpus)

#include "content/bank/questionbank.h"
#include "content/writers/aviwriter.h"
#include "content/writers/jpegwriter.h"
#include "content/writers/midiwriter.h"
#include "platform/ini.h"
#include "support/pictures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include <sqlite3.h>

namespace {

using namespace vorn;

QString root;

QString pathOf(const char* target, const char* name) {
    const QString folder = root + u'/' + QString::fromLatin1(target);
    QDir().mkpath(folder);
    return folder + u'/' + QString::fromLatin1(name);
}

void write(const char* target, const char* name, const QByteArray& bytes) {
    QFile file(pathOf(target, name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + file.fileName().toStdString());
}

// A small picture with a few colours and edges, so that every coder has something to code.
QImage picture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(20, 40, 160));
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, QColor(250, 200, 0));
    painter.fillRect(width / 2, height / 2, width / 2, height / 2, QColor(255, 0, 255));
    painter.setPen(Qt::white);
    painter.drawLine(0, height - 1, width - 1, 0);
    return image;
}

void iniFiles() {
    // The high scores and a save slot as the game writes them (CRLF lines).
    {
        IniFile file(pathOf("ini", "highscores.ini"));
        for (int place = 1; place <= 3; ++place) {
            file.writeString(QStringLiteral("place%1").arg(place), QStringLiteral("nom"),
                             place == 1 ? QStringLiteral("Zoé") : QStringLiteral(" anonyme "));
            file.writeInteger(QStringLiteral("place%1").arg(place), QStringLiteral("score"),
                              12000 - 4000 * place);
        }
        file.release();
    }
    {
        IniFile file(pathOf("ini", "Sauvegardes.ini"));
        file.writeInteger(QStringLiteral("Block1"), QStringLiteral("score"), -1500);
        file.writeInteger(QStringLiteral("Block1"), QStringLiteral("Niveau"), 2);
        file.writeInteger(QStringLiteral("Block1"), QStringLiteral("NumQuestion"), 7);
        file.writeInteger(QStringLiteral("Block1"), QStringLiteral("Reponses justes"), 5);
        file.writeString(QStringLiteral("Block1"), QStringLiteral("Pourcentage"),
                         QStringLiteral("71%"));
        file.writeInteger(QStringLiteral("Block1"), QStringLiteral("Pause"), 1);
        file.release();
    }
    // What a hand edit leaves: LF lines, comments, blanks, quotes, hexadecimal, no last line end.
    write("ini", "edited.ini",
          "; kept by hand\n[ Block2 ]\n  score = $7FFFFFFF\nNiveau=0x4\n\n[block2]\nscore=1\n"
          "[place1]\nnom=\"  Jo  \"\nscore='-12'\n[Block3\nPause");
}

void jpegFiles() {
    const QImage image = picture(16, 16);
    write("jpeg", "baseline.jpg", writers::jpegBytes(image, 75));
    write("jpeg", "progressive.jpg", test::jpegBytes(image, true, false));
    write("jpeg", "grayscale.jpg", test::jpegBytes(picture(24, 8), false, true));
}

void bitmapFiles() {
    // Paletted kinds take few colours: the picture has four.
    const QImage image = picture(12, 6);
    write("bmp", "paletted8.bmp", test::bitmapBytes(test::BitmapKind::Paletted8, image));
    write("bmp", "rle8.bmp", test::bitmapBytes(test::BitmapKind::Rle8, image));
    write("bmp", "rle4.bmp", test::bitmapBytes(test::BitmapKind::Rle4, image));
    write("bmp", "rgb32.bmp", test::bitmapBytes(test::BitmapKind::Rgb32, image));
    write("bmp", "argb32v5.bmp", test::bitmapBytes(test::BitmapKind::Argb32V5, picture(5, 3)));
}

std::uint32_t le32(const QByteArray& b, qsizetype at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

// The chunks of b[from, to) without the JUNK chunks the muxer reserves for a larger index:
// smaller seeds, the same file to the reader (the index counts from the picture list).
QByteArray withoutJunk(const QByteArray& b, qsizetype from, qsizetype to) {
    QByteArray out;
    for (qsizetype at = from; at + 8 <= to;) {
        const QByteArray id = b.mid(at, 4);
        const qsizetype size = le32(b, at + 4), next = at + 8 + size + (size & 1);
        if (id == "RIFF" || id == "LIST") {
            const QByteArray inner = b.mid(at + 8, 4) + withoutJunk(b, at + 12, at + 8 + size);
            const auto n = static_cast<std::uint32_t>(inner.size());
            out += id;
            for (int i = 0; i < 4; ++i) out += static_cast<char>((n >> (8 * i)) & 0xFF);
            out += inner;
        } else if (id != "JUNK") {
            out += b.mid(at, next - at);
        }
        at = next;
    }
    return out;
}

void compactAvi(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        throw std::runtime_error("cannot read " + path.toStdString());
    const QByteArray bytes = file.readAll();
    const QByteArray compact = withoutJunk(bytes, 0, bytes.size());
    file.resize(0);
    file.seek(0);
    file.write(compact);
}

void aviFiles() {
    writers::AviFormat silent;
    silent.width = 16;
    silent.height = 16;
    silent.quality = 20;
    silent.sampleRate = 0;
    writers::writeAvi(pathOf("avi", "silent.avi"), silent,
                      {picture(16, 16), picture(16, 16).mirrored()}, {});
    compactAvi(pathOf("avi", "silent.avi"));
    writers::AviFormat sound = silent;
    sound.width = 8;
    sound.height = 8;
    sound.sampleRate = 8000;
    std::vector<std::int16_t> samples(400);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>((i % 40) * 800 - 16000);
    writers::writeAvi(pathOf("avi", "sound.avi"), sound, {picture(8, 8)}, samples);
    compactAvi(pathOf("avi", "sound.avi"));
}

void midiFiles() {
    writers::MidiTrack conductor;
    conductor.trackName(0, "tempo");
    conductor.tempo(0, 600000);
    conductor.tempo(480, 400000);
    conductor.endOfTrack(960);
    writers::MidiTrack tune;
    tune.programChange(0, 0, 40);
    tune.controlChange(0, 0, 7, 100);
    for (int i = 0; i < 6; ++i) tune.note(static_cast<std::uint32_t>(i * 160), 150, 0, 60 + i, 90);
    tune.pitchBend(900, 0, 9000);
    write("midi", "two_tracks.mid", writers::midiBytes({conductor, tune}, 480));
    writers::MidiTrack drums;
    drums.note(0, 10, 9, 36, 127);
    drums.note(25, 10, 9, 38, 127);
    // SMPTE time: 25 frames a second, 40 ticks a frame.
    write("midi", "smpte.mid", writers::midiBytes({drums}, 0xE728));
}

void questionFiles() {
    std::vector<bank::Question> questions(2);
    questions[0] = {QStringLiteral("1a1"),
                    QStringLiteral("Quelle est la capitale de l'Italie ?"),
                    QStringLiteral("Rome"),
                    QStringLiteral("Milan"),
                    QStringLiteral("Naples"),
                    QStringLiteral("Turin"),
                    QStringLiteral("Géographie"),
                    QStringLiteral("1"),
                    2};
    questions[1] = {QStringLiteral("4f19"),
                    QStringLiteral("Combien font 7 × 8 ?"),
                    QStringLiteral("54"),
                    QStringLiteral("56"),
                    QStringLiteral("64"),
                    QStringLiteral("48"),
                    QStringLiteral("Calcul"),
                    QStringLiteral("deux"),
                    3};
    const QString path = pathOf("questions", "questionnaire.db");
    bank::writeTable(path, questions);
    // The smallest pages the engine takes keep the file small enough to fuzz.
    sqlite3* db = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open(name.constData(), &db) != SQLITE_OK ||
        sqlite3_exec(db, "PRAGMA page_size = 512; VACUUM;", nullptr, nullptr, nullptr) !=
            SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot compact " + path.toStdString());
    }
    sqlite3_close(db);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorn-fuzz-corpus DIR\n");
        return 2;
    }
    root = QString::fromLocal8Bit(argv[1]);
    try {
        iniFiles();
        jpegFiles();
        bitmapFiles();
        aviFiles();
        midiFiles();
        questionFiles();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorn-fuzz-corpus: %s\n", e.what());
        return 1;
    }
    return 0;
}
