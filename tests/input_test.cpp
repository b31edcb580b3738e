// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Playing without a keypad: a click or a tap on an answer, on the title's prompt, and a game
// controller's buttons act exactly as the keys they stand for, and are ignored wherever the key
// would be (no question, the pause, a video, the About window); the pointer shows when the
// answers can be clicked; controllers come and go, and cost nothing while there is none.

#include "support/scenario.h"

#include "app/main.h"
#include "core/layout.h"
#include "platform/gamepads.h"
#include "platform/keys.h"
#include "platform/virtualclock.h"
#include "screens/level.h"

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QPointingDevice>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace vorn;
using namespace vorn::test;

namespace input_test {

class Input : public ::testing::Test {
  protected:
    TestPack pack;
};

// The line that answers the question on screen, right or wrong, with `how`: "key", "click"
// (on the answer's label), "disc" (a click on its number disc) or "pad".
QString answerLine(const Dump& d, bool right, const QString& how) {
    const QString code = currentCode(d);
    const int n = right ? rightAnswer(code) : wrongAnswer(code);
    if (how == u"key") return QStringLiteral("key KP%1").arg(n);
    static const char* const numLockOff[] = {"KP_End", "KP_Down", "KP_Next", "KP_Left"};
    if (how == u"numlock off") return QStringLiteral("key ") + QLatin1String(numLockOff[n - 1]);
    if (how == u"click") return QStringLiteral("click reponse%1").arg(n);
    if (how == u"disc") return QStringLiteral("click juste%1").arg(n);
    static const char* const buttons[] = {"y", "x", "b", "a"};  // 1 top left ... 4 bottom right
    return QStringLiteral("pad ") + QLatin1String(buttons[n - 1]);
}

// A game's first two questions, one answered right and one wrong with `how`, each followed by
// a dump, then the pause, then the next question's dump.
std::vector<Dump> playTwoQuestions(const TestPack& pack, const QString& how) {
    Play play(pack);
    // Every run plugs the runner's controller in, so that the runs differ in nothing else.
    play << "pad plug"
         << "key Enter";
    std::vector<int> marks;
    for (const bool right : {true, false}) {
        play.then([right, how](const Dump& d) { return answerLine(d, right, how); });
        marks.push_back(play.mark());
        play << QStringLiteral("wait %1").arg(kPauseMs);
        marks.push_back(play.mark());
    }
    play.run();
    EXPECT_EQ(play.output().status, 0) << play.output().text.toStdString();
    std::vector<Dump> dumps;
    for (int m : marks) dumps.push_back(play.at(m));
    return dumps;
}

TEST_F(Input, ClicksDiscsAndControllerButtonsAnswerExactlyAsTheKeypadKeys) {
    const std::vector<Dump> keys = playTwoQuestions(pack, QStringLiteral("key"));
    // The keypad's own results first: a right answer, then a wrong one, then the next question.
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(value(keys[0], "score"), "1000");
    EXPECT_TRUE(shown(keys[0], QStringLiteral("juste%1").arg(rightAnswer(currentCode(keys[0])))));
    EXPECT_EQ(value(keys[2], "score"), "500");
    EXPECT_TRUE(shown(keys[2], QStringLiteral("faux%1").arg(wrongAnswer(currentCode(keys[2])))));
    EXPECT_EQ(value(keys[3], "NumQuestion"), "3");
    for (const QString& how : {QStringLiteral("click"), QStringLiteral("disc"),
                               QStringLiteral("pad"), QStringLiteral("numlock off")}) {
        SCOPED_TRACE(how.toStdString());
        // The same marks, sound, score, pause and next question, field for field.
        const std::vector<Dump> other = playTwoQuestions(pack, how);
        EXPECT_EQ(other, keys);
    }
}

TEST_F(Input, EveryAnswerBoxAndEveryFaceButtonAnswersItsOwnNumber) {
    // Answers 1 to 4 each chosen once by a click and once by a button, on the marks they leave.
    for (const bool viaPad : {false, true}) {
        for (int n = 1; n <= 4; ++n) {
            SCOPED_TRACE(testing::Message() << (viaPad ? "pad " : "click ") << n);
            Play play(pack);
            static const char* const buttons[] = {"north", "west", "east", "south"};
            play << "key Enter"
                 << (viaPad ? QStringLiteral("pad ") + QLatin1String(buttons[n - 1])
                            : QStringLiteral("click reponse%1").arg(n));
            const int m = play.mark();
            play.run();
            const Dump& d = play.at(m);
            const bool right = rightAnswer(currentCode(d)) == n;
            EXPECT_EQ(value(d, "AttenteReponse"), "0");
            EXPECT_TRUE(shown(d, QString::fromLatin1(right ? "juste%1" : "faux%1").arg(n)));
            EXPECT_EQ(value(d, "score"), right ? "1000" : "-500");
        }
    }
}

TEST_F(Input, ThePromptAndStartBeginAGameAsEnterDoes) {
    auto start = [this](const QString& how) {
        Play play(pack);
        play << "pad plug"
             << "wait 500" << how;  // at 500 ms the prompt has blinked off: still on it
        const int m = play.mark();
        play.run();
        return play.at(m);
    };
    const Dump enter = start(QStringLiteral("key Enter"));
    EXPECT_EQ(value(enter, "screens"), "levelScreenPresent");
    EXPECT_EQ(start(QStringLiteral("click Label1")), enter);
    EXPECT_EQ(start(QStringLiteral("pad start")), enter);
    // Elsewhere on the title, a click does nothing, nor do the answers' places and buttons.
    // (The title's art, where answer 1 and its disc would be, the key 1 drawn on the picture.)
    for (const QString& elsewhere :
         {QStringLiteral("click 500,100"), QStringLiteral("click 184,353"),
          QStringLiteral("click 46,352"), QStringLiteral("click 440,337"),
          QStringLiteral("pad a")}) {
        SCOPED_TRACE(elsewhere.toStdString());
        Play play(pack);
        play << "wait 500" << elsewhere;
        const int m = play.mark();
        play.run();
        EXPECT_EQ(value(play.at(m), "screens"), "titleScreenPresent");
        EXPECT_EQ(play.output().status, 0) << play.output().text.toStdString();
    }
}

TEST_F(Input, ClicksAndButtonsAreIgnoredWhereTheKeysAre) {
    Play play(pack);
    play << "pad plug"
         << "key Enter";
    play.answer(true);
    const int paused = play.mark();
    // During the pause: every answer's box and button.
    for (int n = 1; n <= 4; ++n)
        play << QStringLiteral("click reponse%1").arg(n) << QStringLiteral("click juste%1").arg(n);
    play << "pad y"
         << "pad x"
         << "pad b"
         << "pad a"
         << "pad start";
    const int afterPauseInput = play.mark();
    play << QStringLiteral("wait %1").arg(kPauseMs);
    // With the About window open: the next question stays open.
    play << "menu aide/à propos";
    const int aboutOpen = play.mark();
    for (int n = 1; n <= 4; ++n) play << QStringLiteral("click reponse%1").arg(n);
    play << "pad y"
         << "pad x"
         << "pad b"
         << "pad a";
    const int afterAboutInput = play.mark();
    play << "close Form1";
    play.answer(true);
    const int answeredAfterAbout = play.mark();
    play.run();
    const Dump& p = play.at(paused);
    const Dump& q = play.at(afterPauseInput);
    EXPECT_EQ(value(q, "score"), value(p, "score"));
    EXPECT_EQ(value(q, "ReponsesJustes"), "1");
    EXPECT_EQ(value(q, "media"), "<absent>");  // no sound: nothing was judged
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(shown(q, QStringLiteral("faux%1").arg(n)), false);
        EXPECT_EQ(shown(q, QStringLiteral("juste%1").arg(n)),
                  shown(p, QStringLiteral("juste%1").arg(n)));
    }
    EXPECT_EQ(widgetField(q, "TimerPause", "enabled"), "1");
    const Dump& a = play.at(afterAboutInput);
    EXPECT_EQ(value(play.at(aboutOpen), "about"), "open");
    EXPECT_EQ(value(a, "AttenteReponse"), "1");
    EXPECT_EQ(value(a, "NumQuestion"), "2");
    EXPECT_EQ(value(a, "score"), "1000");
    EXPECT_EQ(value(a, "media"), "<absent>");
    // Once the About window is closed, the same question takes its answer.
    EXPECT_EQ(value(play.at(answeredAfterAbout), "score"), "2000");
}

