// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/animation.h"

#include "platform/clock.h"
#include "platform/label.h"
#include "platform/media/backend.h"
#include "platform/media/mediaservice.h"

#include <QPainter>

#include <cmath>

namespace vorn {

Animation::Animation(QGraphicsItem* parent, const PicturePlacement& placed, MediaService& media)
    : QGraphicsItem(parent),
      name_(QString::fromLatin1(placed.name)),
      media_(media),
      size_(placed.box.size()) {
    setPos(placed.box.topLeft());
}

Animation::~Animation() = default;

void Animation::setFileName(const QString& path) {
    stop();
    clip_.reset();
    fileName_ = path;
    clip_ = media_.backend().openAnimation(path);
    startFrame_ = 1;
    stopFrame_ = frameCount();
    shown_ = startFrame_;
    if (!ticker_) {
        ticker_ = std::make_unique<Timer>(media_.clock(), 100, [this] { tick(); });
    }
    ticker_->setInterval(std::max(1, static_cast<int>(std::lround(1000.0 / framesPerSecond()))));
    update();
}

double Animation::framesPerSecond() const {
    const double fps = clip_ && clip_->framesPerSecond > 0 ? clip_->framesPerSecond : 15.0;
    return fps / slowdown_;
}

void Animation::setSlowdown(int factor) {
    slowdown_ = std::max(1, factor);
    if (ticker_)
        ticker_->setInterval(
            std::max(1, static_cast<int>(std::lround(1000.0 / framesPerSecond()))));
}

int Animation::frameCount() const {
    return clip_ ? static_cast<int>(clip_->frames.size()) : 0;
}

void Animation::setActive(bool active) {
    if (active)
        play(startFrame_, stopFrame_, 1);
    else
        stop();
}

void Animation::play(int fromFrame, int toFrame, int repetitions) {
    if (!clip_) return;
    from_ = std::clamp(fromFrame, 1, frameCount());
    to_ = std::clamp(toFrame, from_, frameCount());
    repetitions_ = std::max(1, repetitions);
    startedAt_ = media_.clock().nowMs();
    playing_ = true;
    shown_ = from_;
    ticker_->setEnabled(true);
    update();
}

void Animation::stop() {
    playing_ = false;
    if (ticker_) ticker_->setEnabled(false);
    shown_ = startFrame_;
    update();
}

int Animation::currentFrame() const {
    if (!playing_ || !clip_) return shown_;
    const double fps = framesPerSecond();
    const auto elapsed = media_.clock().nowMs() - startedAt_;
    const auto step =
        static_cast<std::int64_t>(std::floor(static_cast<double>(elapsed) * fps / 1000.0));
    const int span = to_ - from_ + 1;
    if (step >= static_cast<std::int64_t>(span) * repetitions_) return to_;
    return from_ + static_cast<int>(step % span);
}

void Animation::tick() {
    const int frame = currentFrame();
    const auto elapsed = media_.clock().nowMs() - startedAt_;
    const double fps = framesPerSecond();
    const bool over = elapsed * fps / 1000.0 >= static_cast<double>(to_ - from_ + 1) * repetitions_;
    if (over) {
        // The play is over: the last frame of the range stays on show.
        playing_ = false;
        ticker_->setEnabled(false);
        shown_ = to_;
    }
    if (frame != shown_ || over) {
        shown_ = over ? to_ : frame;
        update();
    }
}

void Animation::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const QRectF box = boundingRect();
    painter->fillRect(box, background_);
    if (!clip_ || clip_->frames.empty()) return;
    const int index = std::clamp(currentFrame(), 1, frameCount()) - 1;
    const QImage& image = clip_->frames[static_cast<std::size_t>(index)];
    const QPointF at((box.width() - image.width()) / 2.0, (box.height() - image.height()) / 2.0);
    painter->setClipRect(box);
    painter->drawImage(at, image);
}

QString Animation::describe() const {
    return QStringLiteral("visible=%1 text=\"\" file=%2 playing=%3 frame=%4")
        .arg(isVisible() ? 1 : 0)
        .arg(fileName_)
        .arg(playing_ ? 1 : 0)
        .arg(currentFrame());
}

}  // namespace vorn
