#include "core/level.h"

#include "core/gamestate.h"
#include "core/host.h"
#include "core/progression.h"
#include "core/questions.h"
#include "core/screenset.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "screens/anim.h"

namespace vorn {

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 255);
const QColor kAqua(0, 255, 255);
const QColor kNavy(0, 0, 128);
const QColor kGreen(0, 128, 0);

FontSpec arialBlack(int size, bool bold = false) {
    return FontSpec{QStringLiteral("Arial Black"), size, bold, false, false};
}

}  // namespace

Tniv::Tniv(GameHost& host)
    : Screen(QStringLiteral("niv")),
      fond(this, QStringLiteral("fond"), QRect(0, 0, 640, 440)),
      alarme(this, QStringLiteral("alarme"), QRect(499, 155, 90, 120)),
      joueur(this, QStringLiteral("joueur"), QRect(21, 53, 85, 115)),
      visage3(this, QStringLiteral("visage3"), QRect(21, 53, 85, 115)),
      question(this, QStringLiteral("question"), QRect(32, 293, 568, 37), Label::Sizing::Fixed,
               FontSpec{QStringLiteral("Arial Black"), 13, false, false, true}, kWhite),
      reponse1(this, QStringLiteral("reponse1"), QRect(72, 336, 225, 35), Label::Sizing::Fixed, arialBlack(13), kWhite),
      reponse2(this, QStringLiteral("reponse2"), QRect(72, 385, 225, 35), Label::Sizing::Fixed, arialBlack(13), kWhite),
      reponse3(this, QStringLiteral("reponse3"), QRect(355, 336, 225, 35), Label::Sizing::Fixed, arialBlack(13), kWhite),
      reponse4(this, QStringLiteral("reponse4"), QRect(355, 385, 225, 35), Label::Sizing::Fixed, arialBlack(13), kWhite),
      theme(this, QStringLiteral("theme"), QRect(488, 72, 0, 27), Label::Sizing::ToText, arialBlack(19, true), kAqua),
      LabelScore(this, QStringLiteral("LabelScore"), QRect(90, 8, 0, 33), Label::Sizing::ToText, arialBlack(24, true),
                 kNavy),
      pourcent(this, QStringLiteral("pourcent"), QRect(32, 200, 0, 38), Label::Sizing::ToText,
               FontSpec{QStringLiteral("Verdana"), 32, true, false, false}, kAqua),
      juste1(this, QStringLiteral("juste1"), QRect(29, 335, 35, 35)),
      juste2(this, QStringLiteral("juste2"), QRect(29, 385, 35, 35)),
      juste3(this, QStringLiteral("juste3"), QRect(312, 335, 35, 35)),
      juste4(this, QStringLiteral("juste4"), QRect(312, 385, 35, 35)),
      faux1(this, QStringLiteral("faux1"), QRect(29, 335, 35, 35)),
      faux2(this, QStringLiteral("faux2"), QRect(29, 385, 35, 35)),
      faux3(this, QStringLiteral("faux3"), QRect(312, 335, 35, 35)),
      faux4(this, QStringLiteral("faux4"), QRect(312, 385, 35, 35)),
      Label1(this, QStringLiteral("Label1"), QRect(131, 96, 70, 20), Label::Sizing::Fixed,
             FontSpec{QStringLiteral("MS Sans Serif"), 16, true, false, false}, QColor(128, 255, 0)),
      numquest(this, QStringLiteral("numquest"), QRect(28, 166, 0, 38), Label::Sizing::ToText,
               FontSpec{QStringLiteral("Arial Black"), 27, true, true, false}, kGreen),
      sablier(this, QStringLiteral("sablier"), QRect(504, 160, 80, 110), host.platform().media),
      music(host.platform().media, QStringLiteral("music")),
      son(host.platform().media, QStringLiteral("son")),
      Query1(QStringLiteral("Query1"), QStringLiteral("dB/"),
             {QStringLiteral("select *"), QStringLiteral("from questionnaire"),
              QStringLiteral("where code like :numero")}),
      TimerPause(host.platform().clock, 2500, [this] { TimerPauseTimer(); }),
      TimerQuest(host.platform().clock, 9850, [this] { TimerQuestTimer(); }),
      host_(host),
      etat_(host.etat()) {
    fond.setStretch(true);
    alarme.setAutoSize(true);
    alarme.hide();
    for (Picture* p : {&joueur, &visage3, &juste1, &juste2, &juste3, &juste4, &faux1, &faux2, &faux3, &faux4})
        p->setTransparent(true);
    question.setWordWrap(true);
    for (Label* r : {&reponse1, &reponse2, &reponse3, &reponse4}) {
        r->setWordWrap(true);
        r->setBackground(kBlue);
    }
    theme.setOpaque(true);
    theme.setBackground(QColor(0, 64, 128));
    theme.setWordWrap(true);
    theme.setMaxWidth(640 - 488);
    LabelScore.setText(QStringLiteral("0"));
    LabelScore.setAlignment(Qt::AlignRight);
    Label1.setOpaque(true);
    Label1.setBackground(QColor(192, 192, 192));
    Label1.setText(QStringLiteral("question"));
    Label1.hide();
    numquest.setText(QStringLiteral("1/10"));
    numquest.setAlignment(Qt::AlignHCenter);
    sablier.hide();
    music.setOnNotify([this] { musicNotify(); });

    for (const Element* e : std::initializer_list<const Element*>{
             &fond, &alarme, &joueur, &visage3, &question, &reponse1, &reponse2, &reponse3, &reponse4, &theme,
             &LabelScore, &pourcent, &juste1, &juste2, &juste3, &juste4, &faux1, &faux2, &faux3, &faux4, &Label1,
             &numquest, &sablier, &music, &son})
        expose(*e);
    expose(QStringLiteral("TimerPause"), TimerPause);
    expose(QStringLiteral("TimerQuest"), TimerQuest);

    // The stored layout opens the question lookup first, then the sound player on its file.
    Query1.open();
    son.setFileName(QStringLiteral("son/juste.wav"));
    son.open();
    etat_.MortSubite = false;
}

