// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/checker/questions_check.h"
#include "tools/checker/fairness_check.h"
#include "tools/checker/typography_check.h"

#include "core/layout.h"
#include "core/numbers.h"
#include "core/pack.h"
#include "core/questions.h"
#include "platform/database.h"
#include "platform/fonts.h"
#include "platform/label.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QRawFont>
#include <QRegularExpression>

#include <map>
#include <set>

namespace vorn::check {

namespace {

const QString kDirectory = pack::file(pack::databaseDirectory);
const QString kTableName = pack::file(pack::questionTable);

struct Box {
    const char* what;
    int left;
    int width;
    int height;  // 0: a single line
    FontStyle font;
};

// Where each text shows on the level screen, in the game's fonts. The theme grows right from its
// corner on one line and must end left of the main window's vertical scroll bar, which the
// full-size level screen brings up.
namespace L = layout::niv;
const Box kQuestion{"the question", L::question.box.left(), L::question.box.width(),
                    L::question.box.height(), L::question.font};
const Box kAnswer{"answer", L::reponse[0].box.left(), L::reponse[0].box.width(),
                  L::reponse[0].box.height(), L::reponse[0].font};
const Box kTheme{"the theme", L::theme.box.left(),
                 layout::principal::visibleWidth - L::theme.box.left(), 0, L::theme.font};

// Empty when the text fits, else why not.
QString misfit(const Box& box, const QString& text) {
    const QFont font = layoutFont(box.font);
    if (box.height == 0) {
        const int width = Label::textExtent(font, text, 0).width();
        if (width > box.width)
            return QStringLiteral(
                       "is %1 px wide and reaches x = %2, under the vertical scroll bar that "
                       "begins at x = %3")
                .arg(width)
                .arg(box.left + width)
                .arg(box.left + box.width);
        return {};
    }
    const QSize extent = Label::textExtent(font, text, box.width);
    if (extent.width() > box.width)
        return QStringLiteral("has a word wider than its %1 px label").arg(box.width);
    if (extent.height() > box.height) {
        const int lineHeight = QFontMetrics(font).height();
        const int lines = (extent.height() - Label::leading(font) + lineHeight / 2) / lineHeight;
        return QStringLiteral("takes %1 lines, more than its %2 x %3 label holds")
            .arg(lines)
            .arg(box.width)
            .arg(box.height);
    }
    return {};
}

// Each character of the text that the face of its label lacks: the toolkit would draw it from
// another face, out of keeping with the rest of the text.
QStringList missingGlyphs(const Box& box, const QString& text) {
    const QRawFont face = QRawFont::fromFont(layoutFont(box.font));
    QStringList missing;
    for (const char32_t c : text.toUcs4()) {
        if (face.supportsCharacter(c)) continue;
        const QString glyph = QString::fromUcs4(&c, 1);
        const QString what =
            QStringLiteral("\"%1\" (U+%2)")
                .arg(glyph, QString::number(uint(c), 16).toUpper().rightJustified(4, u'0'));
        if (!missing.contains(what)) missing.append(what);
    }
    return missing;
}

// Everything wrong with one text in its label, each as the end of a sentence naming the text.
QStringList textFaults(const Box& box, const QString& text) {
    QStringList faults;
    if (const QString why = misfit(box, text); !why.isEmpty()) faults.append(why);
    for (const QString& fault : typographyFaults(text))
        faults.append(QStringLiteral("has %1; use a no-break space").arg(fault));
    for (const QString& glyph : missingGlyphs(box, text))
        faults.append(QStringLiteral("has %1, a character the font of its label lacks").arg(glyph));
    return faults;
}

// What the game shows well enough but a reader would want otherwise, each as the end of a
// sentence naming the text.
QStringList textWarnings(const QString& text) {
    QStringList warnings;
    for (const QString& fault : unitSpacingFaults(text))
        warnings.append(QStringLiteral("has %1; use a no-break space").arg(fault));
    return warnings;
}

}  // namespace

QString textMisfit(TextPlace place, const QString& text) {
    switch (place) {
        case TextPlace::Question:
            return misfit(kQuestion, text);
        case TextPlace::Answer:
            return misfit(kAnswer, text);
        case TextPlace::Theme:
            break;
    }
    return misfit(kTheme, text);
}

void checkQuestions(const QString& gameDir, Report& report) {
    // The file the game would open for the table, found by the game's own rule.
    const QString dir = QDir(gameDir).filePath(kDirectory);
    const TableFile file = findTableFile(dir, kTableName);
    if (file.status == TableFile::Status::Missing) {
        report.fail(QStringLiteral("%1/%2.db").arg(kDirectory, kTableName),
                    QStringLiteral("missing"));
        return;
    }
    if (file.status == TableFile::Status::Ambiguous) {
        report.fail(kDirectory, QStringLiteral("more than one file may hold the table %1 (%2): "
                                               "the game takes none of them")
                                    .arg(kTableName, file.matches.join(QStringLiteral(", "))));
        return;
    }
    const QString table = kDirectory + u'/' + file.name;
    const QString path = QDir(dir).filePath(file.name);
    const QuestionTableRead read = readQuestionFile(path);
    if (!read.error.isEmpty()) {
        report.fail(
            table, read.noTable ? QStringLiteral("holds no table %1").arg(kTableName) : read.error);
        return;
    }
    static const QRegularExpression form(QStringLiteral("^[1-4][a-f]([1-9]|1[0-9])$"));
    std::map<QString, int> seen;
    std::vector<AskedQuestion> asked;
    std::map<QString, QString> rowOfCode;  // the first row of each code, as the faults name it
    int rowNumber = 0;
    for (const QuestionRow& r : read.rows) {
        ++rowNumber;
        const QString code = r.code;
        const QString row = QStringLiteral("%1: row %2 (%3)").arg(table).arg(rowNumber).arg(code);
        auto fail = [&](const QString& message) { report.fail(row, message); };
        auto warn = [&](const QString& message) { report.warn(row, message); };
        if (!form.match(code).hasMatch())
            fail(QStringLiteral("the code is not a question code (1a1 to 4f19)"));
        if (++seen[code] == 2) fail(QStringLiteral("the code appears more than once"));
        const QString& enonce = r.enonce;
        const QString answers[] = {r.r1, r.r2, r.r3, r.r4};
        const QString& theme = r.Theme;
        const bool brIsInteger = r.br.typeId() == QMetaType::LongLong;
        // All 64 bits: a value that only wraps into 1 to 4 is no right answer for the game either.
        const qint64 br = brIsInteger ? r.br.toLongLong() : 0;
        if (!brIsInteger || br < 1 || br > 4)
            fail(QStringLiteral("br is %1; it must be the number 1 to 4 of the right answer")
                     .arg(r.brText));
        if (enonce.trimmed().isEmpty()) fail(QStringLiteral("the question is empty"));
        if (theme.trimmed().isEmpty()) fail(QStringLiteral("the theme is empty"));
        std::set<QString> distinct;
        for (int i = 0; i < 4; ++i) {
            if (answers[i].trimmed().isEmpty())
                fail(QStringLiteral("answer r%1 is empty").arg(i + 1));
            else if (!distinct.insert(answers[i].trimmed().toLower()).second)
                fail(QStringLiteral("answer r%1 repeats another answer").arg(i + 1));
        }
        for (const QString& why : textFaults(kQuestion, enonce))
            fail(QStringLiteral("the question ") + why);
        for (int i = 0; i < 4; ++i)
            for (const QString& why : textFaults(kAnswer, answers[i]))
                fail(QStringLiteral("answer r%1 ").arg(i + 1) + why);
        for (const QString& why : textFaults(kTheme, theme))
            fail(QStringLiteral("the theme ") + why);
        for (const QString& why : textWarnings(enonce)) warn(QStringLiteral("the question ") + why);
        for (int i = 0; i < 4; ++i)
            for (const QString& why : textWarnings(answers[i]))
                warn(QStringLiteral("answer r%1 ").arg(i + 1) + why);
        for (const QString& why : textWarnings(theme)) warn(QStringLiteral("the theme ") + why);
        if (seen[code] == 1 && form.match(code).hasMatch()) {
            rowOfCode.emplace(code, row);
            asked.push_back({code,
                             enonce,
                             {answers[0], answers[1], answers[2], answers[3]},
                             brIsInteger && br >= 1 && br <= 4 ? int(br) : 0});
        }
    }
    for (int level = 1; level <= numbers::kBonusLevel; ++level)
        for (int theme = 0; theme < kThemesPerLevel; ++theme)
            for (int n = 1; n <= kNumbersPerTheme; ++n) {
                const QString code = codeFor(level, theme, n);
                if (!seen.count(code))
                    report.fail(table, QStringLiteral("no row for the code %1").arg(code));
            }
    if (const QString why = endsShareWarning(rightAnswersAtTheEnds(asked)); !why.isEmpty())
        report.warn(table, why);
    for (const GiveAway& g : giveAways(asked)) {
        const bool sameLevel = g.code[0] == g.answerOf[0];
        report.warn(
            rowOfCode.at(g.code),
            QStringLiteral("the question names \"%1\", the right answer of %2, a question of %3: "
                           "a game that asks both may ask this one first")
                .arg(g.name, g.answerOf,
                     sameLevel ? QStringLiteral("the same level")
                               : QStringLiteral("a later level")));
    }
}

}  // namespace vorn::check
