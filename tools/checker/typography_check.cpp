// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/checker/typography_check.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace vorn::check {

namespace {

const QString kBefore = QStringLiteral("?!:;»");
const QString kAfter = QStringLiteral("«");

bool isDigit(const QString& text, qsizetype at) {
    return at >= 0 && at < text.size() && text[at].isDigit();
}

// Three digits at `at`, and no fourth.
bool isThousands(const QString& text, qsizetype at) {
    return isDigit(text, at) && isDigit(text, at + 1) && isDigit(text, at + 2) &&
           !isDigit(text, at + 3);
}

// Where the number that ends just before `end` begins (its groups of thousands and its decimals
// with it), or -1 when no number ends there or the digits belong to a word ("B12", "CO2").
qsizetype numberStart(const QString& text, qsizetype end) {
    if (!isDigit(text, end - 1)) return -1;
    qsizetype start = end;
    while (true) {
        while (isDigit(text, start - 1)) --start;
        const bool decimals = start >= 2 && text[start - 1] == u',' && isDigit(text, start - 2);
        const bool group = start >= 2 && text[start - 1].isSpace() && isDigit(text, start - 2) &&
                           isThousands(text, start);
        if (!decimals && !group) break;
        --start;
    }
    if (start > 0 && text[start - 1].isLetter()) return -1;
    return start;
}

// The small words that may follow a number without being what it counts: "de 10 aux Jeux", "le
// traité de 843 a partagé", "en 44 ou 45", "7 × 8 vaut 56".
bool isLinkWord(const QString& word) {
    static const QStringList words = {
        u"a"_s,     u"à"_s,      u"au"_s,   u"aux"_s,   u"et"_s,    u"ou"_s,      u"de"_s,
        u"des"_s,   u"du"_s,     u"en"_s,   u"le"_s,    u"la"_s,    u"les"_s,     u"un"_s,
        u"une"_s,   u"sur"_s,    u"sous"_s, u"par"_s,   u"pour"_s,  u"puis"_s,    u"depuis"_s,
        u"après"_s, u"avant"_s,  u"dans"_s, u"avec"_s,  u"sans"_s,  u"entre"_s,   u"contre"_s,
        u"chez"_s,  u"vers"_s,   u"que"_s,  u"qui"_s,   u"ne"_s,    u"se"_s,      u"ont"_s,
        u"est"_s,   u"sont"_s,   u"fut"_s,  u"était"_s, u"y"_s,     u"il"_s,      u"elle"_s,
        u"ils"_s,   u"elles"_s,  u"on"_s,   u"ce"_s,    u"cette"_s, u"ces"_s,     u"son"_s,
        u"sa"_s,    u"ses"_s,    u"leur"_s, u"leurs"_s, u"mais"_s,  u"donc"_s,    u"ni"_s,
        u"car"_s,   u"comme"_s,  u"si"_s,   u"plus"_s,  u"moins"_s, u"lorsque"_s, u"quand"_s,
        u"vaut"_s,  u"valent"_s, u"font"_s, u"fait"_s,  u"égale"_s, u"donne"_s,
    };
    static const QRegularExpression elided(QStringLiteral("^(?:[cdjlmnst]|qu|lorsqu|puisqu)['’]"),
                                           QRegularExpression::CaseInsensitiveOption);
    return words.contains(word.toLower()) || elided.match(word).hasMatch();
}

// The number and the unit or word that the breaking spaces from `start` to `end` part, when they
// part one: `number` and `word` say which.
bool partsNumberFromUnit(const QString& text, qsizetype start, qsizetype end, QString* number,
                         QString* word) {
    const qsizetype from = numberStart(text, start);
    if (from < 0 || end >= text.size()) return false;
    const QString digits = text.mid(from, start - from);
    // A year is no count: what follows it is the sentence going on ("en 1940 depuis Londres").
    static const QRegularExpression year(QStringLiteral("^\\d{4}$"));
    if (year.match(digits).hasMatch()) return false;
    qsizetype after = end;
    while (after < text.size() && !text[after].isSpace()) ++after;
    QString next = text.mid(end, after - end);
    while (!next.isEmpty() && QStringLiteral(",;:!?)»…").contains(next.back())) next.chop(1);
    if (next.isEmpty()) return false;
    if (!next.front().isLetter() && !QStringLiteral("°%‰€$£").contains(next.front())) return false;
    if (isLinkWord(next)) return false;
    if (number) *number = digits;
    if (word) *word = next;
    return true;
}

}  // namespace

bool isBreakingSpace(QChar c) {
    return c.isSpace() && c != QChar(0x00A0) && c != QChar(0x202F) && c != QChar(0x2007);
}

QStringList typographyFaults(const QString& text) {
    QStringList faults;
    auto add = [&faults](const QString& fault) {
        if (!faults.contains(fault)) faults.append(fault);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBreakingSpace(text[i])) continue;
        // The marks beside this run of spaces.
        qsizetype next = i;
        while (next < text.size() && text[next].isSpace()) ++next;
        qsizetype previous = i - 1;
        while (previous >= 0 && text[previous].isSpace()) --previous;
        if (next < text.size() && kBefore.contains(text[next]))
            add(QStringLiteral("a plain space before \"%1\"").arg(text[next]));
        if (previous >= 0 && kAfter.contains(text[previous]))
            add(QStringLiteral("a plain space after \"%1\"").arg(text[previous]));
        // A group of exactly three digits after a number: its thousands. The fault names the
        // whole number.
        if (isDigit(text, i - 1) && isThousands(text, i + 1)) {
            qsizetype start = i - 1;
            while (isDigit(text, start - 1) ||
                   (isDigit(text, start - 2) && text[start - 1].isSpace()))
                --start;
            qsizetype end = i + 4;
            while (end < text.size() && text[end].isSpace() && isThousands(text, end + 1)) end += 4;
            add(QStringLiteral("a plain space inside the number \"%1\"")
                    .arg(text.mid(start, end - start)));
        }
    }
    return faults;
}

QStringList unitSpacingFaults(const QString& text) {
    QStringList faults;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBreakingSpace(text[i]) || (i > 0 && text[i - 1].isSpace())) continue;
        qsizetype end = i;
        while (end < text.size() && text[end].isSpace()) ++end;
        QString number, word;
        if (!partsNumberFromUnit(text, i, end, &number, &word)) continue;
        const QString fault =
            QStringLiteral("a plain space between \"%1\" and \"%2\"").arg(number, word);
        if (!faults.contains(fault)) faults.append(fault);
    }
    return faults;
}

QString withFrenchSpacing(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (!text[i].isSpace()) {
            out += text[i++];
            continue;
        }
        // A run of spaces: beside a mark or inside a number it becomes one no-break space.
        qsizetype end = i;
        bool breaking = false;
        for (; end < text.size() && text[end].isSpace(); ++end)
            breaking = breaking || isBreakingSpace(text[end]);
        const bool beforeMark = end < text.size() && kBefore.contains(text[end]);
        const bool afterMark = i > 0 && kAfter.contains(text[i - 1]);
        const bool inNumber = end == i + 1 && isDigit(text, i - 1) && isThousands(text, end);
        if (breaking && (beforeMark || afterMark || inNumber))
            out += beforeMark && text[end] == u':' ? QChar(0x00A0) : QChar(0x202F);
        else if (breaking && partsNumberFromUnit(text, i, end, nullptr, nullptr))
            out += QChar(0x00A0);
        else
            out += text.mid(i, end - i);
        i = end;
    }
    return out;
}

}  // namespace vorn::check
