// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutWindow.h"

#include "ui/Artwork.h"
#include "ui/Layout.h"
#include "ui/SongFont.h"
#include "ui/TextFit.h"
#include "ui/WindowAccessible.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <iterator>

namespace ui {

namespace {

const QColor kWhite(255, 255, 255);
const QColor kCyan(0, 255, 255);

QLabel* makeLine(QWidget* window, const QString& name, const QString& text, const QFont& font,
                 QColor colour) {
    auto* label = new QLabel(text, window);
    label->setObjectName(name);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

AboutWindow::AboutWindow() : background_(Artwork::pixmap(QStringLiteral("about-background.jpg"))) {
    WindowAccessible::install();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    // Screen readers would otherwise announce the window by its title, which means nothing.
    setAccessibleName(QStringLiteral("关于语音计算器"));
    setAccessibleDescription(helpLines().join(QString()));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(SongFont::pixelFont(SongFont::k9pt));
    resize(toPixels(layout::kAboutClient).size());
    addAuthorLines();
    addHelpLines();
}

const QStringList& AboutWindow::authorLines() {
    static const QStringList lines = {
        QStringLiteral("语音计算器"),
        QStringLiteral("会说话的桌面计算器"),
        QStringLiteral("版本 " CALC_VERSION),
        QStringLiteral("为想听见数字的人而做"),
    };
    return lines;
}

const QStringList& AboutWindow::helpLines() {
    static const QStringList lines = {
        QStringLiteral("这是一款功能齐全的软件，有语音报数，可记录300次"),
        QStringLiteral("计算过程。还支持键盘输入，能有效避免计算中出错。"),
        QStringLiteral("键盘输入时，等号可用Enter输入，清空是空格键。"),
    };
    return lines;
}

void AboutWindow::addAuthorLines() {
    for (int i = 0; i < static_cast<int>(std::size(layout::kAuthorTops)); ++i) {
        // The second line is the one set in italics.
        const QFont font = SongFont::pixelFont(SongFont::k10_5pt, false, i == 1);
        QLabel* line =
            makeLine(this, QStringLiteral("Label1_%1").arg(i), authorLines().at(i), font, kWhite);
        line->move(toPixels(layout::kAuthorLeft), toPixels(layout::kAuthorTops[i]));
        line->resize(line->sizeHint().width(), toPixels(layout::kAuthorHeight));
    }
}

void AboutWindow::addHelpLines() {
    for (int i = 0; i < static_cast<int>(std::size(layout::kHelpLines)); ++i) {
        QLabel* line =
            makeLine(this, QStringLiteral("Label2_%1").arg(i), helpLines().at(i), font(), kCyan);
        line->setGeometry(TextFit::grown(toPixels(layout::kHelpLines[i]), *line));
    }
}

void AboutWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawPixmap(0, 0, background_);
    // The frame around the help lines: a one-pixel white outline, nothing inside.
    const QRect frame = toPixels(layout::kHelpFrame);
    painter.setPen(kWhite);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

bool AboutWindow::isBackground(const QPoint& pos) const {
    return rect().contains(pos) && childAt(pos) == nullptr;
}

void AboutWindow::mousePressEvent(QMouseEvent* event) {
    pressedOnBackground_ = event->button() == Qt::LeftButton && isBackground(event->pos());
    event->accept();
}

void AboutWindow::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressedOnBackground_ && event->button() == Qt::LeftButton && isBackground(event->pos());
    pressedOnBackground_ = false;
    event->accept();
    if (click) {
        close();
    }
}

void AboutWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

} // namespace ui
