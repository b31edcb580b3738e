// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The test pack's media: tiny pictures, short sounds and tunes, one-second videos, under the
// names of the real pack (the question table is written by each test, see testpack.h).

#include <QString>

namespace vorn::test {

void makeTestPackMedia(const QString& dir);

}  // namespace vorn::test
