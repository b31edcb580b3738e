// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/picture.h"

#include "platform/images.h"
#include "platform/label.h"
#include "platform/resolution.h"

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
    PictureView view;
    if (stretch_) {
        view = {PictureView::Stretched, largestShownSize(size_)};
    } else {
        // Drawn at its own size from the corner: what shows is the box, or for a picture sized
        // to itself what lies between the corner and the edge of its screen.
        QSize shows = size_;
        if (autoSize_) {
            const QRectF screen = parentItem() ? parentItem()->boundingRect() : QRectF();
            shows = screen.isEmpty()
                        ? QSize(kMaxPictureSide, kMaxPictureSide)
                        : QSizeF(screen.right() - pos().x(), screen.bottom() - pos().y())
                              .toSize()
                              .expandedTo(QSize(1, 1));
        }
        view = {PictureView::Clipped, shows};
    }
    DecodedPicture picture = loadPicture(path, view);
    source_ = std::move(picture.image);
    corner_ = picture.corner;
    path_ = path;
    prepare();
}

void Picture::setImage(const QImage& image, const QString& path) {
    source_ = image;
    corner_ = image.isNull() ? 0 : image.pixel(0, image.height() - 1);
    path_ = path;
    prepare();
}

void Picture::prepare() {
    if (source_.isNull()) {
        image_ = QImage();
    } else if (transparent_) {
        // The colour of the bottom-left pixel is see-through.
        image_ = source_.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = corner_ | 0xFF000000u;
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
