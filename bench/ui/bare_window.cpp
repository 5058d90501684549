// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline for start-up and memory: what any Qt Widgets program costs before it does
// anything of its own. Same size as the calculator's window, nothing in it.
//
//   bare_window [--text]
//
// With --text it shows one line in the Song-style face as the calculator carries it (the cut
// of the face in its resources, registered the same way), so that the cost of the font system
// and of that face can be told from the rest.

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QResource>
#include <QStringList>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(264, 408);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        auto* label = new QLabel(QStringLiteral("语音计算器 0123456789"), &window);
        QFontDatabase::addApplicationFontFromData(
            QResource(QStringLiteral(":/fonts/song-subset.ttf")).uncompressedData());
        QFont font(QStringList{QStringLiteral("AR PL UMing CN Subset"), QStringLiteral("SimSun"),
                               QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"),
                               QStringLiteral("Noto Serif CJK SC")});
        font.setPixelSize(16);
        label->setFont(font);
        label->move(20, 20);
    }
    window.show();
    return QApplication::exec();
}
