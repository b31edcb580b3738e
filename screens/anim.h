// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A video interlude: video number n plays in a black frame on the main window, and joue() returns
// when it has ended. Callers create it, play it and destroy it in one go.

#include "platform/media/backend.h"
#include "platform/media/mediaplayer.h"

#include <memory>

namespace vorn {

class GameHost;
class VideoPanel;

class tanim : public VideoSurface {
  public:
    tanim(int number, GameHost& host);
    ~tanim() override;
    tanim(const tanim&) = delete;
    tanim& operator=(const tanim&) = delete;

    // Opens the video, sets its wait mode and plays it to its end.
    void joue();

    static QRect panelGeometry(int number);

    void showFrame(const QImage& frame) override;
    void present() override;

  private:
    GameHost& host_;
    std::unique_ptr<MediaPlayer> player;
    std::unique_ptr<VideoPanel> panel;
};

}  // namespace vorn
