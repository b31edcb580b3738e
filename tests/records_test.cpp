// The best players after a game and from the menu: the name entry and its keys, the table shown
// for seven seconds, the file, the restart, and a failed write, a missing picture or a teardown
// on the way.

#include "support/scenario.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vorn::test;

namespace records_test {

constexpr int kResultsMs = 4000;
constexpr int kTableMs = 7000;
const QString kBestPlayers = QStringLiteral("menu fichier/Les meilleurs joueurs");

QByteArray tableFile(std::initializer_list<std::pair<const char*, int>> places) {
    QByteArray text;
    int place = 1;
    for (const auto& [name, score] : places)
        text += "[place" + QByteArray::number(place++) + "]\r\nnom=" + name +
                "\r\nscore=" + QByteArray::number(score) + "\r\n";
    return text;
}

class BestPlayers : public ::testing::Test {
  protected:
    TestPack pack;
    Play play{pack};

    QByteArray table() const {
        QFile f(pack.path("save/highscores.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Finishes a game with `score` at once: a slot saved in the pause after the last answer of
    // level 3 is loaded; its results and the end video follow.
    void finishGameWith(int score) {
        pack.write("save/Sauvegardes.ini",
                   "[Block4]\r\nscore=" + QByteArray::number(score) +
                       "\r\nNiveau=3\r\nNumQuestion=10\r\nReponses justes=9\r\nPause=1\r\n");
        play << "menu fichier/charger/Block 4" << QStringLiteral("wait %1").arg(kPauseMs + kResultsMs + kVideoMs);
    }
};

TEST_F(BestPlayers, AFinishedGameThatEntersTheTableAsksForTheNameThenShowsTheTableAndRestarts) {
    pack.write("save/highscores.ini",
               tableFile({{"Ann", 90000}, {"Bob", 80000}, {"Cid", 60000}, {"Dan", 40000}}));
    play << "key Enter";
    for (int level = 1; level <= 3; ++level) {
        play.answers(9, true);
        play.answers(1, false);
        play << QStringLiteral("wait %1").arg(kResultsMs);
    }
    play << QStringLiteral("wait %1").arg(kVideoMs);
    const int entry = play.mark();
    play << "type Zoé" << "click valider";
    const int shownTable = play.mark();
    play << QStringLiteral("wait %1").arg(kTableMs - 1);
    const int still = play.mark();
    play << "wait 1";
    const int title = play.mark();
    play.run();

    const Dump& e = play.at(entry);
    EXPECT_EQ(value(e, "screens"), "nameEntryScreenPresent");
    EXPECT_EQ(value(e, "score"), "52500");  // 9 right and 1 wrong on each level
    EXPECT_TRUE(value(e, "media").endsWith("play video/6.avi\nclose video/6.avi"));
    EXPECT_EQ(value(e, "widget Edit1"), "visible=1 text=\"\" focus=1");
    EXPECT_EQ(value(e, "widget valider"), "visible=1 text=\"Valider\" enabled=1");
    const Dump& t = play.at(shownTable);
    EXPECT_EQ(value(t, "screens"), "highscoreScreenPresent");
    EXPECT_EQ(value(t, "widget Edit1"), "<absent>");  // the name entry is gone from view
    EXPECT_EQ(widgetText(t, "nom4"), "Zoé");
    EXPECT_EQ(widgetText(t, "score4"), "52500");
    EXPECT_EQ(widgetText(t, "nom5"), "Dan");
    EXPECT_EQ(widgetText(t, "score6"), "0");
    // Written before the table shows, in Windows-1252.
    EXPECT_TRUE(
        table().contains("[place4]\r\nnom=Zo\xe9\r\nscore=52500\r\n[place5]\r\nnom=Dan\r\n"));
    EXPECT_EQ(value(play.at(still), "screens"), "highscoreScreenPresent");
    EXPECT_EQ(value(play.at(title), "screens"), "titleScreenPresent");
    EXPECT_TRUE(value(play.at(title), "media").startsWith("open video/0.avi"));
}

TEST_F(BestPlayers, KeysTypedIntoTheNameBoxStayThereAndEnterPressesValider) {
    finishGameWith(5000);
    play << "type \"  Zoé  \"" << "key Esc" << "key F1";
    const int typed = play.mark();
    play << "key Enter";
    const int shownTable = play.mark();
    play << QStringLiteral("wait %1").arg(kTableMs) << kBestPlayers;
    const int again = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(typed), "exited"), "0");
    EXPECT_EQ(value(play.at(typed), "shell"), "<absent>");
    EXPECT_EQ(widgetText(play.at(typed), "Edit1"), "  Zoé  ");
    EXPECT_EQ(widgetText(play.at(shownTable), "nom1"), "  Zoé  ");
    EXPECT_EQ(widgetText(play.at(again), "nom1"), "  Zoé  ");  // the blanks come back from the file
}

TEST_F(BestPlayers, AnEmptyBoxKeepsTheNameAnonyme) {
    pack.write("save/highscores.ini", tableFile({{"Ann", 9000}}));
    finishGameWith(7000);
    play << "click valider";
    const int shownTable = play.mark();
    play.run();
    EXPECT_EQ(widgetText(play.at(shownTable), "nom2"), "anonyme");
    EXPECT_EQ(widgetText(play.at(shownTable), "score2"), "7000");
}

TEST_F(BestPlayers, AScoreOutsideTheTableShowsItWithoutAskingThenTheGameStartsAgain) {
    QByteArray full;
    for (int place = 1; place <= 10; ++place)
        full += "[place" + QByteArray::number(place) + "]\r\nscore=8000\r\n";
    pack.write("save/highscores.ini", full);
    finishGameWith(7999);
    const int shownTable = play.mark();
    play << QStringLiteral("wait %1").arg(kTableMs);
    const int title = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(shownTable), "screens"), "highscoreScreenPresent");
    EXPECT_EQ(widgetText(play.at(shownTable), "score10"), "8000");
    EXPECT_EQ(value(play.at(title), "screens"), "titleScreenPresent");
    EXPECT_EQ(table(), full);
}

