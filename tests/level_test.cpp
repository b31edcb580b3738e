// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Playing a level on the test pack: set-up, questions, answers, time-outs, F12, scoring, the
// percentage and the face, and the failures of a broken pack.

#include "support/announcing.h"
#include "support/pictures.h"
#include "support/scenario.h"

#include "content/writers/midiwriter.h"

#include <QFile>

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <set>

using namespace vorn::test;

namespace level_test {

class Level : public ::testing::Test {
  protected:
    TestPack pack;
    Play play{pack};
};

QString reponse(int n) {
    return QStringLiteral("reponse%1").arg(n);
}

TEST_F(Level, NewGameShowsTheFirstQuestionOfTenDistinctCodes) {
    play << "key Enter";
    const int m = play.mark();
    play.run();
    const Dump& d = play.at(m);
    EXPECT_EQ(value(d, "screens"), "levelScreenPresent");
    const QStringList list = codes(d);
    ASSERT_EQ(list.size(), 10);
    EXPECT_EQ(std::set<QString>(list.begin(), list.end()).size(), 10u);
    for (const QString& code : list)
        EXPECT_TRUE(QRegularExpression("^1[a-f]([1-9]|1[0-9])$").match(code).hasMatch());
    const QString code = currentCode(d);
    EXPECT_EQ(code, list[0]);
    EXPECT_EQ(widgetText(d, "question"), QStringLiteral("Question %1 ?").arg(code));
    EXPECT_EQ(widgetText(d, "reponse3"), QStringLiteral("Réponse 3 de %1").arg(code));
    EXPECT_EQ(widgetText(d, "theme"), QStringLiteral("Thème %1").arg(code[1]));
    EXPECT_EQ(widgetText(d, "numquest"), "1/10");
    EXPECT_EQ(widgetText(d, "pourcent"), "0%");
    EXPECT_EQ(widgetText(d, "LabelScore"), "0");
    EXPECT_EQ(widgetField(d, "fond", "picture"), "image/niv1.jpg");
    EXPECT_EQ(widgetField(d, "visage3", "picture"), "image/aliasMb-a.bmp");
    EXPECT_EQ(widgetField(d, "TimerQuest", "enabled"), "1");
    EXPECT_EQ(widgetField(d, "TimerPause", "enabled"), "0");
    EXPECT_EQ(widgetField(d, "sablier", "playing"), "1");
    EXPECT_EQ(widgetField(d, "music", "mode"), "playing");
    EXPECT_FALSE(shown(d, "alarme"));
    for (int n = 1; n <= 4; ++n) {
        EXPECT_FALSE(shown(d, QStringLiteral("juste%1").arg(n)));
        EXPECT_FALSE(shown(d, QStringLiteral("faux%1").arg(n)));
        EXPECT_EQ(widgetField(d, reponse(n), "opaque"), "0");
    }
    EXPECT_EQ(value(d, "AttenteReponse"), "1");
    EXPECT_EQ(value(d, "NiveauInit"), "1");
}

TEST_F(Level, RightAnswerMarksScoresAndPauses) {
    play << "key Enter";
    play.answer(true);
    const int m = play.mark();
    play.run();
    const Dump& d = play.at(m);
    const int br = rightAnswer(currentCode(d));
    EXPECT_TRUE(shown(d, QStringLiteral("juste%1").arg(br)));
    EXPECT_EQ(widgetField(d, reponse(br), "opaque"), "1");
    EXPECT_EQ(value(d, "score"), "1000");
    EXPECT_EQ(widgetText(d, "LabelScore"), "1000");
    EXPECT_EQ(widgetText(d, "pourcent"), "100%");
    EXPECT_EQ(value(d, "ReponsesJustes"), "1");
    EXPECT_EQ(value(d, "AttenteReponse"), "0");
    EXPECT_EQ(widgetField(d, "TimerQuest", "enabled"), "0");
    EXPECT_EQ(widgetField(d, "TimerPause", "enabled"), "1");
    EXPECT_EQ(widgetField(d, "sablier", "frame"), "1");  // stopped on its start frame
    EXPECT_TRUE(
        value(d, "media").endsWith("close son/juste.wav\nopen son/juste.wav\nplay son/juste.wav"));
}

TEST_F(Level, WrongAnswerMarksTheKeyAndShowsTheRightOne) {
    play << "key Enter";
    play.answer(false);
    const int m = play.mark();
    play.run();
    const Dump& d = play.at(m);
    const QString code = currentCode(d);
    EXPECT_TRUE(shown(d, QStringLiteral("faux%1").arg(wrongAnswer(code))));
    EXPECT_FALSE(shown(d, QStringLiteral("juste%1").arg(rightAnswer(code))));
    EXPECT_EQ(widgetField(d, reponse(rightAnswer(code)), "opaque"), "1");
    EXPECT_EQ(widgetField(d, reponse(wrongAnswer(code)), "opaque"), "0");
    EXPECT_EQ(value(d, "score"), "-500");
    EXPECT_EQ(widgetText(d, "LabelScore"), "-500");
    EXPECT_EQ(widgetText(d, "pourcent"), "0%");
    EXPECT_EQ(widgetField(d, "visage3", "picture"), "image/aliasMb-e.bmp");
    EXPECT_TRUE(value(d, "media").endsWith("open son/faux.wav\nplay son/faux.wav"));
    EXPECT_EQ(value(d, "MortSubite"), "0");  // only on the bonus level
}

TEST_F(Level, TimeOutRingsTheAlarmWithoutAWrongMark) {
    play << "key Enter" << QStringLiteral("wait %1").arg(kQuestionMs - 1);
    const int before = play.mark();
    play << "wait 1";
    const int after = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(before), "AttenteReponse"), "1");
    const Dump& d = play.at(after);
    const QString code = currentCode(d);
    EXPECT_TRUE(shown(d, "alarme"));
    for (int n = 1; n <= 4; ++n) EXPECT_FALSE(shown(d, QStringLiteral("faux%1").arg(n)));
    EXPECT_EQ(widgetField(d, reponse(rightAnswer(code)), "opaque"), "1");
    EXPECT_EQ(value(d, "score"), "-500");
    EXPECT_EQ(value(d, "AttenteReponse"), "0");
    EXPECT_EQ(widgetField(d, "TimerPause", "enabled"), "1");
    EXPECT_TRUE(value(d, "media").endsWith("play son/faux.wav"));
}

