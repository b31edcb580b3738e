// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The pictures of the content pack, drawn with QPainter. Backgrounds are 640 x 440; the player
// character, its five faces and the marks use the magenta see-through colour.

#include "core/pack.h"

#include <QImage>
#include <QPainter>

namespace vorn::gen {

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 440;
inline constexpr int kPlayerWidth = 85;
inline constexpr int kPlayerHeight = 115;
inline constexpr int kMarkSize = 35;
inline constexpr int kFaceCount =
    pack::lastFace - pack::firstFace + 1;  // a (delighted) to e (dismayed)

QImage titlePicture();
QImage resultsPicture();
// Level 1 to 3, and 4 for the bonus level.
QImage levelPicture(int level);

// The character's body and head, and its face number 0 (a, delighted) to 4 (e, dismayed), each
// in the 85 x 115 box with the see-through colour around them.
QImage playerPicture();
QImage facePicture(int mood);
QImage markPicture(bool right);
QImage alarmPicture();

// The same drawings for the videos, in the character's own 85 x 115 coordinates (set the
// painter's transform to place and scale them).
void drawPlayerBody(QPainter& p);
void drawPlayerFace(QPainter& p, int mood);

// A gold cup standing on `foot`, `height` pixels tall.
void drawTrophy(QPainter& p, QPointF foot, double height);

// The game's name as drawn on the title picture, centred on `centre`, `scale` 1 being the title
// picture's size; `reveal` from 0 to 1 shows the letters one by one (for the intro video).
void drawGameName(QPainter& p, QPointF centre, double scale, double reveal = 1.0);

// The backdrop of a level (its sky and landscape, without the screen's panels), for the level
// pictures and the level videos; `size` is the area to fill, `time` moves clouds and stars.
void drawLevelScenery(QPainter& p, int level, QSizeF size, double time = 0);

}  // namespace vorn::gen
