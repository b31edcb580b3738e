// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/level.h"

#include "core/gamestate.h"
#include "core/layout.h"
#include "core/numbers.h"
#include "core/pack.h"
#include "core/questions.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "screens/accessibility.h"
#include "screens/anim.h"
#include "screens/host.h"

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
    return QLocale(QLocale::French).toString(niv::TimerQuestMs * factor / 1000.0) +
           QStringLiteral(" s");
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
      gameState_(host.gameState()) {
    fond.setStretch(true);
    alarme.setAutoSize(true);
    alarme.hide();
    for (Picture* p :
         {&joueur, &visage3, &juste1, &juste2, &juste3, &juste4, &faux1, &faux2, &faux3, &faux4})
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
             &fond,     &alarme,   &joueur, &visage3,    &question, &reponse1, &reponse2,
             &reponse3, &reponse4, &theme,  &LabelScore, &pourcent, &juste1,   &juste2,
             &juste3,   &juste4,   &faux1,  &faux2,      &faux3,    &faux4,    &Label1,
             &numquest, &sablier,  &music,  &son})
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
         [this] {
             return gameState_.Niveau == numbers::kBonusLevel
                        ? QStringLiteral("Niveau bonus")
                        : QStringLiteral("Niveau %1").arg(gameState_.Niveau);
         }},
        {QAccessible::StaticText, [this] { return QStringLiteral("Thème : ") + theme.text(); },
         &theme},
        {QAccessible::StaticText, [this] { return question.text(); }, &question}};
    for (int n = 1; n <= 4; ++n)
        readings.push_back({QAccessible::StaticText,
                            [this, n] { return numberedAnswer(n, answerLabel(n)); },
                            &answerLabel(n)});
    readings.push_back({QAccessible::StaticText,
                        [this] { return QStringLiteral("Score : ") + LabelScore.text(); },
                        &LabelScore});
    readings.push_back({QAccessible::StaticText,
                        [this] { return QStringLiteral("Question ") + numquest.text(); },
                        &numquest});
    readings.push_back({QAccessible::StaticText,
                        [this] { return QStringLiteral("Bonnes réponses : ") + pourcent.text(); },
                        &pourcent});
    readings.push_back({QAccessible::StaticText,
                        [this] {
                            return alarme.isVisible()
                                       ? QStringLiteral("Temps écoulé !")
                                       : QStringLiteral("Temps pour répondre : ") +
                                             answerSeconds(gameState_.answerTimeFactor);
                        },
                        &sablier, [] { return true; }});
    describeForReading(*this, std::move(readings));

    // The stored layout opens the question lookup first, then the sound player on its file.
    Query1.open();
    son.setFileName(pack::file(pack::rightSound));
    son.open();
    gameState_.MortSubite = false;
}

Tniv::~Tniv() = default;

Label& Tniv::answerLabel(int n) {
    Label* labels[] = {&reponse1, &reponse2, &reponse3, &reponse4};
    return *labels[n - 1];
}

Picture& Tniv::rightMark(int n) {
    Picture* marks[] = {&juste1, &juste2, &juste3, &juste4};
    return *marks[n - 1];
}

Picture& Tniv::wrongMark(int n) {
    Picture* marks[] = {&faux1, &faux2, &faux3, &faux4};
    return *marks[n - 1];
}

// ---------------------------------------------------------------------------------------------
// Set-up and questions