TEST_F(Input, AButtonPressedDuringAVideoDoesNotAnswerTheQuestionAfterIt) {
    Play play(pack);
    // The button goes down on the title and is first read after the level's video has played.
    play << "pad plug"
         << "pad y down"
         << "key Enter";
    const int afterVideo = play.mark();
    play << "pad y up"
         << "wait 100";
    const int released = play.mark();
    play << "pad y";
    const int pressedAgain = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(afterVideo), "screens"), "levelScreenPresent");
    EXPECT_EQ(value(play.at(afterVideo), "AttenteReponse"), "1");
    EXPECT_EQ(value(play.at(released), "AttenteReponse"), "1");
    // A press made while the game takes input answers.
    EXPECT_EQ(value(play.at(pressedAgain), "AttenteReponse"), "0");
}

TEST_F(Input, AButtonHeldWhileTheQuestionIsOpenIsReadAtTheNextRead) {
    Play play(pack);
    play << "pad plug"
         << "key Enter"
         << "pad y down";
    const int down = play.mark();
    play << "wait 20";
    const int read = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(down), "AttenteReponse"), "1");  // not read yet
    EXPECT_EQ(value(play.at(read), "AttenteReponse"), "0");
}

TEST_F(Input, ControllersPluggedInAndOutArePickedUpAndCostNothingWhenGone) {
    Play play(pack);
    const int none = play.mark();
    play << "pad plug";
    const int plugged = play.mark();
    play << "pad unplug";
    const int unplugged = play.mark();
    play << "key Enter"
         << "pad a";
    const int buttonOfAnUnpluggedPad = play.mark();  // plugged in again by the command itself
    play << "pad unplug"
         << "wait 5000";
    const int idle = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(none), "gamepads"), "open=0 reading=0");
    EXPECT_EQ(value(play.at(plugged), "gamepads"), "open=1 reading=1");
    EXPECT_EQ(value(play.at(unplugged), "gamepads"), "open=0 reading=0");
    EXPECT_EQ(value(play.at(buttonOfAnUnpluggedPad), "AttenteReponse"), "0");
    EXPECT_EQ(value(play.at(idle), "gamepads"), "open=0 reading=0");
}

