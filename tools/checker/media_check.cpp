#include "tools/checker/media_check.h"

#include "platform/errors.h"
#include "platform/images.h"
#include "platform/media/avi.h"
#include "platform/media/midifile.h"
#include "platform/media/playable.h"
#include "platform/media/probe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

namespace vorn::check {

namespace {

struct PictureSpec {
    const char* file;
    int width;
    int height;
    bool seeThrough;  // shown with the colour of its bottom-left pixel made transparent
};

const PictureSpec kPictures[] = {
    {"image/titre.jpg", 640, 440, false},   {"image/resultats.jpg", 640, 440, false},
    {"image/niv1.jpg", 640, 440, false},    {"image/niv2.jpg", 640, 440, false},
    {"image/niv3.jpg", 640, 440, false},    {"image/niv4.jpg", 640, 440, false},
    {"image/aliasMb.bmp", 85, 115, true},   {"image/aliasMb-a.bmp", 85, 115, true},
    {"image/aliasMb-b.bmp", 85, 115, true}, {"image/aliasMb-c.bmp", 85, 115, true},
    {"image/aliasMb-d.bmp", 85, 115, true}, {"image/aliasMb-e.bmp", 85, 115, true},
    {"image/juste.bmp", 35, 35, true},      {"image/faux.bmp", 35, 35, true},
    {"image/alarme.bmp", 90, 120, false},
};

constexpr std::int64_t kTuneMinMs = 30000;
constexpr std::int64_t kTuneMaxMs = 90000;
// A level tune repeats as soon as its last event is over: more silence than this before the
// end of the file is heard as a gap in the loop.
constexpr std::int64_t kLoopGapMs = 500;
constexpr std::int64_t kSoundMaxMs = 1000;

struct VideoSpec {
    const char* file;
    int width;
    int height;
    std::int64_t minMs;
    std::int64_t maxMs;
};

const VideoSpec kVideos[] = {
    {"video/0.avi", 512, 375, 6000, 12000}, {"video/1.avi", 512, 375, 3000, 8000},
    {"video/2.avi", 512, 375, 3000, 8000},  {"video/3.avi", 512, 375, 3000, 8000},
    {"video/4.avi", 512, 375, 3000, 8000},  {"video/5.avi", 512, 375, 3000, 8000},
    {"video/6.avi", 528, 192, 3000, 8000},
};

// The hourglass: frame 1 shows while stopped, frames 2 to 44 play in the 9850 ms of a question.
const char* const kHourglass = "video/sablier2.avi";
constexpr int kHourglassWidth = 80;
constexpr int kHourglassHeight = 110;
constexpr int kHourglassLastFrame = 44;
constexpr double kQuestionSeconds = 9.85;
constexpr double kQuestionSlack = 0.2;

class Checker {
  public:
    Checker(const QString& gameDir, Report& report) : dir_(gameDir), report_(report) {}

    QString path(const QString& file) const { return dir_.filePath(file); }

    // The file's bytes, or nothing (with the fault reported) when it is missing or unreadable.
    std::optional<QByteArray> read(const QString& file) {
        QFile f(path(file));
        if (!QFileInfo(f).isFile()) {
            report_.fail(file, QStringLiteral("missing"));
            return std::nullopt;
        }
        if (!f.open(QIODevice::ReadOnly)) {
            report_.fail(file, QStringLiteral("cannot be read"));
            return std::nullopt;
        }
        return f.readAll();
    }

    void fail(const QString& file, const QString& message) { report_.fail(file, message); }

