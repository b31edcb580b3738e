// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/level.h"

#include "core/gamestate.h"
#include "core/host.h"
#include "core/layout.h"
#include "core/pack.h"
#include "core/progression.h"
#include "core/questions.h"
#include "core/screenset.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "screens/accessibility.h"
#include "screens/anim.h"

#include <QBrush>
#include <QCursor>
#include <QGraphicsRectItem>
#include <QLocale>
#include <QPen>

namespace vorn {

namespace niv = layout::niv;

namespace {

// An answer as a screen reader says it: "3 : Victor Hugo".
QString numberedAnswer(int n, const Label& answer) {
    return QString::number(n) + QStringLiteral(" : ") + spoken(answer.text());
}

// The time to answer as a player hears it: "9,85 s".
QString answerSeconds(int factor) {
    return QLocale(QLocale::French).toString(niv::TimerQuestMs * factor / 1000.0) + QStringLiteral(" s");
}

}  // namespace

Tniv::Tniv(GameHost& host)
    : Screen(QStringLiteral("niv")),
      fond(this, niv::fond),
      alarme(this, niv::alarme),
      joueur(this, niv::joueur),
      visage3(this, niv::visage3),
      question(this, niv::question),
      reponse1(this, niv::reponse[0]),
      reponse2(this, niv::reponse[1]),
      reponse3(this, niv::reponse[2]),
      reponse4(this, niv::reponse[3]),
      theme(this, niv::theme),
      LabelScore(this, niv::LabelScore),
      pourcent(this, niv::pourcent),
      juste1(this, niv::juste[0]),
      juste2(this, niv::juste[1]),
      juste3(this, niv::juste[2]),
      juste4(this, niv::juste[3]),
      faux1(this, niv::faux[0]),
      faux2(this, niv::faux[1]),
      faux3(this, niv::faux[2]),
      faux4(this, niv::faux[3]),
      Label1(this, niv::Label1),
      numquest(this, niv::numquest),
      sablier(this, niv::sablier, host.platform().media),
      music(host.platform().media, QStringLiteral("music")),
      son(host.platform().media, QStringLiteral("son")),
      Query1(QStringLiteral("Query1"), pack::file(pack::databaseDirectory),
             {QStringLiteral("select *"), QStringLiteral("from questionnaire"),
              QStringLiteral("where code like :numero")}),
      TimerPause(host.platform().clock, niv::TimerPauseMs, [this] { TimerPauseTimer(); }),
      TimerQuest(host.platform().clock, niv::TimerQuestMs, [this] { TimerQuestTimer(); }),
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
        r->setBackground(QColor::fromRgb(niv::reponseBackground));
    }
    theme.setOpaque(true);
    theme.setBackground(QColor::fromRgb(niv::themeBackground));
    theme.setWordWrap(true);
    theme.setMaxWidth(layout::screen.width() - niv::theme.box.left());
    LabelScore.setAlignment(Qt::AlignRight);
    Label1.setOpaque(true);
    Label1.setBackground(QColor::fromRgb(niv::Label1Background));
    Label1.hide();
    numquest.setAlignment(Qt::AlignHCenter);
    sablier.setBackground(QColor::fromRgb(niv::sablierBackground));
    sablier.hide();
    music.setOnNotify([this] { musicNotify(); });

    for (const Element* e : std::initializer_list<const Element*>{
             &fond, &alarme, &joueur, &visage3, &question, &reponse1, &reponse2, &reponse3, &reponse4, &theme,
             &LabelScore, &pourcent, &juste1, &juste2, &juste3, &juste4, &faux1, &faux2, &faux3, &faux4, &Label1,
             &numquest, &sablier, &music, &son})
        expose(*e);
    for (int i = 0; i < 4; ++i) {
        auto* area = new QGraphicsRectItem(niv::answerArea(i), this);
        area->setPen(Qt::NoPen);
        area->setBrush(Qt::NoBrush);
        area->setAcceptedMouseButtons(Qt::NoButton);
        area->setZValue(1);
        answerAreas_[static_cast<std::size_t>(i)] = area;
    }
    expose(QStringLiteral("TimerPause"), TimerPause);
    expose(QStringLiteral("TimerQuest"), TimerQuest);

    // What a screen reader reads, in reading order: the level, the question and its answers, then
    // the score, the counter, the percentage and the time.
    std::vector<Reading> readings{
        {QAccessible::Heading,
         [this] { return etat_.Niveau == 4 ? QStringLiteral("Niveau bonus") : QStringLiteral("Niveau %1").arg(etat_.Niveau); }},
        {QAccessible::StaticText, [this] { return QStringLiteral("Thème : ") + theme.text(); }, &theme},
        {QAccessible::StaticText, [this] { return question.text(); }, &question}};
    for (int n = 1; n <= 4; ++n)
        readings.push_back({QAccessible::StaticText, [this, n] { return numberedAnswer(n, reponse(n)); }, &reponse(n)});
    readings.push_back({QAccessible::StaticText, [this] { return QStringLiteral("Score : ") + LabelScore.text(); }, &LabelScore});
    readings.push_back({QAccessible::StaticText, [this] { return QStringLiteral("Question ") + numquest.text(); }, &numquest});
    readings.push_back({QAccessible::StaticText, [this] { return QStringLiteral("Bonnes réponses : ") + pourcent.text(); }, &pourcent});
    readings.push_back({QAccessible::StaticText,
                        [this] {
                            return alarme.isVisible() ? QStringLiteral("Temps écoulé !")
                                                      : QStringLiteral("Temps pour répondre : ") + answerSeconds(etat_.answerTimeFactor);
                        },
                        &sablier, [] { return true; }});
    describeForReading(*this, std::move(readings));

    // The stored layout opens the question lookup first, then the sound player on its file.
    Query1.open();
    son.setFileName(pack::file(pack::rightSound));
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

    fond.load(pack::levelPicture(level));
    joueur.load(pack::file(pack::playerPicture));
    visage3.load(pack::facePicture(pack::firstFace));
    for (int n = 1; n <= 4; ++n) marqueJuste(n).load(pack::file(pack::rightMarkPicture));
    for (int n = 1; n <= 4; ++n) marqueFaux(n).load(pack::file(pack::wrongMarkPicture));
    alarme.load(pack::file(pack::alarmPicture));
    for (int n = 1; n <= 4; ++n) {
        marqueJuste(n).hide();
        marqueFaux(n).hide();
    }
    etat_.AttenteReponse = false;
    pourcent.setText(QStringLiteral("0%"));
    LabelScore.setText(QString::number(etat_.score));

    sablier.setFileName(pack::file(pack::hourglass));
    sablier.setActive(true);
    sablier.setActive(false);
    sablier.show();

    host_.hasard().reseed();
    const auto n = host_.hasard().draw(pack::levelTunes) + 1;
    music.setFileName(pack::levelTune(static_cast<int>(n)));
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
    // The player's time to answer: the time-out, and the hourglass that runs out with it.
    TimerQuest.setInterval(niv::TimerQuestMs * etat_.answerTimeFactor);
    sablier.setSlowdown(etat_.answerTimeFactor);
    sablier.play(niv::sablierFirstFrame, niv::sablierLastFrame, 1);
    Label1.setText(code);
    showQuestionNumber();
    etat_.AttenteReponse = true;
    updatePointer();
    QString said;
    if (etat_.NumQuestion == 1)
        said = etat_.Niveau == 4 ? QStringLiteral("Niveau bonus. ") : QStringLiteral("Niveau %1. ").arg(etat_.Niveau);
    said += QStringLiteral("Question ") + numquest.text().replace(u'/', QStringLiteral(" sur ")) +
            QStringLiteral(". Thème : ") + spoken(theme.text()) + QStringLiteral(". ") + spoken(question.text());
    for (int n = 1; n <= 4; ++n) said += QStringLiteral(" ") + numberedAnswer(n, reponse(n)) + u'.';
    announce(*this, said);
}

