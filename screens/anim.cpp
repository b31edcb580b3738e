// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/anim.h"

#include "core/layout.h"
#include "core/pack.h"
#include "platform/picture.h"
#include "platform/platform.h"
#include "screens/host.h"

#include <QGraphicsScene>

namespace vorn {

QRect tanim::panelGeometry(int number) {
    // The finished game's video is wide and low; every other one fills the large frame.
    return number == numbers::kEndOfGameVideo ? layout::anim::endOfGamePanel : layout::anim::panel;
}

tanim::tanim(int number, GameHost& host) : host_(host) {
    player = std::make_unique<MediaPlayer>(host.platform().media, QStringLiteral("player"));
    panel = std::make_unique<VideoPanel>(nullptr, panelGeometry(number));
    host.scene().addItem(panel.get());
    player->setDisplay(this);
    player->setFileName(pack::video(number));
}

tanim::~tanim() {
    player.reset();  // closes the device: the video stops
    if (panel && panel->scene()) panel->scene()->removeItem(panel.get());
    panel.reset();
    host_.repaintNow();
}

void tanim::joue() {
    player->open();
    player->setWait(true);
    player->play();
}

void tanim::showFrame(const QImage& frame) {
    panel->setFrame(frame);
}

void tanim::present() {
    host_.repaintNow();
}

}  // namespace vorn
