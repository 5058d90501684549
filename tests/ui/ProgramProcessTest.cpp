// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The built program, copied into a folder of its own so that its settings stay there, run
// offscreen with a private home and runtime folder.
class RunningProgram {
  public:
    RunningProgram() {
        appDir_ = folder_.filePath(QStringLiteral("app"));
        runtimeDir_ = folder_.filePath(QStringLiteral("run"));
        QDir().mkpath(appDir_);
        QDir().mkpath(runtimeDir_);
        QFile::setPermissions(runtimeDir_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        program_ = appDir_ + QStringLiteral("/yuyin-jisuanqi");
        QFile::copy(QStringLiteral(CALC_PROGRAM_PATH), program_);
    }

    QString settingsPath() const { return appDir_ + QStringLiteral("/sty.inf"); }
    QString sizeRecordPath() const { return appDir_ + QStringLiteral("sty.inf"); }

    void writeSettings(const QByteArray& line) const {
        QFile file(settingsPath());
        if (file.open(QIODevice::WriteOnly)) {
            file.write(line);
        }
    }

    // Starts the program and waits until its start-up has written the clips.
    bool start() {
        process_.setProcessChannelMode(QProcess::MergedChannels);
        launch(process_);
        return process_.waitForStarted(10000) &&
               QTest::qWaitFor([&] { return QFile::exists(lastClip()); }, 20000);
    }

    // Starts the same copy again, as a user would; without a display unless told one.
    void launch(QProcess& process, const QStringList& arguments = {},
                const QString& platform = QStringLiteral("offscreen")) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (!platform.isEmpty()) {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        }
        env.insert(QStringLiteral("HOME"), folder_.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_);
        process.setProcessEnvironment(env);
        process.start(program_, arguments);
    }

    QString lastClip() const { return runtimeDir_ + QStringLiteral("/yuyin-jisuanqi/123.wav"); }
    QProcess& process() { return process_; }

  private:
    QTemporaryDir folder_;
    QString appDir_;
    QString runtimeDir_;
    QString program_;
    QProcess process_;
};

} // namespace

TEST(ProgramProcess, a_signal_closes_the_program_as_the_desktop_would) {
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        RunningProgram program;
        program.writeSettings("1815,1260,#FALSE#,3,1,2\r\n");
        ASSERT_TRUE(program.start()) << signalNumber;
        // The event loop may not be running yet: the signal waits in the pipe for it.
        ::kill(static_cast<pid_t>(program.process().processId()), signalNumber);
        ASSERT_TRUE(program.process().waitForFinished(20000)) << signalNumber;
        const QByteArray output = program.process().readAll();
        EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit) << output.constData();
        EXPECT_EQ(program.process().exitCode(), 0) << output.constData();
        // Only the size record is written; the settings stay as they were.
        EXPECT_EQ(readAll(program.sizeRecordPath()), QByteArray("3960,6120\r\n"));
        EXPECT_EQ(readAll(program.settingsPath()), QByteArray("1815,1260,#FALSE#,3,1,2\r\n"));
    }
}

TEST(ProgramProcess, help_version_and_errors_answer_without_a_display) {
    const RunningProgram program;
    struct Row {
        QStringList arguments;
        int status;
        const char* stdoutStart;
        const char* stderrStart;
    };
    const Row rows[] = {
        {{"--help"}, 0, "Usage: yuyin-jisuanqi ", ""},
        {{"-platform", "offscreen", "--version"}, 0, "yuyin-jisuanqi " CALC_VERSION "\n", ""},
        {{"--scale-nonsense"}, 2, "", "yuyin-jisuanqi: unknown option '--scale-nonsense'"},
        {{"-display"}, 2, "", "yuyin-jisuanqi: option '-display' needs a value"},
        {{}, 1, "", "yuyin-jisuanqi: needs a graphical session (DISPLAY or WAYLAND_DISPLAY)\n"},
        // A platform named on the command line needs no display: this reaches the next check.
        {{"-platform", "offscreen", "--scale", "9"}, 2, "", "yuyin-jisuanqi: --scale takes"},
    };
    for (const Row& row : rows) {
        QProcess process;
        program.launch(process, row.arguments, QString());
        ASSERT_TRUE(process.waitForFinished(20000)) << row.arguments.join(' ').toStdString();
        const QByteArray out = process.readAllStandardOutput();
        const QByteArray err = process.readAllStandardError();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << err.constData();
        EXPECT_EQ(process.exitCode(), row.status) << err.constData();
        EXPECT_TRUE(out.startsWith(row.stdoutStart)) << out.constData();
        EXPECT_TRUE(err.startsWith(row.stderrStart)) << err.constData();
        // An error is one line.
        EXPECT_LE(err.count('\n'), 1);
    }
}

TEST(ProgramProcess, launches_from_one_folder_leave_one_program) {
    RunningProgram program;
    // Two at the same moment: exactly one stays, the other ends at once and successfully.
    std::unique_ptr<QProcess> launches[2] = {std::make_unique<QProcess>(),
                                             std::make_unique<QProcess>()};
    program.launch(*launches[0]);
    program.launch(*launches[1]);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return launches[0]->state() == QProcess::NotRunning ||
                   launches[1]->state() == QProcess::NotRunning;
        },
        30000));
    QProcess& ended = launches[0]->state() == QProcess::NotRunning ? *launches[0] : *launches[1];
    QProcess& running = &ended == launches[0].get() ? *launches[1] : *launches[0];
    EXPECT_EQ(ended.exitCode(), 0) << ended.readAll().constData();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(program.lastClip()); }, 20000));

    // A later launch with options of its own still only asks the running one forward.
    QProcess again;
    program.launch(again, {QStringLiteral("-platform"), QStringLiteral("offscreen")});
    ASSERT_TRUE(again.waitForFinished(20000));
    EXPECT_EQ(again.exitCode(), 0) << again.readAll().constData();
    EXPECT_EQ(running.state(), QProcess::Running);

    // Killed, the program leaves its socket behind; that must not stop the next start.
    running.kill();
    ASSERT_TRUE(running.waitForFinished(20000));
    QFile::remove(program.lastClip());
    ASSERT_TRUE(program.start()) << program.process().readAll().constData();
    EXPECT_EQ(program.process().state(), QProcess::Running);
    program.process().terminate();
    EXPECT_TRUE(program.process().waitForFinished(20000));
}