void Tniv::init(int level) {
    gameState_.NiveauInit = level;
    {
        tanim video(level, host_);
        video.joue();
    }
    gameState_.NumQuestion = 1;
    gameState_.ReponsesJustes = 0;
    liste_ = TQuestionnaire(blankList);
    remplir(host_.randomGenerator(), liste_, level, numbers::kQuestionsPerLevel - 1);

    fond.load(pack::levelPicture(level));
    joueur.load(pack::file(pack::playerPicture));
    visage3.load(pack::facePicture(pack::firstFace));
    for (int n = 1; n <= 4; ++n) rightMark(n).load(pack::file(pack::rightMarkPicture));
    for (int n = 1; n <= 4; ++n) wrongMark(n).load(pack::file(pack::wrongMarkPicture));
    alarme.load(pack::file(pack::alarmPicture));
    for (int n = 1; n <= 4; ++n) {
        rightMark(n).hide();
        wrongMark(n).hide();
    }
    gameState_.AttenteReponse = false;
    pourcent.setText(QStringLiteral("0%"));
    LabelScore.setText(QString::number(gameState_.score));

    sablier.setFileName(pack::file(pack::hourglass));
    sablier.setActive(true);
    sablier.setActive(false);
    sablier.show();

    host_.randomGenerator().reseed();
    const auto n = host_.randomGenerator().draw(pack::levelTunes) + 1;
    music.setFileName(pack::levelTune(static_cast<int>(n)));
    music.open();
    music.play();
    ready_ = true;
    if (level == numbers::kBonusLevel)
        remplir(host_.randomGenerator(), liste_, level, questionsOfLevel(level) - 1);
}

QString Tniv::questionCode(int numQuestion) const {
    if (numQuestion < 1 || numQuestion > static_cast<int>(liste_.tableaux.size())) return {};
    return liste_.tableaux[static_cast<std::size_t>(numQuestion - 1)];
}

void Tniv::openQuestion() {
    posequestion(questionCode(gameState_.NumQuestion));
    TimerQuest.setEnabled(true);
}

void Tniv::openInPause() {
    showQuestionNumber();
    TimerPause.setEnabled(true);
}

void Tniv::stopTimers() {
    TimerPause.setEnabled(false);
    TimerQuest.setEnabled(false);
}

int Tniv::rightAnswer() const {
    return Query1.asInteger(questiontable::column(questiontable::Br));
}

void Tniv::posequestion(const QString& code) {
    alarme.hide();
    for (int n = 1; n <= 4; ++n) answerLabel(n).setOpaque(false);
    for (int n = 1; n <= 4; ++n) {
        rightMark(n).hide();
        wrongMark(n).hide();
    }
    Query1.setParam(QStringLiteral("numero"), code);
    Query1.close();
    Query1.open();
    question.setText(Query1.asString(questiontable::column(questiontable::Enonce)));
    reponse1.setText(Query1.asString(questiontable::column(questiontable::R1)));
    reponse2.setText(Query1.asString(questiontable::column(questiontable::R2)));
    reponse3.setText(Query1.asString(questiontable::column(questiontable::R3)));
    reponse4.setText(Query1.asString(questiontable::column(questiontable::R4)));
    theme.setText(Query1.asString(questiontable::column(questiontable::Theme)));
    // The player's time to answer: the time-out, and the hourglass that runs out with it.
    TimerQuest.setInterval(niv::TimerQuestMs * gameState_.answerTimeFactor);
    sablier.setSlowdown(gameState_.answerTimeFactor);
    sablier.play(niv::sablierFirstFrame, niv::sablierLastFrame, 1);
    Label1.setText(code);
    showQuestionNumber();
    gameState_.AttenteReponse = true;
    updatePointer();
    QString said;
    if (gameState_.NumQuestion == 1)
        said = gameState_.Niveau == numbers::kBonusLevel
                   ? QStringLiteral("Niveau bonus. ")
                   : QStringLiteral("Niveau %1. ").arg(gameState_.Niveau);
    said += QStringLiteral("Question ") + numquest.text().replace(u'/', QStringLiteral(" sur ")) +
            QStringLiteral(". Thème : ") + spoken(theme.text()) + QStringLiteral(". ") +
            spoken(question.text());
    for (int n = 1; n <= 4; ++n)
        said += QStringLiteral(" ") + numberedAnswer(n, answerLabel(n)) + u'.';
    announce(*this, said);
}

void Tniv::showQuestionNumber() {
    numquest.setText(QString::number(gameState_.NumQuestion) + u'/' +
                     QString::number(questionsOfLevel(gameState_.Niveau)));
}

// ---------------------------------------------------------------------------------------------
// Answers

