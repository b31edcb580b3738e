// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Saving the game in progress into a save slot and going on from a slot (records/Save.h keeps
// the slots themselves).

#include <QString>

namespace vorn {

class FlowHost;

// Writes the game in progress into slot `slot`; the game goes on as it was. Does nothing when no
// level is in progress (a save chosen from a menu opened before the level went away).
void sauvegarderBlock(FlowHost& host, const QString& slot);

// Tears down whatever is shown and starts the level saved in slot `slot` from its question, or,
// saved in the pause after an answer, from what follows that answer.
void chargerBlock(FlowHost& host, const QString& slot);

}  // namespace vorn
