// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What a regular player learns to exploit in a question table: the right answer of the questions
// that ask for a number kept off the smallest and the largest choice, and a question whose text
// names the right answer of another one that the same game may ask later.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace vorn::check {

// A question as these rules read it.
struct AskedQuestion {
    QString code;  // its level is its first digit
    QString enonce;
    std::array<QString, 4> choices;
    int right = 0;  // 1 to 4; anything else leaves the question out of the rules
};

// The values of four choices that are all numbers written alike, the same words around each
// number ("1789", "Tous les 2 ans", "9,15 m", "−273,15 °C", "52 av. J.-C.", which counts down),
// or nothing when they are not.
std::optional<std::array<double, 4>> numericChoices(const std::array<QString, 4>& choices);

// Of the questions whose choices are all numbers, how many have the right answer as the smallest
// or the largest of the four.
struct EndsShare {
    int numeric = 0;
    int atEnds = 0;
};
EndsShare rightAnswersAtTheEnds(const std::vector<AskedQuestion>& questions);

// The warning for a table whose numeric questions keep the right answer off the ends (or on them)
// so often that a player wins by dropping (or by taking) the smallest and the largest; empty when
// the share is fair or the questions too few to tell.
QString endsShareWarning(const EndsShare& share);

// A question whose text names the right answer of another question of its level or of a later
// one: the same game may show it first.
struct GiveAway {
    QString code;      // the question that names it
    QString name;      // as its text writes it
    QString answerOf;  // the question it answers
};

// The name a right answer gives to find in other texts: the answer without its article, when it
// is a proper name of four letters or more ("Jules César", "Louis XIV", "Vercingétorix", "Rome");
// empty for common words, numbers and short names, which texts use without giving anything away.
// A text names it when it writes it whole, as it is capitalised, between word boundaries.
QString distinctiveName(const QString& answer);

std::vector<GiveAway> giveAways(const std::vector<AskedQuestion>& questions);

}  // namespace vorn::check
