#include "screens/resultats.h"

#include "core/host.h"
#include "core/screenset.h"
#include "platform/platform.h"

#include <algorithm>

namespace vorn {

namespace {
const QColor kNavy(0, 0, 128);
FontSpec heading(int size) {
    return FontSpec{QStringLiteral("Arial Black"), size, true, false, false};
}
}  // namespace

Tecran_resultat::Tecran_resultat(GameHost& host)
    : Screen(QStringLiteral("ecran_resultat")),
      fond(this, QStringLiteral("fond"), QRect(0, 0, 640, 440)),
      votre(this, QStringLiteral("votre"), QRect(18, 72, 598, 23), Label::Sizing::ToText, heading(16), kNavy),
      pass(this, QStringLiteral("pass"), QRect(128, 264, 383, 23), Label::Sizing::ToText, heading(16), kNavy),
      pourcent(this, QStringLiteral("pourcent"), QRect(224, 136, 198, 90), Label::Sizing::ToText, heading(64), kNavy),
      over(this, QStringLiteral("over"), QRect(224, 264, 168, 23), Label::Sizing::ToText, heading(16), kNavy),
      fin(this, QStringLiteral("fin"), QRect(184, 264, 271, 23), Label::Sizing::ToText, heading(16), kNavy),
      bonus(this, QStringLiteral("bonus"), QRect(8, 96, 633, 57), Label::Sizing::Fixed, heading(16), kNavy),
      attention(this, QStringLiteral("attention"), QRect(7, 152, 633, 57), Label::Sizing::Fixed, heading(16), kNavy),
      Timer1(host.platform().clock, 4000, [this] { Timer1Timer(); }),
      host_(host) {
    fond.setStretch(true);
    votre.setText(QStringLiteral("Votre pourcentage de bonnes réponses sur ce niveau est de:"));
    pass.setText(QStringLiteral("Vous pouvez passez au niveau suivant."));
    pass.hide();
    pourcent.setText(QStringLiteral(" 40% "));
    pourcent.setVerticalCentre(true);
    over.setText(QStringLiteral("Vous avez perdu."));
    over.hide();
    fin.setText(QStringLiteral("Bravo! Vous avez fini le jeu."));
    fin.hide();
    for (Label* l : {&bonus, &attention}) {
        l->setAlignment(Qt::AlignHCenter);
        l->setWordWrap(true);
        // Their boxes reach past the client area, under the vertical scroll bar that the screen
        // brings up: the lines wrap and centre in the part that shows.
        const int hidden = l->geometry().right() + 1 - host.visibleWidth();
        l->setTextMargins(QMargins(0, 0, std::max(0, hidden), 0));
        l->hide();
    }
    bonus.setText(QStringLiteral(
        "Vous avez obtenu 100% de bonnes réponses à chaque niveau. Vous accédez au niveau BONUS!"));
    attention.setText(QStringLiteral("ATTENTION!! Dès la première erreur, c'est fini!"));
    for (const Element* e : std::initializer_list<const Element*>{&fond, &votre, &pass, &pourcent, &over, &fin,
                                                                   &bonus, &attention})
        expose(*e);
    expose(QStringLiteral("Timer1"), Timer1);
}

Tecran_resultat::~Tecran_resultat() = default;

void Tecran_resultat::affich(int outcome, const QString& text) {
    resultScreenDone_ = false;
    fond.load(QStringLiteral("image/resultats.jpg"));
    switch (outcome) {
        case Perdu: over.show(); break;
        case Passe: pass.show(); break;
        case Fini: fin.show(); break;
        case Bonus:
            bonus.show();
            attention.show();
            votre.hide();
            pourcent.hide();
            Timer1.setInterval(7000);
            break;
        default: break;
    }
    pourcent.setText(text);
    Timer1.setEnabled(true);
    host_.attendre([this] { return resultScreenDone_; });
    // The screen goes away by itself; the caller goes on without it.
    if (host_.screens().resultat.get() == this) host_.release(std::move(host_.screens().resultat));
}

void Tecran_resultat::Timer1Timer() {
    resultScreenDone_ = true;
    Timer1.setEnabled(false);
}

void Tecran_resultat::shutdown() {
    Timer1.setEnabled(false);
}

}  // namespace vorn
