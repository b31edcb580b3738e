// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The save slots: a game saved and loaded back with the other slots left alone, loading over
// every screen, saves that cannot happen, slots saved in the pause after an answer, and slots
// edited by hand or never saved.

#include "support/scenario.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vorn::test;

namespace save_test {

constexpr int kResultsMs = 4000;
constexpr int kBonusResultsMs = 7000;

class Slots : public ::testing::Test {
  protected:
    TestPack pack;
    Play play{pack};

    QByteArray disk() const {
        QFile f(pack.path("save/Sauvegardes.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void writeSlots(const QByteArray& text) { pack.write("save/Sauvegardes.ini", text); }
};

TEST_F(Slots, ASavedGameLoadsBackAndTheOtherSlotsStayAsTheyWere) {
    const QByteArray before = "; mes parties\r\n[Block1]\r\nscore=123\r\n\r\n";
    const QByteArray after = "[Block3]\r\nscore=9\r\n[autre]\r\nx=y\r\n";
    writeSlots(before + "[Block2]\r\nscore=1\r\n" + after);
    play << "key Enter";
    play.answers(2, true);
    play.answers(1, false);
    play << "wait 1000"
         << "menu fichier/sauvegarder/Block 2";
    const int saved = play.mark();
    play.answers(3, true);  // the game goes on and changes
    play << "menu fichier/charger/Block2";
    const int loaded = play.mark();
    play.run();

    const Dump& s = play.at(saved);
    const Dump& l = play.at(loaded);
    EXPECT_EQ(value(s, "widget TimerQuest"), "enabled=1 interval=9850");  // the game went on
    for (const char* field : {"score", "Niveau", "NumQuestion", "ReponsesJustes", "AttenteReponse"})
        EXPECT_EQ(value(l, field), value(s, field)) << field;
    for (const char* widget : {"pourcent", "LabelScore", "numquest"})
        EXPECT_EQ(widgetText(l, widget), widgetText(s, widget)) << widget;
    EXPECT_TRUE(value(l, "media").contains("play video/1.avi"));
    EXPECT_EQ(disk(),
              before +
                  "[Block2]\r\nscore=1500\r\nNiveau=1\r\nNumQuestion=4\r\nReponses justes=2\r\n"
                  "Pourcentage=66%\r\nPause=0\r\n" +
                  after);
}

// Loading replaces whatever is shown; a wait that was running ends without going on.
TEST_F(Slots, LoadingReplacesEveryKindOfScreen) {
    writeSlots(
        "[Block1]\r\nscore=2000\r\nNiveau=2\r\nNumQuestion=5\r\nReponses "
        "justes=3\r\nPourcentage=75%\r\n"
        "[Block4]\r\nscore=5000\r\nNiveau=3\r\nNumQuestion=10\r\nReponses justes=9\r\nPause=1\r\n");
    const QString load = QStringLiteral("menu fichier/charger/Block 1");
    std::vector<int> loads;
    play << load;  // over the title
    loads.push_back(play.mark());
    play << load;  // over a level
    loads.push_back(play.mark());
    play.answers(4, true);
    play.answers(2, false);
    play << "wait 1000" << load;  // over the results of the lost level
    loads.push_back(play.mark());
    play << "menu fichier/charger/Block 4"
         << QStringLiteral("wait %1").arg(kPauseMs + kResultsMs + kVideoMs) << "type Zoé"
         << load;  // over the name entry
    loads.push_back(play.mark());
    play << "menu fichier/Les meilleurs joueurs"
         << "wait 3000" << load;  // over the best players
    loads.push_back(play.mark());
    play << "wait 30000";
    const int later = play.mark();
    play.run();

    for (std::size_t i = 0; i < loads.size(); ++i) {
        const Dump& l = play.at(loads[i]);
        EXPECT_EQ(value(l, "screens"), "levelScreenPresent") << i;
        EXPECT_EQ(widgetText(l, "numquest"), "5/10") << i;
        EXPECT_TRUE(value(l, "media").contains("play video/2.avi")) << i;
    }
    EXPECT_EQ(value(play.at(later), "message"), "<absent>");
    EXPECT_FALSE(value(play.at(later), "media").contains("video/0.avi"));
    EXPECT_FALSE(QFile::exists(pack.path("save/highscores.ini")));
}

TEST_F(Slots, NoSaveOutsideALevelNorFromAMenuOpenedBeforeTheLevelEnded) {
    play << "menu fichier/sauvegarder/Block 1"
         << "key Enter";
    play.answers(9, true);
    play << "menu fichier";  // opened during the last question: the save items are enabled
    play.answer(true);
    play << QStringLiteral("wait %1").arg(kPauseMs +
                                          1000);  // the results show, the menu still open
    play << "pick fichier/sauvegarder/Block 1";
    const int picked = play.mark();
    play.run();
    EXPECT_TRUE(play.output().text.startsWith("menu: disabled\n"));
    EXPECT_EQ(value(play.at(picked), "screens"), "resultScreenPresent");
    EXPECT_EQ(value(play.at(picked), "message"), "<absent>");
    EXPECT_EQ(disk(), "<missing>");
}

TEST_F(Slots, WithoutASaveFolderTheSaveFailsAndTheGameGoesOn) {
    pack.remove("save");
    play << "key Enter"
         << "wait 1000"
         << "menu fichier/sauvegarder/Block 2";
    const int failed = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(failed), "message"), "\"Unable to write to save/Sauvegardes.ini.\"");
    EXPECT_EQ(value(play.at(failed), "widget TimerQuest"), "enabled=1 interval=9850");
}

TEST_F(Slots, ASlotSavedInThePauseGoesOnWithTheNextQuestionAndCountsItsAnswerOnce) {
    play << "key Enter";
    play.answers(2, true);
    play.answer(true);
    play << "wait 1000"
         << "menu fichier/sauvegarder/Block 1"
         << "menu fichier/charger/Block 1";
    const int loaded = play.mark();
    play.answer(true);
    const int answered = play.mark();
    play.run();
    const Dump& l = play.at(loaded);
    EXPECT_EQ(widgetText(l, "numquest"), "4/10");
    EXPECT_EQ(value(l, "ReponsesJustes"), "3");
    EXPECT_EQ(value(l, "score"), "3000");
    EXPECT_EQ(value(l, "AttenteReponse"), "1");
    EXPECT_EQ(value(play.at(answered), "ReponsesJustes"), "4");
    EXPECT_EQ(widgetText(play.at(answered), "pourcent"), "100%");
}

TEST_F(Slots, ASlotSavedInThePauseAfterALevelsLastAnswerEndsTheLevel) {
    play << "key Enter";
    play.answers(8, true);
    play.answers(1, false);
    play.answer(false);
    play << "wait 1000"
         << "menu fichier/sauvegarder/Block 1"
         << "menu fichier/charger/Block 1";
    const int loaded = play.mark();
    play << QStringLiteral("wait %1").arg(kPauseMs);
    const int results = play.mark();
    play.run();
    const Dump& l = play.at(loaded);
    EXPECT_EQ(widgetText(l, "numquest"), "10/10");
    EXPECT_EQ(value(l, "AttenteReponse"), "0");
    EXPECT_EQ(value(l, "widget TimerPause"), "enabled=1 interval=2500");
    EXPECT_TRUE(shown(play.at(results), "pass"));
    EXPECT_EQ(widgetText(play.at(results), "pourcent"), " 80% ");
}

TEST_F(Slots, ABonusSlotSavedAfterTheFatalAnswerFinishesTheGame) {
    play << "key Enter";
    for (int level = 1; level <= 3; ++level) {
        play.answers(10, true);
        play << QStringLiteral("wait %1").arg(level < 3 ? kResultsMs : kBonusResultsMs);
    }
    play.answers(4, true);
    play.answer(false);
    play << "wait 1000"
         << "menu fichier/sauvegarder/Block 1"
         << "menu fichier/charger/Block 1";
    const int loaded = play.mark();
    play << QStringLiteral("wait %1").arg(kPauseMs);
    const int results = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(loaded), "MortSubite"), "1");
    EXPECT_EQ(value(play.at(loaded), "score"), "75500");
    EXPECT_TRUE(shown(play.at(results), "fin"));
    EXPECT_EQ(widgetText(play.at(results), "pourcent"), " 80% ");
}

