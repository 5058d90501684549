#include "platform/QtClipPlayer.h"

#include "platform/QtClipWorker.h"

#include <QThread>
#include <mutex>
#include <vector>

namespace platform {

namespace {

// Workers that did not end in time. Kept reachable on purpose: a running QThread must not
// be destroyed, and the process is about to end anyway.
std::vector<QThread*>& abandonedThreads() {
    static std::vector<QThread*> threads;
    return threads;
}

std::mutex& abandonedMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace

QtClipPlayer::QtClipPlayer() = default;

QtClipPlayer::~QtClipPlayer() {
    if (thread_ == nullptr) {
        return;
    }
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
    abandonedThreads().push_back(thread_);
}

void QtClipPlayer::play(const std::string& path) {
    if (thread_ == nullptr) {
        startWorker();
    }
    worker_->submit(path);
}

void QtClipPlayer::startWorker() {
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("clip player"));
    worker_ = new QtClipWorker;
    worker_->moveToThread(thread_);
    thread_->start();
}

} // namespace platform
