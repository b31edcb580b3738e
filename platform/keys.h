// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Virtual-key codes, the numbers the game's key rules are written in, and the keys a game
// controller's buttons stand for.

class QKeyEvent;

namespace vorn::vk {

constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int F1 = 112;
constexpr int F12 = 123;
constexpr int Numpad1 = 97;
constexpr int Numpad4 = 100;
constexpr int Digit1 = 49;

// The virtual-key code of a Qt key press: Enter and keypad Enter 13, Esc 27, F1 to F12 112 to 123,
// keypad digits 96 to 105 (only with the keypad modifier, that is with Num Lock on; with it off the
// keypad's 1 to 4, End, Down, Page Down and Left, are 97 to 100 too), main-row digits 48 to 57,
// letters 65 to 90; 0 for a key the game has no code for.
int fromQt(const QKeyEvent& event);

}  // namespace vorn::vk

namespace vorn {

// A game controller's buttons that the game takes, by their place on the controller: the four
// face buttons (Xbox Y, X, B, A; PlayStation triangle, square, circle, cross) and Start.
enum class PadButton { North, West, East, South, Start };

}  // namespace vorn

namespace vorn::vk {

// The key a controller's button stands for. The face buttons answer like the keypad's 1 to 4,
// laid out as the answers are on the screen (the diamond of buttons turned an eighth of a turn):
// north 1 (top left), west 2 (bottom left), east 3 (top right), south 4 (bottom right). Start is
// Enter.
int fromPad(PadButton button);

}  // namespace vorn::vk
