// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/Save.h"

#include "core/gamestate.h"
#include "core/host.h"
#include "core/level.h"
#include "core/pack.h"
#include "core/progression.h"
#include "core/screenset.h"
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

constexpr int kSlotBonusLevel = 4;

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
    c.niveau = niveau >= 1 && niveau <= kSlotBonusLevel ? niveau : 1;
    const int numQuestion = file.readInteger(section, kNumQuestionKey, 1);
    const int reponsesJustes = file.readInteger(section, kReponsesJustesKey, 0);
    const int pause = file.readInteger(section, kPauseKey, -1);
    if (numQuestion >= 1 && numQuestion <= questionsOfLevel(c.niveau)) {
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
                                              : pourcentageTexte(c.reponsesJustes, answered) + u'%';
    file.release();
    return c;
}

void sauvegarderBlock(GameHost& host, const QString& slot) {
    const Tniv* niveau = host.screens().niv.get();
    if (!niveau || !niveau->pret()) return;
    const GameState& e = host.etat();
    IniFile file(pack::file(pack::slotsFile));
    const QString section = sectionOf(slot);
    file.writeInteger(section, kSlotScoreKey, e.score);
    file.writeInteger(section, kNiveauKey, e.Niveau);
    file.writeInteger(section, kNumQuestionKey, e.NumQuestion);
    file.writeInteger(section, kReponsesJustesKey, e.ReponsesJustes);
    file.writeString(section, kPourcentageKey, niveau->pourcent.text());
    file.writeInteger(section, kPauseKey, niveau->TimerPause.enabled() ? 1 : 0);
    file.release();
}

void chargerBlock(GameHost& host, const QString& slot) {
    // Read and checked before anything is torn down: whatever the file holds, the level that
    // follows is one the game can play and end.
    const SlotContents c = readSlot(slot);
    host.init();

    GameState& e = host.etat();
    e.score = c.score;
    e.Niveau = c.niveau;
    // Saved in the pause after an answer, the game goes on from what follows it: the next
    // question at once, or the end of the level once the pause is over. On the bonus level, a
    // pause with an answer short means that answer was wrong, which ends the level.
    GameState resumed = e;
    resumed.NiveauInit = c.niveau;
    resumed.NumQuestion = c.numQuestion;
    resumed.ReponsesJustes = c.reponsesJustes;
    resumed.MortSubite = c.pause && c.niveau == kSlotBonusLevel && c.reponsesJustes < c.numQuestion;
    LevelOpening opening = LevelOpening::Question;
    if (c.pause) {
        if (afterPause(resumed) == AfterPause::NextQuestion)
            resumed.NumQuestion += 1;
        else
            opening = LevelOpening::Pause;
    }
    startLevel(
        host, c.niveau,
        [&](Tniv& niveau) {
            e.NumQuestion = resumed.NumQuestion;
            e.ReponsesJustes = resumed.ReponsesJustes;
            e.MortSubite = resumed.MortSubite;
            niveau.pourcent.setText(c.pourcentage);
        },
        opening);
}

}  // namespace vorn
