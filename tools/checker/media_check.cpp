// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/checker/media_check.h"

#include "core/pack.h"
#include "platform/budgets.h"
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
#include <memory>
#include <optional>
#include <vector>

namespace vorn::check {

namespace {

constexpr std::int64_t kTuneMinMs = 30000;
constexpr std::int64_t kTuneMaxMs = 90000;
// A level tune repeats as soon as its last event is over: more silence than this before the
// end of the file is heard as a gap in the loop.
constexpr std::int64_t kLoopGapMs = 500;
constexpr std::int64_t kSoundMaxMs = 1000;

// How long an interlude may last: the intro a little longer than the others.
struct Lasting {
    std::int64_t minMs;
    std::int64_t maxMs;
};
Lasting lastingOf(int video) {
    return video == 0 ? Lasting{6000, 12000} : Lasting{3000, 8000};
}

// The hourglass: its first frame shows while stopped, the question's frames play in its time.
namespace L = layout::niv;
constexpr double kQuestionSeconds = L::TimerQuestMs / 1000.0;
constexpr double kQuestionSlack = 0.2;

class Checker {
  public:
    Checker(const QString& gameDir, Report& report) : dir_(gameDir), report_(report) {}

    QString path(const QString& file) const { return dir_.filePath(file); }

    // The file opened, or nothing (with the fault reported) when it is missing or unreadable.
    std::unique_ptr<QFile> open(const QString& file) {
        auto f = std::make_unique<QFile>(path(file));
        if (!QFileInfo(*f).isFile()) {
            report_.fail(file, QStringLiteral("missing"));
            return nullptr;
        }
        if (!f->open(QIODevice::ReadOnly)) {
            report_.fail(file, QStringLiteral("cannot be read"));
            return nullptr;
        }
        return f;
    }

    // The file's bytes, or nothing (with the fault reported) when it is missing or unreadable.
    // Only for files whose size their budget has bounded.
    std::optional<QByteArray> read(const QString& file) {
        const auto f = open(file);
        if (!f) return std::nullopt;
        return f->readAll();
    }

    void fail(const QString& file, const QString& message) { report_.fail(file, message); }

