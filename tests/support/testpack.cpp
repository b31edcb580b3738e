#include "support/testpack.h"

#include "content/writers/aviwriter.h"
#include "content/writers/jpegwriter.h"
#include "content/writers/midiwriter.h"
#include "content/writers/wavwriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <stdexcept>

#include <sqlite3.h>

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
        samples[i] = static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * hz * static_cast<double>(i) / rate));
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
    for (int i = 0; i < frames; ++i) writer.addFrame(plain(w, h, QColor(20 * (i % 12), 40, 200 - 4 * (i % 40))));
    writer.finish();
}

// Makes the pack's files in `dir`.
void makePack(const QString& dir) {
    QDir d(dir);
    for (const char* sub : {"dB", "image", "son", "video", "save"}) d.mkpath(QLatin1String(sub));
    writers::writeJpeg(d.filePath(QStringLiteral("image/titre.jpg")), plain(64, 44, QColor(240, 230, 200)));
    writers::writeJpeg(d.filePath(QStringLiteral("image/resultats.jpg")), plain(64, 44, QColor(230, 240, 250)));
    for (int level = 1; level <= 4; ++level)
        writers::writeJpeg(d.filePath(QStringLiteral("image/niv%1.jpg").arg(level)),
                           plain(64, 44, QColor(10 * level, 30, 90)));
    writeKeyedBmp(d.filePath(QStringLiteral("image/aliasMb.bmp")), 85, 115, Qt::darkYellow);
    for (char face = 'a'; face <= 'e'; ++face)
        writeKeyedBmp(d.filePath(QStringLiteral("image/aliasMb-%1.bmp").arg(QLatin1Char(face))), 85, 115,
                      QColor(40 * (face - 'a'), 200, 100));
    writeKeyedBmp(d.filePath(QStringLiteral("image/juste.bmp")), 35, 35, Qt::green);
    writeKeyedBmp(d.filePath(QStringLiteral("image/faux.bmp")), 35, 35, Qt::red);
    plain(90, 120, QColor(250, 200, 0)).save(d.filePath(QStringLiteral("image/alarme.bmp")), "BMP");
    writeTune(d.filePath(QStringLiteral("son/titre.mid")), kTuneMs, 60);
    for (int n = 1; n <= 6; ++n) writeTune(d.filePath(QStringLiteral("son/%1.mid").arg(n)), kTuneMs, 60 + n);
    writers::writeWav(d.filePath(QStringLiteral("son/juste.wav")), tone(kSoundMs, 8000, 880), 1, 8000);
    writers::writeWav(d.filePath(QStringLiteral("son/faux.wav")), tone(kSoundMs, 8000, 110), 1, 8000);
    for (int n = 0; n <= 6; ++n)
        writeVideo(d.filePath(QStringLiteral("video/%1.avi").arg(n)), n == 6 ? 33 : 32, n == 6 ? 12 : 24,
                   15 * kVideoMs / 1000, 15, 1, true);
    writeVideo(d.filePath(QStringLiteral("video/sablier2.avi")), 16, 22, 45, 860, 197, false);
    QFile help(d.filePath(QStringLiteral("vorn.hlp")));
    help.open(QIODevice::WriteOnly);
    help.write("<html><body>Règles</body></html>");
}

// The pack is made once for the build (every test process copies it): in a folder of its own
// beside the tests, made under another name and renamed when complete, so that test processes
// running side by side never see half a pack.
QString masterPack() {
    static const QString master = [] {
        // Bump the number when makePack() changes, so that an old pack is not reused.
        const QString path = QStringLiteral(VORN_BUILD_DIR "/testpack-2");
        if (QFileInfo(path + QStringLiteral("/complete")).exists()) return path;
        QTemporaryDir staging(QStringLiteral(VORN_BUILD_DIR "/testpack-staging-XXXXXX"));
        if (!staging.isValid()) throw std::runtime_error("no folder for the test pack");
        makePack(staging.path());
        QFile(staging.path() + QStringLiteral("/complete")).open(QIODevice::WriteOnly);
        QDir().rename(staging.path(), path);  // another process may have won: its pack is the same
        return path;
    }();
    return master;
}