struct Slot {
    const char* name;
    const char* keys;  // of section Block1
    const char* niveau;
    const char* numquest;
    const char* reponsesJustes;
    const char* pourcent;
};

void PrintTo(const Slot& slot, std::ostream* os) {
    *os << slot.name;
}

class LoadedSlots : public Slots, public ::testing::WithParamInterface<Slot> {};

TEST_P(LoadedSlots, GiveAGameThatCanBePlayedAndEnded) {
    const Slot slot = GetParam();
    writeSlots(QByteArray("[Block1]\r\n") + slot.keys);
    play << "menu fichier/charger/Block 1";
    const int loaded = play.mark();
    play.run();
    const Dump& l = play.at(loaded);
    EXPECT_EQ(value(l, "message"), "<absent>");
    EXPECT_EQ(value(l, "Niveau"), slot.niveau);
    EXPECT_EQ(widgetText(l, "numquest"), slot.numquest);
    EXPECT_EQ(value(l, "ReponsesJustes"), slot.reponsesJustes);
    EXPECT_EQ(widgetText(l, "pourcent"), slot.pourcent);
    EXPECT_TRUE(value(l, "media").contains(QStringLiteral("play video/%1.avi").arg(slot.niveau)));
    EXPECT_EQ(codes(l).size(), QString(slot.numquest).endsWith("/30") ? 30 : 10);
    EXPECT_EQ(currentCode(l),
              codes(l).value(widgetText(l, "numquest").section(u'/', 0, 0).toInt() - 1));
}