Tniv::~Tniv() = default;

double Tniv::Pourcentage(int j, int q) {
    return vorn::Pourcentage(j, q);
}

Label& Tniv::reponse(int n) {
    Label* labels[] = {&reponse1, &reponse2, &reponse3, &reponse4};
    return *labels[n - 1];
}

Picture& Tniv::marqueJuste(int n) {
    Picture* marks[] = {&juste1, &juste2, &juste3, &juste4};
    return *marks[n - 1];
}

Picture& Tniv::marqueFaux(int n) {
    Picture* marks[] = {&faux1, &faux2, &faux3, &faux4};
    return *marks[n - 1];
}

// ---------------------------------------------------------------------------------------------
// Set-up and questions

void Tniv::init(int level) {
    etat_.NiveauInit = level;
    {
        tanim video(level, host_);
        video.joue();
    }
    etat_.NumQuestion = 1;
    etat_.ReponsesJustes = 0;
    host_.screens().questionnaire = std::make_unique<TQuestionnaire>(blankList);
    remplir(host_.hasard(), *host_.screens().questionnaire, level, questionsOfLevel(1) - 1);

    fond.load(QStringLiteral("image/niv%1.jpg").arg(level));
    joueur.load(QStringLiteral("image/aliasMb.bmp"));
    visage3.load(QStringLiteral("image/aliasMb-a.bmp"));
    for (int n = 1; n <= 4; ++n) marqueJuste(n).load(QStringLiteral("image/juste.bmp"));
    for (int n = 1; n <= 4; ++n) marqueFaux(n).load(QStringLiteral("image/faux.bmp"));
    alarme.load(QStringLiteral("image/alarme.bmp"));
    for (int n = 1; n <= 4; ++n) {
        marqueJuste(n).hide();
        marqueFaux(n).hide();
    }
    etat_.AttenteReponse = false;
    pourcent.setText(QStringLiteral("0%"));
    LabelScore.setText(QString::number(etat_.score));

    sablier.setFileName(QStringLiteral("video/sablier2.avi"));
    sablier.setActive(true);
    sablier.setActive(false);
    sablier.show();

    host_.hasard().reseed();
    const auto n = host_.hasard().draw(6) + 1;
    music.setFileName(QStringLiteral("son/%1.mid").arg(n));
    music.open();
    music.play();
    pret_ = true;
}

