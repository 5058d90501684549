// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/QtReadingTimer.h"
#include "settings/Program.h"
#include "ui/CalculatorWindow.h"
#include "voice/ClipPlayer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

namespace uitest {

// Remembers the clip files the program asked to hear.
class RecordingPlayer : public voice::ClipPlayer {
  public:
    void play(const std::string& path) override { played.push_back(path); }
    void playSamples(std::shared_ptr<const std::vector<std::int16_t>>) override {
        played.emplace_back("(samples)");
    }
    std::vector<std::string> played;
};

// The program in its window, as main() builds it, but sealed: a temporary application
// folder, no clip files, no sound, the real reading timer. startUp() has run and the
// window is shown. The window behaves as on X11 unless told to behave as under a compositor.
class WindowHarness {
  public:
    explicit WindowHarness(const QByteArray& settingsLine = {},
                           ui::WindowSystem::Kind system = ui::WindowSystem::Kind::SelfPlacing)
        : window(nullptr, system) {
        if (!settingsLine.isEmpty()) {
            QFile file(folder.filePath(QStringLiteral("sty.inf")));
            if (file.open(QIODevice::WriteOnly)) {
                file.write(settingsLine);
            }
        }
        running = &program;
        window.attach(program);
        program.startUp();
        window.show();
        window.activateWindow();
        (void)QTest::qWaitForWindowExposed(&window);
    }

    template <typename T = QWidget> T* find(const QString& objectName) const {
        return window.findChild<T*>(objectName);
    }

    // The child of the window that carries an accessible name.
    QWidget* byAccessibleName(const QString& name) const {
        for (QWidget* child : window.findChildren<QWidget*>()) {
            if (child->accessibleName() == name) {
                return child;
            }
        }
        return nullptr;
    }

    void typeText(const QString& text) {
        for (const QChar c : text) {
            QTest::keyClick(&window, c.toLatin1());
        }
    }

    // Lets the reading of a result finish, so that the keys answer again.
    bool waitForQuiet() {
        return QTest::qWaitFor([this] { return !program.calculator().state().speaking; }, 10000);
    }

    std::string display() const { return program.calculator().state().displayText; }

    QTemporaryDir folder;
    RecordingPlayer player;
    settings::Program* running = nullptr;
    platform::QtReadingTimer timer{[this] {
        if (running != nullptr) {
            running->timerTick();
        }
    }};
    ui::CalculatorWindow window;
    settings::Program program{window, player, timer, folder.path().toStdString(),
                              [] { return std::string(); }};
};

} // namespace uitest
