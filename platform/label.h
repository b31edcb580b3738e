// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A text element: font, colour, transparent or opaque background, sized to its text or fixed with
// word wrap, horizontal alignment and vertical centring.

#include "platform/element.h"
#include "platform/fonts.h"

#include <QColor>
#include <QFont>
#include <QGraphicsItem>
#include <QMargins>

namespace vorn {

class Label : public QGraphicsItem, public Element {
  public:
    using Sizing = TextSizing;

    // A label as its layout describes it, showing the layout's text.
    Label(QGraphicsItem* parent, const TextPlacement& placed);

    void setText(const QString& text);
    QString text() const { return text_; }
    // An opaque label fills its box with its background colour behind the text.
    void setOpaque(bool opaque);
    bool opaque() const { return opaque_; }
    void setBackground(QColor colour);
    void setWordWrap(bool wrap);
    void setAlignment(Qt::Alignment horizontal);
    void setVerticalCentre(bool centre);
    // Width up to which a label sized to its text grows before it wraps (word-wrapped labels only).
    void setMaxWidth(int width);
    // Keeps the text off the edges of a fixed-size label's box; it wraps and aligns in the rest.
    void setTextMargins(const QMargins& margins);
    // Where the text is drawn, in the label's coordinates.
    QRect textBounds() const;

    QRectF boundingRect() const override { return QRectF(0, 0, size_.width(), size_.height()); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

    QString elementName() const override { return name_; }
    QString describe() const override;
    QRect geometry() const;

    // The size a text takes in a label of this font, wrapped at `wrapWidth` when it is above 0,
    // with the room the label leaves above it for accents.
    static QSize textExtent(const QFont& font, const QString& text, int wrapWidth);
    static int leading(const QFont& font);
    QFont font() const { return font_; }

  private:
    void adjustSize();
    int textFlags() const;
    QRectF textBox() const;

    QString name_;
    QString text_;
    QFont font_;
    QColor colour_;
    QColor background_ = Qt::white;
    QSize size_;
    Sizing sizing_;
    bool opaque_ = false;
    bool wordWrap_ = false;
    bool verticalCentre_ = false;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    int maxWidth_ = 0;
    QMargins textMargins_;
    qreal rightEdge_ = 0;  // kept by right-aligned labels sized to their text
};

}  // namespace vorn
