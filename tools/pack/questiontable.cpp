// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/pack/questiontable.h"

#include "core/questions.h"
#include "tools/checker/questions_check.h"
#include "tools/checker/typography_check.h"
#include "tools/pack/sheet.h"

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>

namespace vorn::packtool {

namespace {

// How two texts are compared for sameness: case and spacing aside.
QString sameKey(const QString& text) {
    return text.simplified().toCaseFolded();
}

// A level 1 to 4, or 0.
int levelOf(const QString& text) {
    bool ok = false;
    const int level = text.trimmed().toInt(&ok);
    return ok && level >= 1 && level <= kLevels ? level : 0;
}

class RowChecker {
  public:
    RowChecker(const SheetRow& row, QChar separator, QStringList& faults, QStringList& notes)
        : row_(row), separator_(separator), faults_(faults), notes_(notes) {
        for (int c = 0; c < kColumns; ++c)
            // Spreadsheets type plain spaces where French sets no-break ones ("Pourquoi ?"):
            // they are mended here, so that no mark is left alone at the start of a line.
            fields_[c] = c < row.fields.size() ? check::withFrenchSpacing(row.fields[c].trimmed())
                                               : QString();
    }

    bool check(Entry& entry) {
        const qsizetype before = faults_.size();
        if (row_.fields.size() > kColumns) {
            for (qsizetype c = kColumns; c < row_.fields.size(); ++c)
                if (!row_.fields[c].trimmed().isEmpty()) {
                    faults_.append(
                        QStringLiteral("row %1: %2 fields, %3 expected (%4); a text "
                                       "holding a %5 must be in double quotes")
                            .arg(QString::number(row_.row), QString::number(row_.fields.size()),
                                 QString::number(kColumns), headerRow().join(QStringLiteral(", ")),
                                 separatorName(separator_)));
                    // The other fields are shifted: their faults would only repeat this one.
                    return false;
                }
        }
        for (int c = 0; c < kColumns; ++c)
            if (fields_[c].isEmpty()) fail(c, QStringLiteral("missing"));

        entry.row = row_.row;
        entry.enonce = fields_[Enonce];
        fits(Enonce, check::TextPlace::Question);
        std::map<QString, int> seen;
        for (int i = 0; i < 4; ++i) {
            entry.choices[i] = fields_[Choice1 + i];
            if (entry.choices[i].isEmpty()) continue;
            fits(Choice1 + i, check::TextPlace::Answer);
            const auto [at, added] = seen.emplace(sameKey(entry.choices[i]), i);
            if (!added)
                fail(Choice1 + i, QStringLiteral("the same as choice %1").arg(at->second + 1));
        }
        entry.right = rightChoice(entry);
        entry.theme = fields_[Theme];
        if (!entry.theme.isEmpty()) fits(Theme, check::TextPlace::Theme);
        entry.level = levelOf(fields_[Level]);
        if (!fields_[Level].isEmpty() && entry.level == 0)
            fail(Level, QStringLiteral("\"%1\" is not a level: write 1, 2, 3 or 4 (4 is the bonus "
                                       "level)")
                            .arg(fields_[Level]));
        return faults_.size() == before;
    }

  private:
    void fail(int column, const QString& message) {
        faults_.append(QStringLiteral("row %1, %2 (column %3): %4")
                           .arg(row_.row)
                           .arg(columnName(column))
                           .arg(columnLetter(column))
                           .arg(message));
    }

    void fits(int column, check::TextPlace place) {
        if (const QString why = check::textMisfit(place, fields_[column]); !why.isEmpty())
            fail(column, QStringLiteral("too long for its place on the screen: it ") + why);
    }

