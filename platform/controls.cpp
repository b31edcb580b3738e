// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls.h"

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/windows1252.h"

#include <algorithm>

#include <QGraphicsScene>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace vorn {

namespace {

bool isEnter(const QKeyEvent& event) {
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

// An edit box that keeps the keys it is given. A plain line edit lets Enter, Esc and the keys
// it has no use for (F1, the arrows up and down) go on to its parents, and from there to the
// main window.
class ContainedLineEdit : public QLineEdit {
  public:
    std::function<void()> onEnter;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (isEnter(*event)) {
            if (onEnter) onEnter();
        } else {
            QLineEdit::keyPressEvent(event);
        }
        event->accept();
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        QLineEdit::keyReleaseEvent(event);
        event->accept();
    }
};

// A push button that keeps the keys it is given; Enter presses it, as Space does.
class ContainedButton : public QPushButton {
  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (isEnter(*event))
            click();
        else
            QPushButton::keyPressEvent(event);
        event->accept();
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        QPushButton::keyReleaseEvent(event);
        event->accept();
    }
};

void place(QGraphicsProxyWidget& proxy, QWidget& widget, const ControlPlacement& placed) {
    widget.setObjectName(QLatin1String(placed.name));
    widget.setFont(layoutFont(placed.font));
    widget.setFixedSize(placed.box.size());
    proxy.setWidget(&widget);
    proxy.setPos(placed.box.topLeft());
}

}  // namespace

QValidator::State ProfileTextValidator::validate(QString& input, int& pos) const {
    // Control characters are no letters: a line break or a tab pasted into a name is refused.
    for (const QChar c : input) {
        if (c.category() == QChar::Other_Control) return Invalid;
    }
    const QString stored = storableText(input);
    if (stored != input) {
        // The cursor stays after what was typed before it.
        pos = static_cast<int>(
            storableText(QStringView(input).first(std::clamp<qsizetype>(pos, 0, input.size())))
                .size());
        input = stored;
    }
    return Acceptable;
}

// ---------------------------------------------------------------------------------------------

EditBox::EditBox(QGraphicsItem* parent, const ControlPlacement& placed)
    : QGraphicsProxyWidget(parent), name_(QString::fromLatin1(placed.name)) {
    auto* edit = new ContainedLineEdit;
    edit_ = edit;
    edit->setText(QString::fromUtf8(placed.text));
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, QColor::fromRgb(placed.colour));
    edit->setPalette(palette);
    // What the INI file reads back: a value of at most 2047 characters, each one byte on disk.
    edit->setMaxLength(2047);
    edit->setValidator(new ProfileTextValidator(edit));
    place(*this, *edit, placed);
}

EditBox::~EditBox() = default;

QString EditBox::text() const {
    return edit_->text();
}

void EditBox::setOnEnter(std::function<void()> onEnter) {
    static_cast<ContainedLineEdit*>(edit_)->onEnter = std::move(onEnter);
}

void EditBox::takeFocus() {
    edit_->setFocus(Qt::OtherFocusReason);
    setFocus(Qt::OtherFocusReason);
}

bool EditBox::hasKeyboardFocus() const {
    return scene() && scene()->focusItem() == this;
}

QString EditBox::describe() const {
    return QStringLiteral("visible=%1 text=%2 focus=%3")
        .arg(isVisible() ? 1 : 0)
        .arg(quoted(edit_->text()))
        .arg(hasKeyboardFocus() ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------

PushButton::PushButton(QGraphicsItem* parent, const ControlPlacement& placed, Clock& clock)
    : QGraphicsProxyWidget(parent), name_(QString::fromLatin1(placed.name)), clock_(clock) {
    auto* button = new ContainedButton;
    button_ = button;
    button->setText(QString::fromUtf8(placed.text));
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, QColor::fromRgb(placed.colour));
    button->setPalette(palette);
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, button, [this] { clicked(); });
    place(*this, *button, placed);
}

PushButton::~PushButton() {
    cancelPendingClick();
}

void PushButton::cancelPendingClick() {
    if (pendingClick_ != 0) clock_.cancel(pendingClick_);
    pendingClick_ = 0;
}

void PushButton::clicked() {
    if (pendingClick_ != 0 || !onClick_) return;  // one click at a time
    pendingClick_ = clock_.callLater(0, [this] {
        pendingClick_ = 0;
        // Copied: the handler may remove the screen, and this button with it, once it returns.
        const std::function<void()> handler = onClick_;
        EventGuard& guard = clock_.guard();
        guard.run(handler);
    });
}

QString PushButton::describe() const {
    return QStringLiteral("visible=%1 text=%2 enabled=%3")
        .arg(isVisible() ? 1 : 0)
        .arg(quoted(button_->text()))
        .arg(button_->isEnabled() ? 1 : 0);
}

}  // namespace vorn
