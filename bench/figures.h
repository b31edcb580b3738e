// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the benchmarks hand to the table: figures by key ("Benchmark/name:counter").

#include <map>
#include <string>

namespace vorn::bench {

using Figures = std::map<std::string, double>;

// Plays a whole game (every question answered right, the bonus level included) on virtual time
// with the real sound backend in the game folder `dir` (the default pack's when empty), and
// prints its peak resident size in MiB. Run as `vorn-bench --whole-game [DIR]` in a process of
// its own.
int playWholeGame(const std::string& dir);
// Runs `program --whole-game [DIR]` and returns the MiB it printed, or -1.
double peakMemoryOfWholeGame(const std::string& program, const std::string& dir = {});

}  // namespace vorn::bench
