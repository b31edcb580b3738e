// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// `vorn [GAME_DIR]`: the game reads every file relative to its working directory, so a game
// folder named on the command line becomes the working directory before anything is built.

#include <QString>
#include <QTextStream>

#include <optional>

namespace vorn {

// Moves into `dir`, unless it is empty (the working directory is the game folder then). Returns
// the exit status when the program must stop instead (a folder that does not exist or cannot be
// entered), after saying why on `err`.
std::optional<int> enterGameFolder(const QString& dir, QTextStream& err);

}  // namespace vorn