INSTANTIATE_TEST_SUITE_P(
    Slots, LoadedSlots,
    ::testing::Values(
        Slot{"NeverSaved", "", "1", "1/10", "0", "0%"},
        Slot{"BonusLevel",
             "Niveau=4\r\nNumQuestion=12\r\nReponses justes=11\r\nPourcentage=100%\r\n", "4",
             "12/30", "11", "100%"},
        Slot{"LevelBeyondTheBonus", "Niveau=7\r\nNumQuestion=3\r\nReponses justes=1\r\n", "1",
             "3/10", "1", "50%"},
        Slot{"LevelZero", "Niveau=0\r\n", "1", "1/10", "0", "0%"},
        Slot{"QuestionBeyondTheLevel", "Niveau=2\r\nNumQuestion=11\r\nReponses justes=7\r\n", "2",
             "1/10", "0", "0%"},
        Slot{"QuestionBeyondTheBonus", "Niveau=4\r\nNumQuestion=31\r\n", "4", "1/30", "0", "0%"},
        Slot{"QuestionNotANumber", "Niveau=3\r\nNumQuestion=abc\r\n", "3", "1/10", "0", "0%"},
        Slot{"MoreRightAnswersThanAsked",
             "NumQuestion=3\r\nReponses justes=9\r\nPause=0\r\nPourcentage=450%\r\n", "1", "3/10",
             "2", "100%"},
        Slot{"NegativeRightAnswers", "NumQuestion=3\r\nReponses justes=-4\r\nPourcentage=0%\r\n",
             "1", "3/10", "0", "0%"},
        // Saved before the pause was recorded: as many right answers as the question number was
        // the pause after a right answer; fewer loads as it always did.
        Slot{"OlderSlotInThePause", "NumQuestion=3\r\nReponses justes=3\r\nPourcentage=100%\r\n",
             "1", "4/10", "3", "100%"},
        Slot{"OlderSlotDuringAQuestion",
             "NumQuestion=3\r\nReponses justes=1\r\nPourcentage=50%\r\n", "1", "3/10", "1", "50%"}),
    [](const ::testing::TestParamInfo<Slot>& slot) { return std::string(slot.param.name); });

TEST_F(Slots, AnEditedQuestionNumberStillLetsTheLevelEnd) {
    writeSlots("[Block1]\r\nNiveau=2\r\nNumQuestion=12\r\n");
    play << "menu fichier/charger/Block 1";
    play.answers(10, true);
    const int results = play.mark();
    play.run();
    EXPECT_TRUE(shown(play.at(results), "pass"));
}

}  // namespace save_test
