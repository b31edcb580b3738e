// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The INI reader and writer on any file: the game's own sections and keys and those the file
// names are read; then one key is written, and the file read again must give the new value and
// every other value as before.

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "platform/errors.h"
#include "platform/ini.h"
#include "platform/windows1252.h"

#include <QList>
#include <QPair>
#include <QString>

namespace {

using Names = QList<QPair<QString, QString>>;

// The sections and keys the game reads (high scores and save slots), and some the file itself
// names, so that the input reaches its matches.
Names namesToRead(const QByteArray& bytes) {
    Names names;
    for (int place = 1; place <= 10; ++place) {
        names.append({QStringLiteral("place%1").arg(place), QStringLiteral("score")});
        names.append({QStringLiteral("place%1").arg(place), QStringLiteral("nom")});
    }
    for (const char* key :
         {"score", "Niveau", "NumQuestion", "Reponses justes", "Pourcentage", "Pause"})
        names.append({QStringLiteral("Block1"), QString::fromLatin1(key)});
    QString section;
    int fromFile = 0;
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray text = line.trimmed();
        if (text.startsWith('[')) {
            const qsizetype close = text.indexOf(']');
            section = vorn::fromWindows1252(text.mid(1, close < 0 ? -1 : close - 1));
        } else if (const qsizetype equals = text.indexOf('='); equals > 0 && fromFile < 16) {
            names.append({section, vorn::fromWindows1252(text.first(equals))});
            ++fromFile;
        }
    }
    return names;
}

QStringList readAll(const QString& path, const Names& names) {
    vorn::IniFile file(path);
    QStringList values;
    for (const auto& [section, key] : names) {
        const QString value = file.readString(section, key, QStringLiteral("<missing>"));
        vorn::fuzz::require(value.size() <= vorn::IniFile::kValueLimit || value == u"<missing>",
                            "a value read is longer than the limit");
        values.append(value);
        file.readInteger(section, key, 0);
    }
    file.release();
    return values;
}

// Printable ASCII taken from the input, so that it reads back exactly.
QString valueFrom(const QByteArray& bytes) {
    QString value;
    for (const char c : bytes.right(40)) {
        if (c >= 0x20 && c < 0x7F) value.append(QLatin1Char(c));
    }
    return value;
}

}  // namespace

VORN_FUZZ_TARGET(ini) {
    using namespace vorn;
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString path = fuzz::writeScratchFile(QStringLiteral("save/fuzz.ini"), bytes);
    const Names names = namesToRead(bytes);
    const QStringList before = readAll(path, names);

    // The game's save slot section; its key is one the file may already hold.
    const QString section = QStringLiteral("Block2");
    const QString key = names.isEmpty() ? QStringLiteral("score") : names.back().second.trimmed();
    const QString value = valueFrom(bytes);
    try {
        IniFile file(path);
        file.writeString(section, key, value);
        fuzz::require(file.readString(section, key, QString()) == value,
                      "a write is not read back in its pass");
        file.release();
    } catch (const Error&) {
        return 0;  // a key name the format cannot hold is refused
    }
    const QStringList after = readAll(path, names);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const bool written = names[i].first.compare(section, Qt::CaseInsensitive) == 0 &&
                             names[i].second.compare(key, Qt::CaseInsensitive) == 0;
        if (!written) fuzz::require(after[i] == before[i], "a write changed another value");
    }
    IniFile again(path);
    fuzz::require(again.readString(section, key, QString()) == value,
                  "a write is not read back after its pass");
    again.release();
    return 0;
}
