// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A game folder whose every file is the largest the game accepts (see largest_pack.cpp).

#include <QString>

#include <string>

namespace vorn::bench {

// Writes the folder into `dir`, with the question table and the rules of the game folder `from`;
// false, with the reason in `error`, when a file cannot be written.
bool makeLargestPack(const QString& from, const QString& dir, std::string* error);

}  // namespace vorn::bench
