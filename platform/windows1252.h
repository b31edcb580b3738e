#pragma once
// Windows-1252, the 8-bit character set of the game's INI files. It is Latin-1 except for
// 0x80-0x9F, where it holds typographic characters (the euro sign, the "œ" ligature, curly
// quotes...). Qt 6 has no codec for it without ICU, hence this small one.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace vorn {

// Every byte decodes to one character; the five bytes the character set leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the control characters of the same code.
QString fromWindows1252(QByteArrayView bytes);

// One byte per character. A character the set cannot hold becomes one "?" (a character outside
// the Basic Multilingual Plane, or a lone surrogate, is one character too).
QByteArray toWindows1252(QStringView text);

}  // namespace vorn