    // The number of the right choice: written as 1 to 4, or as the text of a choice.
    int rightChoice(const Entry& entry) {
        const QString written = fields_[RightChoice];
        if (written.isEmpty()) return 0;
        bool isNumber = false;
        const int number = written.toInt(&isNumber);
        const QString key = sameKey(written);
        if (isNumber && number >= 1 && number <= 4) {
            for (int i = 0; i < 4; ++i)
                if (i != number - 1 && sameKey(entry.choices[i]) == key)
                    notes_.append(
                        QStringLiteral("row %1: right choice %2 is taken as choice number "
                                       "%2 (\"%3\"), not as the choice written \"%4\"")
                            .arg(row_.row)
                            .arg(number)
                            .arg(entry.choices[number - 1], entry.choices[i]));
            return number;
        }
        for (int i = 0; i < 4; ++i)
            if (!entry.choices[i].isEmpty() && sameKey(entry.choices[i]) == key) return i + 1;
        fail(RightChoice,
             isNumber ? QStringLiteral("%1 is out of range: write the right choice's number, 1 to "
                                       "4, or its text")
                            .arg(written)
                      : QStringLiteral("\"%1\" is none of the four choices: write the right "
                                       "choice's number, 1 to 4, or its text as written "
                                       "among the choices")
                            .arg(written));
        return 0;
    }

