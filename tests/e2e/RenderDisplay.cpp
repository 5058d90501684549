// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the display offscreen exactly as the window draws it, for comparison with a
// screenshot of the running program:
//   render_display <text> <x-twips> <red,green,blue> <indicator 0|1> <out.png>
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <cstdlib>

#include "ui/Artwork.h"
#include "ui/DisplayBox.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const QStringList rgb = QString::fromUtf8(argv[3]).split(',');
    if (rgb.size() != 3) {
        return 2;
    }
    ui::DisplayBox box(ui::Artwork::pixmap(QStringLiteral("display.png")),
                       ui::Artwork::pixmap(QStringLiteral("voice-indicator.gif")), nullptr);
    box.setForeColour(QColor(rgb[0].toInt(), rgb[1].toInt(), rgb[2].toInt()));
    box.indicator()->setVisible(std::atoi(argv[4]) != 0);
    box.paintLayout({argv[1], std::atoi(argv[2]), 170});
    return box.grab().save(QString::fromUtf8(argv[5])) ? 0 : 1;
}
