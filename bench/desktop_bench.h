// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The real program on a private X server, measured from outside (see desktop_bench.cpp).

#include <string>

namespace vorn::bench {

struct DesktopOptions {
    std::string gameDir;      // the game folder, holding ./vorn
    std::string bareProgram;  // the bare Qt window's program, an absolute path
    int startupRounds = 7;
    double cpuSeconds = 8;  // each wait's measuring window; 0: no wait measured
    std::string cacheHome;  // the program's XDG_CACHE_HOME (a fresh folder when empty)
    int settleMs = 1500;    // after the screen shows, before measuring
};

struct DesktopFigures {
    double startupMs = -1;        // start to the intro's first frame on the screen (median)
    double bareStartupMs = -1;    // start to the bare window's client area on the screen (median)
    double titleCpuPercent = -1;  // share of a core on the title screen, music playing
    double questionCpuPercent = -1;  // during the first question, music playing
    std::string error;
};

DesktopFigures measureDesktop(const DesktopOptions& options);

}  // namespace vorn::bench
