#include "SignalWatcher.h"

#include "platform/AppFolder.h"
#include "platform/ClipResources.h"
#include "platform/QtClipPlayer.h"
#include "platform/QtReadingTimer.h"
#include "settings/DisplayScale.h"
#include "settings/Program.h"
#include "ui/CalculatorWindow.h"
#include "voice/ClipExtractor.h"
#include "voice/ClipFolder.h"

#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

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

// The text after --scale, or after --scale=; nothing when the option is not given.
std::optional<std::string> scaleArgument(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") == 0) {
            return i + 1 < argc ? std::string(argv[i + 1]) : std::string();
        }
        if (std::strncmp(argv[i], "--scale=", 8) == 0) {
            return std::string(argv[i] + 8);
        }
    }
    return std::nullopt;
}

void setScaleFactor(double factor) {
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'g', 6));
}

} // namespace

int main(int argc, char** argv) {
    std::optional<double> scale;
    if (const std::optional<std::string> text = scaleArgument(argc, argv)) {
        scale = settings::DisplayScale::parse(*text);
        if (!scale) {
            std::fprintf(stderr, "yuyin-jisuanqi: --scale takes a number from 1 to 4\n");
            return 2;
        }
        // Qt's own factor draws everything, menus and message boxes too, with the
        // double-size artwork; the option takes its place.
        setScaleFactor(*scale);
    }
    // QApplication takes its own options out of the arguments; a second one needs them whole.
    std::vector<char*> arguments(argv, argv + argc + 1);
    int argumentCount = argc;
    auto app = std::make_unique<QApplication>(argc, argv);
    // The screen's size is known only once Qt runs; a factor too large for it is reduced,
    // and Qt reads the factor only as it starts.
    if (const QScreen* screen = QGuiApplication::primaryScreen(); scale && screen != nullptr) {
        const QSize area = screen->availableGeometry().size() * *scale;
        if (const double fitted = settings::DisplayScale::fit(*scale, area.width(), area.height());
            fitted < *scale) {
            app.reset();
            setScaleFactor(fitted);
            app = std::make_unique<QApplication>(argumentCount, arguments.data());
        }
    }
    // The per-user data folder of an installed copy is …/yuyin-jisuanqi.
    QApplication::setOrganizationName(QString());
    QApplication::setApplicationName(QStringLiteral("yuyin-jisuanqi"));
    // The desktop matches the window to its launcher entry, icon and name by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.YuyinJisuanqi"));

    ui::CalculatorWindow window;
    platform::QtClipPlayer player;
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

    QObject::connect(&window, &ui::CalculatorWindow::ended, app.get(), &QApplication::quit);
    SignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &SignalWatcher::signalled, app.get(), [] {
        // The main window's close counts as the system's; the About window goes with it.
        QApplication::closeAllWindows();
        QApplication::quit();
    });

    program.startUp();
    window.show();
    window.activateWindow();
    return QApplication::exec();
}
