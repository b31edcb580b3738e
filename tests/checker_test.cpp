// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The content checker's question checks, on copies of the default bank with one fault each.

#include "content/bank/questionbank.h"
#include "core/layout.h"
#include "platform/database.h"
#include "platform/errors.h"
#include "tools/checker/fairness_check.h"
#include "tools/checker/questions_check.h"
#include "tools/checker/typography_check.h"

#include "support/printing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace vorn;

namespace checker_test {

class QuestionChecks : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    std::vector<bank::Question> questions =
        bank::readTsv(QStringLiteral(VORN_SOURCE_DIR "/content/questions.tsv"));

    check::Report report() {
        QDir(dir.path()).mkpath(QStringLiteral("dB"));
        bank::writeTable(dir.filePath(QStringLiteral("dB/questionnaire.db")), questions);
        check::Report report;
        check::checkQuestions(dir.path(), report);
        return report;
    }
    QStringList check() { return report().faults(); }
    QStringList warnings() { return report().warnings(); }
    bank::Question& row(const QString& code) {
        for (auto& q : questions)
            if (q.code == code) return q;
        throw std::out_of_range("no such code in the bank");
    }
};

TEST_F(QuestionChecks, TheDefaultBankPasses) {
    EXPECT_EQ(questions.size(), 456u);
    const check::Report checked = report();
    EXPECT_EQ(checked.faults(), QStringList());
    EXPECT_EQ(checked.warnings(), QStringList());
}

// Each fault a player would learn to exploit, or a reader would stumble on, built into the
// default bank: the checker warns about it and still passes the pack.
TEST_F(QuestionChecks, WarnsAboutAGiveAwayAPlainSpaceBeforeAUnitAndNumbersWithTheAnswerOffTheEnds) {
    row("1a12").enonce =
        QStringLiteral("Quel chef gaulois a été vaincu par Jules César à Alésia\u202f?");
    row("1d6").enonce = QStringLiteral(
        "Quel héros de Jules Verne parie qu'il fera le tour du monde en 80 jours\u202f?");
    row("1e15").r2 = QStringLiteral("Tous les 3 ans");
    // Every question that asks for a number gets its right answer second of its sorted values.
    int numeric = 0;
    for (auto& q : questions) {
        auto choices = std::array{q.r1, q.r2, q.r3, q.r4};
        if (!check::numericChoices(choices)) continue;
        ++numeric;
        std::array<int, 4> order{0, 1, 2, 3};
        const auto values = *check::numericChoices(choices);
        std::sort(order.begin(), order.end(), [&](int a, int b) { return values[a] < values[b]; });
        q.br = QString::number(order[1] + 1);
    }
    ASSERT_GE(numeric, 40);
    const check::Report checked = report();
    EXPECT_TRUE(checked.ok()) << checked.faults().join(u'\n').toStdString();
    const QStringList w = checked.warnings();
    const auto has = [&](const QString& part) {
        return std::any_of(w.begin(), w.end(),
                           [&](const QString& line) { return line.contains(part); });
    };
    EXPECT_TRUE(has(
        QStringLiteral("(1a12): warning: the question names \"Jules César\", the right answer of "
                       "1a15, a question of the same level")))
        << w.join(u'\n').toStdString();
    EXPECT_TRUE(has(QStringLiteral(
        "(1d6): warning: the question has a plain space between \"80\" and \"jours\"; "
        "use a no-break space")))
        << w.join(u'\n').toStdString();
    EXPECT_TRUE(has(
        QStringLiteral("(1e15): warning: answer r2 has a plain space between \"3\" and \"ans\"")))
        << w.join(u'\n').toStdString();
    EXPECT_TRUE(has(
        QStringLiteral("dB/questionnaire.db: warning: of the %1 questions whose choices are all "
                       "numbers, 0 (0 %) have the right answer as the smallest or the largest: a "
                       "player who drops the smallest and the largest wins")
            .arg(numeric)))
        << w.join(u'\n').toStdString();
    EXPECT_EQ(w.size(), 4) << w.join(u'\n').toStdString();
}

