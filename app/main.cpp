// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"
#include "EarlyBusConnection.h"
#include "SignalWatcher.h"

#include "platform/AppFolder.h"
#include "platform/ClipResources.h"
#include "platform/PulseClipPlayer.h"
#include "platform/QtReadingTimer.h"
#include "platform/SingleInstance.h"
#include "settings/DisplayScale.h"
#include "settings/Program.h"
#include "ui/CalculatorWindow.h"
#include "ui/SongFont.h"
#include "voice/ClipExtractor.h"
#include "voice/DeferredClipPlayer.h"
#include "voice/RunClipFolder.h"

#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <optional>
#include <vector>

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Writes the clips into the run's private folder; without one the keys answer with the
// fallback sound.
std::string extractClips(const voice::RunClipFolder& folder) {
    if (!folder.path().empty()) {
        // A clip that could not be written sounds the fallback; the others still speak.
        voice::extractClips(folder.path(), platform::ClipResources::load());
    }
    return folder.path();
}

void setScaleFactor(double factor) {
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'g', 6));
}

// Starts Qt at the factor --scale asks for, or at a smaller one when the widest window would
// not fit the screen at it. The screen is known only once Qt runs, and Qt reads its factor
// only as it starts, so a factor too large costs a second start. `arguments` keeps the
// command line whole for that: QApplication takes its own options out of what it is given.
std::unique_ptr<QApplication> startQt(int& argc, char** argv, std::optional<double> scale,
                                      std::vector<char*>& arguments, int& argumentCount) {
    if (!scale) {
        return std::make_unique<QApplication>(argc, argv);
    }
    // Qt's own factor draws everything, menus and message boxes too, with the double-size
    // artwork; the option takes its place.
    setScaleFactor(*scale);
    arguments.assign(argv, argv + argc + 1);
    argumentCount = argc;
    auto app = std::make_unique<QApplication>(argc, argv);
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
        const QSize area = screen->availableGeometry().size() * *scale;
        if (const double fitted = settings::DisplayScale::fit(*scale, area.width(), area.height());
            fitted < *scale) {
            app.reset();
            setScaleFactor(fitted);
            app = std::make_unique<QApplication>(argumentCount, arguments.data());
        }
    }
    return app;
}

} // namespace

int main(int argc, char** argv) {
    // The program's threads (the sound player's, the bus connection's, Qt's helpers) allocate
    // little and seldom. Left alone, malloc gives each an arena of its own whose pages stay
    // resident beside the main heap's; with one arena they share one heap. Before any thread.
    mallopt(M_ARENA_MAX, 1);
    SignalWatcher::exitAtOnce();
    // Before QApplication, which would need a display just to print the help.
    const CommandLine::Result command = CommandLine::parse(argc, argv);
    if (!command.run) {
        std::fputs(command.output.c_str(), stdout);
        std::fputs(command.error.c_str(), stderr);
        return command.status;
    }
    // Without a display Qt aborts with advice about reinstalling; say what is missing instead.
    if (!command.displayGiven && !isSet("QT_QPA_PLATFORM") && !isSet("DISPLAY") &&
        !isSet("WAYLAND_DISPLAY")) {
        std::fputs("yuyin-jisuanqi: needs a graphical session (DISPLAY or WAYLAND_DISPLAY)\n",
                   stderr);
        return 1;
    }

    std::optional<double> scale;
    if (const auto given = command.values.find("scale"); given != command.values.end()) {
        scale = settings::DisplayScale::parse(given->second);
        if (!scale) {
            std::fputs("yuyin-jisuanqi: --scale takes a number from 1 to 4 (try --help)\n", stderr);
            return CommandLine::kUsageError;
        }
    }
    std::vector<char*> arguments;
    int argumentCount = 0;
    const std::unique_ptr<QApplication> app = startQt(argc, argv, scale, arguments, argumentCount);
    // The per-user data folder of an installed copy is …/yuyin-jisuanqi.
    QApplication::setOrganizationName(QString());
    QApplication::setApplicationName(QStringLiteral("yuyin-jisuanqi"));
    // The desktop matches the window to its launcher entry, icon and name by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.YuyinJisuanqi"));

    const QString appFolder = platform::AppFolder::path();
    platform::SingleInstance instance(appFolder.toStdString());
    if (instance.role() == platform::SingleInstance::Role::Second) {
        // The running program has been asked to come forward; a second one would share its
        // files and talk over it.
        return 0;
    }
    if (instance.role() == platform::SingleInstance::Role::Alone) {
        std::fprintf(stderr, "yuyin-jisuanqi: running without the one-copy guard: %s\n",
                     instance.problem().c_str());
    }

    const EarlyBusConnection bus;
    // Meanwhile: the window's first announcement to accessibility waits for that connection.
    ui::SongFont::prepare();
    ui::CalculatorWindow window;
    SignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &SignalWatcher::signalled, app.get(), [] {
        // The main window's close counts as the system's; the About window goes with it.
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    const voice::RunClipFolder clipFolder(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"),
                                          geteuid());
    if (clipFolder.path().empty()) {
        std::fprintf(stderr, "yuyin-jisuanqi: no private folder for the voice clips (%s)\n",
                     clipFolder.problem().c_str());
    }
    // Nothing sounds before the first key, and the sound library is the largest thing the
    // window does not need to appear.
    voice::DeferredClipPlayer player([] { return std::make_unique<platform::PulseClipPlayer>(); });
    settings::Program* running = nullptr;
    platform::QtReadingTimer timer([&running] {
        if (running != nullptr) {
            running->timerTick();
        }
    });
    settings::Program program(window, player, timer, appFolder.toStdString(),
                              [&clipFolder] { return extractClips(clipFolder); });
    running = &program;
    window.attach(program);

    QObject::connect(&window, &ui::CalculatorWindow::ended, app.get(), &QApplication::quit);

    program.startUp();
    window.show();
    window.activateWindow();
    instance.watch([&window] { window.bringToFront(); });
    return QApplication::exec();
}
