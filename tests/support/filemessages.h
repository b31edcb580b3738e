// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The messages that the failure of one file of the pack may show: the picture reader's text naming
// the file, the media service's texts for a sound, a tune or a video, the animation control's for
// the hourglass, the database's naming the question table; none for the rules, which the desktop
// opens.

#include "core/pack.h"
#include "platform/errors.h"
#include "platform/media/backend.h"

#include <QString>

namespace vorn::test {

inline QString questionTableFile() {
    return QStringLiteral("%1/%2.db")
        .arg(QLatin1String(pack::databaseDirectory), QLatin1String(pack::questionTable));
}

inline bool messageOfFile(const QString& file, const QString& text) {
    if (file == pack::file(pack::rules)) return false;
    if (file == questionTableFile())
        return text.contains(QLatin1String(pack::questionTable), Qt::CaseInsensitive);
    if (file.endsWith(u".jpg") || file.endsWith(u".bmp"))
        return text.startsWith(QStringLiteral("Cannot open file ") + file) ||
               text.startsWith(file + QStringLiteral(": "));
    if (file == pack::file(pack::hourglass))
        return text == messageBoxText(mediaerror::cannotOpenAvi());
    return text == messageBoxText(mediaerror::fileNotFound()) ||
           text == messageBoxText(mediaerror::invalidFile());
}

}  // namespace vorn::test
