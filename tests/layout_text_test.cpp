// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Texts of the screens at the sizes the layouts give them: the stand-in faces must draw the
// labels whose size the layouts state within a few per cent of it, so that headings sit where the
// layouts centre them and lines wrap where the layouts expect.

#include "app/main.h"
#include "core/layout.h"
#include "core/version.h"
#include "platform/platform.h"
#include "screens/HighScores.h"
#include "screens/apropos.h"
#include "screens/nom.h"
#include "screens/resultats.h"
#include "screens/titre.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <gtest/gtest.h>

using namespace vorn;

namespace layout_text_test {

struct StatedSize {
    const char* label;
    int width;
    int height;
};

// Off by at most 3 % in width; heights differ more between faces, but stay close.
void expectNear(const Label& label, const StatedSize& stated) {
    const QSize size = label.geometry().size();
    SCOPED_TRACE(stated.label);
    EXPECT_NEAR(size.width(), stated.width, stated.width * 0.03) << "width " << size.width();
    EXPECT_NEAR(size.height(), stated.height, stated.height * 0.15) << "height " << size.height();
}

class LayoutText : public ::testing::Test {
  protected:
    VirtualPlatform platform;
    Tprincipal window{platform.platform()};
};

TEST_F(LayoutText, ResultsHeadingsAndPercentageComeOutAtTheirStatedSizes) {
    Tecran_resultat screen(window);
    expectNear(screen.votre, {"votre", 598, 23});
    expectNear(screen.pass, {"pass", 383, 23});
    expectNear(screen.over, {"over", 168, 23});
    expectNear(screen.fin, {"fin", 271, 23});
    expectNear(screen.pourcent, {"pourcent", 198, 90});
}

TEST_F(LayoutText, TitlePromptComesOutAtItsStatedSize) {
    Tecrantitre screen(window);
    expectNear(screen.Label1, {"Label1", 261, 25});
}

// Texts that are checked against the shared visible width (the themes) stay clear of the real
// scroll bar.
TEST_F(LayoutText, TheVisibleWidthTheContentKeepsToIsLeftOfTheScrollBar) {
    EXPECT_LE(layout::principal::visibleWidth, window.visibleWidth());
}

TEST_F(LayoutText, BonusAnnouncementWrapsAfterItsFirstSentenceClearOfTheScrollBar) {
    Tecran_resultat screen(window);
    const QFontMetrics fm(screen.bonus.font());
    const QRect text = screen.bonus.textBounds();
    const int sentence = fm.horizontalAdvance(
        QStringLiteral("Vous avez obtenu 100% de bonnes réponses à chaque niveau."));
    // Two lines, the first sentence alone on the first (the wider) one.
    EXPECT_EQ(text.height(), 2 * fm.height()) << text.height();
    EXPECT_NEAR(text.width(), sentence, 2) << text.width() << " " << sentence;
    for (const Label* l : {&screen.bonus, &screen.attention}) {
        SCOPED_TRACE(l->elementName().toStdString());
        const int right = l->geometry().x() + l->textBounds().right();
        EXPECT_LT(right, window.visibleWidth()) << right;
    }
    // The two lines stay centred on one another.
    EXPECT_NEAR(screen.bonus.textBounds().center().x(), screen.attention.textBounds().center().x(),
                2);
}

TEST_F(LayoutText, BestPlayersAndTheNameEntryStayLeftOfTheScrollBar) {
    Thighscore table(window);
    // The ink of a score ends before the scroll bar begins: any score of a game without the bonus
    // level, and the best score a game can reach up to the scroll bar's edge (the stand-in face's
    // figures are wider than the layout's).
    const auto inkRight = [&](const QString& text) {
        table.score(1).setText(text);
        return table.score(1).geometry().x() + table.score(1).textBounds().x() +
               QFontMetrics(table.score(1).font()).tightBoundingRect(text).right();
    };
    EXPECT_LT(inkRight(QStringLiteral("58500")), window.visibleWidth() - 10);
    EXPECT_LE(inkRight(QStringLiteral("180000")), window.visibleWidth());
    // A long name grows over the scores, uncut.
    table.nom(1).setText(QStringLiteral("Un nom assez long pour passer sur les scores"));
    EXPECT_GT(table.nom(1).geometry().right(), table.score(1).geometry().right());
    EXPECT_LT(table.titre.geometry().right(), window.visibleWidth());

    Tenternom entry(window);
    for (const Label* l : {&entry.Label1, &entry.Label2}) {
        SCOPED_TRACE(l->elementName().toStdString());
        EXPECT_LT(l->geometry().right(), window.visibleWidth()) << l->geometry().right();
    }
}

TEST_F(LayoutText, TheAboutWindowShowsTheReleaseAndTheLicencesWithinItsBoxes) {
    TForm1 about(&window, {});
    about.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(about.Label2->text().startsWith(
        QStringLiteral("Version %1, ").arg(QLatin1String(release::version))))
        << about.Label2->text().toStdString();
    EXPECT_TRUE(about.Label2->text().endsWith(QLatin1String(release::date).left(4)));
    EXPECT_LE(about.Label2->geometry().right(), about.width() - 8)
        << about.Label2->geometry().right();
    // Four lines of credits, the last the licences, each on one line of the box, none hidden.
    QTextDocument* credits = about.Memo1->document();
    ASSERT_EQ(credits->blockCount(), 4);
    EXPECT_TRUE(credits->lastBlock().text().contains(QStringLiteral("GPL")));
    EXPECT_TRUE(credits->lastBlock().text().contains(QStringLiteral("CC BY-SA")));
    for (QTextBlock block = credits->begin(); block.isValid(); block = block.next()) {
        credits->documentLayout()->blockBoundingRect(block);  // lays the block out
        EXPECT_EQ(block.layout()->lineCount(), 1) << block.text().toStdString();
    }
    EXPECT_EQ(about.Memo1->verticalScrollBar()->maximum(), 0);
}

}  // namespace layout_text_test