    const SheetRow& row_;
    const QChar separator_;
    QStringList& faults_;
    QStringList& notes_;
    QString fields_[kColumns];
};

}  // namespace

QString columnName(int column) {
    switch (column) {
        case Enonce:
            return QStringLiteral("question");
        case RightChoice:
            return QStringLiteral("right choice");
        case Theme:
            return QStringLiteral("theme");
        case Level:
            return QStringLiteral("level");
        default:
            return QStringLiteral("choice %1").arg(column - Choice1 + 1);
    }
}

QChar columnLetter(int column) {
    return QChar(u'A' + static_cast<char16_t>(column));
}

QStringList headerRow() {
    QStringList names;
    for (int c = 0; c < kColumns; ++c) names << columnName(c);
    return names;
}

TableReading readQuestionTable(const QByteArray& bytes) {
    TableReading reading;
    const Sheet sheet = readSheet(bytes, kColumns);
    reading.encoding = sheet.encoding;
    reading.separator = sheet.separator;
    if (sheet.unclosedQuoteRow != 0) {
        reading.faults.append(
            QStringLiteral("row %1 (line %2 of the file): a double quote opens a text that is "
                           "never closed; everything after it up to the end of the file would be "
                           "one field. Double the quotes inside a text (\"\") or close it")
                .arg(sheet.unclosedQuoteRow)
                .arg(sheet.unclosedQuoteLine));
        return reading;
    }
    bool first = true;
    for (const SheetRow& row : sheet.rows) {
        if (row.blank()) continue;
        if (first) {
            first = false;
            // The header names the columns; a first row with a level where the level goes is a
            // question.
            const QString level = row.fields.size() > Level ? row.fields[Level] : QString();
            reading.header = levelOf(level) == 0;
            if (reading.header) continue;
            reading.notes.append(QStringLiteral("row %1 holds a question, not the column names: "
                                                "read as a question")
                                     .arg(row.row));
        }
        RowChecker checker(row, sheet.separator, reading.faults, reading.notes);
        Entry entry;
        if (checker.check(entry)) reading.entries.push_back(std::move(entry));
    }
    // The same question with the same choices twice in a level is a copy left behind.
    std::map<std::tuple<int, QString, std::set<QString>>, int> seen;
    for (const Entry& entry : reading.entries) {
        std::set<QString> choices;
        for (const QString& choice : entry.choices) choices.insert(sameKey(choice));
        const auto [at, added] =
            seen.emplace(std::make_tuple(entry.level, sameKey(entry.enonce), choices), entry.row);
        if (!added)
            reading.faults.append(QStringLiteral("row %1: the same question as row %2")
                                      .arg(entry.row)
                                      .arg(at->second));
    }
    if (reading.entries.empty() && reading.faults.isEmpty())
        reading.faults.append(
            QStringLiteral("no questions: the table holds no row below its "
                           "column names"));
    return reading;
}

PackPlan planCodes(const std::vector<Entry>& entries) {
    PackPlan plan;
    struct ThemeGroup {
        QString name;  // as first written
        std::vector<const Entry*> entries;
    };
    std::map<int, std::vector<ThemeGroup>> levels;
    for (const Entry& entry : entries) {
        auto& themes = levels[entry.level];
        auto it = std::find_if(themes.begin(), themes.end(), [&](const ThemeGroup& g) {
            return sameKey(g.name) == sameKey(entry.theme);
        });
        if (it == themes.end()) {
            themes.push_back({entry.theme, {}});
            it = themes.end() - 1;
        }
        it->entries.push_back(&entry);
    }
    for (int level = 1; level <= kLevels; ++level) {
        const auto& themes = levels[level];
        if (static_cast<int>(themes.size()) > kThemesPerLevel) {
            QStringList names;
            for (const ThemeGroup& g : themes) names << QStringLiteral("\"%1\"").arg(g.name);
            plan.faults.append(
                QStringLiteral("level %1 has %2 themes (%3); a level has room for %4")
                    .arg(QString::number(level), QString::number(themes.size()),
                         names.join(QStringLiteral(", ")), QString::number(kThemesPerLevel)));
        }
        QStringList summary;
        int have = 0;
        QStringList missing;
        for (int t = 0; t < kThemesPerLevel; ++t) {
            const ThemeGroup* group = t < static_cast<int>(themes.size()) ? &themes[t] : nullptr;
            const int count = group ? static_cast<int>(group->entries.size()) : 0;
            const QChar letter(u'a' + static_cast<char16_t>(t));
            if (group) {
                summary << QStringLiteral("%1 %2 (%3)")
                               .arg(QString(letter), group->name, QString::number(count));
                if (count > kNumbersPerTheme) {
                    QStringList extra;
                    for (std::size_t i = kNumbersPerTheme; i < group->entries.size(); ++i)
                        extra << QString::number(group->entries[i]->row);
                    const QString tooMany =
                        extra.size() == 1
                            ? QStringLiteral("row %1 is one too many").arg(extra.first())
                            : QStringLiteral("rows %1 are too many")
                                  .arg(extra.join(QStringLiteral(", ")));
                    plan.faults.append(
                        QStringLiteral("level %1, theme \"%2\": %3 questions, a theme "
                                       "has room for %4: %5")
                            .arg(QString::number(level), group->name, QString::number(count),
                                 QString::number(kNumbersPerTheme), tooMany));
                }
                for (int n = 0; n < std::min(count, kNumbersPerTheme); ++n) {
                    const Entry& e = *group->entries[static_cast<std::size_t>(n)];
                    const QString code = codeFor(level, t, n + 1);
                    plan.questions.push_back(
                        bank::Question{code, e.enonce, e.choices[0], e.choices[1], e.choices[2],
                                       e.choices[3], e.theme, QString::number(e.right), e.row});
                    plan.rowOfCode[code] = e.row;
                }
            }
            have += std::min(count, kNumbersPerTheme);
            for (int n = count + 1; n <= kNumbersPerTheme; ++n)
                plan.missingCodes << codeFor(level, t, n);
            if (count < kNumbersPerTheme)
                missing << (group ? QStringLiteral("    theme %1 \"%2\": %3 of %4, %5 missing")
                                        .arg(QString(letter), group->name, QString::number(count),
                                             QString::number(kNumbersPerTheme),
                                             QString::number(kNumbersPerTheme - count))
                                  : QStringLiteral("    theme %1: no questions yet, %2 missing")
                                        .arg(letter)
                                        .arg(kNumbersPerTheme));
        }
        if (!summary.isEmpty())
            plan.summary << QStringLiteral("level %1: %2")
                                .arg(QString::number(level), summary.join(QStringLiteral(", ")));
        if (have < kCodesPerLevel) {
            plan.shortage << QStringLiteral(
                                 "level %1: %2 of the %3 questions the game draws from "
                                 "(%4 themes of %5), %6 missing")
                                 .arg(level)
                                 .arg(have)
                                 .arg(kCodesPerLevel)
                                 .arg(kThemesPerLevel)
                                 .arg(kNumbersPerTheme)
                                 .arg(kCodesPerLevel - have);
            if (have > 0) plan.shortage << missing;
        }
    }
    return plan;
}

namespace {

// A text as a reader compares it: case, accents, spacing and punctuation aside ("l'Italie ?" and
// "L’Italie\u202f?" are one text).
QString askKey(const QString& text) {
    QString key;
    bool gap = false;
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.isMark()) continue;
        if (c.isLetterOrNumber()) {
            if (gap && !key.isEmpty()) key += u' ';
            key += c.toCaseFolded();
            gap = false;
        } else {
            gap = true;
        }
    }
    return key;
}

