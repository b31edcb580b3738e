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

// `text` with each such breaking space made the no-break space it stands for (the narrow one, or
// the full one before ":"): what typographyFaults finds, mended.
QString withFrenchSpacing(const QString& text);

}  // namespace vorn::check
