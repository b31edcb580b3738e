// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The level screen: one per level. It is set up for its level (video, ten drawn codes, pictures,
// hourglass, music), shows one question at a time from the question table, judges the keypad
// answers (and the clicks, taps and controller buttons that stand for them) and time-outs, scores them, and after each pause moves the game on: next question, next
// level, bonus level, finished game or lost game.

#include "platform/animation.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/label.h"
#include "platform/media/mediaplayer.h"
#include "platform/picture.h"
#include "platform/screen.h"

#include <array>
#include <functional>

class QGraphicsRectItem;

namespace vorn {

class GameHost;
struct GameState;

class Tniv : public Screen {
public:
    // Builds the screen and opens Query1 with no code: a missing database fails here, before any
    // video. Sets MortSubite to false.
    explicit Tniv(GameHost& host);
    ~Tniv() override;

    void init(int level);
    void posequestion(const QString& code);
    // The counter: NumQuestion out of the level's questions ("3/10", "1/30").
    void showQuestionNumber();
    // True once init has run to its end: only then does the screen take answer keys.
    bool pret() const { return pret_; }

    void resultat(int key);
    // The answer, 1 to 4, whose label or number disc holds `screenPoint` (in the screen's
    // coordinates); 0 for any other place.
    static int answerAt(QPointF screenPoint);
    // True while a question waits for its answer: the answers can be clicked.
    bool questionOpen() const;
    void juste(int n);
    void faux(int n);
    void indiquejuste();
    void visage();
    void TimerQuestTimer();
    void TimerPauseTimer();
    void musicNotify();
    void shutdown() override;

    static double Pourcentage(int j, int q);

    // Layout, back to front.
    Picture fond;
    Picture alarme;
    Picture joueur;
    Picture visage3;
    Label question;
    Label reponse1, reponse2, reponse3, reponse4;
    Label theme;
    Label LabelScore;
    Label pourcent;
    Picture juste1, juste2, juste3, juste4;
    Picture faux1, faux2, faux3, faux4;
    Label Label1;
    Label numquest;
    Animation sablier;
    MediaPlayer music;
    MediaPlayer son;
    Query Query1;
    Timer TimerPause;
    Timer TimerQuest;

private:
    Label& reponse(int n);
    // The right answer as a screen reader says it after a verdict (" La bonne réponse était 3 :
    // Victor Hugo."), nothing when `br` is no answer.
    QString rightAnswerSaid(int br);
    Picture& marqueJuste(int n);
    Picture& marqueFaux(int n);
    void afficherScore();
    void marquer(Picture& mark, const QString& sound);
    void jouerSon(const QString& sound);
    // A wrong answer or a time-out: it costs points and ends the bonus level.
    void perdre();
    // The end of a question: the score shown, and the pause.
    void finirQuestion();
    // The pointer over the answers: a pointing hand while the question is open, the arrow
    // otherwise.
    void updatePointer();
    // Runs a step that only shows or sounds the answer (its sound, its face): a file that fails
    // is told at once and the answer is still counted and followed by its pause, rather than
    // leave the question without a timer.
    void withoutStopping(const std::function<void()>& step);

    GameHost& host_;
    GameState& etat_;
    bool pret_ = false;
    // Invisible, above everything: where the pointer turns into a hand over each answer.
    std::array<QGraphicsRectItem*, 4> answerAreas_{};
};

}  // namespace vorn