  private:
    QDir dir_;
    Report& report_;
};

std::uint32_t le32(const QByteArray& b, qsizetype at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

void checkPicture(Checker& c, const PictureSpec& expected) {
    const QString file = QString::fromLatin1(expected.file);
    const auto bytes = c.read(file);
    if (!bytes) return;
    QImage image;
    try {
        // The game's own decoder: what it refuses, the checker refuses, with the same words.
        image = decodePicture(*bytes, QFileInfo(file).suffix());
    } catch (const Error& e) {
        c.fail(file, QStringLiteral("cannot be loaded: %1").arg(e.message()));
        return;
    }
    if (image.width() != expected.width || image.height() != expected.height)
        c.fail(file, QStringLiteral("is %1 x %2, the screen needs %3 x %4")
                         .arg(image.width())
                         .arg(image.height())
                         .arg(expected.width)
                         .arg(expected.height));
    if (expected.seeThrough && !image.isNull()) {
        const QRgb key = image.pixel(0, image.height() - 1) | 0xFF000000u;
        bool shows = false;
        for (int y = 0; y < image.height() && !shows; ++y)
            for (int x = 0; x < image.width() && !shows; ++x)
                shows = (image.pixel(x, y) | 0xFF000000u) != key;
        if (!shows)
            c.fail(file, QStringLiteral("is all in its see-through colour: nothing would show"));
    }
}

void checkTune(Checker& c, const QString& file, bool loops, std::map<QString, QByteArray>& seen) {
    const auto bytes = c.read(file);
    if (!bytes) return;
    std::int64_t length = 0;
    try {
        const MediaFileInfo info = inspectMediaFile(c.path(file));
        length = info.lengthMs;
    } catch (const Error& e) {
        c.fail(file, QStringLiteral("cannot be opened by the sequencer: %1").arg(e.message()));
        return;
    }
    const auto timing = midi::readTiming(*bytes);
    if (!timing || timing->notes == 0) {
        c.fail(file, QStringLiteral("has no notes: nothing would be heard"));
        return;
    }
    if (length < kTuneMinMs || length > kTuneMaxMs)
        c.fail(file, QStringLiteral("lasts %1 s, a tune must last %2 to %3 s")
                         .arg(length / 1000.0, 0, 'f', 1)
                         .arg(kTuneMinMs / 1000)
                         .arg(kTuneMaxMs / 1000));
    if (loops) {
        const double gapMs = midi::msAtTick(*timing, timing->lastTick) -
                             midi::msAtTick(*timing, timing->lastNoteTick);
        if (gapMs > kLoopGapMs)
            c.fail(file, QStringLiteral("ends with %1 ms without a note: its loop would stop short")
                             .arg(std::lround(gapMs)));
    }
    for (const auto& [other, otherBytes] : seen)
        if (otherBytes == *bytes) c.fail(file, QStringLiteral("is the same tune as %1").arg(other));
    seen.emplace(file, *bytes);
}

// The size of the data chunk a WAVE file declares, which may be more than it holds.
std::optional<std::int64_t> declaredWaveData(const QByteArray& b) {
    qsizetype pos = 12;
    while (pos + 8 <= b.size()) {
        const QByteArray id = b.mid(pos, 4);
        const std::uint32_t size = le32(b, pos + 4);
        if (id == "data") return size;
        pos += 8 + size + (size & 1);
    }
    return std::nullopt;
}

void checkSound(Checker& c, const QString& file) {
    const auto bytes = c.read(file);
    if (!bytes) return;
    std::int64_t length = 0;
    try {
        length = inspectMediaFile(c.path(file)).lengthMs;
    } catch (const Error& e) {
        c.fail(file, QStringLiteral("cannot be opened as wave audio: %1").arg(e.message()));
        return;
    }
    // The header as written: a data chunk longer than the file is a file cut short.
    if (const auto info = probe::wave(*bytes)) {
        if (const auto declared = declaredWaveData(*bytes); declared && *declared > info->dataBytes)
            c.fail(file, QStringLiteral("is truncated: %1 bytes of sound of %2")
                             .arg(info->dataBytes)
                             .arg(*declared));
    }
    if (length <= 0)
        c.fail(file, QStringLiteral("holds no sound"));
    else if (length >= kSoundMaxMs)
        c.fail(file, QStringLiteral("lasts %1 ms, a sound effect must stay under %2 ms")
                         .arg(length)
                         .arg(kSoundMaxMs));
}

// Opens a video with the game's own readers; the frames on success.
std::optional<AnimationClip> openVideo(Checker& c, const QString& file, playable::VideoInfo& info) {
    if (!c.read(file)) return std::nullopt;
    try {
        inspectMediaFile(c.path(file));
    } catch (const Error& e) {
        c.fail(file, QStringLiteral("cannot be opened as a video: %1").arg(e.message()));
        return std::nullopt;
    }
    const auto probed = playable::video(c.path(file));
    if (!probed) {
        c.fail(file, QStringLiteral("has no video stream that FFmpeg can read"));
        return std::nullopt;
    }
    info = *probed;
    auto clip = avi::decodeFrames(c.path(file));
    if (!clip) {
        c.fail(file, QStringLiteral("its pictures cannot be decoded"));
        return std::nullopt;
    }
    const auto decoded = static_cast<std::int64_t>(clip->frames.size());
    if (info.frameCount > 0 && decoded < info.frameCount)
        c.fail(file, QStringLiteral("is truncated: %1 of its %2 frames decode")
                         .arg(decoded)
                         .arg(info.frameCount));
    return clip;
}

void checkVideo(Checker& c, const VideoSpec& expected) {
    const QString file = QString::fromLatin1(expected.file);
    playable::VideoInfo info;
    const auto clip = openVideo(c, file, info);
    if (!clip) return;
    if (info.width != expected.width || info.height != expected.height)
        c.fail(file, QStringLiteral("is %1 x %2, its frame is %3 x %4")
                         .arg(info.width)
                         .arg(info.height)
                         .arg(expected.width)
                         .arg(expected.height));
    if (info.lengthMs < expected.minMs || info.lengthMs > expected.maxMs)
        c.fail(file, QStringLiteral("lasts %1 s, it must last %2 to %3 s")
                         .arg(info.lengthMs / 1000.0, 0, 'f', 1)
                         .arg(expected.minMs / 1000)
                         .arg(expected.maxMs / 1000));
    if (!info.hasAudio)
        c.fail(file, QStringLiteral("has no sound track"));
    else if (!info.audioDecodes)
        c.fail(file,
               QStringLiteral("has a sound track that cannot be decoded: it would play silent"));
}

// Share of the pixels that differ clearly between two pictures of one size.
double changedShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return 0;
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q)) >
                90)
                ++changed;
        }
    return static_cast<double>(changed) / (a.width() * a.height());
}

