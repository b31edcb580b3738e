// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/apropos.h"

#include "core/layout.h"
#include "core/version.h"
#include "platform/fonts.h"

#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

#include <cmath>

namespace vorn {

namespace Form1 = layout::Form1;

namespace {

QLabel* textLabel(QWidget* parent, const TextPlacement& placed) {
    auto* label = new QLabel(QString::fromUtf8(placed.text), parent);
    label->setObjectName(QLatin1String(placed.name));
    label->setFont(layoutFont(placed.font));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(placed.colour));
    label->setPalette(palette);
    label->move(placed.box.topLeft());
    label->adjustSize();  // sized to its text
    return label;
}

}  // namespace

QString TForm1::releaseLine() {
    const QDate date = QDate::fromString(QLatin1String(release::date), Qt::ISODate);
    return QString::fromUtf8(Form1::Label2.text)
        .arg(QLatin1String(release::version),
             QLocale(QLocale::French).toString(date, QStringLiteral("MMMM yyyy")));
}

QImage TForm1::picture() {
    // A small badge of the game: a gold "V" and a question mark on a blue sunburst.
    QImage image(Form1::Image1Picture, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), QSizeF(Form1::Image1Picture));
    p.fillRect(area, QColor(30, 58, 140));
    const QPointF centre = area.center();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(44, 80, 170));
    for (int ray = 0; ray < 16; ray += 2) {
        QPainterPath wedge(centre);
        const double a0 = ray * M_PI / 8, a1 = (ray + 1) * M_PI / 8;
        wedge.lineTo(centre + QPointF(std::cos(a0), std::sin(a0)) * 120);
        wedge.lineTo(centre + QPointF(std::cos(a1), std::sin(a1)) * 120);
        wedge.closeSubpath();
        p.drawPath(wedge);
    }
    QFont font = layoutFont(FontStyle{"Arial Black", 70, true});
    p.setFont(font);
    QLinearGradient gold(0, 10, 0, 90);
    gold.setColorAt(0, QColor(255, 226, 120));
    gold.setColorAt(1, QColor(224, 150, 30));
    QPainterPath letter;
    letter.addText(18, 80, font, QStringLiteral("V"));
    p.setBrush(QColor(20, 28, 64));
    p.drawPath(letter.translated(3, 3));
    p.setBrush(gold);
    p.drawPath(letter);
    QPainterPath mark;
    font.setPixelSize(56);
    mark.addText(88, 74, font, QStringLiteral("?"));
    p.setBrush(QColor(38, 181, 170));
    p.drawPath(mark);
    p.end();
    return image;
}

TForm1::TForm1(QWidget* owner, std::function<void()> formClose)
    : QWidget(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint),
      formClose_(std::move(formClose)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(Form1::caption));
    setAttribute(Qt::WA_DeleteOnClose, false);  // its owner lets it go after FormClose
    setFixedSize(Form1::client);
    // The background takes the desktop's button-text colour.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::ButtonText));
    setPalette(palette);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(Form1::Image1);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // not stretched: its top-left part shows
    Image1->setPixmap(QPixmap::fromImage(picture()));
    Image1->setAccessibleName(
        QString::fromUtf16(u"V.O.R.N. VOZID"));  // a screen reader names the picture

    Label1 = textLabel(this, Form1::Label1);
    Label2 = textLabel(this, Form1::Label2);
    Label2->setText(releaseLine());
    Label2->adjustSize();

    Memo1 = new QPlainTextEdit(QString::fromUtf8(Form1::Memo1.text), this);
    Memo1->setObjectName(QLatin1String(Form1::Memo1.name));
    Memo1->setGeometry(Form1::Memo1.box);
    Memo1->setFont(layoutFont(Form1::Memo1.font));
    QPalette memo = Memo1->palette();
    memo.setColor(QPalette::Base, palette.color(QPalette::ButtonText));
    memo.setColor(QPalette::Text, QColor::fromRgb(Form1::Memo1.colour));
    Memo1->setPalette(memo);

    Button1 = new QPushButton(QString::fromUtf8(Form1::Button1.text), this);
    Button1->setObjectName(QLatin1String(Form1::Button1.name));
    Button1->setGeometry(Form1::Button1.box);
    Button1->setFont(layoutFont(Form1::Button1.font));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    // By the keyboard alone: the window opens with "Ok" under the focus (Enter closes it), Tab
    // leaves the credits instead of typing into them, and Esc closes it as a dialog's would.
    Memo1->setTabChangesFocus(true);
    Button1->setFocus();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

TForm1::~TForm1() = default;

void TForm1::Button1Click() {
    close();
}

void TForm1::FormClose() {
    if (formClose_) formClose_();
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

}  // namespace vorn
