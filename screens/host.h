// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the screens ask of the main window: the platform, the game state and the draw, showing and
// taking away a screen, the nested wait, painting at once, and the restart that ends every game.
// The main window implements it (through the flow's FlowHost); no screen knows the main window
// itself.

#include <QGraphicsScene>

#include <functional>
#include <memory>

namespace vorn {

struct Platform;
struct GameState;
class Hasard;
class Screen;

class GameHost {
  public:
    virtual ~GameHost() = default;

    virtual Platform& platform() = 0;
    virtual GameState& gameState() = 0;
    virtual Hasard& randomGenerator() = 0;

    // Shows a screen: the main window becomes its parent.
    virtual void attach(Screen& screen) = 0;
    // Takes a screen off the window at once (timers stopped, players closed); its memory is
    // released once no handler runs any more, so a handler may remove its own screen.
    virtual void release(std::unique_ptr<Screen> screen) = 0;
    // Runs the message loop until `done` holds. A teardown or the end of the program ends the
    // wait at once and abandons the sequence that waited (Abandoned is thrown).
    virtual void waitUntil(const std::function<bool()>& done) = 0;

    // Where video interludes put their frame, and painting it now (the message loop does not
    // run while a video plays).
    virtual QGraphicsScene& scene() = 0;
    virtual void repaintNow() = 0;
    // The width of the client area left visible beside a vertical scroll bar.
    virtual int visibleWidth() const = 0;

    // Destroys every screen present and ends any wait that is running.
    virtual void tearDown() = 0;
    // The end of every game: teardown, intro video, title screen (the "redémarrer" menu item).
    virtual void restartGame() = 0;
};

}  // namespace vorn