TEST_F(Level, F12HighlightsWithoutClosingTheQuestion) {
    play << "key Enter"
         << "key F12";
    const int highlighted = play.mark();
    play << "key F12";
    play.answer(true);
    play << "key F12";
    const int answered = play.mark();
    play.run();
    const Dump& d = play.at(highlighted);
    const int br = rightAnswer(currentCode(d));
    EXPECT_EQ(widgetField(d, reponse(br), "opaque"), "1");
    EXPECT_EQ(value(d, "AttenteReponse"), "1");
    EXPECT_EQ(widgetField(d, "TimerQuest", "enabled"), "1");
    EXPECT_EQ(value(d, "score"), "0");
    const Dump& a = play.at(answered);
    EXPECT_EQ(value(a, "score"), "1000");
    EXPECT_TRUE(shown(a, QStringLiteral("juste%1").arg(br)));
}

TEST_F(Level, MainRowDigitsAreNoAnswer) {
    play << "key Enter"
         << "key 1"
         << "key 2"
         << "key 3"
         << "key 4";
    // Nor are the navigation block's keys that the keypad sends with Num Lock off.
    play << "key End"
         << "key Down"
         << "key Next"
         << "key Left";
    const int m = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(m), "AttenteReponse"), "1");
    EXPECT_EQ(value(play.at(m), "score"), "0");
}

TEST_F(Level, PercentageAndFaceFollowEveryAnswer) {
    play << "key Enter";
    play.answers(2, true);
    play.answer(false);
    const int third = play.mark();
    play << QStringLiteral("wait %1").arg(kPauseMs);
    const int fourth = play.mark();
    play.run();
    const Dump& d = play.at(third);
    EXPECT_EQ(widgetText(d, "pourcent"), "66%");
    EXPECT_EQ(widgetField(d, "visage3", "picture"), "image/aliasMb-b.bmp");
    EXPECT_EQ(value(d, "score"), "1500");
    // The next question clears the marks and the highlight.
    const Dump& n = play.at(fourth);
    EXPECT_EQ(widgetText(n, "numquest"), "4/10");
    EXPECT_EQ(currentCode(n), codes(n)[3]);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(widgetField(n, reponse(k), "opaque"), "0");
        EXPECT_FALSE(shown(n, QStringLiteral("juste%1").arg(k)));
        EXPECT_FALSE(shown(n, QStringLiteral("faux%1").arg(k)));
    }
    EXPECT_EQ(value(n, "AttenteReponse"), "1");
}

