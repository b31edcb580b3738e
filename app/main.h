#pragma once
// The main window: the only window that lives from start-up to the end. It owns every screen,
// keeps their presence flags, routes the keys, runs the intro, starts new games, tears the screens
// down and closes the program. The game-wide state lives here, so a test can build it afresh.

#include "core/gamestate.h"
#include "core/questions.h"
#include "platform/platform.h"
#include "platform/son.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <vector>

class QGraphicsScene;
class QGraphicsView;
class QMenu;
class QAction;

namespace vorn {

class Screen;
class Tecrantitre;
class Tniv;
class Tecran_resultat;

// Which screens exist. A reference beside a flag is only used while the flag is set.
struct ScreenFlags {
    bool titleScreenPresent = false;
    bool levelScreenPresent = false;  // the level screen together with the current drawn list
    bool resultScreenPresent = false;
    bool highscoreScreenPresent = false;
    bool nameEntryScreenPresent = false;
};

class Tprincipal : public QMainWindow {
    Q_OBJECT

public:
    explicit Tprincipal(Platform& platform, QWidget* parent = nullptr);
    ~Tprincipal() override;

    // --- game-wide state ---
    Platform& platform() { return platform_; }
    GameState& etat() { return etat_; }
    Hasard& hasard() { return hasard_; }
    ScreenFlags& flags() { return flags_; }
    Son& son() { return son_; }
    int desktopWidth() const { return desktopWidth_; }
    int desktopHeight() const { return desktopHeight_; }
    bool firstActivation() const { return firstActivation_; }
    // The window counts as activated for the first time: the one-time set-up and the intro run
    // once the window is on screen and painted (at once when it already is).
    void activateFirstTime();
    // Set by the results screen's timer; ends its wait.
    bool resultScreenDone = false;

    // --- the main window's operations ---
    void FormCreate();
    void FormActivate();
    void introduction();
    void demarrer();
    void init();
    void redmarrer1Click();
    void quitter1Click();
    void FormKeyDown(int key);
    void FormClose();
    void fichier1Click();
    void rglesdujeu1Click();

    // --- screens ---
    // Shows a screen: the main window becomes its parent.
    void attach(Screen* screen);
    // Takes a screen off the window at once (timers stopped, players closed); its memory is
    // released once no handler runs any more, so a handler may remove its own screen.
    void release(std::unique_ptr<Screen> screen);
    std::vector<Screen*> attachedScreens() const;
    QGraphicsScene& scene() { return *scene_; }
    QGraphicsView& view() { return *view_; }
    // The client area: a full-size screen (640 x 440) reaches past it and brings up both scroll bars.
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 434;
    // Where the vertical scroll bar begins when it shows: texts that must be read stay left of it.
    int scrollBarLeft() const;
    // Paints the window now, without running the message loop (video frames).
    void repaintNow();

    Tecrantitre* titre() { return flags_.titleScreenPresent ? titre_.get() : nullptr; }
    Tniv* niv() { return flags_.levelScreenPresent ? niv_.get() : nullptr; }
    TQuestionnaire* questionnaire() { return flags_.levelScreenPresent ? questionnaire_.get() : nullptr; }

    // Level screen life: create (flag set), set up, attach, first question, timer; and close.
    Tniv& creerNiveau();
    void nouvelleListe(std::unique_ptr<TQuestionnaire> liste) { questionnaire_ = std::move(liste); }
    void fermerNiveau();
    // The results sequence: create, flag, attach, affich(outcome, percentage text), clear flag.
    void montrerResultats(int outcome);
    // The end of a finished game, after its video: the best players, then a new start.
    void finDePartie();
    // Called by the results screen at the end of its affich: it goes away.
    void releaseResultat(Tecran_resultat* screen);

    // Runs the message loop until `done` holds. A teardown or the end of the program ends the
    // wait at once and abandons the sequence that waited (Abandoned is thrown).
    void attendre(const std::function<bool()>& done);

    // --- program end ---
    void setOnExit(std::function<void()> onExit) { onExit_ = std::move(onExit); }
    bool exited() const { return exited_; }
    QAction* menuItem(const QString& objectName) const;
    QMenuBar* mainMenu() const;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void updateSceneRect();
    void guarded(const std::function<void()>& handler);

    Platform& platform_;
    GameState etat_;
    Hasard hasard_;
    ScreenFlags flags_;
    Son son_;
    bool firstActivation_ = false;
    bool activationAwaitsExposure_ = false;
    int desktopWidth_ = 0;
    int desktopHeight_ = 0;
    bool exited_ = false;
    std::function<void()> onExit_;

    QGraphicsScene* scene_;
    QGraphicsView* view_;
    std::vector<Screen*> attached_;

    std::unique_ptr<Tecrantitre> titre_;
    std::unique_ptr<Tniv> niv_;
    std::unique_ptr<TQuestionnaire> questionnaire_;
    std::unique_ptr<Tecran_resultat> resultat_;
    std::unique_ptr<Screen> highscore_;
    std::unique_ptr<Screen> enternom_;

    struct WaitState {
        bool abandoned = false;
    };
    std::vector<WaitState*> waits_;
};

}  // namespace vorn
