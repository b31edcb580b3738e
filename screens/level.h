// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The level screen: one per level. It is set up for its level (video, ten drawn codes, pictures,
// hourglass, music), shows one question at a time from the question table, judges the keypad
// answers (and the clicks, taps and controller buttons that stand for them) and time-outs, scores
// them, and after each pause asks afterPause what follows: the next question it poses itself; the
// end of the level (next level, bonus level, finished or lost game) it hands to the flow. Its
// widgets, timers and lookup are its own: the others use its operations.

#include "core/questions.h"
#include "core/rules.h"
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

    // What the level's pause leads to when the level is over (the next question stays here). The
    // screen goes away during the call: nothing of it is used afterwards.
    void setOnLevelOver(std::function<void(AfterPause)> onLevelOver) {
        onLevelOver_ = std::move(onLevelOver);
    }

    // Sets the screen up for `level`: its video, its drawn list (thirty codes on the bonus
    // level), pictures, hourglass and music.
    void init(int level);
    void posequestion(const QString& code);
    // The code of question `numQuestion` of the drawn list (slot numQuestion - 1), or an empty
    // code when there is none.
    QString questionCode(int numQuestion) const;
    const TQuestionnaire& questionnaire() const { return liste_; }
    // Poses question NumQuestion and starts its time.
    void openQuestion();
    // Opens in the pause that follows an answer: the question number shown, the pause started.
    void openInPause();
    // Stops the question's time and the pause: nothing moves on until the next open.
    void stopTimers();
    // The counter: NumQuestion out of the level's questions ("3/10", "1/30").
    void showQuestionNumber();
    // True once init has run to its end: only then does the screen take answer keys.
    bool ready() const { return ready_; }

    // What a save slot keeps of the screen: the percentage's text, and whether the pause after an
    // answer is running (the question is answered and waits for what follows).
    QString percentageText() const { return pourcent.text(); }
    void setPercentageText(const QString& text) { pourcent.setText(text); }
    bool inPauseAfterAnswer() const { return TimerPause.enabled(); }
    // What the screen shows of the game, for the checks of a game in progress.
    QString counterText() const { return numquest.text(); }
    QString scoreText() const { return LabelScore.text(); }
    QString codeShown() const { return Label1.text(); }
    bool questionTimeRunning() const { return TimerQuest.enabled(); }
    // The right answer (1 to 4) the question table gives the question on screen.
    int rightAnswer() const;

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

  private:
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

    Label& answerLabel(int n);
    // The right answer as a screen reader says it after a verdict (" La bonne réponse était 3 :
    // Victor Hugo."), nothing when `br` is no answer.
    QString rightAnswerSaid(int br);
    Picture& rightMark(int n);
    Picture& wrongMark(int n);
    void showScore();
    void markAnswer(Picture& mark, const QString& sound);
    void playSound(const QString& sound);
    // A wrong answer or a time-out: it costs points and ends the bonus level.
    void chargeMiss();
    // The end of a question: the score shown, and the pause.
    void endQuestion();
    // The pointer over the answers: a pointing hand while the question is open, the arrow
    // otherwise.
    void updatePointer();
    // Runs a step that only shows or sounds the answer (its sound, its face): a file that fails
    // is told at once and the answer is still counted and followed by its pause, rather than
    // leave the question without a timer.
    void withoutStopping(const std::function<void()>& step);

    GameHost& host_;
    GameState& gameState_;
    bool ready_ = false;
    TQuestionnaire liste_{blankList};
    std::function<void(AfterPause)> onLevelOver_;
    // Invisible, above everything: where the pointer turns into a hand over each answer.
    std::array<QGraphicsRectItem*, 4> answerAreas_{};
};

}  // namespace vorn
