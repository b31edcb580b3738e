// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window: start-up, key routing, teardown and closing, played through the script runner
// on the test pack.

#include "support/scenario.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace vorn::test;
using vorn::ScriptOutput;

namespace main_window_test {

class MainWindow : public ::testing::Test {
  protected:
    TestPack pack;
    ScriptOutput run(const QString& script) { return vorn::runScript(pack.dir(), script); }
};

TEST_F(MainWindow, StartsWithTheIntroThenTheTitleAndEndsOnEsc) {
    const auto out = run(QStringLiteral("dump\nkey Esc\ndump\n"));
    ASSERT_EQ(out.dumps.size(), 2u) << out.text.toStdString();
    const Dump& first = out.dumps[0];
    EXPECT_EQ(value(first, "screens"), "titleScreenPresent");
    EXPECT_EQ(value(first, "exited"), "0");
    EXPECT_EQ(value(first, "window"),
              "caption=\"V.O.R.N. VOZID\" client=632x434 state=normal enabled=1 scale=1");
    EXPECT_EQ(value(first, "media"),
              "open video/0.avi\nplay video/0.avi\nclose video/0.avi\nopen son/titre.mid\nplay "
              "son/titre.mid");
    EXPECT_EQ(widgetText(first, "Label1"), "APPUYEZ SUR ENTRER");
    const Dump& second = out.dumps[1];
    EXPECT_EQ(value(second, "exited"), "1");
    EXPECT_EQ(value(second, "screens"), "none");
    EXPECT_EQ(value(second, "media"), "close son/titre.mid");
    EXPECT_EQ(out.status, 0);
}

TEST_F(MainWindow, UnknownCommandsAreReportedAndTheRunnerGoesOn) {
    const auto out = run(QStringLiteral("jump\nkey Banana\ndump\n"));
    EXPECT_EQ(out.status, 1);
    EXPECT_TRUE(
        out.text.startsWith("error: unknown command: jump\nerror: key: unknown key Banana\n"));
    EXPECT_EQ(out.dumps.size(), 1u);
}

TEST_F(MainWindow, EnterStartsANewGameOnlyFromTheTitle) {
    const auto out = run(QStringLiteral("key Enter\ndump\nkey Enter\ndump\n"));
    ASSERT_EQ(out.dumps.size(), 2u);
    const Dump& game = out.dumps[0];
    EXPECT_EQ(value(game, "screens"), "levelScreenPresent");
    EXPECT_EQ(value(game, "score"), "0");
    EXPECT_EQ(value(game, "Niveau"), "1");
    EXPECT_EQ(value(game, "AttenteReponse"), "1");
    EXPECT_EQ(widgetText(game, "numquest"), "1/10");
    // The title music stops before the level's video plays.
    EXPECT_TRUE(
        value(game, "media")
            .contains(
                "close son/titre.mid\nopen son/juste.wav\nopen video/1.avi\nplay video/1.avi\n"))
        << value(game, "media").toStdString();
    // A second Enter is no answer and starts nothing.
    EXPECT_EQ(value(out.dumps[1], "NumQuestion"), "1");
    EXPECT_EQ(value(out.dumps[1], "AttenteReponse"), "1");
    EXPECT_EQ(value(out.dumps[1], "media"), "<absent>");
}

TEST_F(MainWindow, KeysDoNothingWhenNoTitleAndNoQuestion) {
    pack.remove("video/0.avi");  // no intro, so no title screen
    const auto out = run(QStringLiteral("key Enter\nkey KP1\nkey F12\ndump\n"));
    ASSERT_EQ(out.dumps.size(), 1u);
    EXPECT_EQ(value(out.dumps[0], "screens"), "none");
    EXPECT_EQ(value(out.dumps[0], "message"),
              "\"The specified file was not found. Make sure the path and filename are correct.\"");
}

TEST_F(MainWindow, F1OpensTheRulesOnEveryScreenWithoutStoppingTheQuestion) {
    const auto out = run(QStringLiteral("key F1\ndump\nkey Enter\nwait 1000\nkey F1\ndump\n"));
    ASSERT_EQ(out.dumps.size(), 2u);
    EXPECT_EQ(value(out.dumps[0], "shell"), "open vorn.hlp");
    EXPECT_EQ(value(out.dumps[1], "shell"), "open vorn.hlp");
    EXPECT_EQ(widgetField(out.dumps[1], "TimerQuest", "enabled"), "1");
    EXPECT_EQ(value(out.dumps[1], "AttenteReponse"), "1");
}

TEST_F(MainWindow, RestartDuringAQuestionTearsTheLevelDownAndShowsTheTitleAgain) {
    const auto out =
        run(QStringLiteral("key Enter\nmenu fichier/redémarrer\ndump\nkey KP1\nkey Enter\ndump\n"));
    ASSERT_EQ(out.dumps.size(), 2u) << out.text.toStdString();
    const Dump& title = out.dumps[0];
    EXPECT_EQ(value(title, "screens"), "titleScreenPresent");
    EXPECT_EQ(value(title, "codes"), "");
    const QString media = value(title, "media");
    EXPECT_TRUE(media.contains(
        QRegularExpression("close son/[1-6]\\.mid\nclose son/juste\\.wav\nopen video/0\\.avi")))
        << media.toStdString();
    // The teardown leaves the game state alone, but a key is no answer without a level screen.
    EXPECT_EQ(value(title, "AttenteReponse"), "1");
    EXPECT_EQ(value(out.dumps[1], "screens"), "levelScreenPresent");
    EXPECT_EQ(value(out.dumps[1], "score"), "0");
    EXPECT_EQ(value(out.dumps[1], "NumQuestion"), "1");
}

TEST_F(MainWindow, ClosingTearsDownAndRestoresTheVolumes) {
    // The volumes read full before the game sets its own at the first activation.
    const auto out = run(QStringLiteral("key Enter\ndump\nclose\ndump\nkey Enter\nclose\ndump\n"));
    ASSERT_EQ(out.dumps.size(), 3u);
    EXPECT_EQ(value(out.dumps[0], "volumes"), "midi=0x4FFF4FFF wave=0xBFFFBFFF");
    EXPECT_EQ(value(out.dumps[1], "exited"), "1");
    EXPECT_EQ(value(out.dumps[1], "screens"), "none");
    EXPECT_EQ(value(out.dumps[1], "volumes"), "midi=0xFFFFFFFF wave=0xFFFFFFFF");
    EXPECT_EQ(value(out.dumps[2], "media"), "<absent>");  // nothing runs after the end
}

TEST_F(MainWindow, ActivatingAgainDoesNotReplayTheIntro) {
    const auto out = run(QStringLiteral("dump\nactivate\nactivate\ndump\n"));
    ASSERT_EQ(out.dumps.size(), 2u);
    EXPECT_EQ(value(out.dumps[1], "media"), "<absent>");
    EXPECT_EQ(value(out.dumps[1], "screens"), "titleScreenPresent");
}

TEST_F(MainWindow, AFailingHandlerShowsOneMessageAndTheProgramGoesOn) {
    pack.remove("image/niv1.jpg");
    const auto out = run(QStringLiteral("key Enter\ndump\nmenu fichier/redémarrer\ndump\n"));
    ASSERT_EQ(out.dumps.size(), 2u);
    EXPECT_EQ(value(out.dumps[0], "message"), "\"Cannot open file image/niv1.jpg.\"");
    // The level screen exists, flagged, but is not shown and takes no key.
    EXPECT_EQ(value(out.dumps[0], "screens"), "levelScreenPresent");
    EXPECT_EQ(value(out.dumps[0], "widget fond"), "<absent>");
    EXPECT_EQ(value(out.dumps[1], "screens"), "titleScreenPresent");
    EXPECT_EQ(value(out.dumps[1], "message"), "<absent>");
}

}  // namespace main_window_test
