// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// From question to question and level to level: thresholds, the results screen, the bonus level
// and its sudden death, the lost game, and commands that arrive while a results screen waits.

#include "support/scenario.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace vorn::test;

namespace progression_test {

constexpr int kResultsMs = 4000;
constexpr int kBonusResultsMs = 7000;

class Progression : public ::testing::Test {
  protected:
    TestPack pack;
    Play play{pack};

    // Plays a level of ten questions with `right` right answers first; the results screen is up.
    void level(int right) {
        play.answers(right, true);
        play.answers(10 - right, false);
    }
};

TEST_F(Progression, PerfectGameReachesTheBonusLevelAndPlaysItThrough) {
    play << "key Enter";
    level(10);
    const int passed1 = play.mark();
    play << QStringLiteral("wait %1").arg(kResultsMs);
    const int level2 = play.mark();
    level(10);
    play << QStringLiteral("wait %1").arg(kResultsMs);
    level(10);
    const int bonusResults = play.mark();
    play << QStringLiteral("wait %1").arg(kBonusResultsMs - 1);
    const int stillResults = play.mark();
    play << "wait 1";
    const int bonus = play.mark();
    play.answers(29, true);
    play.answer(true);
    const int last = play.mark();
    play << QStringLiteral("wait %1").arg(kPauseMs);
    const int finished = play.mark();
    play << QStringLiteral("wait %1").arg(kResultsMs);
    const int nameEntry = play.mark();
    play.run();

    const Dump& r1 = play.at(passed1);
    EXPECT_EQ(value(r1, "screens"), "resultScreenPresent");
    EXPECT_TRUE(shown(r1, "pass"));
    EXPECT_TRUE(shown(r1, "votre"));
    EXPECT_EQ(widgetText(r1, "pourcent"), " 100% ");
    EXPECT_EQ(widgetField(r1, "Timer1", "interval"), "4000");
    EXPECT_EQ(widgetField(r1, "fond", "picture"), "image/resultats.jpg");

    const Dump& l2 = play.at(level2);
    EXPECT_EQ(value(l2, "Niveau"), "2");
    EXPECT_EQ(value(l2, "NiveauInit"), "2");
    EXPECT_EQ(value(l2, "score"), "10000");
    EXPECT_EQ(widgetText(l2, "LabelScore"), "10000");
    EXPECT_EQ(widgetText(l2, "numquest"), "1/10");
    EXPECT_EQ(widgetText(l2, "pourcent"), "0%");
    EXPECT_EQ(widgetField(l2, "fond", "picture"), "image/niv2.jpg");
    EXPECT_TRUE(value(l2, "media").contains("play video/2.avi"));

    const Dump& rb = play.at(bonusResults);
    EXPECT_EQ(value(rb, "score"), "60000");
    EXPECT_TRUE(shown(rb, "bonus"));
    EXPECT_TRUE(shown(rb, "attention"));
    EXPECT_FALSE(shown(rb, "votre"));
    EXPECT_FALSE(shown(rb, "pourcent"));
    EXPECT_FALSE(shown(rb, "pass"));
    EXPECT_EQ(widgetField(rb, "Timer1", "interval"), "7000");
    EXPECT_EQ(value(play.at(stillResults), "screens"), "resultScreenPresent");

    const Dump& b = play.at(bonus);
    EXPECT_EQ(value(b, "Niveau"), "4");
    EXPECT_EQ(widgetText(b, "numquest"), "1/30");
    EXPECT_EQ(codes(b).size(), 30);
    EXPECT_EQ(widgetField(b, "fond", "picture"), "image/niv4.jpg");

    const Dump& l = play.at(last);
    EXPECT_EQ(value(l, "score"), "180000");
    EXPECT_EQ(widgetText(l, "numquest"), "30/30");
    const Dump& f = play.at(finished);
    EXPECT_TRUE(shown(f, "fin"));
    EXPECT_EQ(widgetText(f, "pourcent"), " 100% ");
    // The end video, then the best players: 180000 enters the empty table.
    const Dump& n = play.at(nameEntry);
    EXPECT_EQ(value(n, "screens"), "nameEntryScreenPresent");
    EXPECT_TRUE(value(n, "media").endsWith("play video/6.avi\nclose video/6.avi"));
}

TEST_F(Progression, BonusLevelEndsAtTheFirstWrongAnswer) {
    play << "key Enter";
    for (int l = 0; l < 3; ++l) {
        level(10);
        play << QStringLiteral("wait %1").arg(l < 2 ? kResultsMs : kBonusResultsMs);
    }
    play.answers(4, true);
    play.answer(false);
    const int wrong = play.mark();
    play << QStringLiteral("wait %1").arg(kPauseMs);
    const int results = play.mark();
    play.run();
    const Dump& w = play.at(wrong);
    EXPECT_EQ(value(w, "MortSubite"), "1");
    EXPECT_EQ(value(w, "score"), "75500");  // 60000 + 4 x 4000 - 500
    const Dump& r = play.at(results);
    EXPECT_EQ(value(r, "screens"), "resultScreenPresent");
    EXPECT_TRUE(shown(r, "fin"));
    EXPECT_EQ(widgetText(r, "pourcent"), " 80% ");
    EXPECT_EQ(value(r, "MortSubite"), "0");
}

TEST_F(Progression, TheBonusPercentageIsTruncated) {
    play << "key Enter";
    for (int l = 0; l < 3; ++l) {
        level(10);
        play << QStringLiteral("wait %1").arg(l < 2 ? kResultsMs : kBonusResultsMs);
    }
    play.answers(2, true);
    play.then([](const Dump&) {
        return QStringLiteral("wait %1").arg(kQuestionMs);
    });  // a time-out ends it too
    play << QStringLiteral("wait %1").arg(kPauseMs);
    const int results = play.mark();
    play.run();
    EXPECT_EQ(widgetText(play.at(results), "pourcent"), " 66% ");
    EXPECT_TRUE(shown(play.at(results), "fin"));
}

struct Threshold {
    int level;
    int right;
    bool passes;
};

class Thresholds : public Progression, public ::testing::WithParamInterface<Threshold> {};

TEST_P(Thresholds, LevelIsPassedOnTheExactRatio) {
    const Threshold t = GetParam();
    play << "key Enter";
    for (int l = 1; l < t.level; ++l) {
        level(9);  // passes levels 1 and 2 without a perfect score
        play << QStringLiteral("wait %1").arg(kResultsMs);
    }
    level(t.right);
    const int results = play.mark();
    play << QStringLiteral("wait %1").arg(kResultsMs);
    const int next = play.mark();
    play.run();
    const Dump& r = play.at(results);
    EXPECT_EQ(widgetText(r, "pourcent"), QStringLiteral(" %1% ").arg(t.right * 10));
    if (!t.passes) {
        EXPECT_TRUE(shown(r, "over"));
        const Dump& n = play.at(next);
        EXPECT_EQ(value(n, "screens"), "titleScreenPresent");
        EXPECT_TRUE(
            value(n, "media").contains("play video/5.avi\nclose video/5.avi\nopen video/0.avi"));
    } else if (t.level < 3) {
        EXPECT_TRUE(shown(r, "pass"));
        EXPECT_EQ(value(play.at(next), "Niveau"), QString::number(t.level + 1));
    } else {
        EXPECT_TRUE(shown(r, "fin"));  // level 3 passed without 60000: the game is finished
        EXPECT_TRUE(value(play.at(next), "media").contains("play video/6.avi"));
    }
}

INSTANTIATE_TEST_SUITE_P(EachLevel, Thresholds,
                         ::testing::Values(Threshold{1, 8, true}, Threshold{1, 7, false},
                                           Threshold{2, 7, true}, Threshold{2, 6, false},
                                           Threshold{3, 6, true}, Threshold{3, 5, false}));

TEST_F(Progression, LostGameGoesBackToTheIntroAndTitle) {
    play << "key Enter";
    level(0);
    const int results = play.mark();
    play << QStringLiteral("wait %1").arg(kResultsMs);
    const int title = play.mark();
    play.run();
    const Dump& r = play.at(results);
    EXPECT_TRUE(shown(r, "over"));
    EXPECT_EQ(widgetText(r, "over"), "Vous avez perdu.");
    EXPECT_EQ(widgetText(r, "pourcent"), " 0% ");
    EXPECT_EQ(value(r, "score"), "-5000");
    const Dump& t = play.at(title);
    EXPECT_EQ(value(t, "screens"), "titleScreenPresent");
    EXPECT_TRUE(value(t, "media")
                    .contains(QRegularExpression(
                        "open video/5.avi\nplay video/5.avi\nclose video/5.avi\nopen "
                        "video/0.avi\nplay video/0.avi\nclose video/0.avi\n"
                        "open son/titre.mid\nplay son/titre.mid")));
}

TEST_F(Progression, WrongAnswersNeverEndALevelEarly) {
    play << "key Enter";
    play.answers(9, false);
    const int tenth = play.mark();
    play.run();
    EXPECT_EQ(widgetText(play.at(tenth), "numquest"), "10/10");
    EXPECT_EQ(value(play.at(tenth), "screens"), "levelScreenPresent");
}

TEST_F(Progression, EscDuringTheResultsWaitEndsTheProgramCleanly) {
    play << "key Enter";
    level(10);
    play << "wait 1000"
         << "key Esc";
    const int closed = play.mark();
    play << "wait 20000";
    const int later = play.mark();
    play.run();
    const Dump& c = play.at(closed);
    EXPECT_EQ(value(c, "exited"), "1");
    EXPECT_EQ(value(c, "screens"), "none");
    EXPECT_EQ(value(play.at(later), "media"), "<absent>");  // no level 2 after the results' time
    EXPECT_EQ(value(play.at(later), "Niveau"), "2");
}

TEST_F(Progression, RestartDuringTheResultsWaitAbandonsTheRestOfTheSequence) {
    play << "key Enter";
    level(10);
    play << "wait 1000"
         << "menu fichier/redémarrer";
    const int restarted = play.mark();
    play << "wait 20000";
    const int later = play.mark();
    play.run();
    const Dump& r = play.at(restarted);
    EXPECT_EQ(value(r, "screens"), "titleScreenPresent");
    EXPECT_EQ(value(r, "message"), "<absent>");
    const Dump& l = play.at(later);
    EXPECT_EQ(value(l, "screens"), "titleScreenPresent");
    EXPECT_FALSE(value(l, "media").contains("video/2.avi"));
    EXPECT_EQ(value(l, "message"), "<absent>");
}

TEST_F(Progression, ScriptEndingDuringAWaitEndsCleanly) {
    play << "key Enter";
    level(10);  // the script ends while the results screen waits
    const auto& out = play.run();
    EXPECT_EQ(out.status, 0);
}

TEST_F(Progression, MissingResultsPictureLeavesTheScreenUntilTheNextTeardown) {
    pack.remove("image/resultats.jpg");
    play << "key Enter";
    level(10);
    const int failed = play.mark();
    play << "wait 10000";
    const int later = play.mark();
    play << "menu fichier/redémarrer";
    const int restarted = play.mark();
    play.run();
    const Dump& f = play.at(failed);
    EXPECT_EQ(value(f, "message"), "\"Cannot open file image/resultats.jpg.\"");
    EXPECT_EQ(value(f, "screens"), "resultScreenPresent");
    EXPECT_FALSE(shown(f, "pass"));
    EXPECT_EQ(value(play.at(later), "screens"), "resultScreenPresent");
    EXPECT_EQ(value(play.at(restarted), "screens"), "titleScreenPresent");
}

}  // namespace progression_test
