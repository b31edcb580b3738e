// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The game's numbers, written once: the levels and their questions, the pass thresholds, the
// points, and the videos that open and close the levels. The rules, the screens, the records, the
// content checker and the content generators all read them from here.

namespace vorn::numbers {

// Levels 1 to 3, then the bonus level.
inline constexpr int kLastLevel = 3;
inline constexpr int kBonusLevel = kLastLevel + 1;

// Questions asked in a level: ten, thirty on the bonus level.
inline constexpr int kQuestionsPerLevel = 10;
inline constexpr int kBonusQuestions = 30;
constexpr int questionsOfLevel(int level) {
    return level == kBonusLevel ? kBonusQuestions : kQuestionsPerLevel;
}

// The share of right answers, in percent, that passes level 1, 2 or 3: 80, 70, 60.
constexpr int passThreshold(int level) {
    return 90 - 10 * level;
}

// A right answer earns kPointsPerRightAnswer times the level; a wrong answer or a time-out costs
// kPenalty.
inline constexpr int kPointsPerRightAnswer = 1000;
inline constexpr int kPenalty = 500;

// The score of every answer of levels 1 to 3 right: the one score that opens the bonus level.
constexpr int fullScore() {
    int score = 0;
    for (int level = 1; level <= kLastLevel; ++level)
        score += questionsOfLevel(level) * kPointsPerRightAnswer * level;
    return score;
}
inline constexpr int kBonusScore = fullScore();
static_assert(kBonusScore == 60000);

// The videos: the intro, one before each level (its number), the lost game's and the end of
// the game's.
inline constexpr int kIntroVideo = 0;
inline constexpr int kLostGameVideo = 5;
inline constexpr int kEndOfGameVideo = 6;

}  // namespace vorn::numbers
