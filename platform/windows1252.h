// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

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
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the control characters of the same code, so that
// every byte read is written back as it was.
QString fromWindows1252(QByteArrayView bytes);

// Whether the set holds the character (one UTF-16 unit; a surrogate never is).
bool inWindows1252(QChar c);

// The text as the set can hold it: first composed (a letter typed with a separate accent becomes
// one character), then every character the set holds as it is, and every other one by its plain
// Latin form, given by ICU's transliteration (Any-Latin, then Latin-ASCII): "Łukasz Dvořák"
// gives "Lukasz Dvorák", "Иван" gives "Ivan". A character without such a form becomes "?".
QString storableText(QStringView text);

// One byte per character of storableText(text).
QByteArray toWindows1252(QStringView text);

}  // namespace vorn
