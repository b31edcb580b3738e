// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The platform seams: virtual time, timers, the error guard and its message text, key codes,
// picture loading.

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/images.h"
#include "platform/keys.h"
#include "platform/qtclock.h"
#include "platform/virtualclock.h"

#include "content/writers/jpegwriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include "support/printing.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vorn;

namespace seams_test {

class Time : public ::testing::Test {
  protected:
    RecordingErrorPresenter errors;
    EventGuard guard{errors};
    VirtualClock clock{guard};
};

TEST_F(Time, TimersFireInTimeOrderOnlyWhileEnabled) {
    std::vector<QString> fired;
    Timer slow(clock, 300, [&] { fired.push_back(QStringLiteral("slow@%1").arg(clock.nowMs())); });
    Timer fast(clock, 100, [&] { fired.push_back(QStringLiteral("fast@%1").arg(clock.nowMs())); });
    slow.setEnabled(true);
    fast.setEnabled(true);
    clock.advance(300);
    fast.setEnabled(false);
    clock.advance(300);
    // At one instant, the timer that was due first (scheduled first) fires first.
    EXPECT_EQ(fired,
              (std::vector<QString>{"fast@100", "fast@200", "slow@300", "fast@300", "slow@600"}));
}

TEST_F(Time, EnablingOrChangingTheIntervalStartsTheCountAgain) {
    int ticks = 0;
    Timer t(clock, 500, [&] { ++ticks; });
    t.setEnabled(true);
    clock.advance(400);
    t.setInterval(1000);  // restarts: next tick at 1400
    clock.advance(900);
    EXPECT_EQ(ticks, 0);
    clock.advance(100);
    EXPECT_EQ(ticks, 1);
    t.setEnabled(false);
    t.setEnabled(true);  // restarts at 1500: next at 2500
    clock.advance(999);
    EXPECT_EQ(ticks, 1);
    clock.advance(1);
    EXPECT_EQ(ticks, 2);
}

TEST_F(Time, AHandlerMayReleaseItsOwnTimer) {
    auto timer = std::make_unique<Timer>(clock, 100);
    int ticks = 0;
    timer->setHandler([&] {
        ++ticks;
        guard.release(std::move(timer));  // freed once the handler has returned
    });
    timer->setEnabled(true);
    clock.advance(1000);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(timer, nullptr);
}

TEST_F(Time, ReadingsMoveTimeOnUnlessHeld) {
    clock.setTimeOfDay(TimeOfDay{10, 0, 0, 0});
    EXPECT_EQ(clock.timeOfDayUtc().millisecondsSinceMidnight(), 36000000u);
    EXPECT_EQ(clock.timeOfDayUtc().millisecondsSinceMidnight(), 36000001u);
    clock.hold(true);
    EXPECT_EQ(clock.timeOfDayUtc().millisecondsSinceMidnight(), 36000002u);
    EXPECT_EQ(clock.timeOfDayUtc().millisecondsSinceMidnight(), 36000002u);
    clock.hold(false);
    EXPECT_EQ(clock.timeOfDayUtc().millisecondsSinceMidnight(), 36000002u);
    EXPECT_EQ(clock.timeOfDayUtc().millisecondsSinceMidnight(), 36000003u);
    clock.setTimeOfDay(TimeOfDay{23, 59, 59, 999});
    clock.timeOfDayUtc();
    EXPECT_EQ(clock.timeOfDayUtc().millisecondsSinceMidnight(), 0u);  // past midnight
}

TEST_F(Time, ProcessMessagesJumpsToTheNextEventAndNeverSpinsForNothing) {
    bool done = false;
    clock.callLater(4000, [&] { done = true; });
    while (!done) clock.processMessages();
    EXPECT_EQ(clock.nowMs(), 4000);
    EXPECT_THROW(clock.processMessages(), std::logic_error);
}

TEST_F(Time, ACallThatReschedulesItselfWithoutDelayIsStoppedNotLeftToHang) {
    // Once a millisecond for 150000 ms: many calls, but time moves between them.
    std::int64_t ticks = 0;
    std::function<void()> tick = [&] {
        if (++ticks < 150'000) clock.callLater(1, tick);
    };
    clock.callLater(1, tick);
    clock.advance(200'000);
    EXPECT_EQ(ticks, 150'000);

    std::function<void()> again = [&] { clock.callLater(0, again); };
    clock.callLater(0, again);
    EXPECT_THROW(clock.advance(10), std::logic_error);
}

// The real clock: while a blocking play holds the thread, the game's timers and calls that fall
// due wait for the end of the hold and then run in their order; the window system goes on.
TEST(RealTime, NothingOfTheGameRunsWhileAPlayHoldsTheThread) {
    RecordingErrorPresenter errors;
    EventGuard guard{errors};
    QtClock clock{guard};
    std::vector<QString> ran;
    Timer timer(clock, 5, [&] {
        ran.push_back(QStringLiteral("timer"));
        EXPECT_FALSE(clock.sleeping());
    });
    timer.setEnabled(true);
    clock.callLater(1, [&] { ran.push_back(QStringLiteral("call")); });
    bool painted = false;
    QTimer::singleShot(2, [&] { painted = true; });  // the window system's own work
    const auto before = clock.nowMs();
    clock.sleep(40);
    EXPECT_GE(clock.nowMs() - before, 40);
    EXPECT_TRUE(painted);
    EXPECT_TRUE(ran.empty());
    const auto end = clock.nowMs() + 1000;
    while (ran.size() < 2 && clock.nowMs() < end) clock.processMessages();
    timer.setEnabled(false);
    ASSERT_GE(ran.size(), 2u);
    EXPECT_EQ(ran[0], "call");  // it fell due first
    EXPECT_EQ(ran[1], "timer");
}

TEST(Errors, MessageBoxTextEndsWithAFullStopWhenTheLastCharacterSortsAfterIt) {
    EXPECT_EQ(messageBoxText("Cannot open file image/niv1.jpg"),
              "Cannot open file image/niv1.jpg.");
    EXPECT_EQ(messageBoxText("Query1: Field 'br' not found"), "Query1: Field 'br' not found.");
    EXPECT_EQ(messageBoxText("Already ended."), "Already ended.");
    EXPECT_EQ(messageBoxText("Unable to write to save/x.ini!"), "Unable to write to save/x.ini!");
    EXPECT_EQ(messageBoxText("Ends with -"), "Ends with -");
    EXPECT_EQ(messageBoxText("Ends with /"), "Ends with /.");
    EXPECT_EQ(messageBoxText("Fin: \u00e9"), "Fin: \u00e9.");
    EXPECT_EQ(messageBoxText(""), "");
}

TEST(Errors, TheGuardShowsOneMessageAndSwallowsAbandonedSequences) {
    RecordingErrorPresenter errors;
    EventGuard guard(errors);
    bool after = false;
    guard.run([] { throw Error("Boom"); });
    guard.run([] { throw Abandoned{}; });
    guard.run([&] { after = true; });
    EXPECT_EQ(errors.shown(), std::vector<QString>{"Boom."});
    EXPECT_TRUE(after);
}

TEST(Errors, DeferredWorkWaitsForTheOutermostHandler) {
    RecordingErrorPresenter errors;
    EventGuard guard(errors);
    std::vector<int> order;
    guard.run([&] {
        guard.run([&] {
            guard.atRest([&] { order.push_back(2); });
            order.push_back(1);
        });
        order.push_back(1);
    });
    EXPECT_EQ(order, (std::vector<int>{1, 1, 2}));
}

TEST(Keys, KeypadDigitsOnlyWithTheKeypadModifier) {
    QKeyEvent keypad3(QEvent::KeyPress, Qt::Key_3, Qt::KeypadModifier);
    QKeyEvent row3(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);  // the navigation block's End
    EXPECT_EQ(vk::fromQt(keypad3), 99);
    EXPECT_EQ(vk::fromQt(row3), 51);
    EXPECT_EQ(vk::fromQt(enter), 13);
    EXPECT_EQ(vk::fromQt(f12), 123);
    EXPECT_EQ(vk::fromQt(end), 35);
}

// The keypad answers whether Num Lock is on or off: with it off its 1 to 4 arrive as End, Down,
// Page Down and Left with the keypad modifier. The same keys of the navigation block, the
// keypad's other navigation keys and the main-row digits answer nothing.
TEST(Keys, TheKeypadsOneToFourAnswerWithNumLockOnOrOff) {
    struct Row {
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
    } rows[] = {
        {Qt::Key_1, Qt::KeypadModifier, vk::Numpad1},
        {Qt::Key_4, Qt::KeypadModifier, vk::Numpad4},
        {Qt::Key_End, Qt::KeypadModifier, vk::Numpad1},
        {Qt::Key_Down, Qt::KeypadModifier, vk::Numpad1 + 1},
        {Qt::Key_PageDown, Qt::KeypadModifier, vk::Numpad1 + 2},
        {Qt::Key_Left, Qt::KeypadModifier, vk::Numpad4},
        {Qt::Key_End, Qt::NoModifier, 35},
        {Qt::Key_Down, Qt::NoModifier, 40},
        {Qt::Key_PageDown, Qt::NoModifier, 34},
        {Qt::Key_Left, Qt::NoModifier, 37},
        {Qt::Key_Home, Qt::KeypadModifier, 36},
        {Qt::Key_Up, Qt::KeypadModifier, 38},
        {Qt::Key_PageUp, Qt::KeypadModifier, 33},
        {Qt::Key_Right, Qt::KeypadModifier, 39},
        {Qt::Key_1, Qt::NoModifier, vk::Digit1},
        {Qt::Key_End, Qt::KeypadModifier | Qt::ShiftModifier, vk::Numpad1},
    };
    for (const Row& row : rows) {
        QKeyEvent event(QEvent::KeyPress, row.key, row.modifiers);
        EXPECT_EQ(vk::fromQt(event), row.code)
            << "key 0x" << std::hex << row.key << " modifiers 0x" << row.modifiers.toInt();
    }
}

class Pictures : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString file(const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QLatin1String(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    QString named(const char* name, const char* text) const {
        return dir.filePath(QLatin1String(name)) + QStringLiteral(": ") + QLatin1String(text);
    }
    static QString errorOf(const QString& path) {
        try {
            loadPicture(path);
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("<no error>");
    }
};

TEST_F(Pictures, JpegDecodesAndKeepsItsColours) {
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(QColor(200, 20, 20));
    const QString path = file("red.jpg", writers::jpegBytes(red, 95));
    const QImage image = loadPicture(path);
    ASSERT_EQ(image.size(), QSize(40, 30));
    const QColor c = image.pixelColor(20, 15);
    EXPECT_NEAR(c.red(), 200, 6);
    EXPECT_NEAR(c.green(), 20, 6);
    EXPECT_NEAR(c.blue(), 20, 6);
}

TEST_F(Pictures, FailuresCarryTheDecodersOwnText) {
    EXPECT_EQ(errorOf(dir.filePath("absent.jpg")),
              QStringLiteral("Cannot open file %1").arg(dir.filePath("absent.jpg")));
    // Every other failure names the file, then gives the decoder's own text.
    EXPECT_EQ(errorOf(file("text.jpg", "This is text")),
              named("text.jpg", "Not a JPEG file: starts with 0x54 0x68"));
    EXPECT_EQ(errorOf(file("empty.jpg", "")), named("empty.jpg", "Empty input file"));
    EXPECT_EQ(errorOf(file("bad.bmp", "BMnot really")),
              named("bad.bmp", "Bitmap image is not valid"));
    EXPECT_EQ(errorOf(file("picture.gif", "GIF89a")),
              named("picture.gif", "Unknown picture file extension (.gif)"));
}

// A JPEG cut short would show its missing part grey: it is refused, naming the file; only its
// end-of-image marker missing is as much a cut file.
TEST_F(Pictures, TruncatedJpegIsRefusedNamingTheFile) {
    QImage image(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgb((x * 7) ^ y, (y * 13) ^ x, (x + y) * 3));
    const QByteArray bytes = writers::jpegBytes(image, 90);
    EXPECT_EQ(loadPicture(file("whole.jpg", bytes)).size(), QSize(256, 256));
    EXPECT_EQ(errorOf(file("cut.jpg", bytes.left(bytes.size() * 3 / 4))),
              named("cut.jpg", "Premature end of JPEG file"));
    EXPECT_EQ(errorOf(file("open.jpg", bytes.chopped(2))),
              named("open.jpg", "Premature end of JPEG file"));
}

}  // namespace seams_test
