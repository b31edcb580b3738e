#include "screens/titre.h"

#include "core/host.h"
#include "platform/platform.h"

namespace vorn {

Tecrantitre::Tecrantitre(GameHost& host)
    : Screen(QStringLiteral("ecrantitre")),
      fond(this, QStringLiteral("fond"), QRect(0, 0, 640, 440)),
      Label1(this, QStringLiteral("Label1"), QRect(24, 312, 261, 25), Label::Sizing::ToText,
             FontSpec{QStringLiteral("Verdana"), 21, true, false, true}, QColor(0, 0, 255)),
      music(host.platform().media, QStringLiteral("music")),
      Timer1(host.platform().clock, 500, [this] { Timer1Timer(); }) {
    fond.setStretch(true);
    Label1.setText(QStringLiteral("APPUYEZ SUR ENTRER"));
    expose(fond);
    expose(Label1);
    expose(music);
    expose(QStringLiteral("Timer1"), Timer1);
    Timer1.setEnabled(true);
}

Tecrantitre::~Tecrantitre() = default;

void Tecrantitre::play(GameHost& principal) {
    principal.attach(*this);
    fond.load(QStringLiteral("image/titre.jpg"));
    music.setFileName(QStringLiteral("son/titre.mid"));
    music.open();
    music.play();
}

void Tecrantitre::Timer1Timer() {
    Label1.setVisible(!Label1.isVisible());
}

void Tecrantitre::shutdown() {
    Timer1.setEnabled(false);
    music.close();
}

}  // namespace vorn
