#include "platform/QtClipWorker.h"

#include "voice/FallbackSound.h"
#include "voice/VoicePack.h"
#include "voice/WavFile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>
#include <utility>

namespace platform {

QtClipWorker::QtClipWorker(QObject* parent) : QObject(parent), releaseTimer_(new QTimer(this)) {
    releaseTimer_->setSingleShot(true);
    connect(releaseTimer_, &QTimer::timeout, this, &QtClipWorker::release);
}

QtClipWorker::~QtClipWorker() = default;

void QtClipWorker::submit(Request request) {
    bool alreadyPosted = false;
    {
        const std::lock_guard lock(mutex_);
        alreadyPosted = pending_.has_value();
        pending_ = std::move(request);
    }
    if (!alreadyPosted) {
        QMetaObject::invokeMethod(this, &QtClipWorker::playPending, Qt::QueuedConnection);
    }
}

void QtClipWorker::finish(QThread* home) {
    release();
    moveToThread(home);
    QThread::currentThread()->quit();
}

void QtClipWorker::playPending() {
    std::optional<Request> request;
    {
        const std::lock_guard lock(mutex_);
        request = std::exchange(pending_, std::nullopt);
    }
    if (!request) {
        return;
    }
    if (request->samples) {
        playSound(voice::PcmSound{*request->samples, voice::VoicePack::kSampleRate, 1});
        return;
    }
    const voice::WavResult decoded = voice::WavFile::load(request->path);
    playSound(decoded.ok() ? *decoded.sound : voice::FallbackSound::sound());
}

void QtClipWorker::playSound(const voice::PcmSound& sound) {
    release();
    // Asked for at each play rather than kept: the default output may have changed. The
    // first call is also the one that connects to the sound server.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        return;
    }
    QAudioFormat format;
    format.setSampleRate(sound.sampleRate);
    format.setChannelCount(sound.channels);
    format.setSampleFormat(QAudioFormat::Int16);

    data_ = QByteArray(reinterpret_cast<const char*>(sound.samples.data()),
                       static_cast<qsizetype>(sound.samples.size() * sizeof(std::int16_t)));
    buffer_ = std::make_unique<QBuffer>(&data_);
    buffer_->open(QIODevice::ReadOnly);
    // A new sink for every clip: reusing one replays leftovers of the clip it last played.
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->start(buffer_.get());
    releaseTimer_->start(static_cast<int>(sound.durationMs()) + kReleaseMarginMs);
}

void QtClipWorker::release() {
    releaseTimer_->stop();
    if (sink_) {
        sink_->stop();
        sink_.reset();
    }
    buffer_.reset();
    data_.clear();
}

} // namespace platform