TEST_F(BestPlayers, TheMenuEndsTheGameAndShowsTheTableForSevenSecondsFromItsTimer) {
    const QByteArray file = tableFile({{"Ann", 9000}, {"Bob", -500}});
    pack.write("save/highscores.ini", file);
    play << "key Enter" << "wait 1000" << kBestPlayers;
    const int shownTable = play.mark();
    play << QStringLiteral("wait %1").arg(kTableMs - 1);
    const int still = play.mark();
    play << "wait 1";
    const int title = play.mark();
    play.run();
    const Dump& t = play.at(shownTable);
    EXPECT_EQ(value(t, "screens"), "highscoreScreenPresent");
    EXPECT_EQ(value(t, "widget Timer1"), "enabled=1 interval=7000");
    EXPECT_EQ(widgetText(t, "nom1"), "Ann");
    EXPECT_EQ(widgetText(t, "score2"), "-500");
    EXPECT_EQ(value(play.at(still), "screens"), "highscoreScreenPresent");
    EXPECT_EQ(value(play.at(title), "screens"), "titleScreenPresent");
    EXPECT_EQ(table(), file);  // nothing written
}

TEST_F(BestPlayers, WithoutASaveFolderTheFailedWriteIsShownAndTheGameStartsAgain) {
    finishGameWith(5000);
    play.then([this](const Dump&) {
        pack.remove("save");
        return QStringLiteral("click valider");
    });
    const int failed = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(failed), "message"), "\"Unable to write to save/highscores.ini.\"");
    EXPECT_EQ(value(play.at(failed), "screens"), "titleScreenPresent");
}

TEST_F(BestPlayers, WithoutItsPictureTheTableStillShowsItsRowsAndTheGameStartsAgain) {
    pack.write("save/highscores.ini", tableFile({{"Ann", 9000}}));
    pack.remove("image/resultats.jpg");
    play << kBestPlayers;
    const int shownTable = play.mark();
    play << QStringLiteral("wait %1").arg(kTableMs);
    const int title = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(shownTable), "message"), "\"Cannot open file image/resultats.jpg.\"");
    EXPECT_EQ(widgetText(play.at(shownTable), "nom1"), "Ann");
    EXPECT_EQ(value(play.at(title), "screens"), "titleScreenPresent");
}

TEST_F(BestPlayers, ATeardownAtTheNameEntryDiscardsThePlayerAndWritesNothing) {
    finishGameWith(5000);
    play << "type Zoé" << kBestPlayers;
    const int shownTable = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(shownTable), "screens"), "highscoreScreenPresent");
    EXPECT_EQ(widgetText(play.at(shownTable), "nom1"), "anonyme");
    EXPECT_EQ(table(), "<missing>");
}

TEST_F(BestPlayers, ARestartWhileTheTableShowsEndsItsWaitWithoutASecondRestart) {
    play << kBestPlayers << "wait 3000";
    play.mark();  // the media of the start-up so far
    play << "menu fichier/redémarrer";
    const int restarted = play.mark();
    play << "wait 20000";
    const int later = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(restarted), "screens"), "titleScreenPresent");
    EXPECT_EQ(value(play.at(restarted), "media").count("play video/0.avi"), 1);
    EXPECT_EQ(value(play.at(later), "media"), "<absent>");
}

}  // namespace
