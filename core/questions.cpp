// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/questions.h"

#include "platform/clock.h"

#include <algorithm>

namespace vorn {

const TTableaux blankList{};

void Hasard::reseed() {
    seed_ = clock_.timeOfDayUtc().millisecondsSinceMidnight();
}

std::uint32_t Hasard::draw(std::uint32_t r) {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * r) >> 32);
}

QString codeFor(int level, int theme, int number) {
    return QString::number(level) + QChar(u'a' + static_cast<char16_t>(theme)) +
           QString::number(number);
}

QString tirecode(Hasard& hasard, int level) {
    hasard.reseed();
    const auto k = hasard.draw(kThemesPerLevel) + 1;
    const auto m = hasard.draw(kNumbersPerTheme) + 1;
    return codeFor(level, static_cast<int>(k) - 1, static_cast<int>(m));
}

void remplir(Hasard& hasard, TQuestionnaire& liste, int level, int n) {
    auto& codes = liste.tableaux;
    const int last = std::min(n, static_cast<int>(codes.size()) - 1);
    for (int i = 0; i <= last; ++i) {
        QString candidate;
        do {
            candidate = tirecode(hasard, level);
        } while (std::find(codes.begin(), codes.begin() + i + 1, candidate) !=
                 codes.begin() + i + 1);
        codes[static_cast<std::size_t>(i)] = candidate;
    }
}

}  // namespace vorn