// A plain copy: QFile::copy syncs every file to the disk, which tests do not need.
void copyFile(const QString& from, const QString& to) {
    QFile in(from), out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot copy the test pack");
    out.write(in.readAll());
}

void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    QDir target(to);
    while (it.hasNext()) {
        it.next();
        const QString relative = QDir(from).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir())
            target.mkpath(relative);
        else if (it.fileName() != u"complete")
            copyFile(it.filePath(), target.filePath(relative));
    }
}

}  // namespace

int rightAnswer(const QString& code) {
    return 1 + code.mid(2).toInt() % 4;
}

int wrongAnswer(const QString& code) {
    return rightAnswer(code) % 4 + 1;
}

QString keypad(int n) {
    return QStringLiteral("KP%1").arg(n);
}

TestPack::TestPack() : dir_(std::make_unique<QTemporaryDir>()) {
    copyTree(masterPack(), dir_->path());
    writeTable({});
}

TestPack::~TestPack() = default;

QString TestPack::dir() const {
    return dir_->path();
}

QString TestPack::path(const QString& relative) const {
    return QDir(dir_->path()).filePath(relative);
}

void TestPack::remove(const QString& relative) {
    const QString p = path(relative);
    if (QFileInfo(p).isDir())
        QDir(p).removeRecursively();
    else
        QFile::remove(p);
}

void TestPack::write(const QString& relative, const QByteArray& bytes) {
    QFile file(path(relative));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("cannot write test file");
    file.write(bytes);
}

void TestPack::writeTable(const TableOptions& options) {
    QDir(dir()).mkpath(QStringLiteral("dB"));
    const QString file = path(options.file);
    QFile::remove(file);
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    const QString create =
        options.withBr ? QStringLiteral(
                             "CREATE TABLE %1 (code TEXT, enonce TEXT, r1 TEXT, r2 TEXT, r3 TEXT, "
                             "r4 TEXT, Theme TEXT, %2 INTEGER)")
                             .arg(options.table, options.brColumnName)
                       : QStringLiteral(
                             "CREATE TABLE %1 (code TEXT, enonce TEXT, r1 TEXT, r2 TEXT, r3 TEXT, "
                             "r4 TEXT, Theme TEXT)")
                             .arg(options.table);
    sqlite3_exec(db, "PRAGMA synchronous = OFF; PRAGMA journal_mode = OFF", nullptr, nullptr, nullptr);
    sqlite3_exec(db, create.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    const QString sql =
        QStringLiteral("INSERT INTO %1 VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7%2)")
            .arg(options.table, options.withBr ? QStringLiteral(", ?8") : QString());
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &insert, nullptr);
    for (int level = 1; level <= 4; ++level)
        for (char letter = 'a'; letter <= 'f'; ++letter)
            for (int n = 1; n <= 19; ++n) {
                const QString code = QStringLiteral("%1%2%3").arg(level).arg(QLatin1Char(letter)).arg(n);
                if (options.keep && !options.keep(code)) continue;
                const QString texts[] = {code,
                                         QStringLiteral("%1 %2 ?").arg(options.question, code),
                                         QStringLiteral("Réponse 1 de %1").arg(code),
                                         QStringLiteral("Réponse 2 de %1").arg(code),
                                         QStringLiteral("Réponse 3 de %1").arg(code),
                                         QStringLiteral("Réponse 4 de %1").arg(code),
                                         QStringLiteral("Thème %1").arg(QLatin1Char(letter))};
                for (int i = 0; i < 7; ++i) {
                    const QByteArray utf8 = texts[i].toUtf8();
                    sqlite3_bind_text(insert, i + 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
                }
                if (options.withBr) {
                    const QVariant br = options.br ? options.br(code) : QVariant(rightAnswer(code));
                    if (br.typeId() == QMetaType::Double) {
                        sqlite3_bind_double(insert, 8, br.toDouble());
                    } else if (br.typeId() == QMetaType::QString) {
                        const QByteArray utf8 = br.toString().toUtf8();
                        sqlite3_bind_text(insert, 8, utf8.constData(),
                                          static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
                    } else {
                        sqlite3_bind_int64(insert, 8, br.toLongLong());
                    }
                }
                sqlite3_step(insert);
                sqlite3_reset(insert);
            }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

}  // namespace vorn::test
