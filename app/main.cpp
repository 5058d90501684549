#include "SignalWatcher.h"

#include "platform/AppFolder.h"
#include "platform/ClipResources.h"
#include "platform/PulseClipPlayer.h"
#include "platform/QtReadingTimer.h"
#include "settings/Program.h"
#include "ui/CalculatorWindow.h"
#include "voice/ClipExtractor.h"
#include "voice/ClipFolder.h"

#include <QApplication>

namespace {

// Writes the clips into the private clip folder; a folder that cannot be trusted is not
// used at all, and the keys then answer with the fallback sound.
std::string extractClips() {
    const std::string folder = voice::ClipFolder::defaultPath();
    if (voice::ClipFolder::prepare(folder) != voice::FolderStatus::Ready) {
        return {};
    }
    // A clip that could not be written sounds the fallback; the others still speak.
    voice::extractClips(folder, platform::ClipResources::load());
    return folder;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The per-user data folder of an installed copy is …/yuyin-jisuanqi.
    QApplication::setOrganizationName(QString());
    QApplication::setApplicationName(QStringLiteral("yuyin-jisuanqi"));
    // The desktop matches the window to its launcher entry, icon and name by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.YuyinJisuanqi"));

    ui::CalculatorWindow window;
    platform::PulseClipPlayer player;
    settings::Program* running = nullptr;
    platform::QtReadingTimer timer([&running] {
        if (running != nullptr) {
            running->timerTick();
        }
    });
    settings::Program program(window, player, timer, platform::AppFolder::path().toStdString(),
                              &extractClips);
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
    return QApplication::exec();
}
