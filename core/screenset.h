#pragma once
// The full-size screens that exist, owned in one place: at most one of each, created by the code
// that moves the game on and destroyed by it or by the main window's teardown. Whether a screen
// is present is whether it exists.

#include <memory>

namespace vorn {

class GameHost;
class Screen;
class Tecrantitre;
class Tniv;
class TQuestionnaire;
class Tecran_resultat;

struct ScreenFlags {
    bool titleScreenPresent = false;
    bool levelScreenPresent = false;  // the level screen together with the current drawn list
    bool resultScreenPresent = false;
    bool highscoreScreenPresent = false;
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
    std::unique_ptr<TQuestionnaire> questionnaire;  // the level screen's drawn list
    std::unique_ptr<Tecran_resultat> resultat;
    std::unique_ptr<Screen> highscore;
    std::unique_ptr<Screen> enternom;

    // Destroys the level screen and its drawn list.
    void closeLevel(GameHost& host);
    // Destroys every screen present, always in this order: title, results, level (list first),
    // high scores, name entry.
    void teardown(GameHost& host);
    // Frees everything at once (the end of the main window).
    void clear();
};

}  // namespace vorn
