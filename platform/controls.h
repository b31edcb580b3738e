// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Real toolkit controls on a screen: a one-line edit box and a push button, each embedded in the
// scene through a proxy item. A control that has the keyboard focus keeps every key it is given:
// none goes on to the main window's key handler.

#include "platform/element.h"
#include "platform/layoutitems.h"

#include <QGraphicsProxyWidget>
#include <QValidator>

#include <cstdint>
#include <functional>

class QLineEdit;
class QPushButton;

namespace vorn {

class Clock;

// Keeps a name box's text as the game's INI files store it, as it is typed: a letter Windows-1252
// lacks shows at once as the plain letter that will be stored (storableText: "ł" as "l"), or as
// "?" when it has none. Refuses control characters (a line break, a tab), which are no letters.
class ProfileTextValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

class EditBox : public QGraphicsProxyWidget, public Element {
  public:
    EditBox(QGraphicsItem* parent, const ControlPlacement& placed);
    ~EditBox() override;

    QLineEdit& lineEdit() { return *edit_; }
    QString text() const;
    // Enter typed into the box (the screen's default button presses itself there).
    void setOnEnter(std::function<void()> onEnter);
    // Gives the keyboard focus to the box.
    void takeFocus();
    bool hasKeyboardFocus() const;

    QString elementName() const override { return name_; }
    QString describe() const override;

  private:
    QString name_;
    QLineEdit* edit_;  // owned by the proxy
};

class PushButton : public QGraphicsProxyWidget, public Element {
  public:
    // The click's handler runs from the message loop once the button's own event handling has
    // returned, through the event guard: it may remove the screen the button stands on.
    PushButton(QGraphicsItem* parent, const ControlPlacement& placed, Clock& clock);
    ~PushButton() override;

    QPushButton& button() { return *button_; }
    void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }
    // Forgets a click whose handler has not run yet (the screen is going away).
    void cancelPendingClick();

    QString elementName() const override { return name_; }
    QString describe() const override;

  private:
    void clicked();

    QString name_;
    QPushButton* button_;  // owned by the proxy
    Clock& clock_;
    std::function<void()> onClick_;
    std::uint64_t pendingClick_ = 0;
};

}  // namespace vorn