void Tniv::showQuestionNumber() {
    numquest.setText(QString::number(etat_.NumQuestion) + (etat_.Niveau < 4 ? QStringLiteral("/10") : QStringLiteral("/30")));
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
        updatePointer();
        finirQuestion();
        const int br = Query1.asInteger(QStringLiteral("br"));
        announce(*this, (br == n ? QStringLiteral("Juste !") : QStringLiteral("Faux !") + rightAnswerSaid(br)) +
                            QStringLiteral(" Score : ") + LabelScore.text() + u'.');
    } else if (key == vk::F12) {
        indiquejuste();
    }
}

QString Tniv::rightAnswerSaid(int br) {
    // A table whose right answer is no answer (an edited database) has none to say.
    if (br < 1 || br > 4) return {};
    return QStringLiteral(" La bonne réponse était ") + numberedAnswer(br, reponse(br)) + u'.';
}

int Tniv::answerAt(QPointF screenPoint) {
    for (int i = 0; i < 4; ++i)
        if (QRectF(niv::answerArea(i)).contains(screenPoint)) return i + 1;
    return 0;
}

bool Tniv::questionOpen() const {
    return pret_ && etat_.AttenteReponse;
}

void Tniv::updatePointer() {
    for (QGraphicsRectItem* area : answerAreas_) {
        if (questionOpen())
            area->setCursor(Qt::PointingHandCursor);
        else
            area->unsetCursor();
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

void Tniv::withoutStopping(const std::function<void()>& step) {
    try {
        step();
    } catch (const Error& e) {
        host_.platform().errors.present(messageBoxText(e.message()));
    }
}

void Tniv::marquer(Picture& mark, const QString& sound) {
    sablier.stop();
    withoutStopping([&] { jouerSon(sound); });
    mark.show();
}

void Tniv::juste(int n) {
    marquer(marqueJuste(n), pack::file(pack::rightSound));
}

void Tniv::faux(int n) {
    marquer(marqueFaux(n), pack::file(pack::wrongSound));
}

void Tniv::indiquejuste() {
    const int br = Query1.asInteger(QStringLiteral("br"));
    if (br >= 1 && br <= 4) reponse(br).setOpaque(true);
}

void Tniv::visage() {
    const double p = Pourcentage(etat_.ReponsesJustes, etat_.NumQuestion);
    char face;
    if (p <= 100 && p > 80)
        face = 'a';
    else if (p <= 80 && p > 60)
        face = 'b';
    else if (p <= 60 && p > 40)
        face = 'c';
    else if (p <= 40 && p > 20)
        face = 'd';
    else if (p <= 20 && p >= 0)
        face = 'e';
    else
        return;  // outside 0 to 100 (an edited save file): the face stays as it is
    withoutStopping([&] { visage3.load(pack::facePicture(face)); });
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
    updatePointer();
    indiquejuste();
    withoutStopping([this] { jouerSon(pack::file(pack::wrongSound)); });
    perdre();
    finirQuestion();
    announce(*this, QStringLiteral("Temps écoulé !") + rightAnswerSaid(Query1.asInteger(QStringLiteral("br"))) +
                        QStringLiteral(" Score : ") + LabelScore.text() + u'.');
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
    updatePointer();
}

}  // namespace vorn
