// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/label.h"

#include <QFontMetrics>
#include <QPainter>

namespace vorn {

QString quoted(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (QChar c : text) {
        if (c == u'"')
            out += QStringLiteral("\\\"");
        else if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    out += u'"';
    return out;
}

Label::Label(QGraphicsItem* parent, const TextPlacement& placed)
    : QGraphicsItem(parent),
      name_(QString::fromLatin1(placed.name)),
      text_(QString::fromUtf8(placed.text)),
      font_(layoutFont(placed.font)),
      colour_(QColor::fromRgb(placed.colour)),
      size_(placed.box.size()),
      sizing_(placed.sizing) {
    setPos(placed.box.topLeft());
    setFlag(ItemClipsToShape, false);
    adjustSize();
}

void Label::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    adjustSize();
    update();
}

void Label::setOpaque(bool opaque) {
    opaque_ = opaque;
    update();
}

void Label::setBackground(QColor colour) {
    background_ = colour;
    update();
}

void Label::setWordWrap(bool wrap) {
    wordWrap_ = wrap;
    adjustSize();
}

void Label::setAlignment(Qt::Alignment horizontal) {
    alignment_ = horizontal;
    if (sizing_ == Sizing::ToText && (alignment_ & Qt::AlignRight))
        rightEdge_ = pos().x() + size_.width();
    update();
}

void Label::setVerticalCentre(bool centre) {
    verticalCentre_ = centre;
    update();
}

void Label::setMaxWidth(int width) {
    maxWidth_ = width;
    adjustSize();
}

void Label::setTextMargins(const QMargins& margins) {
    textMargins_ = margins;
    update();
}

QRectF Label::textBox() const {
    const QRectF box = boundingRect().marginsRemoved(textMargins_.toMarginsF());
    return box.adjusted(0, leading(font_), 0, 0);
}

QRect Label::textBounds() const {
    if (text_.isEmpty()) return {};
    return QFontMetrics(font_).boundingRect(textBox().toRect(), textFlags(), text_);
}

QRect Label::geometry() const {
    return QRect(pos().toPoint(), size_);
}

int Label::textFlags() const {
    int flags = static_cast<int>(alignment_ & Qt::AlignHorizontal_Mask);
    flags |= verticalCentre_ ? Qt::AlignVCenter : Qt::AlignTop;
    if (wordWrap_) flags |= Qt::TextWordWrap;
    return flags;
}

int Label::leading(const QFont& font) {
    // Room above the first line for the accents of capitals (À, É...), which some fonts draw
    // above their ascent: the toolkit the layouts were made for counts it in every label.
    const QFontMetrics fm(font);
    const QRect accents = fm.tightBoundingRect(QStringLiteral("ÀÉÊÎÔÛÇ"));
    return std::max(0, -accents.top() - fm.ascent() + 1);
}

QSize Label::textExtent(const QFont& font, const QString& text, int wrapWidth) {
    const QFontMetrics fm(font);
    const QString shown = text.isEmpty() ? QStringLiteral(" ") : text;
    const int flags = wrapWidth > 0 ? Qt::TextWordWrap : 0;
    const QRect r =
        fm.boundingRect(QRect(0, 0, wrapWidth > 0 ? wrapWidth : 100000, 100000), flags, shown);
    return QSize(text.isEmpty() ? 0 : r.width(), r.height() + leading(font));
}

void Label::adjustSize() {
    if (sizing_ != Sizing::ToText) return;
    prepareGeometryChange();
    // A word-wrapped label grows to the right up to its greatest width, then wraps.
    const bool wraps =
        wordWrap_ && maxWidth_ > 0 && textExtent(font_, text_, 0).width() > maxWidth_;
    size_ = textExtent(font_, text_, wraps ? maxWidth_ : 0);
    if (wraps) size_.setWidth(maxWidth_);
    // A right-aligned label keeps its right edge and grows to the left.
    if (alignment_ & Qt::AlignRight) setPos(rightEdge_ - size_.width(), pos().y());
}

void Label::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const QRectF box = boundingRect();
    if (opaque_) painter->fillRect(box, background_);
    painter->setClipRect(box);
    painter->setFont(font_);
    painter->setPen(colour_);
    painter->drawText(textBox(), textFlags(), text_);
}

QString Label::describe() const {
    return QStringLiteral("visible=%1 text=%2 opaque=%3")
        .arg(isVisible() ? 1 : 0)
        .arg(quoted(text_))
        .arg(opaque_ ? 1 : 0);
}

}  // namespace vorn
