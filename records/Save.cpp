// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/Save.h"

#include "core/gamestate.h"
#include "core/numbers.h"
#include "core/pack.h"
#include "platform/ini.h"

#include <algorithm>

namespace vorn {

namespace {

const QString kSlotScoreKey = QStringLiteral("score");
const QString kNiveauKey = QStringLiteral("Niveau");
const QString kNumQuestionKey = QStringLiteral("NumQuestion");
const QString kReponsesJustesKey = QStringLiteral("Reponses justes");
const QString kPourcentageKey = QStringLiteral("Pourcentage");
// 1 when the slot was saved in the pause after an answer, 0 during a question. Slots written
// before it was kept lack it.
const QString kPauseKey = QStringLiteral("Pause");

QString sectionOf(const QString& slot) {
    return QStringLiteral("Block") + slot;
}

// A percentage as the level screen writes it: 0 to 100 followed by "%".
bool isPercentage(const QString& text) {
    if (!text.endsWith(u'%') || text.size() < 2 || text.size() > 4) return false;
    int value = 0;
    for (const QChar c : QStringView(text).chopped(1)) {
        if (c < u'0' || c > u'9') return false;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value <= 100;
}

}  // namespace

SlotContents readSlot(const QString& slot) {
    IniFile file(pack::file(pack::slotsFile));
    const QString section = sectionOf(slot);
    SlotContents c;
    c.score = file.readInteger(section, kSlotScoreKey, 0);
    const int niveau = file.readInteger(section, kNiveauKey, 1);
    c.niveau = niveau >= 1 && niveau <= numbers::kBonusLevel ? niveau : 1;
    const int numQuestion = file.readInteger(section, kNumQuestionKey, 1);
    const int reponsesJustes = file.readInteger(section, kReponsesJustesKey, 0);
    const int pause = file.readInteger(section, kPauseKey, -1);
    if (numQuestion >= 1 && numQuestion <= numbers::questionsOfLevel(c.niveau)) {
        c.numQuestion = numQuestion;
        // Without the pause key, as many right answers as the question number can only have
        // been saved in the pause after a right answer: asking that question again would count
        // it twice.
        c.pause = pause < 0 ? reponsesJustes >= numQuestion : pause != 0;
        c.reponsesJustes = reponsesJustes;
    }  // else the level starts afresh: question 1, no right answer yet
    // Never more right answers than answers given.
    const int answered = c.pause ? c.numQuestion : c.numQuestion - 1;
    c.reponsesJustes = std::clamp(c.reponsesJustes, 0, answered);
    const QString pourcentage = file.readString(section, kPourcentageKey, QString());
    c.pourcentage = isPercentage(pourcentage) ? pourcentage
                                              : formatPercentage(c.reponsesJustes, answered) + u'%';
    file.release();
    return c;
}

void writeSlot(const QString& slot, const SlotContents& contents) {
    IniFile file(pack::file(pack::slotsFile));
    const QString section = sectionOf(slot);
    file.writeInteger(section, kSlotScoreKey, contents.score);
    file.writeInteger(section, kNiveauKey, contents.niveau);
    file.writeInteger(section, kNumQuestionKey, contents.numQuestion);
    file.writeInteger(section, kReponsesJustesKey, contents.reponsesJustes);
    file.writeString(section, kPourcentageKey, contents.pourcentage);
    file.writeInteger(section, kPauseKey, contents.pause ? 1 : 0);
    file.release();
}

}  // namespace vorn
