// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A named element of a screen's layout. The script runner and the tests read the state of every
// element through describe(), as "key=value" fields.

#include <QString>

namespace vorn {

class Element {
  public:
    virtual ~Element() = default;
    virtual QString elementName() const = 0;
    virtual QString describe() const = 0;
};

// A text in double quotes, with \" \\ and \n escaped.
QString quoted(const QString& text);

}  // namespace vorn