// A text that names the answer of a question of a later level warns; one that names the answer
// of an earlier level, which the game has shown before this text can come up, or its own answer
// does not.
TEST_F(QuestionChecks, AGiveAwayCountsOnlyWhenTheNamedAnswerMayComeLater) {
    row("1c8").enonce = QStringLiteral(
        "Quel savant, lecteur de Johannes Kepler, a formulé la théorie de la relativité\u202f?");
    row("3c7").enonce = QStringLiteral(
        "Quel astronome, lu par Isaac Newton, a énoncé les lois du mouvement des planètes\u202f?");
    row("2b2").enonce =
        QStringLiteral("Quelle ville, Ottawa ou Toronto, est la capitale du Canada\u202f?");
    EXPECT_EQ(
        warnings(),
        (QStringList{
            R"(dB/questionnaire.db: row 46 (1c8): warning: the question names "Johannes Kepler", the right answer of 3c7, a question of a later level: a game that asks both may ask this one first)",
        }));
}

TEST_F(QuestionChecks, AMissingCodeIsNamed) {
    std::erase_if(questions, [](const bank::Question& q) { return q.code == u"3d7"; });
    EXPECT_EQ(check(), QStringList{"dB/questionnaire.db: no row for the code 3d7"});
}

TEST_F(QuestionChecks, ARightAnswerOutsideOneToFourNamesItsRow) {
    row("2a4").br = QStringLiteral("5");
    row("2a5").br = QStringLiteral("x");
    const QStringList faults = check();
    ASSERT_EQ(faults.size(), 2);
    EXPECT_TRUE(faults[0].contains("(2a4): br is 5")) << faults[0].toStdString();
    EXPECT_TRUE(faults[1].contains("(2a5): br is x")) << faults[1].toStdString();
}

TEST_F(QuestionChecks, RightAnswersThatOnlyWrapIntoOneToFourAreNamed) {
    row("2a6").br = QStringLiteral("4294967298");   // 2^32 + 2
    row("2a7").br = QStringLiteral("-4294967295");  // -2^32 + 1
    const QStringList faults = check();
    ASSERT_EQ(faults.size(), 2);
    EXPECT_TRUE(faults[0].contains("(2a6): br is 4294967298; it must be the number 1 to 4"))
        << faults[0].toStdString();
    EXPECT_TRUE(faults[1].contains("(2a7): br is -4294967295; it must be"))
        << faults[1].toStdString();
}

TEST_F(QuestionChecks, TextsThatDoNotFitTheirLabelsAreNamed) {
    row("1b2").r3 = QStringLiteral("Une réponse beaucoup trop longue pour tenir sur deux lignes");
    row("1b3").enonce =
        QString(QStringLiteral("Pourquoi ")).repeated(20).trimmed() + QStringLiteral("\u202f?");
    row("1b4").Theme = QStringLiteral("Arts, lettres et spectacles");
    const QStringList faults = check();
    ASSERT_EQ(faults.size(), 3);
    EXPECT_TRUE(faults[0].contains("(1b2): answer r3 takes 3 lines")) << faults[0].toStdString();
    EXPECT_TRUE(faults[1].contains("(1b3): the question takes")) << faults[1].toStdString();
    EXPECT_TRUE(faults[2].contains("(1b4): the theme is")) << faults[2].toStdString();
}

