// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The title screen: the title picture, the title music played once, and "APPUYEZ SUR ENTRER"
// blinking every 500 ms until the main window ends it on Enter (or a click on the prompt, or a
// controller's Start).

#include "platform/clock.h"
#include "platform/label.h"
#include "platform/media/mediaplayer.h"
#include "platform/picture.h"
#include "platform/screen.h"

namespace vorn {

class GameHost;

class Tecrantitre : public Screen {
  public:
    explicit Tecrantitre(GameHost& host);
    ~Tecrantitre() override;

    // Attaches the screen, loads its picture and starts its music.
    void play(GameHost& principal);
    void Timer1Timer();
    // True when `screenPoint` (in the screen's coordinates) is on the prompt, shown or between
    // two blinks: a click there starts a game.
    bool promptAt(QPointF screenPoint) const;
    void shutdown() override;

    Picture fond;
    Label Label1;
    MediaPlayer music;
    Timer Timer1;
};

}  // namespace vorn
