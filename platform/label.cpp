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

Label::Label(QGraphicsItem* parent, QString name, QRect geometry, Sizing sizing,
             const FontSpec& font, QColor colour)
    : QGraphicsItem(parent),
      name_(std::move(name)),
      font_(layoutFont(font)),
      colour_(colour),
      size_(geometry.size()),
      sizing_(sizing) {
    setPos(geometry.topLeft());
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

QRect Label::geometry() const {
    return QRect(pos().toPoint(), size_);
}

int Label::textFlags() const {
    int flags = static_cast<int>(alignment_ & Qt::AlignHorizontal_Mask);
    flags |= verticalCentre_ ? Qt::AlignVCenter : Qt::AlignTop;
    if (wordWrap_) flags |= Qt::TextWordWrap;
    return flags;
}

void Label::adjustSize() {
    if (sizing_ != Sizing::ToText) return;
    prepareGeometryChange();
    const QFontMetrics fm(font_);
    const QString shown = text_.isEmpty() ? QStringLiteral(" ") : text_;
    int width = fm.horizontalAdvance(shown);
    int height = fm.height() * static_cast<int>(shown.count(u'\n') + 1);
    if (wordWrap_ && maxWidth_ > 0 && width > maxWidth_) {
        const QRect r = fm.boundingRect(QRect(0, 0, maxWidth_, 10000), Qt::TextWordWrap, shown);
        width = maxWidth_;
        height = r.height();
    }
    if (text_.isEmpty()) width = 0;
    size_ = QSize(width, height);
    // A right-aligned label keeps its right edge and grows to the left.
    if (alignment_ & Qt::AlignRight) setPos(rightEdge_ - width, pos().y());
}

void Label::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const QRectF box = boundingRect();
    if (opaque_) painter->fillRect(box, background_);
    painter->setClipRect(box);
    painter->setFont(font_);
    painter->setPen(colour_);
    painter->drawText(box, textFlags(), text_);
}

QString Label::describe() const {
    return QStringLiteral("visible=%1 text=%2 opaque=%3")
        .arg(isVisible() ? 1 : 0)
        .arg(quoted(text_))
        .arg(opaque_ ? 1 : 0);
}

}  // namespace vorn
