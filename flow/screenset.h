// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The full-size screens that exist, owned in one place: at most one of each, created by the flow
// of the game and destroyed by it or by the main window's teardown. Whether a screen is present
// is whether it exists. The screens never take themselves away: every change of screen goes
// through here.

#include <memory>

namespace vorn {

class GameHost;
class Screen;
class Tecrantitre;
class Tniv;
class Tecran_resultat;
class Tenternom;
class Thighscore;
class tscores;
class TJoueur;

struct ScreenFlags {
    bool titleScreenPresent = false;
    bool levelScreenPresent = false;  // the level screen, which holds the current drawn list
    bool resultScreenPresent = false;
    bool highscoreScreenPresent = false;  // the high-score screen together with the table it shows
    bool nameEntryScreenPresent = false;
};

class ScreenSet {
  public:
    ScreenSet();
    ~ScreenSet();
    ScreenSet(const ScreenSet&) = delete;
    ScreenSet& operator=(const ScreenSet&) = delete;

    ScreenFlags flags() const;

    std::unique_ptr<Tecrantitre> titre;
    std::unique_ptr<Tniv> niv;
    std::unique_ptr<Tecran_resultat> resultat;
    std::unique_ptr<Thighscore> highscore;
    std::unique_ptr<Tenternom> enternom;
    // The high-score table of the moment: the one the high-score screen shows, or the one a
    // finished game's name entry will insert its player into.
    std::unique_ptr<tscores> scores;
    // The finished game's player, waiting at the name entry for a name.
    std::unique_ptr<TJoueur> pendingPlayer;

    // Each destroys its screen, if present.
    void closeLevel(GameHost& host);
    void closeResults(GameHost& host);
    // The high-score screen and the table it showed.
    void closeBestPlayers(GameHost& host);
    void closeNameEntry(GameHost& host);
    // Destroys every screen present, always in this order: title, results, level,
    // high scores (then the table), name entry (with the pending player and the table). No table
    // or pending player outlives it.
    void teardown(GameHost& host);
    // Frees everything at once (the end of the main window).
    void clear();
};

}  // namespace vorn