// A plain space where a line may not break is named with its row, its field and its mark; the
// no-break spaces, narrow or not, pass.
TEST_F(QuestionChecks, PlainSpacesWhereFrenchTypographyWantsANoBreakSpaceAreNamed) {
    row("1b18").enonce = QStringLiteral("Quelle est la capitale de l'Argentine ?");
    row("2c3").r2 = QStringLiteral("1 000");
    row("2d1").enonce = QStringLiteral("Qui a écrit « Germinal\u202f» ?");
    row("3a1").Theme = QStringLiteral("Histoire :");
    row("3a2").r1 = QStringLiteral("1\u202f000\u00a0: «\u00a0ici\u202f»\u202f!");
    const QStringList faults = check();
    EXPECT_EQ(
        faults,
        (QStringList{
            R"(dB/questionnaire.db: row 37 (1b18): the question has a plain space before "?"; use a no-break space)",
            R"(dB/questionnaire.db: row 155 (2c3): answer r2 has a plain space inside the number "1 000"; use a no-break space)",
            R"(dB/questionnaire.db: row 172 (2d1): the question has a plain space after "«"; use a no-break space)",
            R"(dB/questionnaire.db: row 172 (2d1): the question has a plain space before "?"; use a no-break space)",
            R"(dB/questionnaire.db: row 229 (3a1): the theme has a plain space before ":"; use a no-break space)",
        }))
        << faults.join(u'\n').toStdString();
}

TEST_F(QuestionChecks, CharactersTheLabelFontLacksAreNamed) {
    row("1c2").r1 = QStringLiteral("金星");
    row("1c3").enonce = QStringLiteral("Combien de pattes possède une araignée\u202f? ♞");
    const QStringList faults = check();
    ASSERT_EQ(faults.size(), 3) << faults.join(u'\n').toStdString();
    EXPECT_TRUE(faults[0].endsWith(
        R"((1c2): answer r1 has "金" (U+91D1), a character the font of its label lacks)"))
        << faults[0].toStdString();
    EXPECT_TRUE(faults[1].endsWith(
        R"((1c2): answer r1 has "星" (U+661F), a character the font of its label lacks)"))
        << faults[1].toStdString();
    EXPECT_TRUE(faults[2].endsWith(
        R"((1c3): the question has "♞" (U+265E), a character the font of its label lacks)"))
        << faults[2].toStdString();
}

// The level screen reaches past the client area, so the main window shows its vertical scroll bar
// over the right of the screen: a theme must end left of it, not merely inside the screen.
TEST_F(QuestionChecks, AThemeReachingUnderTheScrollBarIsNamed) {
    row("1b4").Theme = QStringLiteral("Géographie");
    const QStringList faults = check();
    ASSERT_EQ(faults.size(), 1) << faults.join(u'\n').toStdString();
    EXPECT_TRUE(faults[0].contains("(1b4): the theme is "));
    EXPECT_TRUE(
        faults[0].endsWith(QStringLiteral("under the vertical scroll bar that begins at x = %1")
                               .arg(layout::principal::visibleWidth)))
        << faults[0].toStdString();
}

TEST_F(QuestionChecks, EmptyOrRepeatedAnswersAndDuplicateCodesAreNamed) {
    row("4f1").r2 = QString();
    row("4f2").r4 = row("4f2").r1;
    questions.push_back(row("4f3"));
    const QStringList faults = check();
    ASSERT_EQ(faults.size(), 3);
    EXPECT_TRUE(faults[0].contains("(4f1): answer r2 is empty"));
    EXPECT_TRUE(faults[1].contains("(4f2): answer r4 repeats another answer"));
    EXPECT_TRUE(faults[2].contains("(4f3): the code appears more than once"));
}

TEST_F(QuestionChecks, AMissingTableFileIsReported) {
    check::Report report;
    check::checkQuestions(dir.path(), report);
    EXPECT_EQ(report.faults(), QStringList{"dB/questionnaire.db: missing"});
}

