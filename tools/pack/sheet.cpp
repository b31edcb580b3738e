// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/pack/sheet.h"

#include "platform/windows1252.h"

#include <QStringDecoder>

#include <cstdlib>
#include <tuple>

namespace vorn::packtool {

bool SheetRow::blank() const {
    for (const QString& field : fields)
        if (!field.trimmed().isEmpty()) return false;
    return true;
}

QString decodeSheetText(const QByteArray& bytes, QString* encoding) {
    auto set = [encoding](const char* name) {
        if (encoding) *encoding = QString::fromLatin1(name);
    };
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        set("UTF-8 with byte-order mark");
        text = QString::fromUtf8(bytes.mid(3));
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        set("UTF-16");
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                            : QStringDecoder::Utf16BE);
        text = decoder(bytes.mid(2));
    } else {
        QStringDecoder decoder(QStringDecoder::Utf8);
        text = decoder(bytes);
        if (!decoder.hasError()) {
            set("UTF-8");
        } else {
            // Not UTF-8: the 8-bit set of spreadsheets on Windows, which decodes any byte.
            set("Windows-1252");
            text = fromWindows1252(bytes);
        }
    }
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

Sheet splitSheet(const QString& text, QChar separator) {
    Sheet sheet;
    sheet.separator = separator;
    int line = 1;
    SheetRow current{1, 1, {}};
    QString field;
    bool inQuotes = false;
    bool recordStarted = false;
    const qsizetype size = text.size();
    auto endRecord = [&]() {
        current.fields.append(field);
        field.clear();
        sheet.rows.push_back(current);
        current = SheetRow{current.row + 1, line, {}};
        recordStarted = false;
    };
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        const bool crlf = c == u'\r' && i + 1 < size && text[i + 1] == u'\n';
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < size && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else if (c == u'\r' || c == u'\n') {
                if (crlf) ++i;
                field += u'\n';
                ++line;
            } else {
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.trimmed().isEmpty()) {
            // A quoted field (blanks written before its quote are dropped).
            field.clear();
            inQuotes = true;
            recordStarted = true;
            sheet.unclosedQuoteRow = current.row;
            sheet.unclosedQuoteLine = line;
        } else if (c == separator) {
            current.fields.append(field);
            field.clear();
            recordStarted = true;
        } else if (c == u'\r' || c == u'\n') {
            if (crlf) ++i;
            ++line;
            endRecord();
        } else {
            field += c;
            recordStarted = true;
        }
    }
    if (recordStarted || !field.isEmpty()) endRecord();
    if (!inQuotes) sheet.unclosedQuoteRow = sheet.unclosedQuoteLine = 0;
    return sheet;
}

QChar detectSeparator(const QString& text, int columns) {
    const QChar candidates[] = {u'\t', u';', u','};
    QChar best = candidates[0];
    std::tuple<int, int> bestScore{-1, 0};
    for (QChar candidate : candidates) {
        const Sheet sheet = splitSheet(text, candidate);
        int exact = 0;
        int firstDistance = 0;
        bool first = true;
        for (const SheetRow& row : sheet.rows) {
            if (row.blank()) continue;
            if (row.fields.size() == columns) ++exact;
            if (first) firstDistance = -std::abs(static_cast<int>(row.fields.size()) - columns);
            first = false;
        }
        const std::tuple<int, int> score{exact, firstDistance};
        if (score > bestScore) {
            bestScore = score;
            best = candidate;
        }
    }
    return best;
}

Sheet readSheet(const QByteArray& bytes, int columns) {
    QString encoding;
    const QString text = decodeSheetText(bytes, &encoding);
    Sheet sheet = splitSheet(text, detectSeparator(text, columns));
    sheet.encoding = encoding;
    return sheet;
}

QString separatorName(QChar separator) {
    if (separator == u'\t') return QStringLiteral("tab");
    if (separator == u';') return QStringLiteral("semicolon");
    if (separator == u',') return QStringLiteral("comma");
    return QString(separator);
}

QString sheetField(const QString& text, QChar separator) {
    if (!text.contains(separator) && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

}  // namespace vorn::packtool