TEST_F(Level, TheLevelsMusicLoops) {
    play << "key Enter" << QStringLiteral("wait %1").arg(kTuneMs * 2 + 10);
    const int m = play.mark();
    play.run();
    const QString media = value(play.at(m), "media");
    const auto plays = media.count(QRegularExpression("play son/[1-6]\\.mid"));
    EXPECT_EQ(plays, 3) << media.toStdString();
}

TEST_F(Level, TunesWithoutNotesEndOnceAndTheGameGoesOn) {
    vorn::writers::MidiTrack silence;
    silence.endOfTrack(0);
    const QByteArray empty = vorn::writers::midiBytes({silence}, 480);
    pack.write("son/titre.mid", empty);
    for (int n = 1; n <= 6; ++n) pack.write(QStringLiteral("son/%1.mid").arg(n), empty);
    play << "key Enter"
         << "wait 2500";
    const int started = play.mark();
    play.answers(10, true);
    play << "wait 4000";  // the results, then the next level
    const int nextLevel = play.mark();
    play.run();
    const Dump& s = play.at(started);
    EXPECT_EQ(widgetField(s, "music", "mode"), "stopped");
    // Played, ended at once, played again by its notice, and left at that.
    const QString media = value(s, "media");
    EXPECT_EQ(media.count(QRegularExpression("play son/[1-6]\\.mid")), 2) << media.toStdString();
    EXPECT_EQ(value(s, "message"), "<absent>");
    const Dump& n = play.at(nextLevel);
    EXPECT_EQ(value(n, "screens"), "levelScreenPresent");
    EXPECT_EQ(value(n, "Niveau"), "2");
    EXPECT_EQ(value(n, "score"), "10000");
    EXPECT_EQ(widgetText(n, "numquest"), "1/10");
    EXPECT_EQ(play.output().status, 0);
}

TEST_F(Level, ACodeWithoutARowHasEmptyTextsAndNoRightAnswer) {
    pack.writeTable({.keep = [](const QString& code) { return !code.startsWith(u'1'); }});
    play << "key Enter"
         << "key F12";
    const int highlighted = play.mark();
    play << "key KP1";
    const int answered = play.mark();
    play.run();
    const Dump& d = play.at(highlighted);
    EXPECT_EQ(widgetText(d, "question"), "");
    EXPECT_EQ(widgetText(d, "reponse1"), "");
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(widgetField(d, reponse(n), "opaque"), "0");
    const Dump& a = play.at(answered);
    EXPECT_EQ(value(a, "score"), "-500");
    EXPECT_TRUE(shown(a, "faux1"));
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(widgetField(a, reponse(n), "opaque"), "0");
}

TEST_F(Level, MissingRightAnswerColumnFailsAtTheFirstAnswerKey) {
    pack.writeTable({.withBr = false});
    play << "key Enter";
    const int shownQuestion = play.mark();
    play << "key KP2";
    const int answered = play.mark();
    play.run();
    const Dump& q = play.at(shownQuestion);
    EXPECT_EQ(value(q, "message"), "<absent>");
    EXPECT_FALSE(widgetText(q, "question").isEmpty());
    const Dump& a = play.at(answered);
    EXPECT_EQ(value(a, "message"), "\"Query1: Field 'br' not found.\"");
    // The key stopped the question timer before the read failed.
    EXPECT_EQ(widgetField(a, "TimerQuest", "enabled"), "0");
}

TEST_F(Level, MissingLevelPictureStopsTheSetUp) {
    pack.remove("image/niv1.jpg");
    play << "key Enter";
    const int m = play.mark();
    play.run();
    const Dump& d = play.at(m);
    EXPECT_EQ(value(d, "message"), "\"Cannot open file image/niv1.jpg.\"");
    EXPECT_EQ(value(d, "media").contains("play video/1.avi"), true);
    EXPECT_EQ(value(d, "AttenteReponse"), "0");
}

TEST_F(Level, DamagedOrOversizedPicturesStopTheSetUpNamingTheirFile) {
    QFile faux(pack.path("image/faux.bmp"));
    ASSERT_TRUE(faux.resize(faux.size() - 40));
    play << "key Enter";
    const int m = play.mark();
    play.run();
    const Dump& d = play.at(m);
    EXPECT_EQ(value(d, "message"),
              "\"image/faux.bmp: Bitmap image is not valid: its pixel data is incomplete.\"");
    EXPECT_EQ(value(d, "AttenteReponse"), "0");

    TestPack other;
    QImage small(64, 44, QImage::Format_RGB32);
    small.fill(Qt::darkBlue);
    other.write("image/niv1.jpg", withJpegSize(jpegBytes(small, false, false), 30000, 30000));
    Play oversized(other);
    oversized << "key Enter";
    const int o = oversized.mark();
    oversized.run();
    EXPECT_EQ(
        value(oversized.at(o), "message"),
        "\"image/niv1.jpg: Picture is too large: 30000 x 30000 pixels, at most 8192 x 8192.\"");
    EXPECT_EQ(value(oversized.at(o), "AttenteReponse"), "0");
}

