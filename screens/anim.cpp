#include "screens/anim.h"

#include "core/host.h"
#include "platform/platform.h"
#include "platform/picture.h"

#include <QGraphicsScene>

namespace vorn {

QRect tanim::panelGeometry(int number) {
    // The finished game's video is wide and low; every other one fills the large frame.
    return number == 6 ? QRect(55, 100, 528, 192) : QRect(60, 30, 512, 375);
}

tanim::tanim(int number, GameHost& host) : host_(host) {
    player = std::make_unique<MediaPlayer>(host.platform().media, QStringLiteral("player"));
    panel = std::make_unique<VideoPanel>(nullptr, panelGeometry(number));
    host.scene().addItem(panel.get());
    player->setDisplay(this);
    player->setFileName(QStringLiteral("video/%1.avi").arg(number));
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