void Tniv::posequestion(const QString& code) {
    alarme.hide();
    for (int n = 1; n <= 4; ++n) reponse(n).setOpaque(false);
    for (int n = 1; n <= 4; ++n) {
        marqueJuste(n).hide();
        marqueFaux(n).hide();
    }
    Query1.setParam(QStringLiteral("numero"), code);
    Query1.close();
    Query1.open();
    question.setText(Query1.asString(QStringLiteral("enonce")));
    reponse1.setText(Query1.asString(QStringLiteral("r1")));
    reponse2.setText(Query1.asString(QStringLiteral("r2")));
    reponse3.setText(Query1.asString(QStringLiteral("r3")));
    reponse4.setText(Query1.asString(QStringLiteral("r4")));
    theme.setText(Query1.asString(QStringLiteral("Theme")));
    sablier.play(2, 44, 1);
    Label1.setText(code);
    numquest.setText(QString::number(etat_.NumQuestion) + (etat_.Niveau < 4 ? QStringLiteral("/10") : QStringLiteral("/30")));
    etat_.AttenteReponse = true;
}

// ---------------------------------------------------------------------------------------------
// Answers

void Tniv::resultat(int key) {
    if (key >= vk::Numpad1 && key <= vk::Numpad4) {
        const int n = key - vk::Numpad1 + 1;
        TimerQuest.setEnabled(false);
        if (Query1.asInteger(QStringLiteral("br")) == n) {
            juste(n);
            etat_.ReponsesJustes += 1;
            etat_.score += kPointsPerRightAnswer * etat_.NiveauInit;
        } else {
            faux(n);
            perdre();
        }
        indiquejuste();
        etat_.AttenteReponse = false;
        finirQuestion();
    } else if (key == vk::F12) {
        indiquejuste();
    }
}

void Tniv::perdre() {
    if (etat_.Niveau == 4) etat_.MortSubite = true;
    etat_.score -= kPenalty;
}

void Tniv::finirQuestion() {
    afficherScore();
    TimerPause.setEnabled(true);
}

void Tniv::jouerSon(const QString& sound) {
    son.setFileName(sound);
    son.open();
    son.play();
}

void Tniv::marquer(Picture& mark, const QString& sound) {
    sablier.stop();
    jouerSon(sound);
    mark.show();
}

void Tniv::juste(int n) {
    marquer(marqueJuste(n), QStringLiteral("son/juste.wav"));
}

void Tniv::faux(int n) {
    marquer(marqueFaux(n), QStringLiteral("son/faux.wav"));
}

void Tniv::indiquejuste() {
    const int br = Query1.asInteger(QStringLiteral("br"));
    if (br >= 1 && br <= 4) reponse(br).setOpaque(true);
}

void Tniv::visage() {
    const double p = Pourcentage(etat_.ReponsesJustes, etat_.NumQuestion);
    QString face;
    if (p <= 100 && p > 80)
        face = QStringLiteral("a");
    else if (p <= 80 && p > 60)
        face = QStringLiteral("b");
    else if (p <= 60 && p > 40)
        face = QStringLiteral("c");
    else if (p <= 40 && p > 20)
        face = QStringLiteral("d");
    else if (p <= 20 && p >= 0)
        face = QStringLiteral("e");
    else
        return;  // outside 0 to 100 (an edited save file): the face stays as it is
    visage3.load(QStringLiteral("image/aliasMb-%1.bmp").arg(face));
}

void Tniv::afficherScore() {
    pourcent.setText(pourcentageTexte(etat_.ReponsesJustes, etat_.NumQuestion) + u'%');
    visage();
    LabelScore.setText(QString::number(etat_.score));
}

void Tniv::TimerQuestTimer() {
    TimerQuest.setEnabled(false);
    alarme.show();
    sablier.stop();
    etat_.AttenteReponse = false;
    indiquejuste();
    jouerSon(QStringLiteral("son/faux.wav"));
    perdre();
    finirQuestion();
}

void Tniv::musicNotify() {
    if (music.mode() == MediaPlayer::Mode::Stopped) music.play();
}

// ---------------------------------------------------------------------------------------------
// After the pause

void Tniv::TimerPauseTimer() {
    TimerPause.setEnabled(false);
    const AfterPause next = afterPause(etat_);
    if (next == AfterPause::NextQuestion) {
        etat_.NumQuestion += 1;
        posequestion(questionCode(host_, etat_.NumQuestion));
        TimerQuest.setEnabled(true);
        return;
    }
    // The level is over: this screen goes away with it, and nothing of it is used afterwards.
    endLevel(host_, next);
}

void Tniv::shutdown() {
    TimerPause.setEnabled(false);
    TimerQuest.setEnabled(false);
    sablier.stop();
    music.close();
    son.close();
    Query1.close();
    pret_ = false;
}

}  // namespace vorn
