// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator's start-up, step by step, with the time each step takes: the program's own
// main() sequence, with the first use of the fonts and the decoding of the pictures taken out
// in front so that their costs show apart (the pictures then come from Qt's pixmap cache, and
// the fonts are loaded, when the window is built).
//
//   startup_phases [--quit-after MS]
//
// With --quit-after 0 it quits as soon as the first frame has gone out, so that a profiler or
// `perf stat` sees the start-up alone. Prints "phase NAME AT_MS TOOK_MS" lines: AT_MS from the fork
// when started by xwatch (it passes the fork time in XWATCH_FORK_NS), otherwise from entering
// main().

#include "PaintSpy.h"

#include "app/EarlyBusConnection.h"

#include "platform/AppFolder.h"
#include "platform/ClipResources.h"
#include "platform/PulseClipPlayer.h"
#include "platform/QtReadingTimer.h"
#include "platform/SingleInstance.h"
#include "settings/Program.h"
#include "ui/Artwork.h"
#include "ui/CalculatorWindow.h"
#include "ui/SongFont.h"
#include "voice/ClipExtractor.h"
#include "voice/DeferredClipPlayer.h"
#include "voice/RunClipFolder.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <malloc.h>
#include <string>
#include <unistd.h>

namespace {

long long nowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

const long long kEntered = nowNs();
long long origin = kEntered;
long long last = kEntered;

void phase(const char* name) {
    const long long now = nowNs();
    std::printf("phase %s %.2f %.2f\n", name, static_cast<double>(now - origin) / 1e6,
                static_cast<double>(now - last) / 1e6);
    std::fflush(stdout);
    last = now;
}

void useFonts() {
    ui::SongFont::prepare();
    std::printf("font %s\n",
                qPrintable(QFontInfo(ui::SongFont::pixelFont(ui::SongFont::k12pt)).family()));
}

void decodePictures() {
    const char* const pictures[] = {
        "skin.jpg#0",          "key-small.png",        "key-small-pressed.png",
        "key-wide.png",        "key-wide-pressed.png", "display.png",
        "voice-indicator.gif", "about-icon.png",       "about-cursor.png",
        "record-tab.jpg",      "minimise.png",         "minimise-hover.png",
        "close.png",           "close-hover.png"};
    for (const char* name : pictures) {
        const long long before = nowNs();
        const QPixmap pixmap = ui::Artwork::pixmap(QLatin1String(name));
        std::printf("picture %s %dx%d %.2f\n", name, pixmap.width(), pixmap.height(),
                    static_cast<double>(nowNs() - before) / 1e6);
    }
}

std::string extractClips() {
    const long long before = nowNs();
    static const voice::RunClipFolder runFolder(std::getenv("XDG_RUNTIME_DIR"),
                                                std::getenv("TMPDIR"), geteuid());
    const std::string& folder = runFolder.path();
    if (folder.empty()) {
        return {};
    }
    const auto clips = platform::ClipResources::load();
    const long long loaded = nowNs();
    voice::extractClips(folder, clips);
    std::printf("clips read %.2f written %.2f\n", static_cast<double>(loaded - before) / 1e6,
                static_cast<double>(nowNs() - loaded) / 1e6);
    return folder;
}

} // namespace

int main(int argc, char** argv) {
    if (const char* fork = std::getenv("XWATCH_FORK_NS")) {
        origin = std::atoll(fork);
    }
    last = origin;
    phase("main-entered");
    mallopt(M_ARENA_MAX, 1); // as the program does, before any thread
    int quitAfterMs = 1000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--quit-after") {
            quitAfterMs = std::atoi(argv[i + 1]);
        }
    }

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QString());
    QApplication::setApplicationName(QStringLiteral("yuyin-jisuanqi"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.YuyinJisuanqi"));
    phase("qapplication");
    // As in main(), the connection is made while the font system starts.
    const EarlyBusConnection bus;
    QFontDatabase::families();
    phase("font-database");
    useFonts();
    phase("song-face");
    decodePictures();
    phase("pictures");
    const QString appFolder = platform::AppFolder::path();
    platform::SingleInstance instance(appFolder.toStdString());
    phase("single-instance");

    ui::CalculatorWindow window;
    phase("window-built");
    PaintSpy spy(
        window, [] { phase("first-paint-event"); },
        [quitAfterMs] {
            phase("painted-and-flushed");
            if (quitAfterMs == 0) {
                QApplication::quit();
            }
        });
    voice::DeferredClipPlayer player([] { return std::make_unique<platform::PulseClipPlayer>(); });
    phase("clip-player");
    settings::Program* running = nullptr;
    platform::QtReadingTimer timer([&running] {
        if (running != nullptr) {
            running->timerTick();
        }
    });
    settings::Program program(window, player, timer, appFolder.toStdString(), &extractClips);
    running = &program;
    window.attach(program);
    phase("program");
    program.startUp();
    phase("start-up-steps");
    window.show();
    window.activateWindow();
    instance.watch([&window] { window.bringToFront(); });
    phase("shown");
    if (quitAfterMs > 0) {
        QTimer::singleShot(quitAfterMs, &app, &QApplication::quit);
    }
    return QApplication::exec();
}