QString rightText(const bank::Question& q) {
    const QString choices[] = {q.r1, q.r2, q.r3, q.r4};
    const int right = q.br.toInt();
    return right >= 1 && right <= 4 ? choices[right - 1] : QString();
}

}  // namespace

bool asksTheSame(const bank::Question& a, const bank::Question& b) {
    if (askKey(a.enonce) == askKey(b.enonce)) return true;
    const QString answer = askKey(rightText(a));
    return !answer.isEmpty() && answer == askKey(rightText(b)) &&
           askKey(a.Theme) == askKey(b.Theme);
}

Filling fillFromBank(PackPlan& plan, const std::vector<bank::Question>& bank) {
    const std::vector<bank::Question> own = plan.questions;
    auto asksAnOwn = [&own](const bank::Question& q) {
        return std::any_of(own.begin(), own.end(),
                           [&q](const bank::Question& mine) { return asksTheSame(q, mine); });
    };
    std::map<QString, std::size_t> byCode;
    for (std::size_t i = 0; i < bank.size(); ++i) byCode.emplace(bank[i].code, i);
    std::set<std::size_t> taken;
    // The bank's questions of no missing code (their codes are the table's): the ones to take in
    // place of a question left out.
    std::set<QString> missing(plan.missingCodes.begin(), plan.missingCodes.end());
    auto spare = [&](const QString& code) -> std::optional<std::size_t> {
        const QString level = code.left(1), letter = code.mid(1, 1);
        for (const bool sameLetter : {true, false})
            for (std::size_t i = 0; i < bank.size(); ++i) {
                const QString& other = bank[i].code;
                if (!other.startsWith(level) || (other.mid(1, 1) == letter) != sameLetter) continue;
                if (missing.count(other) || taken.count(i) || asksAnOwn(bank[i])) continue;
                return i;
            }
        return std::nullopt;
    };

    Filling filling;
    QStringList stillMissing;
    for (const QString& code : plan.missingCodes) {
        const int level = code.left(1).toInt();
        const auto it = byCode.find(code);
        std::optional<std::size_t> pick;
        if (it != byCode.end()) {
            if (!asksAnOwn(bank[it->second])) {
                pick = it->second;
            } else {
                ++filling.skipped[level];
                pick = spare(code);
            }
        }
        if (!pick) {
            stillMissing << code;
            continue;
        }
        taken.insert(*pick);
        // Set in French as the table's own questions are.
        bank::Question question = bank[*pick];
        question.code = code;
        for (QString* text : {&question.enonce, &question.r1, &question.r2, &question.r3,
                              &question.r4, &question.Theme})
            *text = check::withFrenchSpacing(*text);
        plan.questions.push_back(question);
        ++filling.added[level];
    }
    plan.missingCodes = stillMissing;
    return filling;
}

}  // namespace vorn::packtool
