// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The title screen: the blinking prompt, the music played once, and a title that still works
// without its picture or its music.

#include "support/scenario.h"

#include <gtest/gtest.h>

using namespace vorn::test;

namespace title_test {

class Title : public ::testing::Test {
  protected:
    TestPack pack;
    Play play{pack};
};

TEST_F(Title, PromptBlinksEveryHalfSecondStartingShown) {
    const int start = play.mark();
    play << "wait 499";
    const int before = play.mark();
    play << "wait 1";
    const int hidden = play.mark();
    play << "wait 500";
    const int again = play.mark();
    play.run();
    EXPECT_TRUE(shown(play.at(start), "Label1"));
    EXPECT_TRUE(shown(play.at(before), "Label1"));
    EXPECT_FALSE(shown(play.at(hidden), "Label1"));
    EXPECT_TRUE(shown(play.at(again), "Label1"));
    EXPECT_EQ(widgetField(play.at(start), "fond", "picture"), "image/titre.jpg");
    EXPECT_EQ(widgetField(play.at(start), "music", "mode"), "playing");
}

TEST_F(Title, MusicPlaysOnceThenTheTitleStaysSilent) {
    play << QStringLiteral("wait %1").arg(kTuneMs * 3);
    const int m = play.mark();
    play.run();
    EXPECT_EQ(widgetField(play.at(m), "music", "mode"), "stopped");
    EXPECT_EQ(value(play.at(m), "media").count("play son/titre.mid"), 1);
}

TEST_F(Title, WithoutItsPictureTheTitleStillStartsAGame) {
    pack.remove("image/titre.jpg");
    const int m = play.mark();
    play << "wait 500";
    const int blink = play.mark();
    play << "key Enter";
    const int game = play.mark();
    play.run();
    const Dump& d = play.at(m);
    EXPECT_EQ(value(d, "message"), "\"Cannot open file image/titre.jpg.\"");
    EXPECT_EQ(value(d, "screens"), "titleScreenPresent");
    EXPECT_EQ(widgetField(d, "music", "mode"), "closed");  // the rest of play() was skipped
    EXPECT_FALSE(shown(play.at(blink), "Label1"));
    EXPECT_EQ(value(play.at(game), "screens"), "levelScreenPresent");
}

TEST_F(Title, WithoutItsMusicThePictureShows) {
    pack.remove("son/titre.mid");
    const int m = play.mark();
    play << "key Enter";
    const int game = play.mark();
    play.run();
    const Dump& d = play.at(m);
    EXPECT_TRUE(value(d, "message").startsWith("\"The specified file was not found."));
    EXPECT_EQ(widgetField(d, "fond", "picture"), "image/titre.jpg");
    EXPECT_EQ(value(play.at(game), "screens"), "levelScreenPresent");
}

TEST_F(Title, MissingIntroLeavesNoTitleButTheMenuWorks) {
    pack.remove("video/0.avi");
    const int m = play.mark();
    play << "key Enter";
    const int still = play.mark();
    play.run();
    EXPECT_EQ(value(play.at(m), "screens"), "none");
    EXPECT_EQ(value(play.at(m), "media"), "open video/0.avi");
    EXPECT_EQ(value(play.at(still), "screens"), "none");
}

}  // namespace title_test
