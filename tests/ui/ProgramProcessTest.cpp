#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

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
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), folder_.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_);
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(program_, {});
        const QString lastClip = runtimeDir_ + QStringLiteral("/yuyin-jisuanqi/118.wav");
        return process_.waitForStarted(10000) &&
               QTest::qWaitFor([&] { return QFile::exists(lastClip); }, 20000);
    }

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
