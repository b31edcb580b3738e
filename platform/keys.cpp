// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/keys.h"

#include <QKeyEvent>

namespace vorn::vk {

int fromQt(const QKeyEvent& event) {
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return Enter;
    if (key == Qt::Key_Escape) return Escape;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return F1 + (key - Qt::Key_F1);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return (keypad ? 96 : 48) + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 65 + (key - Qt::Key_A);
    // Keypad keys with Num Lock off arrive as navigation keys. Many desktops start with Num Lock
    // off: the keypad's 1 to 4 (End, Down, Page Down, Left) then count as its digits, so that the
    // answers are the same keys either way. The navigation block's own keys stay what they are.
    if (keypad) {
        switch (key) {
            case Qt::Key_End:
                return 97;
            case Qt::Key_Down:
                return 98;
            case Qt::Key_PageDown:
                return 99;
            case Qt::Key_Left:
                return 100;
            default:
                break;
        }
    }
    switch (key) {
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        default:
            return 0;
    }
}

int fromPad(PadButton button) {
    switch (button) {
        case PadButton::North:
            return Numpad1;
        case PadButton::West:
            return Numpad1 + 1;
        case PadButton::East:
            return Numpad1 + 2;
        case PadButton::South:
            return Numpad4;
        case PadButton::Start:
            return Enter;
    }
    return 0;
}

}  // namespace vorn::vk
