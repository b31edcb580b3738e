// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// How a layout describes its elements: plain constants (names, boxes, fonts, colours) that the
// screens build themselves from and that the content checker, the generators and the tests read.

#include <QRect>
#include <QRgb>

namespace vorn {

// A font as the layouts name it: a Windows family, its character height in pixels, its style.
struct FontStyle {
    const char* family = "";
    int pixelSize = 13;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

enum class TextSizing { ToText, Fixed };

// A label: sized to its text (growing right from the box's corner; the box gives the size the
// layout states for its first text) or fixed, word-wrapped in its box.
struct TextPlacement {
    const char* name;
    QRect box;
    TextSizing sizing;
    FontStyle font;
    QRgb colour;
    const char* text = "";  // the label's text as the layout stores it (UTF-8)
};

// A toolkit control (an edit box, a push button): its box, font, text colour and first text.
struct ControlPlacement {
    const char* name;
    QRect box;
    FontStyle font;
    QRgb colour;
    const char* text = "";  // UTF-8
};

// A picture: its box (a picture sized to itself takes its file's size).
struct PicturePlacement {
    const char* name;
    QRect box;
};

}  // namespace vorn
