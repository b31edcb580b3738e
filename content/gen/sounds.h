// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The two sound effects of the level screens, at synth::kRate samples a second, mono.

#include <cstdint>
#include <vector>

namespace vorn::gen {

// A bright rising chime for a right answer, about 0.7 s.
std::vector<std::int16_t> rightAnswerSound();
// A buzzer for a wrong answer or a time-out, about 0.6 s.
std::vector<std::int16_t> wrongAnswerSound();

}  // namespace vorn::gen
