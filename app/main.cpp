#include "CommandLine.h"
#include "SignalWatcher.h"

#include "platform/AppFolder.h"
#include "platform/ClipResources.h"
#include "platform/PulseClipPlayer.h"
#include "platform/QtReadingTimer.h"
#include "platform/SingleInstance.h"
#include "settings/Program.h"
#include "ui/CalculatorWindow.h"
#include "voice/ClipExtractor.h"
#include "voice/ClipFolder.h"

#include <QApplication>
#include <cstdio>

namespace {

// The private folder of the user that the clips, and the socket of the running program, live
// in; empty when it cannot be trusted.
std::string privateFolder() {
    const std::string folder = voice::ClipFolder::defaultPath();
    return voice::ClipFolder::prepare(folder) == voice::FolderStatus::Ready ? folder
                                                                            : std::string();
}

// Writes the clips into the private folder; a folder that cannot be trusted is not used at
// all, and the keys then answer with the fallback sound.
std::string extractClips() {
    const std::string folder = privateFolder();
    if (!folder.empty()) {
        // A clip that could not be written sounds the fallback; the others still speak.
        voice::extractClips(folder, platform::ClipResources::load());
    }
    return folder;
}

} // namespace

int main(int argc, char** argv) {
    // Before QApplication, which would need a display just to print the help.
    const CommandLine::Result command = CommandLine::parse(argc, argv);
    if (!command.run) {
        std::fputs(command.output.c_str(), stdout);
        std::fputs(command.error.c_str(), stderr);
        return command.status;
    }

    QApplication app(argc, argv);
    // The per-user data folder of an installed copy is …/yuyin-jisuanqi.
    QApplication::setOrganizationName(QString());
    QApplication::setApplicationName(QStringLiteral("yuyin-jisuanqi"));
    // The desktop matches the window to its launcher entry, icon and name by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.YuyinJisuanqi"));

    const QString appFolder = platform::AppFolder::path();
    platform::SingleInstance instance(appFolder.toStdString(), privateFolder());
    if (instance.role() == platform::SingleInstance::Role::Second) {
        // The running program has been asked to come forward; a second one would share its
        // files and talk over it.
        return 0;
    }

    ui::CalculatorWindow window;
    platform::PulseClipPlayer player;
    settings::Program* running = nullptr;
    platform::QtReadingTimer timer([&running] {
        if (running != nullptr) {
            running->timerTick();
        }
    });
    settings::Program program(window, player, timer, appFolder.toStdString(), &extractClips);
    running = &program;
    window.attach(program);

    QObject::connect(&window, &ui::CalculatorWindow::ended, &app, &QApplication::quit);
    SignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &SignalWatcher::signalled, &app, [] {
        // The main window's close counts as the system's; the About window goes with it.
        QApplication::closeAllWindows();
        QApplication::quit();
    });

    program.startUp();
    window.show();
    window.activateWindow();
    instance.watch([&window] { window.bringToFront(); });
    return QApplication::exec();
}
