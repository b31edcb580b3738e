// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The name entry's toolkit controls: what the edit box lets in, and a button whose handler may
// take the button away.

#include "platform/controls.h"
#include "platform/platform.h"
#include "platform/virtualclock.h"

#include <QLineEdit>
#include <QPushButton>

#include "support/printing.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vorn;

namespace controls_test {

const ControlPlacement kBox{
    "Edit1", {200, 192, 217, 31}, {"Arial Black", 16, true}, qRgb(0, 128, 0)};
const ControlPlacement kButton{
    "valider", {248, 256, 113, 33}, {"Arial Black", 13, true}, qRgb(0, 0, 0), "Valider"};

// The box keeps what the file will store, as it is typed: control characters are refused, and a
// letter Windows-1252 lacks shows at once as its plain form, or "?" without one.
TEST(EditBox, ShowsWhatTheFileWillKeep) {
    EditBox box(nullptr, kBox);
    QLineEdit& edit = box.lineEdit();
    edit.insert(QStringLiteral("Zoé"));
    for (const QString& refused :
         {QStringLiteral("a\nb"), QStringLiteral("\r"), QStringLiteral("\t"),
          QStringLiteral("\x1b"), QStringLiteral("\u0085")}) {
        edit.insert(refused);
        EXPECT_EQ(box.text(), QStringLiteral("Zoé")) << refused.toStdString();
    }
    const struct {
        QString typed, shown;
    } letters[] = {
        {QStringLiteral(" œ€?"), QStringLiteral(" œ€?")},  // in the set: as typed
        {QStringLiteral("Ł"), QStringLiteral("L")},
        {QStringLiteral("ř"), QStringLiteral("r")},
        {QStringLiteral("Ș"), QStringLiteral("S")},
        {QStringLiteral("e\u0301"), QStringLiteral("é")},  // a separate accent joins its letter
        {QStringLiteral("Ω"), QStringLiteral("O")},
        {QStringLiteral("😀"), QStringLiteral("?")},
    };
    for (const auto& l : letters) {
        edit.clear();
        edit.insert(l.typed);
        EXPECT_EQ(box.text(), l.shown) << l.typed.toStdString();
    }
    // The cursor stays after the letter typed, in the middle of the name too.
    edit.clear();
    edit.insert(QStringLiteral("Dvoák"));
    edit.setCursorPosition(3);
    edit.insert(QStringLiteral("ř"));
    EXPECT_EQ(box.text(), QStringLiteral("Dvorák"));
    EXPECT_EQ(edit.cursorPosition(), 4);

    edit.clear();
    edit.insert(QString(3000, u'x'));
    EXPECT_EQ(box.text().size(), 2047);  // what a value of the file holds at most
}

TEST(PushButton, ItsHandlerRunsAfterTheClickOnceAndMayFreeTheButton) {
    VirtualPlatform platform;
    auto button = std::make_unique<PushButton>(nullptr, kButton, platform.clock());
    EXPECT_EQ(button->button().text(), QStringLiteral("Valider"));
    EXPECT_EQ(button->button().objectName(), QStringLiteral("valider"));
    int clicks = 0;
    button->setOnClick([&] {
        ++clicks;
        platform.platform().guard.release(std::move(button));  // the screen goes away with it
    });
    button->button().click();
    button->button().click();
    EXPECT_EQ(clicks, 0);  // not from inside the button's own click
    platform.clock().advance(0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button, nullptr);
    platform.clock().advance(100);
    EXPECT_EQ(clicks, 1);
}

TEST(PushButton, AClickLeftPendingWhenTheButtonGoesIsForgotten) {
    VirtualPlatform platform;
    int clicks = 0;
    {
        PushButton button(nullptr, kButton, platform.clock());
        button.setOnClick([&] { ++clicks; });
        button.button().click();
    }
    platform.clock().advance(100);
    EXPECT_EQ(clicks, 0);
}

}  // namespace controls_test
