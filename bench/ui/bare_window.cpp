// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline for start-up and memory: what any Qt Widgets program costs before it does
// anything of its own. Same size as the calculator's window, nothing in it.
//
//   bare_window [--text] [--quit-after-paint]
//
// With --text it shows one line in the Song-style face as the calculator carries it (the cut
// of the face in its resources, registered the same way), so that the cost of the font system
// and of that face can be told from the rest. --quit-after-paint ends it once the first frame
// has gone out, for a profiler or `perf stat`.

#include "PaintSpy.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QResource>
#include <QStringList>
#include <QWidget>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    bool text = false;
    bool quitAfterPaint = false;
    for (int i = 1; i < argc; ++i) {
        text = text || std::strcmp(argv[i], "--text") == 0;
        quitAfterPaint = quitAfterPaint || std::strcmp(argv[i], "--quit-after-paint") == 0;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.resize(264, 408);
    if (text) {
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
    // Left out of the measured runs: the yardstick stays a bare window.
    std::unique_ptr<PaintSpy> spy;
    if (quitAfterPaint) {
        spy = std::make_unique<PaintSpy>(
            window, [] {}, [] { QApplication::quit(); });
    }
    window.show();
    return QApplication::exec();
}
