// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a screen reader finds and hears, played on virtual time: every screen's texts as
// accessible objects in reading order, gone with their screen; each question, verdict, time-out,
// result, name entry and table announced once, as it happens, and nothing from a screen that has
// left. And the time to answer of the options menu: the time-out, the hourglass and the next start
// follow it.

#include "support/scenario.h"

#include "platform/element.h"
#include "platform/screen.h"
#include "screens/accessibility.h"
#include "screens/apropos.h"

#include <QAccessibleInterface>
#include <QGraphicsScene>
#include <QGraphicsView>

#include "app/main.h"

#include <QActionGroup>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vorn;
using namespace vorn::test;

namespace accessibility_test {

constexpr int kResultsMs = 4000;
constexpr int kTableMs = 7000;
const QString kTips = QStringLiteral(
    "Répondez avec les touches 1 à 4 du pavé numérique. F1 : règles du jeu. Échap : quitter. Plus "
    "de temps pour "
    "répondre : menu options.");

// The accessible objects on show, one "role \"name\"" a line, in reading order.
QStringList tree(const Dump& d) {
    const QString v = value(d, "accessible");
    return v == u"<absent>" ? QStringList() : v.split(u'\n');
}

// The announcements made since the previous dump.
QStringList heard(const Dump& d) {
    const QString v = value(d, "announced");
    return v == u"<absent>" ? QStringList() : v.split(u'\n');
}

QString node(const char* role, const QString& name) {
    return QLatin1String(role) + u' ' + quoted(name);
}

// The answers of the question on screen as read: "1 : ...", taken from the labels themselves.
QString answerRead(const Dump& d, int n) {
    return QStringLiteral("%1 : %2").arg(n).arg(
        widgetText(d, QStringLiteral("reponse%1").arg(n)).simplified());
}

// Every announcement of a whole run, in order.
QStringList allHeard(const Play& play) {
    QStringList all;
    for (const Dump& d : play.output().dumps) all << heard(d);
    return all;
}

class Accessibility : public ::testing::Test {
  protected:
    TestPack pack;
    Play play{pack};
};

TEST_F(Accessibility, TheTitleReadsItsPromptAndTipsAndSaysThemOnce) {
    const int title = play.mark();
    play.run();
    const Dump& t = play.at(title);
    EXPECT_EQ(tree(t), (QStringList{node("heading", QStringLiteral("V.O.R.N. VOZID")),
                                    node("text", QStringLiteral("APPUYEZ SUR ENTRER")),
                                    node("text", kTips)}));
    EXPECT_EQ(heard(t),
              QStringList{quoted(QStringLiteral("V.O.R.N. VOZID. APPUYEZ SUR ENTRER. ") + kTips)});
}

TEST_F(Accessibility, TheLevelScreenReadsInOrderAndAnnouncesQuestionsVerdictsAndTimeOuts) {
    play.mark();  // the title, said before
    play << "key Enter";
    const int first = play.mark();
    play.answer(true);
    const int right = play.mark();
    play << QStringLiteral("wait %1").arg(kPauseMs);
    const int second = play.mark();
    play.answer(false);
    const int wrong = play.mark();
    play << QStringLiteral("wait %1").arg(kPauseMs);
    play << QStringLiteral("wait %1").arg(kQuestionMs - 1);
    const int beforeTimeOut = play.mark();
    play << "wait 1";
    const int timedOut = play.mark();
    play.run();
    ASSERT_EQ(play.output().status, 0) << play.output().text.toStdString();

    // The question on screen, its four numbered answers, the score, the counter, the percentage
    // and the time, after the level and the theme; the title's texts have left.
    const Dump& q = play.at(first);
    const QString theme = widgetText(q, "theme");
    const QString question = widgetText(q, "question");
    EXPECT_EQ(tree(q),
              (QStringList{node("heading", QStringLiteral("Niveau 1")),
                           node("text", QStringLiteral("Thème : ") + theme), node("text", question),
                           node("text", answerRead(q, 1)), node("text", answerRead(q, 2)),
                           node("text", answerRead(q, 3)), node("text", answerRead(q, 4)),
                           node("text", QStringLiteral("Score : 0")),
                           node("text", QStringLiteral("Question 1/10")),
                           node("text", QStringLiteral("Bonnes réponses : 0%")),
                           node("text", QStringLiteral("Temps pour répondre : 9,85 s"))}));
    EXPECT_EQ(
        heard(q),
        QStringList{quoted(QStringLiteral("Niveau 1. Question 1 sur 10. Thème : ") + theme +
                           QStringLiteral(". ") + question + u' ' + answerRead(q, 1) +
                           QStringLiteral(". ") + answerRead(q, 2) + QStringLiteral(". ") +
                           answerRead(q, 3) + QStringLiteral(". ") + answerRead(q, 4) + u'.')});

    // Each verdict once, with the score after it; the tree follows the score.
    EXPECT_EQ(heard(play.at(right)), QStringList{quoted(QStringLiteral("Juste ! Score : 1000."))});
    EXPECT_TRUE(tree(play.at(right)).contains(node("text", QStringLiteral("Score : 1000"))));
    const Dump& s = play.at(second);
    ASSERT_EQ(heard(s).size(), 1);
    EXPECT_TRUE(heard(s)[0].startsWith(u"\"Question 2 sur 10. Thème : "))
        << heard(s)[0].toStdString();
    const int br = rightAnswer(currentCode(s));
    EXPECT_EQ(heard(play.at(wrong)),
              QStringList{quoted(QStringLiteral("Faux ! La bonne réponse était ") +
                                 answerRead(s, br) + QStringLiteral(". Score : 500."))});

    // The third question times out: said once, with its right answer, at the time-out and not
    // before.
    const Dump& b = play.at(beforeTimeOut);
    ASSERT_EQ(heard(b).size(), 1);  // the third question
    EXPECT_TRUE(heard(b)[0].startsWith(u"\"Question 3 sur 10."));
    EXPECT_TRUE(tree(b).contains(node("text", QStringLiteral("Temps pour répondre : 9,85 s"))));
    const Dump& o = play.at(timedOut);
    EXPECT_EQ(heard(o),
              QStringList{quoted(QStringLiteral("Temps écoulé ! La bonne réponse était ") +
                                 answerRead(b, rightAnswer(currentCode(b))) +
                                 QStringLiteral(". Score : 0."))});
    EXPECT_TRUE(tree(o).contains(node("text", QStringLiteral("Temps écoulé !"))));
}

// A table whose right answer is no answer (an edited database): the verdicts say no right answer.
TEST_F(Accessibility, AVerdictWithoutARightAnswerSaysNone) {
    for (const qint64 br : {qint64{0}, qint64{7}, (qint64{1} << 32) + 1}) {
        SCOPED_TRACE(br);
        pack.writeTable({.br = [br](const QString&) { return QVariant(br); }});
        Play wrongTable(pack);
        wrongTable << "key Enter"
                   << "key KP1";
        const int answered = wrongTable.mark();
        wrongTable << QStringLiteral("wait %1").arg(kPauseMs)
                   << QStringLiteral("wait %1").arg(kQuestionMs);
        const int timedOut = wrongTable.mark();
        wrongTable.run();
        EXPECT_EQ(heard(wrongTable.at(answered)).last(),
                  quoted(QStringLiteral("Faux ! Score : -500.")));
        EXPECT_EQ(heard(wrongTable.at(timedOut)).last(),
                  quoted(QStringLiteral("Temps écoulé ! Score : -1000.")));
    }
}

TEST_F(Accessibility, ResultsNameEntryAndTableAreReadAndSaidOnce) {
    play << "key Enter";
    int results = 0;
    for (int level = 1; level <= 3; ++level) {
        play.answers(9, true);
        play.answers(1, false);
        if (level == 1) results = play.mark();
        play << QStringLiteral("wait %1").arg(kResultsMs);
    }
    play << QStringLiteral("wait %1").arg(kVideoMs);
    const int entry = play.mark();
    play << "type Zoé";
    const int typed = play.mark();
    play << "click valider";
    const int table = play.mark();
    play << QStringLiteral("wait %1").arg(kTableMs);
    const int title = play.mark();
    play.run();
    ASSERT_EQ(play.output().status, 0) << play.output().text.toStdString();

    const Dump& r = play.at(results);
    const QStringList resultTexts{
        QStringLiteral("Votre pourcentage de bonnes réponses sur ce niveau est de:"),
        QStringLiteral("90%"), QStringLiteral("Vous pouvez passez au niveau suivant.")};
    EXPECT_EQ(tree(r), (QStringList{node("text", resultTexts[0]), node("text", resultTexts[1]),
                                    node("text", resultTexts[2])}));
    EXPECT_EQ(heard(r).last(), quoted(resultTexts.join(u' ')));

    const Dump& e = play.at(entry);
    const QString prompt = QStringLiteral("Tapez votre nom.");
    EXPECT_EQ(
        tree(e),
        (QStringList{node("heading", QStringLiteral("Vous êtes dans les dix meilleurs joueurs!")),
                     node("text", prompt), node("edit", prompt),
                     node("button", QStringLiteral("Valider"))}));
    EXPECT_EQ(heard(e).last(),
              quoted(QStringLiteral("Vous êtes dans les dix meilleurs joueurs! Tapez votre nom.")));
    EXPECT_TRUE(heard(play.at(typed)).isEmpty());  // typing says nothing of its own

    const Dump& t = play.at(table);
    const QStringList rows = tree(t);
    ASSERT_EQ(rows.size(), 11);
    EXPECT_EQ(rows[0], node("heading", QStringLiteral("LES MEILLEURS JOUEURS")));
    EXPECT_EQ(rows[1], node("text", QStringLiteral("1 : Zoé, 52500 points")));
    for (int k = 2; k <= 10; ++k)
        EXPECT_TRUE(rows[k].startsWith(QStringLiteral("text \"%1 : ").arg(k)))
            << rows[k].toStdString();
    ASSERT_EQ(heard(t).size(), 1);
    EXPECT_TRUE(heard(t)[0].startsWith(u"\"LES MEILLEURS JOUEURS. 1 : Zoé, 52500 points. 2 : "))
        << heard(t)[0].toStdString();

    // Then the title again, alone in the tree.
    EXPECT_EQ(tree(play.at(title)).size(), 3);
    EXPECT_TRUE(tree(play.at(title))[1].contains(u"APPUYEZ SUR ENTRER"));
    // Over the whole game, nothing is said twice in a row and every level's first question says
    // its level once.
    const QStringList all = allHeard(play);
    for (int i = 1; i < all.size(); ++i) EXPECT_NE(all[i], all[i - 1]) << all[i].toStdString();
    for (const char* level : {"\"Niveau 1. Question 1 sur 10.", "\"Niveau 2. Question 1 sur 10.",
                              "\"Niveau 3. Question 1 sur 10."})
        EXPECT_EQ(
            std::count_if(all.begin(), all.end(),
                          [&](const QString& a) { return a.startsWith(QLatin1String(level)); }),
            1)
            << level;
}

TEST_F(Accessibility, ALevelThatLeavesTakesItsTextsAndSaysNothingMore) {
    // A restart during a question: the level screen goes, its time-out never comes, and the
    // intro's title is all there is to read and hear.
    play << "key Enter";
    play.mark();
    play << "menu fichier/redémarrer";
    const int restarted = play.mark();
    play << QStringLiteral("wait %1").arg(2 * kQuestionMs);
    const int later = play.mark();
    play.run();
    const Dump& r = play.at(restarted);
    EXPECT_EQ(tree(r).size(), 3);
    EXPECT_TRUE(tree(r)[1].contains(u"APPUYEZ SUR ENTRER"));
    ASSERT_EQ(heard(r).size(), 1);  // the title again
    EXPECT_TRUE(heard(r)[0].startsWith(u"\"V.O.R.N. VOZID."));
    EXPECT_TRUE(heard(play.at(later)).isEmpty());
}

// The time to answer: each choice of the options menu, the time-out after exactly that long, the
// hourglass running out with it, and the choice kept for the next start.
TEST_F(Accessibility, TheTimeToAnswerIsChosenFollowedAndKept) {
    struct Row {
        const char* item;
        int factor;
    } rows[] = {{"temps pour répondre : 19,7 s (x2)", 2},
                {"temps pour répondre : 29,55 s (x3)", 3},
                {"temps pour répondre : 9,85 s", 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.item);
        const int limit = kQuestionMs * row.factor;
        {
            Play choose(pack);
            choose << QStringLiteral("menu options/") + QString::fromUtf8(row.item) << "key Enter"
                   << QStringLiteral("wait %1").arg(limit / 2);
            const int half = choose.mark();
            choose << QStringLiteral("wait %1").arg(limit - limit / 2 - 1);
            const int before = choose.mark();
            choose << "wait 1";
            const int after = choose.mark();
            choose.run();
            ASSERT_EQ(choose.output().status, 0) << choose.output().text.toStdString();
            EXPECT_EQ(value(choose.at(before), "AttenteReponse"), "1");
            EXPECT_EQ(value(choose.at(after), "AttenteReponse"), "0");
            EXPECT_TRUE(shown(choose.at(after), "alarme"));
            // The hourglass is halfway at half the time, not yet run out.
            const int halfway = widgetField(choose.at(half), "sablier", "frame").toInt();
            EXPECT_GE(halfway, 20);
            EXPECT_LE(halfway, 26);
            EXPECT_TRUE(
                tree(choose.at(half))
                    .contains(
                        node("text", QStringLiteral("Temps pour répondre : ") +
                                         QStringList{QStringLiteral("9,85"), QStringLiteral("19,7"),
                                                     QStringLiteral("29,55")}[row.factor - 1] +
                                         QStringLiteral(" s"))));
        }
        // The next start reads it back.
        Play next(pack);
        next << "key Enter" << QStringLiteral("wait %1").arg(limit - 1);
        const int before = next.mark();
        next << "wait 1";
        const int after = next.mark();
        next.run();
        EXPECT_EQ(value(next.at(before), "AttenteReponse"), "1");
        EXPECT_EQ(value(next.at(after), "AttenteReponse"), "0");
    }
    // Kept in a file of its own; the saves and the table are not written.
    QFile options(pack.path(QStringLiteral("save/options.ini")));
    ASSERT_TRUE(options.open(QIODevice::ReadOnly));
    EXPECT_TRUE(options.readAll().contains("TempsDeReponse=1"));
    EXPECT_FALSE(QFile::exists(pack.path(QStringLiteral("save/Sauvegardes.ini"))));
}

// The options menu: the two display items, a separator, then the three times to answer, checkable
// and exclusive, the layout's checked. (With VORN_SHOTS set to a folder, the open menu is drawn
// into options-menu.png there.)
TEST_F(Accessibility, TheOptionsMenuOffersTheTimesAfterTheDisplay) {
    QStringList items;
    play << "menu options/temps pour répondre : 29,55 s (x3)";
    play.observe([&](Tprincipal& window) {
        if (!items.isEmpty()) return;
        QMenu* options = window.findChild<QMenu*>(QStringLiteral("options1"));
        if (!options) return;
        for (QAction* a : options->actions())
            items << (a->isSeparator()
                          ? QStringLiteral("-")
                          : a->text() +
                                QLatin1String(a->isCheckable() ? (a->isChecked() ? " [x]" : " [ ]")
                                                               : "") +
                                QLatin1String(a->actionGroup() && a->actionGroup()->isExclusive()
                                                  ? " excl"
                                                  : ""));
        if (const QByteArray shots = qgetenv("VORN_SHOTS"); !shots.isEmpty()) {
            options->popup(QPoint(0, 0));
            options->grab().save(QString::fromLocal8Bit(shots) +
                                 QStringLiteral("/options-menu.png"));
            options->hide();
        }
    });
    play.run();
    EXPECT_EQ(items, (QStringList{QStringLiteral("640x480 plein écran"),
                                  QStringLiteral("640x480 fenêtré"), QStringLiteral("-"),
                                  QStringLiteral("temps pour répondre : 9,85 s [ ] excl"),
                                  QStringLiteral("temps pour répondre : 19,7 s (x2) [ ] excl"),
                                  QStringLiteral("temps pour répondre : 29,55 s (x3) [x] excl")}));
}

// What the options file may hold: a value that is no time to answer gives the layout's.
TEST(AccessibilityOptions, AnOptionsFileOutOfRangeGivesTheLayoutsTime) {
    struct Row {
        const char* text;
        int wait;
    } rows[] = {{"[Options]\nTempsDeReponse=2\n", 2},
                {"[options]\ntempsdereponse=3\n", 3},
                {"[Options]\nTempsDeReponse=4\n", 1},
                {"[Options]\nTempsDeReponse=0\n", 1},
                {"[Options]\nTempsDeReponse=-2\n", 1},
                {"[Options]\nTempsDeReponse=deux\n", 1},
                {"", 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        TestPack pack;
        pack.write(QStringLiteral("save/options.ini"), QByteArray(row.text));
        Play play(pack);
        play << "key Enter" << QStringLiteral("wait %1").arg(kQuestionMs * row.wait - 1);
        const int before = play.mark();
        play << "wait 1";
        const int after = play.mark();
        play.run();
        EXPECT_EQ(value(play.at(before), "AttenteReponse"), "1");
        EXPECT_EQ(value(play.at(after), "AttenteReponse"), "0");
    }
}

// The tree of a view follows its screens: a screen's texts join when it shows and leave when it
// leaves (or is destroyed), in reading order after the screens shown before; a screen that has left
// says nothing; the view's accessible children are those texts, then the two announcers, which
// take turns and hold only the last announcement.
TEST(AccessibleTree, FollowsTheScreensAndTheirAnnouncements) {
    QGraphicsScene scene;
    QGraphicsView view(&scene);
    auto* reading = new SceneReading(view);
    auto names = [&] {
        QStringList seen;
        for (const AccessibleView::Seen& s : reading->accessible().shownNodes()) seen << s.name;
        return seen;
    };
    Screen first(QStringLiteral("first"));
    auto second = std::make_unique<Screen>(QStringLiteral("second"));
    bool hidden = false;
    describeForReading(first, {{QAccessible::Heading, [] { return QStringLiteral("  Un  "); }},
                               {QAccessible::StaticText, [] { return QStringLiteral("deux"); },
                                nullptr, [&] { return !hidden; }}});
    describeForReading(*second,
                       {{QAccessible::StaticText, [] { return QStringLiteral("trois"); }}});

    announce(first, QStringLiteral("avant"));  // not shown yet: nothing is said
    reading->screenShown(first);
    reading->screenShown(*second);
    EXPECT_EQ(names(),
              (QStringList{QStringLiteral("Un"), QStringLiteral("deux"), QStringLiteral("trois")}));
    hidden = true;
    EXPECT_EQ(names(), (QStringList{QStringLiteral("Un"), QStringLiteral("trois")}));

    announce(first, QStringLiteral("une"));
    announce(*second, QStringLiteral("une"));  // said again, by the other announcer
    EXPECT_EQ(reading->accessible().takeAnnouncements(),
              (QStringList{QStringLiteral("une"), QStringLiteral("une")}));
    QAccessibleInterface* viewInterface = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(viewInterface, nullptr);
    ASSERT_EQ(viewInterface->childCount(), 5);
    QStringList children;
    for (int i = 0; i < viewInterface->childCount(); ++i)
        children << viewInterface->child(i)->text(QAccessible::Name);
    EXPECT_EQ(children, (QStringList{QStringLiteral("Un"), QStringLiteral("deux"),
                                     QStringLiteral("trois"), QString(), QStringLiteral("une")}));
    ASSERT_NE(viewInterface->focusChild(), nullptr);
    EXPECT_EQ(viewInterface->focusChild()->text(QAccessible::Name), QStringLiteral("une"));
    EXPECT_EQ(viewInterface->indexOfChild(viewInterface->focusChild()), 4);
    EXPECT_EQ(viewInterface->text(QAccessible::Name),
              QStringLiteral("Un"));  // named after the screen on show

    // The second screen leaves: its text goes, its announcement with it, and it says nothing more.
    reading->screenLeft(*second);
    EXPECT_EQ(names(), QStringList{QStringLiteral("Un")});
    EXPECT_EQ(viewInterface->childCount(), 4);
    EXPECT_EQ(viewInterface->focusChild(), nullptr);
    announce(*second, QStringLiteral("encore"));
    EXPECT_TRUE(reading->accessible().takeAnnouncements().isEmpty());

    // Shown again, then destroyed without leaving: its texts go with it.
    reading->screenShown(*second);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("Un"), QStringLiteral("trois")}));
    second.reset();
    EXPECT_EQ(names(), QStringList{QStringLiteral("Un")});
    reading->screenLeft(first);
    EXPECT_TRUE(names().isEmpty());
}

// The About window by the keyboard alone: it opens with "Ok" under the focus, Tab leaves the
// credits instead of typing into them, and Enter on "Ok" or Esc closes it.
TEST(AccessibilityKeyboard, TheAboutWindowIsUsedWithoutAMouse) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        bool closed = false;
        TForm1 about(nullptr, [&] { closed = true; });
        about.show();
        about.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
        EXPECT_EQ(QApplication::focusWidget(), about.Button1);
        const QString credits = about.Memo1->toPlainText();
        about.Memo1->setFocus();
        QTest::keyClick(about.Memo1, Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), about.Memo1);
        EXPECT_EQ(about.Memo1->toPlainText(), credits);
        about.Button1->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_TRUE(closed);
        EXPECT_FALSE(about.isVisible());
    }
}

}  // namespace accessibility_test
