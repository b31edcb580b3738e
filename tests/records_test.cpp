// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The best players after a game and from the menu: the name entry and its keys, the table shown
// for seven seconds, the file, the restart, and a failed write, a missing picture or a teardown
// on the way.

#include "support/scenario.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

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
        play << "menu fichier/charger/Block 4"
             << QStringLiteral("wait %1").arg(kPauseMs + kResultsMs + kVideoMs);
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
    play << "type Zoé"
         << "click valider";
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
    play << "type \"  Zoé  \""
         << "key Esc"
         << "key F1";
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

// The name box keeps the focus whatever the player clicks on the screen's picture or labels:
// every letter typed reaches it, and Enter still presses "Valider".
TEST_F(BestPlayers, ClicksOnThePictureAndTheLabelsLeaveTheFocusInTheNameBox) {
    finishGameWith(5000);
    play << "type ab"
         << "click 50,400"
         << "type c"
         << "click 110,90"
         << "type d"
         << "click 230,150"
         << "click Image1"
         << "type e";
    const int typed = play.mark();
    play << "key Enter";
    const int shownTable = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(typed), "widget Edit1"), "visible=1 text=\"abcde\" focus=1");
    EXPECT_EQ(widgetText(play.at(shownTable), "nom1"), "abcde");
    EXPECT_TRUE(table().contains("[place1]\r\nnom=abcde\r\nscore=5000\r\n"));
}