  private:
    QDir dir_;
    Report& report_;
};

void checkPicture(Checker& c, const pack::PictureFile& expected) {
    const QString& file = expected.file;
    const auto opened = c.open(file);
    if (!opened) return;
    DecodedPicture picture;
    try {
        // The game's own decoder, as the game shows the picture: what it refuses, the checker
        // refuses, with the same words, and it takes no more memory than the game does.
        const PictureView view{expected.stretched ? PictureView::Stretched : PictureView::Clipped,
                               expected.size};
        picture = decodePicture(*opened, QFileInfo(file).suffix(), view);
    } catch (const Error& e) {
        c.fail(file, QStringLiteral("cannot be loaded: %1").arg(e.message()));
        return;
    }
    const QImage& image = picture.image;
    if (picture.fullSize != expected.size)
        c.fail(file, QStringLiteral("is %1 x %2, the screen needs %3 x %4")
                         .arg(picture.fullSize.width())
                         .arg(picture.fullSize.height())
                         .arg(expected.size.width())
                         .arg(expected.size.height()));
    if (expected.seeThrough && !image.isNull()) {
        const QRgb key = picture.corner;
        bool shows = false;
        for (int y = 0; y < image.height() && !shows; ++y)
            for (int x = 0; x < image.width() && !shows; ++x)
                shows = (image.pixel(x, y) | 0xFF000000u) != key;
        if (!shows)
            c.fail(file, QStringLiteral("is all in its see-through colour: nothing would show"));
    }
}

void checkTune(Checker& c, const QString& file, bool loops, std::map<QString, QByteArray>& seen) {
    if (!c.open(file)) return;
    std::int64_t length = 0;
    try {
        const MediaFileInfo info = inspectMediaFile(c.path(file));
        length = info.lengthMs;
    } catch (const OverBudget& e) {
        c.fail(file, e.reason());
        return;
    } catch (const Error& e) {
        c.fail(file, QStringLiteral("cannot be opened by the sequencer: %1").arg(e.message()));
        return;
    }
    const auto bytes = c.read(file);
    if (!bytes) return;
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

void checkSound(Checker& c, const QString& file) {
    const auto opened = c.open(file);
    if (!opened) return;
    std::int64_t length = 0;
    try {
        length = inspectMediaFile(c.path(file)).lengthMs;
    } catch (const OverBudget& e) {
        c.fail(file, e.reason());
        return;
    } catch (const Error& e) {
        // Why, when the header tells: a data chunk longer than the file is a file cut short.
        const auto info = probe::wave(*opened);
        if (info && info->declaredBytes > info->dataBytes)
            c.fail(file, QStringLiteral("is truncated: %1 bytes of sound of %2")
                             .arg(info->dataBytes)
                             .arg(info->declaredBytes));
        else
            c.fail(file, QStringLiteral("cannot be opened as wave audio: %1").arg(e.message()));
        return;
    }
    if (length <= 0)
        c.fail(file, QStringLiteral("holds no sound"));
    else if (length >= kSoundMaxMs)
        c.fail(file, QStringLiteral("lasts %1 ms, a sound effect must stay under %2 ms")
                         .arg(length)
                         .arg(kSoundMaxMs));
}

// Opens a video with the game's own readers: its measures, or nothing (with the fault reported).
std::optional<playable::VideoInfo> openVideo(Checker& c, const QString& file) {
    if (!c.open(file)) return std::nullopt;
    try {
        inspectMediaFile(c.path(file));
    } catch (const OverBudget& e) {
        c.fail(file, e.reason());
        return std::nullopt;
    } catch (const Error& e) {
        c.fail(file, QStringLiteral("cannot be opened as a video: %1").arg(e.message()));
        return std::nullopt;
    }
    const auto probed = playable::video(c.path(file));
    if (!probed) {
        c.fail(file, QStringLiteral("has no video stream that FFmpeg can read"));
        return std::nullopt;
    }
    return probed;
}

// A video's pictures that decode, against those its header announces.
bool checkFrames(Checker& c, const QString& file, const playable::VideoInfo& info,
                 std::int64_t decoded) {
    if (decoded == 0) {
        c.fail(file, QStringLiteral("its pictures cannot be decoded"));
        return false;
    }
    if (info.frameCount > 0 && decoded < info.frameCount)
        c.fail(file, QStringLiteral("is truncated: %1 of its %2 frames decode")
                         .arg(decoded)
                         .arg(info.frameCount));
    return true;
}

void checkVideo(Checker& c, const pack::VideoFile& expected, Lasting lasting) {
    const QString& file = expected.file;
    const auto opened = openVideo(c, file);
    if (!opened) return;
    const playable::VideoInfo& info = *opened;
    // Each picture decoded and let go: an interlude plays as it decodes.
    if (!checkFrames(c, file, info, avi::countFrames(c.path(file)).value_or(0))) return;
    if (info.width != expected.frame.width() || info.height != expected.frame.height())
        c.fail(file, QStringLiteral("is %1 x %2, its frame is %3 x %4")
                         .arg(info.width)
                         .arg(info.height)
                         .arg(expected.frame.width())
                         .arg(expected.frame.height()));
    if (info.lengthMs < lasting.minMs || info.lengthMs > lasting.maxMs)
        c.fail(file, QStringLiteral("lasts %1 s, it must last %2 to %3 s")
                         .arg(info.lengthMs / 1000.0, 0, 'f', 1)
                         .arg(lasting.minMs / 1000)
                         .arg(lasting.maxMs / 1000));
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
    const QString file = pack::file(pack::hourglass);
    const QSize size = L::sablier.box.size();
    const int last = L::sablierLastFrame;
    const auto opened = openVideo(c, file);
    if (!opened) return;
    const playable::VideoInfo& info = *opened;
    if (info.width != size.width() || info.height != size.height())
        c.fail(file, QStringLiteral("is %1 x %2, the hourglass is %3 x %4")
                         .arg(info.width)
                         .arg(info.height)
                         .arg(size.width())
                         .arg(size.height()));
    // The hourglass keeps its frames decoded, within the animation budget, as the game does.
    std::optional<AnimationClip> clip;
    try {
        clip = avi::decodeFrames(c.path(file));
    } catch (const Error& e) {
        c.fail(file, e.message());
        return;
    }
    if (!checkFrames(c, file, info, clip ? static_cast<std::int64_t>(clip->frames.size()) : 0))
        return;
    const auto frames = static_cast<int>(clip->frames.size());
    if (frames < last) {
        c.fail(file, QStringLiteral("has %1 frames, the question plays frames %2 to %3")
                         .arg(frames)
                         .arg(L::sablierFirstFrame)
                         .arg(last));
        return;
    }
    const double seconds =
        clip->framesPerSecond > 0 ? (last - L::sablierFirstFrame + 1) / clip->framesPerSecond : 0;
    if (std::abs(seconds - kQuestionSeconds) > kQuestionSlack)
        c.fail(file,
               QStringLiteral(
                   "plays frames %1 to %2 in %3 s at %4 frames a second; a question lasts %5 s")
                   .arg(L::sablierFirstFrame)
                   .arg(last)
                   .arg(seconds, 0, 'f', 2)
                   .arg(clip->framesPerSecond, 0, 'f', 3)
                   .arg(kQuestionSeconds));
    // The sand must be seen to run: the last frame of a question differs from its first.
    if (changedShare(clip->frames[L::sablierFirstFrame - 1], clip->frames[last - 1]) < 0.02)
        c.fail(file, QStringLiteral("frames %1 and %2 look the same: no time is seen to pass")
                         .arg(L::sablierFirstFrame)
                         .arg(last));
}

}  // namespace

void checkMedia(const QString& gameDir, Report& report) {
    Checker c(gameDir, report);
    for (const pack::PictureFile& picture : pack::pictures()) checkPicture(c, picture);

    std::map<QString, QByteArray> tunes;
    const QStringList tuneFiles = pack::tunes();
    for (const QString& tune : tuneFiles) checkTune(c, tune, tune != tuneFiles.front(), tunes);
    for (const QString& sound : pack::sounds()) checkSound(c, sound);

    const auto videos = pack::interludes();
    for (std::size_t n = 0; n < videos.size(); ++n)
        checkVideo(c, videos[n], lastingOf(static_cast<int>(n)));
    checkHourglass(c);

    const QString help = pack::file(pack::rules);
    if (const auto bytes = c.read(help); bytes && bytes->trimmed().isEmpty())
        c.fail(help, QStringLiteral("is empty"));

    const QString save = pack::file(pack::saveDirectory);
    const QFileInfo saveInfo(QDir(gameDir).filePath(save));
    if (!saveInfo.isDir())
        report.fail(save, saveInfo.exists() ? QStringLiteral("is not a folder")
                                            : QStringLiteral("missing: the game never creates it"));
}

}  // namespace vorn::check
