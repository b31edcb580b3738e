// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/Options.h"

#include "platform/ini.h"

namespace vorn {

namespace {

const QString kOptionsSection = QStringLiteral("Options");
const QString kAnswerTimeKey = QStringLiteral("TempsDeReponse");

int soundAnswerTimeFactor(int factor) {
    return factor >= 1 && factor <= kAnswerTimeFactors ? factor : 1;
}

}  // namespace

int readAnswerTimeFactor(const QString& file) {
    IniFile options(file);
    return soundAnswerTimeFactor(options.readInteger(kOptionsSection, kAnswerTimeKey, 1));
}

void writeAnswerTimeFactor(const QString& file, int factor) {
    IniFile options(file);
    options.writeInteger(kOptionsSection, kAnswerTimeKey, soundAnswerTimeFactor(factor));
    options.release();
}

}  // namespace vorn
