// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// French typography of the texts the game shows: "?", "!", ":", ";" and "»" are set apart from
// the word before them, "«" from the word after it, and a number from its groups of thousands,
// by a no-break space (U+00A0 or the narrow U+202F), so that a wrapped line never begins with a
// lone mark or a lone group of digits.

#include <QString>
#include <QStringList>

namespace vorn::check {

// A space a line may break at: any white space but the no-break ones.
bool isBreakingSpace(QChar c);

// Each place of `text` where a breaking space stands for a no-break one, as a phrase such as
// `a plain space before "?"`, `a plain space after "«"` or `a plain space inside the number
// "3 000"`; empty when the text is well set.
QStringList typographyFaults(const QString& text);

// Each place of `text` where a breaking space parts a number from its unit or from the word it
// counts ("2 ans", "80 jours", "15 millions", "6 mètres", "78 %", "44 av. J.-C.", "6 août"), as
// `a plain space between "80" and "jours"`. A wrapped line would begin with a lone unit. A bare
// year ("en 1940 depuis Londres") and the small words that merely follow a number ("de 10 aux
// Jeux", "843 a partagé") are left alone. Empty when the text is well set.
QStringList unitSpacingFaults(const QString& text);

// `text` with each breaking space that typographyFaults or unitSpacingFaults finds made the
// no-break space it stands for: the narrow one beside a mark and inside a number, the full one
// before ":" and between a number and its unit.
QString withFrenchSpacing(const QString& text);

}  // namespace vorn::check
