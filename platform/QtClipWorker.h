#pragma once

#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class QAudioSink;
class QBuffer;
class QTimer;

namespace voice {
struct PcmSound;
}

namespace platform {

// Lives on the player's own thread and owns everything that talks to the sound server, so
// a slow or frozen server can hold up this thread but never the window.
class QtClipWorker : public QObject {
    Q_OBJECT
  public:
    explicit QtClipWorker(QObject* parent = nullptr);
    ~QtClipWorker() override;

    // A clip file to read, or a sound already in memory.
    struct Request {
        std::string path;
        std::shared_ptr<const std::vector<std::int16_t>> samples; // 16-bit mono, 22,050 Hz
    };

    // Any thread. Only the newest request is kept: while the worker is busy, requests that
    // would each have cut off the one before collapse into the last.
    void submit(Request request);

    // On the worker's thread: stops the sound and hands the worker back to `home`, so that it
    // can be deleted there once this thread has ended.
    void finish(QThread* home);

    // The free time after a clip's length before its sink is let go: the server plays with
    // some delay, and letting go early would cut the tail.
    static constexpr int kReleaseMarginMs = 400;

  private:
    void playPending();
    void playSound(const voice::PcmSound& sound);
    void release();

    std::mutex mutex_;
    std::optional<Request> pending_;

    // Worker thread only.
    QTimer* releaseTimer_;
    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<QBuffer> buffer_;
    QByteArray data_;
};

} // namespace platform