TEST(InputRules, FaceButtonsAnswerByTheirPlaceAsTheAnswersAreLaidOut) {
    // Each face button answers the answer that sits where the button sits in the diamond turned
    // an eighth of a turn: the top one the top left answer, and so on round.
    auto area = [](PadButton b) {
        const int n = vk::fromPad(b) - vk::Numpad1 + 1;
        EXPECT_GE(n, 1);
        EXPECT_LE(n, 4);
        return QRectF(layout::niv::answerArea(n - 1)).center();
    };
    const QPointF north = area(PadButton::North), west = area(PadButton::West);
    const QPointF east = area(PadButton::East), south = area(PadButton::South);
    EXPECT_LT(north.x(), east.x());
    EXPECT_EQ(north.x(), west.x());
    EXPECT_EQ(east.x(), south.x());
    EXPECT_LT(north.y(), west.y());
    EXPECT_LT(east.y(), south.y());
    EXPECT_EQ(north.y(), east.y());
    EXPECT_EQ(vk::fromPad(PadButton::Start), vk::Enter);
}

TEST(InputRules, AnswersAreFoundUnderTheirLabelsAndDiscsOnly) {
    namespace L = layout::niv;
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(Tniv::answerAt(QRectF(L::reponse[i].box).center()), i + 1);
        EXPECT_EQ(Tniv::answerAt(QRectF(L::juste[i].box).center()), i + 1);
        EXPECT_EQ(Tniv::answerAt(
                      QPointF(L::reponse[i].box.right() + 1.5, L::reponse[i].box.center().y())),
                  0);
    }
    EXPECT_EQ(Tniv::answerAt(QRectF(L::question.box).center()), 0);
    EXPECT_EQ(Tniv::answerAt(QPointF(304, 360)), 0);  // between the two columns
    EXPECT_EQ(Tniv::answerAt(QPointF(100, 378)), 0);  // between the two rows
}

// The main window and what it shows, command after command, on the test pack.
class Observed : public ::testing::Test {
  protected:
    TestPack pack;
    // Runs `script`; `observe` sees the main window after each command.
    QString run(const QString& script, const std::function<void(Tprincipal&)>& observe) {
        const QStringList lines = script.split(u'\n');
        int next = 0;
        QString text;
        QTextStream out(&text);
        const QString previous = QDir::currentPath();
        QDir::setCurrent(pack.dir());
        {
            ScriptRunner runner(
                [&]() -> std::optional<QString> {
                    if (next >= lines.size()) return std::nullopt;
                    return lines[next++];
                },
                out);
            runner.setObserver(observe);
            runner.run();
        }
        QDir::setCurrent(previous);
        out.flush();
        return text;
    }
};

// The pointer the view shows over a point of the screen: what the topmost item there with a
// pointer of its own asks for.
Qt::CursorShape pointerAt(Tprincipal& window, QPointF point) {
    for (QGraphicsItem* item : window.scene().items(point))
        if (item->isVisible() && item->hasCursor()) return item->cursor().shape();
    return Qt::ArrowCursor;
}