// The game's question lookup and the checker on the same database folders: both take a folder
// or both refuse it, and the game's message names the file.
TEST_F(QuestionChecks, TheGameAndTheCheckerAgreeOnEveryDatabaseFolder) {
    QDir db(dir.filePath(QStringLiteral("dB")));
    auto table = [&](const char* name) { bank::writeTable(db.filePath(name), questions); };
    auto bytes = [&](const QString& name, const QByteArray& content) {
        QFile f(db.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    const std::function<void()> strays = [&] {
        table("questionnaire.db");
        bytes(QStringLiteral("Thumbs.db"), QByteArray(2048, '\x7f'));
        for (int i = 0; i < 11; ++i) bytes(QStringLiteral("copie%1.db").arg(i), "no database");
    };
    const std::function<void()> renamed = [&] {
        sqlite3* handle = nullptr;
        sqlite3_open(db.filePath("questionnaire.db").toUtf8().constData(), &handle);
        sqlite3_exec(handle, "CREATE TABLE questions (code TEXT)", nullptr, nullptr, nullptr);
        sqlite3_close(handle);
    };
    const struct {
        std::function<void()> make;
        const char* refusedFile;  // null when the folder is fine
    } folders[] = {
        {strays, nullptr},
        {[&] { table("Questionnaire.DB"); }, nullptr},
        {[&] { table("questions.db"); }, "questionnaire.db"},
        {renamed, "questionnaire.db"},
        {[&] { bytes(QStringLiteral("questionnaire.db"), QByteArray(4096, 'x')); },
         "questionnaire.db"},
        {[&] {
             table("questionnaire.db");
             table("QUESTIONNAIRE.db");
         },
         "QUESTIONNAIRE.db"},
    };
    for (std::size_t i = 0; i < std::size(folders); ++i) {
        SCOPED_TRACE(i);
        db.removeRecursively();
        QDir().mkpath(db.path());
        folders[i].make();
        QString refusal;
        try {
            Query q(QStringLiteral("Query1"), db.path(),
                    {QStringLiteral("select *"), QStringLiteral("from questionnaire"),
                     QStringLiteral("where code like :numero")});
            q.open();
        } catch (const Error& e) {
            refusal = e.message();
        }
        check::Report report;
        check::checkQuestions(dir.path(), report);
        if (folders[i].refusedFile) {
            EXPECT_TRUE(refusal.contains(db.filePath(folders[i].refusedFile)))
                << refusal.toStdString();
            EXPECT_FALSE(report.ok());
        } else {
            EXPECT_EQ(refusal, QString());
            EXPECT_EQ(report.faults(), QStringList());
        }
    }
}

}  // namespace checker_test

namespace checker_test {

TEST(Typography, PlainSpacesBeforeMarksAfterGuillemetsAndInsideNumbersAreFaults) {
    const struct {
        const char* text;
        QStringList faults;
    } cases[] = {
        {"Quelle est la capitale du Japon ?", {R"(a plain space before "?")"}},
        // Narrow or not, a no-break space is right.
        {"Quoi\u00a0? Là\u202f! Non\u202f; oui\u00a0: «\u202fbien\u202f»\u202f; "
         "3\u202f000\u00a0000",
         {}},
        {"«  Oui »  !",
         {R"(a plain space after "«")", R"(a plain space before "»")",
          R"(a plain space before "!")"}},
        {"3 000 000 km et 1\u202f000 000",
         {R"(a plain space inside the number "3 000 000")",
          "a plain space inside the number \"1\u202f000 000\""}},
        // Years, decimals, other numbers side by side and a factorial are well set as they are.
        {"1789, 1896 et 1924 ; 42,195 km", {R"(a plain space before ";")"}},
        {"Combien font 7 × 8\u202f? 5! vaut 120, 12 0000 ou 1 2345", {}},
        {"Tab\t?", {R"(a plain space before "?")"}},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(check::typographyFaults(text), c.faults) << c.text;
        // What a spreadsheet's author typed comes out well set, and a well set text unchanged.
        const QString mended = check::withFrenchSpacing(text);
        EXPECT_EQ(check::typographyFaults(mended), QStringList()) << c.text;
        if (c.faults.isEmpty()) {
            EXPECT_EQ(mended, text) << c.text;
        }
    }
    EXPECT_EQ(check::withFrenchSpacing(QStringLiteral("Oui : « non » ?")),
              QStringLiteral("Oui\u00a0: «\u202fnon\u202f»\u202f?"));
}

}  // namespace checker_test

namespace checker_test {

TEST(Typography, APlainSpaceBetweenANumberAndItsUnitOrWhatItCountsIsNamed) {
    const struct {
        const char* text;
        QStringList faults;
    } cases[] = {
        {"Le tour du monde en 80 jours\u202f?", {R"(a plain space between "80" and "jours")"}},
        {"Tous les 2 ans", {R"(a plain space between "2" and "ans")"}},
        {"15 millions de\u00a0km", {R"(a plain space between "15" and "millions")"}},
        {"Le 6 août, à 8 h",
         {R"(a plain space between "6" and "août")", R"(a plain space between "8" and "h")"}},
        {"78 % de l'air et −273,15 °C",
         {R"(a plain space between "78" and "%")", R"(a plain space between "273,15" and "°C")"}},
        {"3\u202f000 km et 44 av.\u00a0J.-C.",
         {"a plain space between \"3\u202f000\" and \"km\"",
          R"(a plain space between "44" and "av.")"}},
        // A year followed by the sentence, a number followed by a small word, digits inside a
        // word, and units already held by a no-break space.
        {"En 1804 Napoléon, en 1940 depuis Londres", {}},
        {"La note de 10 aux Jeux, le traité de 843 a partagé, en 44 ou 45", {}},
        {"H2O et CO2 sont des molécules, 5! vaut 120, 7 × 8 vaut 56", {}},
        {"80\u00a0jours, 2\u00a0ans, 44\u00a0av. J.-C.", {}},
        {"En 2 d'entre eux, 3 qu'on voit", {}},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(check::unitSpacingFaults(text), c.faults) << c.text;
        const QString mended = check::withFrenchSpacing(text);
        EXPECT_EQ(check::unitSpacingFaults(mended), QStringList()) << c.text;
        if (c.faults.isEmpty()) {
            EXPECT_EQ(mended, text) << c.text;
        }
    }
    EXPECT_EQ(check::withFrenchSpacing(QStringLiteral("Tous les 2 ans ?")),
              QStringLiteral("Tous les 2\u00a0ans\u202f?"));
}

TEST(Fairness, ChoicesAreNumericWhenEachIsOneNumberBetweenTheSameWords) {
    using Values = std::optional<std::array<double, 4>>;
    const struct {
        std::array<const char*, 4> choices;
        Values values;
    } cases[] = {
        {{"1789", "1792", "1799", "1815"}, std::array{1789.0, 1792.0, 1799.0, 1815.0}},
        {{"Tous les 2\u00a0ans", "Tous les 3 ans", "Tous les 4\u00a0ans", "Tous les 5\u00a0ans"},
         std::array{2.0, 3.0, 4.0, 5.0}},
        {{"9,15\u00a0m", "11\u00a0m", "13\u00a0m", "16,5\u00a0m"},
         std::array{9.15, 11.0, 13.0, 16.5}},
        {{"100", "1\u202f000", "10 000", "100\u202f000"},
         std::array{100.0, 1000.0, 10000.0, 100000.0}},
        {{"52\u00a0av.\u00a0J.-C.", "49\u00a0av.\u00a0J.-C.", "46\u00a0av.\u00a0J.-C.",
          "44\u00a0av.\u00a0J.-C."},
         std::array{-52.0, -49.0, -46.0, -44.0}},
        {{"−459,67\u00a0°C", "−273,15\u00a0°C", "0\u00a0°C", "100\u00a0°C"},
         std::array{-459.67, -273.15, 0.0, 100.0}},
        // Different words, two numbers, numbers inside words, no number.
        {{"8\u00a0mai", "14\u00a0juillet", "6\u00a0juin", "11\u00a0novembre"}, std::nullopt},
        {{"15\u00a0millions de\u00a0km", "150\u00a0millions de\u00a0km",
          "1,5\u00a0milliard de\u00a0km", "15\u00a0milliards de\u00a0km"},
         std::nullopt},
        {{"1896 et 1924", "1900 et 1924", "1900 et 1936", "1908 et 1928"}, std::nullopt},
        {{"O2", "H2O", "CO2", "O3"}, std::nullopt},
        {{"1789", "1792", "1799", "Jamais"}, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::array<QString, 4> choices{
            QString::fromUtf8(c.choices[0]), QString::fromUtf8(c.choices[1]),
            QString::fromUtf8(c.choices[2]), QString::fromUtf8(c.choices[3])};
        EXPECT_EQ(check::numericChoices(choices), c.values) << c.choices[0];
    }
}

// Below a quarter or above three quarters of the numeric questions with the right answer at an
// end, a player learns the habit; too few questions tell nothing.
TEST(Fairness, TheShareOfRightAnswersAtTheEndsWarnsOutsideAQuarterToThreeQuarters) {
    const struct {
        int numeric, atEnds;
        const char* says;  // a part of the warning, or null for none
    } cases[] = {
        {7, 0, nullptr},
        {8, 1,
         "of the 8 questions whose choices are all numbers, 1 (13 %) have the right answer as the "
         "smallest or the largest: a player who drops the smallest and the largest wins"},
        {8, 2, nullptr},
        {74, 37, nullptr},
        {8, 6, nullptr},
        {8, 7,
         "7 (88 %) have the right answer as the smallest or the largest: a player who keeps only"},
    };
    for (const auto& c : cases) {
        const QString warning = check::endsShareWarning({c.numeric, c.atEnds});
        if (c.says)
            EXPECT_TRUE(warning.contains(QString::fromUtf8(c.says))) << warning.toStdString();
        else
            EXPECT_EQ(warning, QString()) << c.numeric << " " << c.atEnds;
    }
    // The questions are counted by the place of the right value among the four, in any order.
    const std::vector<check::AskedQuestion> questions = {
        {"1a1", "?", {"3", "1", "2", "4"}, 1},               // 3: neither end
        {"1a2", "?", {"10", "30", "20", "40"}, 4},           // 40: the largest
        {"1a3", "?", {"Un", "Deux", "Trois", "Quatre"}, 1},  // no number
        {"1a4", "?", {"5", "6", "7", "8"}, 1},               // 5: the smallest
    };
    const check::EndsShare share = check::rightAnswersAtTheEnds(questions);
    EXPECT_EQ(share.numeric, 3);
    EXPECT_EQ(share.atEnds, 2);
}

TEST(Fairness, ATextGivesAwayAnAnswerItWritesWholeThatTheSameOrALaterLevelAsks) {
    const std::vector<check::AskedQuestion> questions = {
        {"1a1",
         "Qui fut assassiné aux ides de mars ?",
         {"Jules César", "Auguste", "Néron", "Caligula"},
         1},
        {"1a2",
         "Quel Gaulois Jules César a-t-il vaincu ?",
         {"Vercingétorix", "Brennus", "Ambiorix", "Dumnorix"},
         1},
        {"2a1", "En quelle année Vercingétorix s'est-il rendu ?", {"52", "50", "46", "44"}, 1},
        {"2a2",
         "Où César fut-il vainqueur ?",
         {"À Alésia", "À Gergovie", "À Bibracte", "À Avaricum"},
         1},
        {"2a3",
         "Quel pays a pour capitale Rome ?",
         {"L'Italie", "La Suisse", "L'Autriche", "Monaco"},
         1},
        {"1b1",
         "Quelle ville, Rome ou Milan, est la capitale ?",
         {"Milan", "Rome", "Turin", "Naples"},
         2},
        {"1b2",
         "Quel pays ? Jules Césarion, l'Italie",
         {"L'Italie", "La Grèce", "L'Espagne", "Malte"},
         1},
    };
    std::vector<std::string> found;
    for (const check::GiveAway& g : check::giveAways(questions))
        found.push_back((g.code + u' ' + g.name + u' ' + g.answerOf).toStdString());
    // 1a2 names the answer of 1a1 (the same level) and 1b2 that of 2a3 (a later level); 2a1 and
    // 2a3 name answers of the level before, asked before them; 2a2 names only a part of a name,
    // 1b1 its own answer; "Jules Césarion" is another name.
    EXPECT_EQ(found, (std::vector<std::string>{"1a2 Jules César 1a1", "1b2 Italie 2a3"}));
}

}  // namespace checker_test
