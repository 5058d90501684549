#include "platform/QtClipPlayer.h"

#include "platform/QtClipWorker.h"

#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

namespace platform {

namespace {

// Workers that did not end in time. Kept reachable on purpose: a running QThread must not
// be destroyed, and the process is about to end anyway.
std::vector<std::pair<QThread*, QtClipWorker*>>& abandonedWorkers() {
    static std::vector<std::pair<QThread*, QtClipWorker*>> workers;
    return workers;
}

std::mutex& abandonedMutex() {
    static std::mutex mutex;
    return mutex;
}

// Qt Multimedia's clean-up at exit takes a lock that a worker stuck on a frozen sound server
// holds (and libpulse aborts when its state is freed under a waiting thread), so the process
// would hang or crash on its way out. Once a worker has been left behind, the process ends
// with its exit status but without the libraries' exit-time destructors. Registered last,
// this runs before them.
void endWithoutLibraryCleanup(int status, void*) {
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace

QtClipPlayer::QtClipPlayer() : thread_(new QThread), worker_(new QtClipWorker) {
    thread_->setObjectName(QStringLiteral("clip player"));
    worker_->moveToThread(thread_);
    thread_->start();
}

QtClipPlayer::~QtClipPlayer() {
    QThread* home = QThread::currentThread();
    QtClipWorker* worker = worker_;
    QMetaObject::invokeMethod(
        worker_, [worker, home] { worker->finish(home); }, Qt::QueuedConnection);
    if (thread_->wait(QDeadlineTimer(kShutdownWaitMs))) {
        delete worker_;
        delete thread_;
        return;
    }
    const std::lock_guard lock(abandonedMutex());
    if (abandonedWorkers().empty()) {
        on_exit(endWithoutLibraryCleanup, nullptr);
    }
    abandonedWorkers().emplace_back(thread_, worker_);
}

void QtClipPlayer::play(const std::string& path) {
    worker_->submit({path, nullptr});
}

void QtClipPlayer::playSamples(std::shared_ptr<const std::vector<std::int16_t>> samples) {
    worker_->submit({{}, std::move(samples)});
}

} // namespace platform