TEST_F(Observed, ThePointingHandShowsOverTheAnswersOnlyWhileTheQuestionIsOpen) {
    namespace L = layout::niv;
    std::vector<std::vector<Qt::CursorShape>>
        seen;  // per command: answers' labels, discs, question
    // (The observer sees each command's own effect: a wait's, at the next command.)
    run(QStringLiteral("wait 100\nkey Enter\nkey KP1\nwait 2500\ndump\nmenu fichier/redémarrer"),
        [&](Tprincipal& w) {
            std::vector<Qt::CursorShape> shapes;
            for (int i = 0; i < 4; ++i)
                shapes.push_back(pointerAt(w, QRectF(L::reponse[i].box).center()));
            for (int i = 0; i < 4; ++i)
                shapes.push_back(pointerAt(w, QRectF(L::juste[i].box).center()));
            shapes.push_back(pointerAt(w, QRectF(L::question.box).center()));
            seen.push_back(shapes);
        });
    ASSERT_EQ(seen.size(), 6u);
    const std::vector<Qt::CursorShape> arrows(9, Qt::ArrowCursor);
    std::vector<Qt::CursorShape> hands(8, Qt::PointingHandCursor);
    hands.push_back(Qt::ArrowCursor);  // the question itself is not clickable
    EXPECT_EQ(seen[0], arrows);        // title
    EXPECT_EQ(seen[1], hands);         // question open
    EXPECT_EQ(seen[2], arrows);        // the pause
    EXPECT_EQ(seen[3], arrows);        // still the pause
    EXPECT_EQ(seen[4], hands);         // the next question
    EXPECT_EQ(seen[5], arrows);        // restarted: title again
}

TEST_F(Observed, ATapAnswersAsAClickDoes) {
    // A touch screen's tap, through Qt's own touch events: Qt turns the tap nobody takes as a
    // touch into a click.
    // The device is the test's: deleting it takes it off Qt's list of devices.
    const std::unique_ptr<QPointingDevice> screen(
        QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen));
    int tapped = 0;
    QString code;
    int answer = 0;
    const QString text =
        run(QStringLiteral("key Enter\ndump\nwait 2500\ndump"), [&](Tprincipal& w) {
            if (tapped || !w.gameState().AttenteReponse || !w.niv()) return;
            code = w.niv()->codeShown();
            answer = rightAnswer(code);
            QWidget* viewport = w.view().viewport();
            const QPoint at =
                w.view().mapFromScene(QRectF(layout::niv::reponse[answer - 1].box).center());
            QTest::touchEvent(viewport, screen.get()).press(0, at, viewport);
            QTest::touchEvent(viewport, screen.get()).release(0, at, viewport);
            tapped = 1;
        });
    ASSERT_EQ(tapped, 1);
    const auto dumps = parseDumps(text);
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_EQ(value(dumps[0], "score"), "1000");
    EXPECT_TRUE(shown(dumps[0], QStringLiteral("juste%1").arg(answer)));
    EXPECT_EQ(value(dumps[0], "AttenteReponse"), "0");
    EXPECT_EQ(value(dumps[1], "NumQuestion"), "2");
}

TEST_F(Observed, ButtonsWaitWhileAMessageBoxHoldsTheGame) {
    // A message box is modal: keys go to it, and so do not the controller's buttons.
    std::unique_ptr<QDialog> box;
    int step = 0;
    const QString text =
        run(QStringLiteral("pad plug\nkey Enter\npad y\ndump\npad y\ndump"), [&](Tprincipal&) {
            ++step;
            if (step == 2) {
                box = std::make_unique<QDialog>();
                box->setWindowModality(Qt::ApplicationModal);
                box->show();
            }
            if (step == 4) box.reset();
        });
    const auto dumps = parseDumps(text);
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_EQ(value(dumps[0], "AttenteReponse"), "1");
    EXPECT_EQ(value(dumps[0], "score"), "0");
    EXPECT_EQ(value(dumps[1], "AttenteReponse"), "0");
}

// The controllers' reads on a clock of their own.
class Controllers : public ::testing::Test {
  protected:
    RecordingErrorPresenter errors;
    EventGuard guard{errors};
    VirtualClock clock{guard};
};

