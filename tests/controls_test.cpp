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

const ControlPlacement kBox{"Edit1", {200, 192, 217, 31}, {"Arial Black", 16, true}, qRgb(0, 128, 0)};
const ControlPlacement kButton{"valider", {248, 256, 113, 33}, {"Arial Black", 13, true}, qRgb(0, 0, 0), "Valider"};

TEST(EditBox, LetsInOnlyWhatTheFileKeepsAsItIs) {
    EditBox box(nullptr, kBox);
    QLineEdit& edit = box.lineEdit();
    edit.insert(QStringLiteral("Zoé"));
    for (const QString& refused :
         {QStringLiteral("a\nb"), QStringLiteral("\r"), QStringLiteral("\t"),
          QStringLiteral("\x1b"), QStringLiteral("\u0085"), QStringLiteral("Ω"),
          QStringLiteral("😀")}) {
        edit.insert(refused);
        EXPECT_EQ(box.text(), QStringLiteral("Zoé")) << refused.toStdString();
    }
    edit.insert(QStringLiteral(" œ€?"));
    EXPECT_EQ(box.text(), QStringLiteral("Zoé œ€?"));

    edit.clear();
    edit.insert(QString(3000, u'x'));
    EXPECT_EQ(box.text().size(), 2047);  // what a value of the file holds at most
}

TEST(PushButton, ItsHandlerRunsAfterTheClickOnceAndMayFreeTheButton) {
    VirtualPlatform platform;
    auto button =
        std::make_unique<PushButton>(nullptr, kButton, platform.clock());
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

}  // namespace
