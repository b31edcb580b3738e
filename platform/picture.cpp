// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/picture.h"

#include "platform/images.h"
#include "platform/label.h"

#include <QPainter>

namespace vorn {

Picture::Picture(QGraphicsItem* parent, const PicturePlacement& placed)
    : QGraphicsItem(parent), name_(QString::fromLatin1(placed.name)), size_(placed.box.size()) {
    setPos(placed.box.topLeft());
}

void Picture::setStretch(bool stretch) {
    stretch_ = stretch;
    update();
}

void Picture::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    prepare();
}

void Picture::setTransparent(bool transparent) {
    transparent_ = transparent;
    prepare();
}

void Picture::load(const QString& path) {
    setImage(loadPicture(path), path);
}

void Picture::setImage(const QImage& image, const QString& path) {
    source_ = image;
    path_ = path;
    prepare();
}

void Picture::prepare() {
    if (source_.isNull()) {
        image_ = QImage();
    } else if (transparent_) {
        // The colour of the bottom-left pixel is see-through.
        image_ = source_.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = image_.pixel(0, image_.height() - 1) | 0xFF000000u;
        for (int y = 0; y < image_.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
            for (int x = 0; x < image_.width(); ++x)
                if ((row[x] | 0xFF000000u) == key) row[x] = 0;
        }
    } else {
        image_ = source_;
    }
    if (autoSize_ && !image_.isNull()) {
        prepareGeometryChange();
        size_ = image_.size();
    }
    update();
}

void Picture::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    if (image_.isNull()) return;
    const QRectF box = boundingRect();
    if (stretch_) {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(box, image_);
    } else {
        painter->setClipRect(box);
        painter->drawImage(QPointF(0, 0), image_);
    }
}

QString Picture::describe() const {
    return QStringLiteral("visible=%1 text=\"\" picture=%2").arg(isVisible() ? 1 : 0).arg(path_);
}

VideoPanel::VideoPanel(QGraphicsItem* parent, QRect geometry)
    : QGraphicsItem(parent), size_(geometry.size()) {
    setPos(geometry.topLeft());
}

void VideoPanel::setFrame(const QImage& frame) {
    frame_ = frame;
    update();
}

void VideoPanel::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const int w = size_.width(), h = size_.height();
    painter->fillRect(QRect(0, 0, w, h), Qt::black);
    // One-pixel raised edge: light on the top and left, shadow on the bottom and right.
    painter->setPen(QColor(255, 255, 255));
    painter->drawLine(0, 0, w - 1, 0);
    painter->drawLine(0, 0, 0, h - 1);
    painter->setPen(QColor(128, 128, 128));
    painter->drawLine(0, h - 1, w - 1, h - 1);
    painter->drawLine(w - 1, 0, w - 1, h - 1);
    if (!frame_.isNull()) {
        painter->setClipRect(QRect(0, 0, w, h));
        painter->drawImage(QPoint(0, 0), frame_);
    }
}

}  // namespace vorn