TEST_F(Controllers, NoControllerMeansNoReadsAndAPluggedOneIsReadAtFrameRate) {
    Gamepads pads(clock, Gamepads::Devices::VirtualOnly);
    pads.start();
    ASSERT_TRUE(pads.started());
    std::vector<PadButton> pressed;
    pads.setOnButton([&](PadButton b) { pressed.push_back(b); });
    EXPECT_FALSE(pads.polling());
    EXPECT_EQ(clock.pendingCount(), 0u);
    const auto before = pads.pollCount();
    clock.advance(10'000);
    EXPECT_EQ(pads.pollCount(), before);  // nothing read while there is nothing to read
    {
        VirtualGamepad pad(pads);
        ASSERT_TRUE(pad.plugged()) << pad.error().toStdString();
        EXPECT_EQ(pads.openCount(), 1);
        EXPECT_TRUE(pads.polling());
        const auto plugged = pads.pollCount();
        clock.advance(1000);
        EXPECT_NEAR(static_cast<double>(pads.pollCount() - plugged), 1000.0 / Gamepads::kPollMs,
                    2.0);
        pad.setButton(PadButton::East, true);
        clock.advance(Gamepads::kPollMs);
        pad.setButton(PadButton::East, false);
        pad.press(PadButton::Start);
        EXPECT_EQ(pressed, (std::vector<PadButton>{PadButton::East, PadButton::Start}));
    }
    clock.advance(Gamepads::kPollMs);  // the read that finds it gone
    EXPECT_EQ(pads.openCount(), 0);
    EXPECT_FALSE(pads.polling());
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(Controllers, APressFoundAfterTheGameWasHeldIsDropped) {
    Gamepads pads(clock, Gamepads::Devices::VirtualOnly);
    std::vector<PadButton> pressed;
    pads.setOnButton([&](PadButton b) { pressed.push_back(b); });
    VirtualGamepad pad(pads);
    ASSERT_TRUE(pad.plugged()) << pad.error().toStdString();
    pad.setButton(PadButton::North, true);
    clock.sleep(Gamepads::kLateMs + 50);  // a video holds the game: no read meanwhile
    clock.advance(0);                     // the read that was due comes late
    EXPECT_TRUE(pressed.empty());
    pad.setButton(PadButton::North, false);
    clock.advance(Gamepads::kPollMs);  // the button is let go
    pad.setButton(PadButton::North, true);
    clock.sleep(Gamepads::kLateMs - 50);  // a shorter hold: still in time
    clock.advance(0);
    EXPECT_EQ(pressed, std::vector<PadButton>{PadButton::North});
}

TEST_F(Controllers, ADeviceComingOrGoingStartsAFewLooksThatThenStop) {
    QTemporaryDir devices;
    ASSERT_TRUE(devices.isValid());
    Gamepads pads(clock, Gamepads::Devices::All);
    pads.setDeviceFolder(devices.path());
    pads.start();
    ASSERT_TRUE(pads.started());
    ASSERT_EQ(pads.watchedFolder(), devices.path());
    if (pads.openCount() > 0) GTEST_SKIP() << "this machine has a game controller plugged in";
    EXPECT_EQ(clock.pendingCount(), 0u);
    // The kernel adds a device's node.
    QFile node(devices.filePath(QStringLiteral("event7")));
    ASSERT_TRUE(node.open(QIODevice::WriteOnly));
    node.close();
    QElapsedTimer waited;
    waited.start();
    while (clock.pendingCount() == 0 && waited.elapsed() < 60'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_GT(clock.pendingCount(), 0u) << "the change of the folder was not seen";
    const auto before = pads.pollCount();
    clock.advance(10'000);
    EXPECT_EQ(pads.pollCount() - before, 3u);  // a few looks...
    EXPECT_EQ(clock.pendingCount(), 0u);       // ...and then quiet again
    EXPECT_FALSE(pads.polling());
}

TEST_F(Controllers, TheProgramWatchesTheDevicesFolderInsteadOfReading) {
    Gamepads pads(clock, Gamepads::Devices::All);
    pads.start();
    ASSERT_TRUE(pads.started());
    EXPECT_TRUE(pads.watchedFolder() == "/dev/input" || pads.watchedFolder() == "/dev")
        << pads.watchedFolder().toStdString();
    if (pads.openCount() == 0) {
        // Without a controller nothing is scheduled: the clock sleeps as it did without them.
        EXPECT_FALSE(pads.polling());
        EXPECT_EQ(clock.pendingCount(), 0u);
    }
    // A controller plugged in is read; unplugged, the reads stop again.
    auto pad = std::make_unique<VirtualGamepad>(pads);
    ASSERT_TRUE(pad->plugged());
    EXPECT_TRUE(pads.polling());
    pad.reset();
    clock.advance(Gamepads::kPollMs);
    if (pads.openCount() == 0) {
        EXPECT_FALSE(pads.polling());
    }
}

}  // namespace input_test
