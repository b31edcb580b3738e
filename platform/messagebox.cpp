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