void Tniv::resultat(int key) {
    if (key >= vk::Numpad1 && key <= vk::Numpad4) {
        const int n = key - vk::Numpad1 + 1;
        TimerQuest.setEnabled(false);
        if (Query1.asInteger(questiontable::column(questiontable::Br)) == n) {
            juste(n);
            gameState_.ReponsesJustes += 1;
            gameState_.score += numbers::kPointsPerRightAnswer * gameState_.NiveauInit;
        } else {
            faux(n);
            chargeMiss();
        }
        indiquejuste();
        gameState_.AttenteReponse = false;
        updatePointer();
        endQuestion();
        const int br = Query1.asInteger(questiontable::column(questiontable::Br));
        announce(*this, (br == n ? QStringLiteral("Juste !")
                                 : QStringLiteral("Faux !") + rightAnswerSaid(br)) +
                            QStringLiteral(" Score : ") + LabelScore.text() + u'.');
    } else if (key == vk::F12) {
        indiquejuste();
    }
}

QString Tniv::rightAnswerSaid(int br) {
    // A table whose right answer is no answer (an edited database) has none to say.
    if (br < 1 || br > 4) return {};
    return QStringLiteral(" La bonne réponse était ") + numberedAnswer(br, answerLabel(br)) + u'.';
}

int Tniv::answerAt(QPointF screenPoint) {
    for (int i = 0; i < 4; ++i)
        if (QRectF(niv::answerArea(i)).contains(screenPoint)) return i + 1;
    return 0;
}

bool Tniv::questionOpen() const {
    return ready_ && gameState_.AttenteReponse;
}

void Tniv::updatePointer() {
    for (QGraphicsRectItem* area : answerAreas_) {
        if (questionOpen())
            area->setCursor(Qt::PointingHandCursor);
        else
            area->unsetCursor();
    }
}

void Tniv::chargeMiss() {
    if (gameState_.Niveau == numbers::kBonusLevel) gameState_.MortSubite = true;
    gameState_.score -= numbers::kPenalty;
}

void Tniv::endQuestion() {
    showScore();
    TimerPause.setEnabled(true);
}

void Tniv::playSound(const QString& sound) {
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

void Tniv::markAnswer(Picture& mark, const QString& sound) {
    sablier.stop();
    withoutStopping([&] { playSound(sound); });
    mark.show();
}

void Tniv::juste(int n) {
    markAnswer(rightMark(n), pack::file(pack::rightSound));
}

void Tniv::faux(int n) {
    markAnswer(wrongMark(n), pack::file(pack::wrongSound));
}

void Tniv::indiquejuste() {
    const int br = Query1.asInteger(questiontable::column(questiontable::Br));
    if (br >= 1 && br <= 4) answerLabel(br).setOpaque(true);
}

void Tniv::visage() {
    const double p = vorn::Pourcentage(gameState_.ReponsesJustes, gameState_.NumQuestion);
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

void Tniv::showScore() {
    pourcent.setText(formatPercentage(gameState_.ReponsesJustes, gameState_.NumQuestion) + u'%');
    visage();
    LabelScore.setText(QString::number(gameState_.score));
}

void Tniv::TimerQuestTimer() {
    TimerQuest.setEnabled(false);
    alarme.show();
    sablier.stop();
    gameState_.AttenteReponse = false;
    updatePointer();
    indiquejuste();
    withoutStopping([this] { playSound(pack::file(pack::wrongSound)); });
    chargeMiss();
    endQuestion();
    announce(*this,
             QStringLiteral("Temps écoulé !") +
                 rightAnswerSaid(Query1.asInteger(questiontable::column(questiontable::Br))) +
                 QStringLiteral(" Score : ") + LabelScore.text() + u'.');
}

void Tniv::musicNotify() {
    if (music.mode() == MediaPlayer::Mode::Stopped) music.play();
}

// ---------------------------------------------------------------------------------------------
// After the pause

void Tniv::TimerPauseTimer() {
    TimerPause.setEnabled(false);
    const AfterPause next = afterPause(gameState_);
    if (next == AfterPause::NextQuestion) {
        gameState_.NumQuestion += 1;
        openQuestion();
        return;
    }
    // The level is over: this screen goes away with it, and nothing of it is used afterwards.
    if (onLevelOver_) onLevelOver_(next);
}

void Tniv::shutdown() {
    stopTimers();
    sablier.stop();
    music.close();
    son.close();
    Query1.close();
    ready_ = false;
    updatePointer();
}

}  // namespace vorn
