// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The animation control (the hourglass): open a file, which sets the start frame to 1 and the stop
// frame to the last; become active to play from the start to the stop frame once; play a range of
// frames (numbered from 1) a number of times; stop, which shows the start frame. Frames are
// decoded once and shown at the file's frame rate, centred on an opaque background.

#include "platform/element.h"
#include "platform/layoutitems.h"

#include <QColor>
#include <QGraphicsItem>

#include <memory>

namespace vorn {

struct AnimationClip;
class MediaService;
class Timer;

class Animation : public QGraphicsItem, public Element {
  public:
    Animation(QGraphicsItem* parent, const PicturePlacement& placed, MediaService& media);
    ~Animation() override;

    // Opens the file; raises "Cannot open AVI" when it cannot.
    void setFileName(const QString& path);
    QString fileName() const { return fileName_; }
    void setActive(bool active);
    bool active() const { return playing_; }
    void play(int fromFrame, int toFrame, int repetitions);
    void stop();
    // Plays `factor` times slower than the file's frame rate (1: at its rate).
    void setSlowdown(int factor);
    void setBackground(QColor colour) { background_ = colour; }

    // The frame shown now, from 1.
    int currentFrame() const;
    int frameCount() const;
    int startFrame() const { return startFrame_; }
    int stopFrame() const { return stopFrame_; }

    QRectF boundingRect() const override { return QRectF(0, 0, size_.width(), size_.height()); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

    QString elementName() const override { return name_; }
    QString describe() const override;

  private:
    void tick();
    // Frames a second as played: the file's rate over the slowdown.
    double framesPerSecond() const;

    QString name_;
    MediaService& media_;
    QSize size_;
    QColor background_ = QColor(192, 192, 192);
    QString fileName_;
    std::shared_ptr<const AnimationClip> clip_;
    std::unique_ptr<Timer> ticker_;
    int startFrame_ = 1;
    int stopFrame_ = 1;
    bool playing_ = false;
    int from_ = 1, to_ = 1, repetitions_ = 1;
    std::int64_t startedAt_ = 0;
    int shown_ = 1;
    int slowdown_ = 1;
};

}  // namespace vorn