// A name from another alphabet keeps its letters: those the file cannot hold are stored as their
// plain letter, shown so in the box as they are typed, in the table and in the file.
TEST_F(BestPlayers, LettersTheFileCannotHoldAreStoredAsTheirPlainLetter) {
    finishGameWith(5000);
    play << "type Łukasz Dvořák";
    const int typed = play.mark();
    play << "key Enter";
    const int shownTable = play.mark();
    play.run();
    EXPECT_EQ(widgetText(play.at(typed), "Edit1"), "Lukasz Dvorák");
    EXPECT_EQ(widgetText(play.at(shownTable), "nom1"), "Lukasz Dvorák");
    EXPECT_TRUE(table().contains("[place1]\r\nnom=Lukasz Dvor\xe1k\r\n"));
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
    play << "key Enter"
         << "wait 1000" << kBestPlayers;
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

// Two copies of the game on one game folder, each a runner process of its own, driven line by
// line through its standard input and followed through its output.
class GameProcess {
  public:
    explicit GameProcess(const QString& folder) {
        process_.setProgram(QStringLiteral(VORN_BUILD_DIR "/vorn-script"));
        process_.setArguments({QStringLiteral("--content"), folder});
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
    }
    ~GameProcess() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    bool started() { return process_.waitForStarted(kPatienceMs); }
    void send(const QString& lines) { process_.write((lines + u'\n').toUtf8()); }
    // Waits until the output holds `text`; false when the program ends or the patience runs out.
    bool awaitOutput(const QString& text) {
        QElapsedTimer waited;
        waited.start();
        while (!output_.contains(text)) {
            if (waited.elapsed() > kPatienceMs || process_.state() == QProcess::NotRunning)
                return false;
            process_.waitForReadyRead(100);
            output_ += QString::fromUtf8(process_.readAllStandardOutput());
        }
        return true;
    }
    // Ends the script and waits for the program to end.
    bool finish() {
        process_.closeWriteChannel();
        const bool ended = process_.waitForFinished(kPatienceMs) && process_.exitCode() == 0;
        output_ += QString::fromUtf8(process_.readAllStandardOutput());
        return ended;
    }
    const QString& output() const { return output_; }

  private:
    static constexpr int kPatienceMs = 120'000;
    QProcess process_;
    QString output_;
};

// Game A waits at its name entry while game B records its player; A's player then joins the
// table as it is on disk, and B's record stays.
TEST_F(BestPlayers, TwoGamesOnOneFolderBothKeepTheirPlayers) {
    pack.write("save/highscores.ini", tableFile({{"Cid", 25000}}));
    pack.write(
        "save/Sauvegardes.ini",
        "[Block3]\r\nscore=20000\r\nNiveau=3\r\nNumQuestion=10\r\nReponses justes=9\r\nPause=1\r\n"
        "[Block4]\r\nscore=30000\r\nNiveau=3\r\nNumQuestion=10\r\nReponses "
        "justes=9\r\nPause=1\r\n");
    const QString finish = QStringLiteral("wait %1").arg(kPauseMs + kResultsMs + kVideoMs);

    GameProcess a(pack.dir());
    ASSERT_TRUE(a.started());
    a.send(QStringLiteral("menu fichier/charger/Block 4\n%1\ndump").arg(finish));
    ASSERT_TRUE(a.awaitOutput(QStringLiteral("screens: nameEntryScreenPresent")))
        << a.output().toStdString();

    GameProcess b(pack.dir());
    ASSERT_TRUE(b.started());
    b.send(
        QStringLiteral("menu fichier/charger/Block3\n%1\ntype Bea\nkey Enter\ndump").arg(finish));
    ASSERT_TRUE(b.finish()) << b.output().toStdString();
    EXPECT_TRUE(b.output().contains(QStringLiteral("widget nom2: visible=1 text=\"Bea\"")));

    a.send(QStringLiteral("type Ann\nkey Enter\ndump"));
    ASSERT_TRUE(a.finish()) << a.output().toStdString();
    EXPECT_TRUE(a.output().contains(QStringLiteral("widget nom1: visible=1 text=\"Ann\"")));
    EXPECT_TRUE(a.output().contains(QStringLiteral("widget nom3: visible=1 text=\"Bea\"")));
    EXPECT_TRUE(table().startsWith(tableFile({{"Ann", 30000}, {"Cid", 25000}, {"Bea", 20000}})))
        << table().toStdString();
}

// Two games saving their own slots at the same moments, over and over, as their games go on:
// every pass of one keeps what the other wrote, so each slot ends as its game last saved it.
TEST_F(BestPlayers, TwoGamesSavingTwoSlotsAtOnceBothKeepTheirSlot) {
    QString script = QStringLiteral("key Enter\nwait %1\n").arg(kVideoMs + 500);
    for (int question = 0; question < 5; ++question) {
        script += QStringLiteral("key KP%1\nwait %2\n").arg(question % 4 + 1).arg(kPauseMs + 100);
        for (int i = 0; i < 30; ++i)
            script += QStringLiteral("menu fichier/sauvegarder/Block %1\n");
    }
    script += QStringLiteral("dump");
    GameProcess one(pack.dir()), two(pack.dir());
    ASSERT_TRUE(one.started());
    ASSERT_TRUE(two.started());
    one.send(script.arg(1));
    two.send(script.arg(2));
    ASSERT_TRUE(one.finish()) << one.output().toStdString();
    ASSERT_TRUE(two.finish()) << two.output().toStdString();
    QFile slotFile(pack.path("save/Sauvegardes.ini"));
    ASSERT_TRUE(slotFile.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(slotFile.readAll());
    for (const auto& [slot, game] : {std::pair{1, &one}, std::pair{2, &two}}) {
        SCOPED_TRACE(slot);
        const auto field = [&](const char* name) {
            const QRegularExpressionMatch m =
                QRegularExpression(QStringLiteral("\\n%1: (\\S+)").arg(QLatin1String(name)))
                    .match(game->output());
            return m.hasMatch() ? m.captured(1) : QStringLiteral("<none>");
        };
        const QString block =
            QStringLiteral("[Block%1]\r\nscore=%2\r\nNiveau=1\r\nNumQuestion=%3\r\n")
                .arg(slot)
                .arg(field("score"), field("NumQuestion"));
        EXPECT_TRUE(text.contains(block)) << block.toStdString() << " in\n" << text.toStdString();
    }
}

}  // namespace records_test
