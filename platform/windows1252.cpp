// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/windows1252.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <array>
#include <memory>

namespace vorn {

namespace {

// The characters of the bytes 0x80 to 0x9F; the undefined bytes keep their own code.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

// The byte of a character of the set, or -1.
int byteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
    }
    return -1;
}

// The plain Latin form of a run of characters outside the set, through ICU. One transliterator
// a thread: they are costly to make and not to be shared between threads.
QString latinForm(QStringView run) {
    thread_local std::unique_ptr<icu::Transliterator> latin = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> made(icu::Transliterator::createInstance(
            icu::UnicodeString::fromUTF8("Any-Latin; Latin-ASCII"), UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    if (!latin) return {};
    icu::UnicodeString text(reinterpret_cast<const UChar*>(run.utf16()),
                            static_cast<int32_t>(run.size()));
    latin->transliterate(text);
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

}  // namespace

QString fromWindows1252(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        text.append(QChar(u >= 0x80 && u < 0xA0 ? kHighControls[u - 0x80] : char16_t{u}));
    }
    return text;
}

bool inWindows1252(QChar c) {
    return byteOf(c.unicode()) >= 0;
}

QString storableText(QStringView text) {
    const QString composed = text.toString().normalized(QString::NormalizationForm_C);
    QString out;
    out.reserve(composed.size());
    qsizetype i = 0;
    while (i < composed.size()) {
        if (inWindows1252(composed[i])) {
            out.append(composed[i++]);
            continue;
        }
        // A run of characters the set lacks goes through the transliteration whole, so that a
        // script's own rules see each letter among its neighbours.
        qsizetype end = i;
        int characters = 0;
        while (end < composed.size() && !inWindows1252(composed[end])) {
            end += composed[end].isHighSurrogate() && end + 1 < composed.size() &&
                           composed[end + 1].isLowSurrogate()
                       ? 2
                       : 1;
            ++characters;
        }
        const QString latin = latinForm(QStringView(composed).sliced(i, end - i));
        if (latin.isEmpty()) {
            out.append(QString(characters, u'?'));
        } else {
            for (qsizetype k = 0; k < latin.size(); ++k) {
                const QChar c = latin[k];
                if (inWindows1252(c)) {
                    out.append(c);
                } else {
                    out.append(u'?');
                    if (c.isHighSurrogate() && k + 1 < latin.size() &&
                        latin[k + 1].isLowSurrogate())
                        ++k;
                }
            }
        }
        i = end;
    }
    return out;
}

QByteArray toWindows1252(QStringView text) {
    const QString storable = storableText(text);
    QByteArray bytes;
    bytes.reserve(storable.size());
    for (const QChar c : storable) bytes.append(static_cast<char>(byteOf(c.unicode())));
    return bytes;
}

}  // namespace vorn
