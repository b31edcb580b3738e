// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The game's layouts and durations, written once. Each screen builds its elements from its
// namespace here; the content checker measures texts in these boxes and fonts, the generators
// draw pictures of these sizes and keep their art clear of these places, and the tests read the
// same numbers. Positions are left, top, width, height in pixels; font sizes are character
// heights in pixels.

#include "platform/layoutitems.h"

namespace vorn::layout {

namespace colour {
constexpr QRgb white = qRgb(255, 255, 255);
constexpr QRgb blue = qRgb(0, 0, 255);
constexpr QRgb aqua = qRgb(0, 255, 255);
constexpr QRgb navy = qRgb(0, 0, 128);
constexpr QRgb green = qRgb(0, 128, 0);
constexpr QRgb windowText = qRgb(0, 0, 0);  // the system's window-text colour
}  // namespace colour

// Every full-size screen.
constexpr QRect screen{0, 0, 640, 440};

// The main window's client area: a full-size screen reaches past it and brings up both scroll
// bars.
namespace principal {
constexpr int clientWidth = 632;
constexpr int clientHeight = 434;
// The part of a full-size screen that stays in sight beside those scroll bars (14 to 17 pixels
// wide, depending on the desktop's style): the art and texts that must be seen stay inside it.
constexpr int scrollBarRoom = 17;
constexpr int visibleWidth = clientWidth - scrollBarRoom;
constexpr int visibleHeight = clientHeight - scrollBarRoom;
}  // namespace principal

// The level screen, back to front.
namespace niv {
constexpr PicturePlacement fond{"fond", screen};
constexpr PicturePlacement alarme{"alarme", {499, 155, 90, 120}};
constexpr PicturePlacement joueur{"joueur", {21, 53, 85, 115}};
constexpr PicturePlacement visage3{"visage3", {21, 53, 85, 115}};
constexpr FontStyle answerFont{"Arial Black", 13};
constexpr TextPlacement question{"question",
                                 {32, 293, 568, 37},
                                 TextSizing::Fixed,
                                 {"Arial Black", 13, false, false, true},
                                 colour::white};
constexpr TextPlacement reponse[4] = {
    {"reponse1", {72, 336, 225, 35}, TextSizing::Fixed, answerFont, colour::white},
    {"reponse2", {72, 385, 225, 35}, TextSizing::Fixed, answerFont, colour::white},
    {"reponse3", {355, 336, 225, 35}, TextSizing::Fixed, answerFont, colour::white},
    {"reponse4", {355, 385, 225, 35}, TextSizing::Fixed, answerFont, colour::white},
};
constexpr QRgb reponseBackground = colour::blue;  // shows while the right answer is highlighted
// The theme grows right from its corner; it wraps rather than leave the screen.
constexpr TextPlacement theme{
    "theme", {488, 72, 0, 27}, TextSizing::ToText, {"Arial Black", 19, true}, colour::aqua};
constexpr QRgb themeBackground = qRgb(0, 64, 128);
constexpr TextPlacement LabelScore{
    "LabelScore", {90, 8, 0, 33}, TextSizing::ToText, {"Arial Black", 24, true}, colour::navy, "0"};
constexpr TextPlacement pourcent{
    "pourcent", {32, 200, 0, 38}, TextSizing::ToText, {"Verdana", 32, true}, colour::aqua};
constexpr PicturePlacement juste[4] = {
    {"juste1", {29, 335, 35, 35}},
    {"juste2", {29, 385, 35, 35}},
    {"juste3", {312, 335, 35, 35}},
    {"juste4", {312, 385, 35, 35}},
};
constexpr PicturePlacement faux[4] = {
    {"faux1", {29, 335, 35, 35}},
    {"faux2", {29, 385, 35, 35}},
    {"faux3", {312, 335, 35, 35}},
    {"faux4", {312, 385, 35, 35}},
};
constexpr TextPlacement Label1{"Label1",          {131, 96, 70, 20},
                               TextSizing::Fixed, {"MS Sans Serif", 16, true},
                               qRgb(128, 255, 0), "question"};
constexpr QRgb Label1Background = qRgb(192, 192, 192);
constexpr TextPlacement numquest{"numquest",         {28, 166, 0, 38},
                                 TextSizing::ToText, {"Arial Black", 27, true, true},
                                 colour::green,      "1/10"};
constexpr PicturePlacement sablier{"sablier", {504, 160, 80, 110}};
constexpr QRgb sablierBackground = qRgb(192, 192, 192);  // silver
// The hourglass runs these frames once a question, in the question's time.
constexpr int sablierFirstFrame = 2;
constexpr int sablierLastFrame = 44;

// Where a click or a tap chooses answer i + 1: its label, the number disc beside it (where its
// marks show) and the narrow gap between the two.
inline QRect answerArea(int i) {
    return reponse[i].box.united(juste[i].box);
}

constexpr int TimerQuestMs = 9850;  // the time allowed for a question
constexpr int TimerPauseMs = 2500;  // the pause after an answer or a time-out
}  // namespace niv

// The title screen.
namespace ecrantitre {
constexpr PicturePlacement fond{"fond", screen};
constexpr TextPlacement Label1{"Label1",           {24, 312, 261, 25},
                               TextSizing::ToText, {"Verdana", 21, true, false, true},
                               colour::blue,       "APPUYEZ SUR ENTRER"};
constexpr int Timer1Ms = 500;  // the prompt's blink
}  // namespace ecrantitre

// The results screen. Its labels are navy "Arial Black", bold.
namespace ecran_resultat {
constexpr FontStyle heading{"Arial Black", 16, true};
constexpr PicturePlacement fond{"fond", screen};
constexpr TextPlacement votre{
    "votre", {18, 72, 598, 23}, TextSizing::ToText,
    heading, colour::navy,      "Votre pourcentage de bonnes réponses sur ce niveau est de:"};
constexpr TextPlacement pass{"pass",  {128, 264, 383, 23}, TextSizing::ToText,
                             heading, colour::navy,        "Vous pouvez passez au niveau suivant."};
constexpr TextPlacement pourcent{"pourcent",         {224, 136, 198, 90},
                                 TextSizing::ToText, {"Arial Black", 64, true},
                                 colour::navy,       " 40% "};
constexpr TextPlacement over{"over",  {224, 264, 168, 23}, TextSizing::ToText,
                             heading, colour::navy,        "Vous avez perdu."};
constexpr TextPlacement fin{"fin",   {184, 264, 271, 23}, TextSizing::ToText,
                            heading, colour::navy,        "Bravo! Vous avez fini le jeu."};
constexpr TextPlacement bonus{
    "bonus",
    {8, 96, 633, 57},
    TextSizing::Fixed,
    heading,
    colour::navy,
    "Vous avez obtenu 100% de bonnes réponses à chaque niveau. Vous accédez au niveau BONUS!"};
constexpr TextPlacement attention{
    "attention", {7, 152, 633, 57}, TextSizing::Fixed,
    heading,     colour::navy,      "ATTENTION!! Dès la première erreur, c'est fini!"};
constexpr int Timer1Ms = 4000;       // every outcome but the bonus announcement
constexpr int Timer1BonusMs = 7000;  // the bonus announcement
}  // namespace ecran_resultat

// The name entry, back to front. Its background is the results screen's picture.
namespace enternom {
constexpr FontStyle heading{"Arial Black", 19, true};
constexpr PicturePlacement Image1{"Image1", screen};
constexpr TextPlacement Label1{"Label1",           {96, 80, 0, 27},
                               TextSizing::ToText, heading,
                               colour::navy,       "Vous êtes dans les dix meilleurs joueurs!  "};
constexpr TextPlacement Label2{"Label2", {216, 144, 0, 27}, TextSizing::ToText,
                               heading,  colour::navy,      "Tapez votre nom."};
constexpr ControlPlacement Edit1{
    "Edit1", {200, 192, 217, 31}, {"Arial Black", 16, true}, colour::green};
constexpr ControlPlacement valider{
    "valider", {248, 256, 113, 33}, {"Arial Black", 13, true}, colour::windowText, "Valider"};
}  // namespace enternom

// The best players: one row per place, 30 pixels apart, in three columns.
namespace highscore {
constexpr int places = 10;
constexpr FontStyle rowFont{"Arial Black", 24, true};
constexpr int rowHeight = 33;
constexpr int firstRowTop = 90;
constexpr int rowSpacing = 30;
constexpr int placeLeft = 50;
constexpr int nomLeft = 150;
constexpr int scoreLeft = 500;
// The label of place `k` (1 to 10) in the column that starts at `left`.
constexpr TextPlacement row(const char* name, int left, int k, const char* text) {
    return TextPlacement{name,
                         {left, firstRowTop + rowSpacing * (k - 1), 0, rowHeight},
                         TextSizing::ToText,
                         rowFont,
                         colour::navy,
                         text};
}

constexpr PicturePlacement Image1{"Image1", screen};
constexpr TextPlacement place[places] = {
    row("place1", placeLeft, 1, "1"), row("place2", placeLeft, 2, "2"),
    row("place3", placeLeft, 3, "3"), row("place4", placeLeft, 4, "4"),
    row("place5", placeLeft, 5, "5"), row("place6", placeLeft, 6, "6"),
    row("place7", placeLeft, 7, "7"), row("place8", placeLeft, 8, "8"),
    row("place9", placeLeft, 9, "9"), row("place10", placeLeft, 10, "10"),
};
constexpr TextPlacement titre{"titre",
                              {152, 24, 0, 30},
                              TextSizing::ToText,
                              {"Arial Black", 21, true, false, true},
                              colour::navy,
                              "LES MEILLEURS JOUEURS"};
constexpr TextPlacement nom[places] = {
    row("nom1", nomLeft, 1, "anonyme"), row("nom2", nomLeft, 2, "anonyme"),
    row("nom3", nomLeft, 3, "anonyme"), row("nom4", nomLeft, 4, "anonyme"),
    row("nom5", nomLeft, 5, "anonyme"), row("nom6", nomLeft, 6, "anonyme"),
    row("nom7", nomLeft, 7, "anonyme"), row("nom8", nomLeft, 8, "anonyme"),
    row("nom9", nomLeft, 9, "anonyme"), row("nom10", nomLeft, 10, "anonyme"),
};
constexpr TextPlacement score[places] = {
    row("score1", scoreLeft, 1, "1000"), row("score2", scoreLeft, 2, "1000"),
    row("score3", scoreLeft, 3, "1000"), row("score4", scoreLeft, 4, "1000"),
    row("score5", scoreLeft, 5, "1000"), row("score6", scoreLeft, 6, "1000"),
    row("score7", scoreLeft, 7, "1000"), row("score8", scoreLeft, 8, "1000"),
    row("score9", scoreLeft, 9, "1000"), row("score10", scoreLeft, 10, "1000"),
};
constexpr int Timer1Ms = 7000;  // how long the table shows
}  // namespace highscore

// Video interludes: the black frame the video plays in.
namespace anim {
constexpr QRect panel{60, 30, 512, 375};
constexpr QRect endOfGamePanel{55, 100, 528, 192};  // the end-of-game video's wide, low frame
}  // namespace anim

// The About window: a top-level window of its own, with its client area's size.
namespace Form1 {
constexpr const char* caption = "A propos";
constexpr QSize client{455, 272};
constexpr QRgb textColour = colour::white;
constexpr QRect Image1{16, 24, 137, 105};  // shows the top-left part of its picture, not stretched
constexpr QSize Image1Picture{143, 98};
constexpr TextPlacement Label1{"Label1",         {184, 32, 168, 21}, TextSizing::ToText,
                               {"Jokerman", 19}, colour::white,      "Les Ateliers du Vorn"};
// The release line: %1 the version, %2 the month and year of the release (core/version.h).
constexpr TextPlacement Label2{"Label2",         {184, 64, 191, 21}, TextSizing::ToText,
                               {"Jokerman", 19}, colour::white,      "Version %1, %2"};
// The credits, the last line the licences.
constexpr TextPlacement Memo1{"Memo1",
                              {184, 112, 249, 97},
                              TextSizing::Fixed,
                              {"Jokerman", 15},
                              colour::white,
                              "Idée et règles : l'atelier du Vorn\n"
                              "Programme : l'équipe du grand quiz\n"
                              "Images et musiques : faites maison\n"
                              "Libre : GPL 3 ou plus, CC BY-SA 4.0"};
constexpr TextPlacement Button1{
    "Button1", {176, 240, 81, 25}, TextSizing::Fixed, {"MS Sans Serif", 11}, qRgb(0, 0, 0), "Ok"};
}  // namespace Form1

}  // namespace vorn::layout
