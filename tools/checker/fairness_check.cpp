// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/checker/fairness_check.h"

#include <QRegularExpression>

#include <algorithm>

namespace vorn::check {

namespace {

// Below this many numeric questions the share at the ends says nothing yet.
constexpr int kFewestNumeric = 8;

QString withPlainSpaces(QString text) {
    text.replace(QChar(0x00A0), u' ').replace(QChar(0x202F), u' ').replace(QChar(0x2007), u' ');
    return text;
}

int levelOf(const QString& code) {
    return code.isEmpty() ? 0 : code[0].digitValue();
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'-';
}

// Whether `name` stands in `text` as whole words.
bool names(const QString& text, const QString& name) {
    for (qsizetype at = text.indexOf(name); at >= 0; at = text.indexOf(name, at + 1)) {
        const qsizetype after = at + name.size();
        if ((at == 0 || !isWordChar(text[at - 1])) &&
            (after == text.size() || !isWordChar(text[after])))
            return true;
    }
    return false;
}

}  // namespace

std::optional<std::array<double, 4>> numericChoices(const std::array<QString, 4>& choices) {
    // One number in each choice, between words that are the same in all four; the no-break
    // spaces are made plain first.
    static const QRegularExpression form(QStringLiteral(
        "^(\\D*?)([\u2212-]?\\d{1,3}(?: \\d{3})+(?:,\\d+)?|[\u2212-]?\\d+(?:,\\d+)?)(\\D*)$"));
    std::array<double, 4> values{};
    QString prefix, suffix;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const auto m = form.match(withPlainSpaces(choices[i]).trimmed());
        if (!m.hasMatch()) return std::nullopt;
        if (i == 0) {
            prefix = m.captured(1);
            suffix = m.captured(3);
        } else if (m.captured(1) != prefix || m.captured(3) != suffix) {
            return std::nullopt;
        }
        QString digits = m.captured(2);
        digits.remove(u' ').replace(u',', u'.').replace(QChar(0x2212), u'-');
        bool ok = false;
        values[i] = digits.toDouble(&ok);
        if (!ok) return std::nullopt;
    }
    // Years before our era count down.
    if (suffix.trimmed().startsWith(QStringLiteral("av. J.-C.")))
        for (double& v : values) v = -v;
    return values;
}

EndsShare rightAnswersAtTheEnds(const std::vector<AskedQuestion>& questions) {
    EndsShare share;
    for (const AskedQuestion& q : questions) {
        if (q.right < 1 || q.right > 4) continue;
        const auto values = numericChoices(q.choices);
        if (!values) continue;
        ++share.numeric;
        const double right = (*values)[std::size_t(q.right - 1)];
        const auto below =
            std::count_if(values->begin(), values->end(), [&](double v) { return v < right; });
        const auto above =
            std::count_if(values->begin(), values->end(), [&](double v) { return v > right; });
        if (below == 0 || above == 0) ++share.atEnds;
    }
    return share;
}

QString endsShareWarning(const EndsShare& share) {
    if (share.numeric < kFewestNumeric) return {};
    const int percent = (share.atEnds * 100 + share.numeric / 2) / share.numeric;
    // About half is fair; below a quarter or above three quarters a player learns the habit.
    if (share.atEnds * 4 >= share.numeric && share.atEnds * 4 <= share.numeric * 3) return {};
    const bool tooFew = share.atEnds * 4 < share.numeric;
    return QStringLiteral(
               "of the %1 questions whose choices are all numbers, %2 (%3 %) have the "
               "right answer as the smallest or the largest: a player who %4 the "
               "smallest and the largest wins more often than by chance; choose the "
               "wrong values so that the right one is the smallest or the largest "
               "about half the time")
        .arg(share.numeric)
        .arg(share.atEnds)
        .arg(percent)
        .arg(tooFew ? QStringLiteral("drops") : QStringLiteral("keeps only"));
}

QString distinctiveName(const QString& answer) {
    static const QRegularExpression article(
        QStringLiteral("^(?:(?:le|la|les|un|une|du|des|de la|de|au|aux)\\s+|(?:l|d|de l)['’])"),
        QRegularExpression::CaseInsensitiveOption);
    QString name = withPlainSpaces(answer).trimmed();
    name.remove(article);
    const bool proper = std::any_of(name.begin(), name.end(), [](QChar c) { return c.isUpper(); });
    const auto letters =
        std::count_if(name.begin(), name.end(), [](QChar c) { return c.isLetter(); });
    return proper && letters >= 4 ? name : QString();
}

std::vector<GiveAway> giveAways(const std::vector<AskedQuestion>& questions) {
    struct Answer {
        const AskedQuestion* question;
        QString name;
    };
    std::vector<Answer> answers;
    for (const AskedQuestion& q : questions) {
        if (q.right < 1 || q.right > 4) continue;
        const QString name = distinctiveName(q.choices[std::size_t(q.right - 1)]);
        if (!name.isEmpty()) answers.push_back({&q, name});
    }
    std::vector<GiveAway> found;
    for (const AskedQuestion& q : questions) {
        const QString text = withPlainSpaces(q.enonce);
        for (const Answer& a : answers) {
            if (a.question == &q || a.question->code == q.code) continue;
            // A question of an earlier level has had its answer shown before this text comes up.
            if (levelOf(a.question->code) < levelOf(q.code)) continue;
            if (names(text, a.name)) found.push_back({q.code, a.name, a.question->code});
        }
    }
    return found;
}

}  // namespace vorn::check
