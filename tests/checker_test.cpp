// The content checker's question checks, on copies of the default bank with one fault each.

#include "content/bank/questionbank.h"
#include "core/layout.h"
#include "platform/database.h"
#include "platform/errors.h"
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
    std::vector<bank::Question> questions = bank::readTsv(QStringLiteral(VORN_SOURCE_DIR "/content/questions.tsv"));

    QStringList check() {
        QDir(dir.path()).mkpath(QStringLiteral("dB"));
        bank::writeTable(dir.filePath(QStringLiteral("dB/questionnaire.db")), questions);
        check::Report report;
        check::checkQuestions(dir.path(), report);
        return report.faults();
    }
    bank::Question& row(const QString& code) {
        for (auto& q : questions)
            if (q.code == code) return q;
        throw std::out_of_range("no such code in the bank");
    }
};

TEST_F(QuestionChecks, TheDefaultBankPasses) {
    EXPECT_EQ(questions.size(), 456u);
    EXPECT_EQ(check(), QStringList());
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
    row("1b3").enonce = QString(QStringLiteral("Pourquoi ")).repeated(20).trimmed() + QStringLiteral("\u202f?");
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
    EXPECT_EQ(faults,
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
    EXPECT_TRUE(faults[0].endsWith(R"((1c2): answer r1 has "金" (U+91D1), a character the font of its label lacks)"))
        << faults[0].toStdString();
    EXPECT_TRUE(faults[1].endsWith(R"((1c2): answer r1 has "星" (U+661F), a character the font of its label lacks)"))
        << faults[1].toStdString();
    EXPECT_TRUE(faults[2].endsWith(R"((1c3): the question has "♞" (U+265E), a character the font of its label lacks)"))
        << faults[2].toStdString();
}

// The level screen reaches past the client area, so the main window shows its vertical scroll bar
// over the right of the screen: a theme must end left of it, not merely inside the screen.
TEST_F(QuestionChecks, AThemeReachingUnderTheScrollBarIsNamed) {
    row("1b4").Theme = QStringLiteral("Géographie");
    const QStringList faults = check();
    ASSERT_EQ(faults.size(), 1) << faults.join(u'\n').toStdString();
    EXPECT_TRUE(faults[0].contains("(1b4): the theme is "));
    EXPECT_TRUE(faults[0].endsWith(
        QStringLiteral("under the vertical scroll bar that begins at x = %1").arg(layout::principal::visibleWidth)))
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

}  // namespace

namespace checker_test {

TEST(Typography, PlainSpacesBeforeMarksAfterGuillemetsAndInsideNumbersAreFaults) {
    const struct {
        const char* text;
        QStringList faults;
    } cases[] = {
        {"Quelle est la capitale du Japon ?", {R"(a plain space before "?")"}},
        // Narrow or not, a no-break space is right.
        {"Quoi\u00a0? Là\u202f! Non\u202f; oui\u00a0: «\u202fbien\u202f»\u202f; 3\u202f000\u00a0000", {}},
        {"«  Oui »  !", {R"(a plain space after "«")", R"(a plain space before "»")", R"(a plain space before "!")"}},
        {"3 000 000 km et 1\u202f000 000", {R"(a plain space inside the number "3 000 000")",
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

}  // namespace
