// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/messagebox.h"

#include <QApplication>
#include <QMessageBox>

namespace vorn {

void MessageBoxPresenter::present(const QString& boxText) {
    QMessageBox box(QMessageBox::Critical, QString::fromUtf16(kApplicationTitle), boxText,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

}  // namespace vorn
