// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The main window: the only window that lives from start-up to the end. It owns every screen,
// routes the keys (and the clicks, taps and controller buttons that stand for keys), runs the
// intro, starts new games, tears the screens down and closes the program. The game-wide state lives
// here, so a test can build it afresh. The screens reach it only as their GameHost, the flow of the
// game as its FlowHost.

#include "core/gamestate.h"
#include "core/questions.h"
#include "flow/flowhost.h"
#include "flow/screenset.h"
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
class TForm1;
class SceneReading;

class Tprincipal : public QMainWindow, public FlowHost {
    Q_OBJECT

  public:
    explicit Tprincipal(Platform& platform, QWidget* parent = nullptr);
    ~Tprincipal() override;

    // --- game-wide state ---
    Platform& platform() override { return platform_; }
    GameState& gameState() override { return gameState_; }
    Hasard& randomGenerator() override { return hasard_; }
    ScreenSet& screens() override { return screens_; }
    ScreenFlags flags() const { return screens_.flags(); }
    // The window counts as activated for the first time: the one-time set-up and the intro run
    // once the window is on screen and painted (at once when it already is).
    void activateFirstTime();

    // --- the main window's operations ---
    void FormCreate();
    void FormActivate();
    void introduction();
    void demarrer();
    void tearDown() override;
    void redmarrer1Click();
    void restartGame() override { redmarrer1Click(); }
    void quitter1Click();
    void FormKeyDown(int key);
    // A click or a tap at `scenePoint`: on the title's prompt it is Enter, on an answer's label or
    // number disc the keypad key of that answer; it then takes the keys' path (FormKeyDown).
    void clickAt(QPointF scenePoint);
    // A controller's button: the key it stands for (vk::fromPad), taken only when a key would be:
    // not while the About window or a message box holds the game.
    void padButton(PadButton button);
    void FormClose();
    void fichier1Click();
    void Block1_loadClick();
    void Block2_loadClick();
    void Block3_loadClick();
    void Block4_loadClick();
    void Block1_saveClick();
    void Block2_saveClick();
    void Block3_saveClick();
    void Block4_saveClick();
    void Lesmeilleursjoueurs1Click();
    void rglesdujeu1Click();
    void N640x480pleincran1Click();
    void N640x480fentr1Click();
    void propos1Click();
    // The options menu's time to answer: the layout's times `factor` (1 to 3), kept in the
    // options file.
    void chooseAnswerTime(int factor);
    // The About window's FormClose: the main window takes input again.
    void aboutClosed();

    // --- screens ---
    void attach(Screen& screen) override;
    void release(std::unique_ptr<Screen> screen) override;
    void waitUntil(const std::function<bool()>& done) override;
    std::vector<Screen*> attachedScreens() const;
    QGraphicsScene& scene() override { return *scene_; }
    QGraphicsView& view() { return *view_; }
    // The screens on show as a screen reader reads them.
    SceneReading& reading() { return *reading_; }
    // Where the vertical scroll bar begins when it shows: texts that must be read stay left of it.
    int visibleWidth() const override;
    // Paints the window now, without running the message loop (video frames).
    void repaintNow() override;

    Tecrantitre* titre() { return screens_.titre.get(); }
    Tniv* niv() { return screens_.niv.get(); }
    const TQuestionnaire* questionnaire() const;

    // --- program end ---
    void setOnExit(std::function<void()> onExit) { onExit_ = std::move(onExit); }
    bool exited() const { return exited_; }
    QAction* menuItem(const QString& objectName) const;
    QMenuBar* mainMenu() const;

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenu();
    void updateSceneRect();
    void guarded(const std::function<void()>& handler);
    // The display mode took effect: 640 x 480 shows the game over the whole screen, scaled; the
    // desktop's own size gives the window back.
    void showMode(QSize mode);
    void fitGameToView();
    void setResizable(bool resizable);
    void centreOnDesktop();
    void abandonWaits();

    Platform& platform_;
    GameState gameState_;
    Hasard hasard_;
    Son son_;
    bool firstActivation_ = false;
    bool activationAwaitsExposure_ = false;
    int desktopWidth_ = 0;
    int desktopHeight_ = 0;
    bool exited_ = false;
    std::function<void()> onExit_;

    QGraphicsScene* scene_;
    QGraphicsView* view_;
    SceneReading* reading_;  // owned by the scene
    std::vector<Screen*> attached_;
    ScreenSet screens_;
    bool fullScreen_ = false;          // the emulated 640 x 480 mode is in effect
    bool centreWhenWindowed_ = false;  // windowed mode asked for: centre once the window is back
    std::unique_ptr<TForm1> about_;

    struct WaitState {
        bool abandoned = false;
    };
    std::vector<WaitState*> waits_;
};

}  // namespace vorn
