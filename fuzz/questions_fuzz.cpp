// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The question table on any table file: the level screen's lookup opened on dB/ and read the way
// the game reads a question, for some codes and for any code.

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "platform/database.h"
#include "platform/errors.h"

#include <QFileInfo>

VORN_FUZZ_TARGET(questions) {
    using namespace vorn;
    const QString file =
        fuzz::writeScratchFile(QStringLiteral("dB/questionnaire.db"), fuzz::bytesOf(data, size));
    // The same query as the level screen's.
    Query query(QStringLiteral("Query1"), QFileInfo(file).path(),
                {QStringLiteral("select *"), QStringLiteral("from questionnaire"),
                 QStringLiteral("where code like :numero")});
    try {
        query.open();
        for (const char* code : {"1a1", "4f19", "%"}) {
            query.setParam(QStringLiteral("numero"), QString::fromLatin1(code));
            query.close();
            query.open();
            fuzz::require(query.active(), "an opened query is not active");
            for (const char* field : {"enonce", "r1", "r2", "r3", "r4", "Theme"})
                query.asString(QString::fromLatin1(field));
            try {
                query.asInteger(QStringLiteral("br"));
            } catch (const Error&) {
                // a right answer that is no number: the level screen reports it
            }
        }
    } catch (const Error&) {
    }
    return 0;
}