// Refused at the level's set-up, as a broken file is, with a message naming the file and what
// is too large in it: an answer sound announcing 50 minutes (opened with the level screen) and an
// hourglass announcing 6000 frames of 320 x 240.
TEST_F(Level, FilesOverTheirBudgetStopTheSetUpNamingTheirFile) {
    const std::pair<QString, QByteArray> files[] = {
        {"son/juste.wav", waveHeader({}, 529'200'000)},
        {"video/sablier2.avi", announcingAvi(pack.path("video/sablier2.avi"), 320, 240, 6000, 60)},
    };
    const QString messages[] = {
        "\"son/juste.wav: a sound of 50 min is too long for the game, at most 60 s.\"",
        "\"video/sablier2.avi: 6000 frames of 320 x 240 are too many for an animation: 16 MB "
        "holds 54 at that size.\"",
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(files[i].first.toStdString());
        TestPack oversized;
        oversized.write(files[i].first, files[i].second);
        Play game(oversized);
        game << "key Enter";
        const int m = game.mark();
        game.run();
        EXPECT_EQ(value(game.at(m), "message"), messages[i]);
        EXPECT_EQ(value(game.at(m), "AttenteReponse"), "0");
    }
}

TEST_F(Level, OtherFilesOfTheDatabaseFolderAreNeverRead) {
    // A thumbnail cache of random bytes, and another table file holding other questions under
    // the same table name, sorting before the real one.
    QByteArray noise(8192, 0);
    for (int i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    pack.write("dB/Thumbs.db", noise);
    pack.writeTable({.br = [](const QString& code) { return QVariant(wrongAnswer(code)); },
                     .file = "dB/ancien.db",
                     .question = "Leurre"});
    play << "key Enter";
    const int shownQuestion = play.mark();
    play.answer(true);
    const int answered = play.mark();
    play.run();
    const Dump& q = play.at(shownQuestion);
    EXPECT_EQ(value(q, "message"), "<absent>");
    EXPECT_EQ(widgetText(q, "question"), QStringLiteral("Question %1 ?").arg(currentCode(q)));
    EXPECT_EQ(value(play.at(answered), "score"), "1000");
}

TEST_F(Level, RightAnswerNumbersBeyond32BitsAreNoRightAnswer) {
    // 2^32 + n: cut to 32 bits, it would read as the right answer n.
    pack.writeTable({.br = [](const QString& code) {
        return QVariant((qint64{1} << 32) + rightAnswer(code));
    }});
    play << "key Enter"
         << "key F12";
    const int highlighted = play.mark();
    play.answer(true);
    const int answered = play.mark();
    play << QStringLiteral("wait %1").arg(kPauseMs) << QStringLiteral("wait %1").arg(kQuestionMs);
    const int timedOut = play.mark();
    play.run();
    const Dump& h = play.at(highlighted);
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(widgetField(h, reponse(n), "opaque"), "0");
    const Dump& a = play.at(answered);
    const int key = rightAnswer(currentCode(a));
    EXPECT_EQ(value(a, "score"), "-500");
    EXPECT_TRUE(shown(a, QStringLiteral("faux%1").arg(key)));
    EXPECT_FALSE(shown(a, QStringLiteral("juste%1").arg(key)));
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(widgetField(a, reponse(n), "opaque"), "0");
    const Dump& t = play.at(timedOut);
    EXPECT_EQ(value(t, "NumQuestion"), "2");
    EXPECT_TRUE(shown(t, "alarme"));
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(widgetField(t, reponse(n), "opaque"), "0");
    EXPECT_EQ(value(t, "message"), "<absent>");
}

TEST_F(Level, MissingDatabaseFailsBeforeAnyVideo) {
    pack.remove("dB");
    play << "key Enter";
    const int m = play.mark();
    play.run();
    const Dump& d = play.at(m);
    EXPECT_EQ(value(d, "message"), "\"Database directory 'dB' not found.\"");
    EXPECT_FALSE(value(d, "media").contains("video/1.avi"));
    EXPECT_EQ(value(d, "screens"), "none");
}

}  // namespace level_test
