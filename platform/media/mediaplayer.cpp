// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/mediaplayer.h"

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/label.h"
#include "platform/media/backend.h"
#include "platform/media/mediaservice.h"

namespace vorn {

MediaPlayer::MediaPlayer(MediaService& service, QString name)
    : service_(service), name_(std::move(name)) {}

MediaPlayer::~MediaPlayer() {
    close();
}

void MediaPlayer::open() {
    close();
    service_.record(QStringLiteral("open"), fileName_);
    device_ = service_.backend().open(fileName_);
    openPath_ = fileName_;
    mode_ = Mode::Stopped;
    position_ = 0;
}

void MediaPlayer::play() {
    if (!device_) throw Error(mediaerror::notOpen());
    cancelCompletion();
    const std::int64_t length = device_->lengthMs();
    if (position_ >= length) position_ = 0;  // standing at its end: back to the start
    service_.record(QStringLiteral("play"), openPath_);
    if (length <= 0) {
        playNothing();
        return;
    }
    emptyEndReported_ = false;
    if (wait_) {
        wait_ = false;
        mode_ = Mode::Playing;
        device_->playToEnd(display_, position_);
        position_ = length;
        mode_ = Mode::Stopped;
        if (onNotify_) completion_ = service_.clock().callLater(0, [this] { completed(); });
        return;
    }
    device_->start(position_);
    mode_ = Mode::Playing;
    startedAt_ = service_.clock().nowMs();
    completion_ = service_.clock().callLater(length - position_, [this] {
        position_ = device_ ? device_->lengthMs() : 0;
        mode_ = Mode::Stopped;
        completed();
    });
}

void MediaPlayer::playNothing() {
    // A file with nothing in it ends where it starts. Its end is reported once: a notice handler
    // that plays it again (the level music) would otherwise be called back at the same instant
    // without end. Opening it, or another empty file, afresh does not report an end again; a
    // play of something with a length does.
    if (wait_) {
        wait_ = false;
        device_->playToEnd(display_, 0);  // a picture it holds is still shown
    }
    mode_ = Mode::Stopped;
    position_ = 0;
    if (emptyEndReported_) return;
    emptyEndReported_ = true;
    completion_ = service_.clock().callLater(0, [this] { completed(); });
}

void MediaPlayer::completed() {
    completion_ = 0;
    // The notice arrives as an event: the handler runs through the guard like any other.
    if (onNotify_) {
        auto handler = onNotify_;
        service_.clock().guard().run(handler);
    }
}

void MediaPlayer::stop() {
    if (!device_) throw Error(mediaerror::notOpen());
    if (mode_ == Mode::Playing) {
        position_ = position();
        device_->halt();
    }
    cancelCompletion();
    mode_ = Mode::Stopped;
    service_.record(QStringLiteral("stop"), openPath_);
}

void MediaPlayer::close() {
    cancelCompletion();
    if (!device_) return;
    device_.reset();  // closing the device silences it
    service_.record(QStringLiteral("close"), openPath_);
    mode_ = Mode::NotOpen;
    position_ = 0;
}

std::int64_t MediaPlayer::position() const {
    if (mode_ != Mode::Playing || !device_) return position_;
    return std::min(device_->lengthMs(), position_ + (service_.clock().nowMs() - startedAt_));
}

void MediaPlayer::cancelCompletion() {
    if (completion_ != 0) service_.clock().cancel(completion_);
    completion_ = 0;
}

QString MediaPlayer::describe() const {
    const char* mode = mode_ == Mode::NotOpen   ? "closed"
                       : mode_ == Mode::Playing ? "playing"
                                                : "stopped";
    return QStringLiteral("file=%1 mode=%2").arg(fileName_, QLatin1String(mode));
}

}  // namespace vorn
