// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The menus beside the game: the save items follow the level screen, the two display modes on
// the emulated display, and the About window, which keeps the main window from taking input while
// it is open.

#include "support/scenario.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vorn::test;

namespace menus_test {

class Menus : public ::testing::Test {
  protected:
    TestPack pack;
    Play play{pack};
};

TEST_F(Menus, SaveItemsWorkOnlyWhileALevelScreenExists) {
    // One slot for each screen: what was saved shows which of them took the command.
    play << "menu fichier/sauvegarder/Block 1";  // title
    play << "key Enter"
         << "menu fichier/sauvegarder/Block 2";  // a question
    play.answers(10, false);
    play << "menu fichier/sauvegarder/Block 3";  // the results of a lost game
    play << "wait 10000"
         << "menu fichier/Les meilleurs joueurs"
         << "wait 1000";
    play << "menu fichier/sauvegarder/Block 4";  // the best players
    play.run();
    QFile file(pack.path("save/Sauvegardes.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString saved = QString::fromLatin1(file.readAll());
    EXPECT_FALSE(saved.contains("[Block1]"));
    EXPECT_TRUE(saved.contains("[Block2]"));
    EXPECT_FALSE(saved.contains("[Block3]"));
    EXPECT_FALSE(saved.contains("[Block4]"));
    EXPECT_EQ(play.output().text.count("menu: disabled"), 3);
}

TEST_F(Menus, FullScreenScalesTheGameAndWindowedGivesTheWindowBack) {
    play << "menu options/640x480 plein écran";
    const int full = play.mark();
    play << "menu options/640x480 fenêtré";
    const int windowed = play.mark();
    play << "menu options/640x480 plein écran";
    const int again = play.mark();
    play << "close";
    const int closed = play.mark();
    play.run();
    for (int m : {full, again}) {
        EXPECT_TRUE(value(play.at(m), "window").contains("state=fullscreen"))
            << value(play.at(m), "window").toStdString();
        const double scale = value(play.at(m), "window").section("scale=", 1).toDouble();
        EXPECT_GT(scale, 1.0);
        EXPECT_EQ(value(play.at(m), "display"), "mode=640x480");
    }
    EXPECT_EQ(value(play.at(windowed), "window"),
              "caption=\"V.O.R.N. VOZID\" client=632x434 state=normal enabled=1 scale=1");
    EXPECT_EQ(value(play.at(windowed), "display"), "mode=1280x1024");
    // The close gives the desktop its own size back.
    EXPECT_EQ(value(play.at(closed), "display"), "mode=1280x1024");
}

TEST_F(Menus, ADisplayThatCannotShow640x480KeepsItsModeButTheWindowStillChanges) {
    play << "desktop 600x400"
         << "menu options/640x480 plein écran";
    const int m = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(m), "display"), "mode=1280x1024");
    EXPECT_TRUE(value(play.at(m), "window").contains("state=maximized"))
        << value(play.at(m), "window").toStdString();
    EXPECT_TRUE(value(play.at(m), "window").endsWith("scale=1"));
}

TEST_F(Menus, AboutWindowHoldsTheMainWindowUntilItClosesEitherWay) {
    play << "menu aide/à propos";
    const int open = play.mark();
    play << "key Enter"
         << "menu fichier/redémarrer";  // neither reaches the main window
    const int ignored = play.mark();
    play << "click Button1";
    const int byOk = play.mark();
    play << "menu aide/à propos"
         << "close Form1";
    const int byTitleBar = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(open), "about"), "open");
    EXPECT_TRUE(value(play.at(open), "window").contains("enabled=0"));
    EXPECT_EQ(value(play.at(ignored), "screens"), "titleScreenPresent");
    EXPECT_EQ(value(play.at(ignored), "media"), "<absent>");  // no restart, no video
    for (int m : {byOk, byTitleBar}) {
        EXPECT_EQ(value(play.at(m), "about"), "closed");
        EXPECT_TRUE(value(play.at(m), "window").contains("enabled=1"));
    }
}

TEST_F(Menus, AQuestionTimesOutWhileTheAboutWindowIsOpen) {
    play << "key Enter"
         << "menu aide/à propos"
         << "key KP1"
         << "wait 9850";
    const int m = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(m), "score"), "-500");
    EXPECT_EQ(value(play.at(m), "AttenteReponse"), "0");
    EXPECT_TRUE(shown(play.at(m), "alarme"));
    for (int n = 1; n <= 4; ++n) EXPECT_FALSE(shown(play.at(m), QStringLiteral("faux%1").arg(n)));
}

}  // namespace menus_test
