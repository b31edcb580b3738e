// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The high-score screen: the ten places of the table for seven seconds, counted from the start of
// its timer. affich() returns after that time, the table and the screen destroyed; the caller
// then starts the game again.

#include "platform/clock.h"
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

#include <array>
#include <memory>

namespace vorn {

class GameHost;
class tscores;

class Thighscore : public Screen {
  public:
    explicit Thighscore(GameHost& host);
    ~Thighscore() override;

    // Shows `table` (the current table of the screen set) and waits; then destroys the table and
    // the screen. A background picture that cannot be loaded is reported and the rows show all
    // the same.
    void affich(tscores& table);
    void Timer1Timer();
    void shutdown() override;

    static constexpr int kPlaces = 10;
    Label& place(int k) { return *place_.at(static_cast<std::size_t>(k - 1)); }
    Label& nom(int k) { return *nom_.at(static_cast<std::size_t>(k - 1)); }
    Label& score(int k) { return *score_.at(static_cast<std::size_t>(k - 1)); }

    // Layout, back to front: Image1, place1 to place10, titre, nom1 to nom10, score1 to score10.
    Picture Image1;
    Label titre;
    Timer Timer1;

  private:
    // A row as a screen reader reads it: "1 : Marie, 12000 points".
    QString bestPlayerRow(int k);

    GameHost& host_;
    std::array<std::unique_ptr<Label>, kPlaces> place_;
    std::array<std::unique_ptr<Label>, kPlaces> nom_;
    std::array<std::unique_ptr<Label>, kPlaces> score_;
    bool highscoreScreenDone_ = false;  // set by Timer1: ends the wait of affich
};

}  // namespace vorn
