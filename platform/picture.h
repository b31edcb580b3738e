// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A picture element: BMP or JPEG, stretched to its box or drawn at its top-left corner, sized to
// its picture on request, transparent by the colour of its bottom-left pixel.

#include "platform/element.h"
#include "platform/layoutitems.h"

#include <QGraphicsItem>
#include <QImage>

namespace vorn {

class Picture : public QGraphicsItem, public Element {
  public:
    Picture(QGraphicsItem* parent, const PicturePlacement& placed);

    void setStretch(bool stretch);
    void setAutoSize(bool autoSize);
    void setTransparent(bool transparent);
    // Loads the file (relative to the working directory) at the size it is shown at: a stretched
    // picture no larger than the most the screens can show of it, one drawn at its own size only
    // the part that shows. On failure raises the loader's error and keeps the picture it had.
    void load(const QString& path);
    void setImage(const QImage& image, const QString& path = {});
    // The pixels kept of the last picture (for the tests: what loading it cost).
    QImage source() const { return source_; }
    QString path() const { return path_; }

    QRectF boundingRect() const override { return QRectF(0, 0, size_.width(), size_.height()); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

    QString elementName() const override { return name_; }
    QString describe() const override;

  private:
    void prepare();

    QString name_;
    QString path_;
    QImage source_;
    QRgb corner_ = 0;  // the picture's bottom-left colour, which may lie outside what is kept
    QImage image_;     // as drawn: with the transparent colour keyed out when asked
    QSize size_;
    bool stretch_ = false;
    bool autoSize_ = false;
    bool transparent_ = false;
};

// The frame a video plays in: black, with a one-pixel raised edge; shows the current video frame
// at its top-left corner.
class VideoPanel : public QGraphicsItem {
  public:
    VideoPanel(QGraphicsItem* parent, QRect geometry);
    void setFrame(const QImage& frame);
    QRectF boundingRect() const override { return QRectF(0, 0, size_.width(), size_.height()); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;
    QRect geometry() const { return QRect(pos().toPoint(), size_); }

  private:
    QSize size_;
    QImage frame_;
};

}  // namespace vorn
