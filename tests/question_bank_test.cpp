// The default question bank as a player meets it: every level holds each theme equally, the right
// answers are spread over the four keys, no question is asked twice, numbers among the choices rise
// with the right one an end about half the time, and the texts wrap the French way in their labels.

#include "content/bank/questionbank.h"
#include "core/layout.h"
#include "platform/fonts.h"
#include "tools/checker/typography_check.h"

#include <QRegularExpression>
#include <QTextLayout>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include <gtest/gtest.h>

using namespace vorn;

namespace {

const std::vector<bank::Question>& defaultBank() {
    static const std::vector<bank::Question> questions =
        bank::readTsv(QStringLiteral(VORN_SOURCE_DIR "/content/questions.tsv"));
    return questions;
}

QStringList answersOf(const bank::Question& q) {
    return {q.r1, q.r2, q.r3, q.r4};
}

std::string where(const bank::Question& q) {
    return q.code.toStdString() + " (line " + std::to_string(q.line) + ")";
}

TEST(QuestionBank, EveryLevelHoldsNineteenQuestionsOfEachThemeUnderOneName) {
    std::map<QString, int> perLevelAndTheme;
    std::map<QChar, std::set<QString>> namesOfLetter;
    for (const auto& q : defaultBank()) {
        ++perLevelAndTheme[q.code.left(2)];
        namesOfLetter[q.code[1]].insert(q.Theme);
    }
    std::set<QString> names;
    for (char level = '1'; level <= '4'; ++level)
        for (char letter = 'a'; letter <= 'f'; ++letter)
            EXPECT_EQ(perLevelAndTheme[QString(QChar(level)) + QChar(letter)], 19)
                << level << letter;
    for (const auto& [letter, themes] : namesOfLetter) {
        EXPECT_EQ(themes.size(), 1u)
            << "letter " << QString(letter).toStdString() << ": "
            << QStringList(themes.begin(), themes.end()).join(", ").toStdString();
        names.insert(themes.begin(), themes.end());
    }
    EXPECT_EQ(names.size(), 6u);
}

TEST(QuestionBank, RightAnswersAreSpreadEvenlyOverTheFourKeys) {
    std::map<int, int> overall;
    std::map<QChar, std::map<int, int>> perLevel;
    for (const auto& q : defaultBank()) {
        ++overall[q.br.toInt()];
        ++perLevel[q.code[0]][q.br.toInt()];
    }
    for (int key = 1; key <= 4; ++key) {
        EXPECT_EQ(overall[key], 114) << "key " << key;
        // 114 questions a level: 28 or 29 for each key.
        for (const auto& [level, counts] : perLevel) {
            EXPECT_GE(counts.at(key), 28) << "level " << level.toLatin1() << " key " << key;
            EXPECT_LE(counts.at(key), 29) << "level " << level.toLatin1() << " key " << key;
        }
    }
}

TEST(QuestionBank, NoQuestionIsAskedTwice) {
    std::map<QString, QString> seen;
    for (const auto& q : defaultBank()) {
        QString text = q.enonce.toLower();
        text.replace(QRegularExpression(QStringLiteral("[\\s\u00a0\u202f]+")), QStringLiteral(" "));
        const auto [at, added] = seen.emplace(text, q.code);
        EXPECT_TRUE(added) << where(q) << " asks what " << at->second.toStdString() << " asks";
    }
}

TEST(QuestionBank, TextsSetTheirMarksAndNumbersWithNoBreakSpaces) {
    static const QRegularExpression ungrouped(QStringLiteral("\\d{5,}"));
    for (const auto& q : defaultBank()) {
        for (const QString& text : QStringList{q.enonce, q.Theme} + answersOf(q)) {
            EXPECT_EQ(check::typographyFaults(text), QStringList())
                << where(q) << ": " << text.toStdString();
            // From ten thousand on, a number shows its groups of thousands.
            EXPECT_FALSE(ungrouped.match(text).hasMatch())
                << where(q) << ": " << text.toStdString();
        }
    }
}

// The value of a choice written as a number, possibly followed by a unit; the unit is the same for
// all four choices of a question that asks for a number.
struct Amount {
    double value;
    QString unit;
};

std::optional<Amount> amountOf(const QString& choice) {
    static const QRegularExpression number(
        QStringLiteral("^([\u2212-]?\\d[\\d\u00a0\u202f]*(?:,\\d+)?)(.*)$"));
    const auto m = number.match(choice);
    if (!m.hasMatch()) return std::nullopt;
    QString digits = m.captured(1);
    digits.remove(QChar(0x00a0))
        .remove(QChar(0x202f))
        .replace(u',', u'.')
        .replace(QChar(0x2212), u'-');
    Amount amount{digits.toDouble(), m.captured(2).trimmed()};
    if (amount.unit.startsWith(QStringLiteral("av.")))
        amount.value = -amount.value;  // before our era
    return amount;
}

// The four values of a question whose choices are all numbers of one unit, or nothing.
std::optional<std::vector<double>> numericChoices(const bank::Question& q) {
    std::vector<Amount> amounts;
    for (const QString& choice : answersOf(q))
        if (const auto amount = amountOf(choice)) amounts.push_back(*amount);
    if (amounts.size() != 4 || std::any_of(amounts.begin(), amounts.end(), [&](const Amount& a) {
            return a.unit != amounts[0].unit;
        }))
        return std::nullopt;
    std::vector<double> values;
    for (const Amount& a : amounts) values.push_back(a.value);
    return values;
}

// A player who drops the smallest and the largest number, or who keeps only them, wins no more
// often than by chance; the choices rise, so that the four read as a scale.
TEST(QuestionBank, NumbersAmongTheChoicesRiseAndTheRightOneIsAnEndAboutHalfTheTime) {
    int numeric = 0, atEnds = 0;
    for (const auto& q : defaultBank()) {
        const auto values = numericChoices(q);
        if (!values) continue;
        ++numeric;
        EXPECT_TRUE(std::is_sorted(values->begin(), values->end(), std::less_equal<>()))
            << where(q) << ": " << answersOf(q).join(" | ").toStdString();
        const double right = (*values)[q.br.toInt() - 1];
        const auto below =
            std::count_if(values->begin(), values->end(), [&](double v) { return v < right; });
        if (below == 0 || below == 3) ++atEnds;
    }
    EXPECT_GE(numeric, 60);  // the rule did look at the questions that ask for a number
    EXPECT_GE(atEnds * 100, numeric * 40) << atEnds << " of " << numeric;
    EXPECT_LE(atEnds * 100, numeric * 60) << atEnds << " of " << numeric;
}

// The questions that do not ask for a number keep their right answers near a quarter on each key
// too, so that the even spread overall does not come from pairing one habit with its opposite.
TEST(QuestionBank, QuestionsOfWordsSpreadTheirRightAnswersOverTheFourKeysOnEachLevel) {
    std::map<QChar, std::map<int, int>> perLevel;
    std::map<int, int> overall;
    for (const auto& q : defaultBank()) {
        if (numericChoices(q)) continue;
        ++perLevel[q.code[0]][q.br.toInt()];
        ++perLevel[q.code[0]][0];
        ++overall[q.br.toInt()];
        ++overall[0];
    }
    perLevel[u'*'] = overall;
    for (auto& [level, counts] : perLevel)
        for (int key = 1; key <= 4; ++key) {
            EXPECT_GE(counts[key] * 100, counts[0] * 22) << level.toLatin1() << " key " << key;
            EXPECT_LE(counts[key] * 100, counts[0] * 28) << level.toLatin1() << " key " << key;
        }
}

// The lines the label shows for a text wrapped at the label's width in its font.
QStringList wrappedLines(const TextPlacement& label, const QString& text) {
    QTextLayout layout(text, layoutFont(label.font));
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label.box.width());
        lines.append(text.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines;
}

TEST(QuestionBank, WrappedLinesNeverBeginWithAMarkOrEndOnAnOpeningGuillemet) {
    const QString closing = QStringLiteral("?!:;»");
    int wrapped = 0;
    for (const auto& q : defaultBank()) {
        const std::pair<const TextPlacement*, QString> shown[] = {
            {&layout::niv::question, q.enonce}, {&layout::niv::reponse[0], q.r1},
            {&layout::niv::reponse[1], q.r2},   {&layout::niv::reponse[2], q.r3},
            {&layout::niv::reponse[3], q.r4},
        };
        for (const auto& [label, text] : shown) {
            const QStringList lines = wrappedLines(*label, text);
            if (lines.size() > 1) ++wrapped;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QString line = lines[i].trimmed();
                if (line.isEmpty()) continue;
                EXPECT_FALSE(i > 0 && closing.contains(line.front()))
                    << where(q) << ": a line begins with \"" << line.toStdString() << "\"";
                EXPECT_FALSE(i + 1 < lines.size() && line.back() == u'«')
                    << where(q) << ": a line ends with \"" << line.toStdString() << "\"";
                EXPECT_FALSE(i > 0 && line.front().isDigit() &&
                             lines[i - 1].trimmed().back().isDigit())
                    << where(q) << ": a number is cut at \"" << line.toStdString() << "\"";
            }
        }
    }
    EXPECT_GE(wrapped, 50);  // many texts take two lines: the rule was put to the test
}

}  // namespace