void checkHourglass(Checker& c) {
    const QString file = QString::fromLatin1(kHourglass);
    playable::VideoInfo info;
    const auto clip = openVideo(c, file, info);
    if (!clip) return;
    if (info.width != kHourglassWidth || info.height != kHourglassHeight)
        c.fail(file, QStringLiteral("is %1 x %2, the hourglass is %3 x %4")
                         .arg(info.width)
                         .arg(info.height)
                         .arg(kHourglassWidth)
                         .arg(kHourglassHeight));
    const auto frames = static_cast<int>(clip->frames.size());
    if (frames < kHourglassLastFrame) {
        c.fail(file, QStringLiteral("has %1 frames, the question plays frames 2 to %2")
                         .arg(frames)
                         .arg(kHourglassLastFrame));
        return;
    }
    const double seconds =
        clip->framesPerSecond > 0 ? (kHourglassLastFrame - 1) / clip->framesPerSecond : 0;
    if (std::abs(seconds - kQuestionSeconds) > kQuestionSlack)
        c.fail(file,
               QStringLiteral(
                   "plays frames 2 to %1 in %2 s at %3 frames a second; a question lasts %4 s")
                   .arg(kHourglassLastFrame)
                   .arg(seconds, 0, 'f', 2)
                   .arg(clip->framesPerSecond, 0, 'f', 3)
                   .arg(kQuestionSeconds));
    // The sand must be seen to run: the last frame of a question differs from its first.
    if (changedShare(clip->frames[1], clip->frames[kHourglassLastFrame - 1]) < 0.02)
        c.fail(file, QStringLiteral("frames 2 and %1 look the same: no time is seen to pass")
                         .arg(kHourglassLastFrame));
}

}  // namespace

void checkMedia(const QString& gameDir, Report& report) {
    Checker c(gameDir, report);
    for (const PictureSpec& picture : kPictures) checkPicture(c, picture);

    std::map<QString, QByteArray> tunes;
    checkTune(c, QStringLiteral("son/titre.mid"), false, tunes);
    for (int n = 1; n <= 6; ++n) checkTune(c, QStringLiteral("son/%1.mid").arg(n), true, tunes);
    checkSound(c, QStringLiteral("son/juste.wav"));
    checkSound(c, QStringLiteral("son/faux.wav"));

    for (const VideoSpec& video : kVideos) checkVideo(c, video);
    checkHourglass(c);

    const QString help = QStringLiteral("vorn.hlp");
    if (const auto bytes = c.read(help); bytes && bytes->trimmed().isEmpty())
        c.fail(help, QStringLiteral("is empty"));

    const QString save = QStringLiteral("save");
    const QFileInfo saveInfo(QDir(gameDir).filePath(save));
    if (!saveInfo.isDir())
        report.fail(save, saveInfo.exists() ? QStringLiteral("is not a folder")
                                            : QStringLiteral("missing: the game never creates it"));
}

}  // namespace vorn::check
