// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PulseClipPlayer.h"

#include "voice/SoundLoader.h"
#include "voice/StreamFormat.h"

#include <pulse/pulseaudio.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr std::int64_t kNoEarlierPlayFrames = INT64_MAX / 4;

std::int64_t framesBetween(std::chrono::steady_clock::duration gap) {
    return std::chrono::duration_cast<std::chrono::microseconds>(gap).count() *
           voice::StreamFormat::kRate / 1'000'000;
}

std::int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::size_t bufferBytes() {
    return static_cast<std::size_t>(voice::StreamFormat::framesFor(PulseClipPlayer::kBufferMs)) *
           voice::StreamFormat::kBytesPerFrame;
}

void releaseOperation(pa_operation* operation) {
    if (operation != nullptr) {
        pa_operation_unref(operation);
    }
}

} // namespace

PulseClipPlayer::PulseClipPlayer()
    : loop_(pa_threaded_mainloop_new()), wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (loop_ == nullptr || wakeFd_ < 0) {
        return;
    }
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    wakeEvent_ = api->io_new(
        api, wakeFd_, PA_IO_EVENT_INPUT,
        [](pa_mainloop_api*, pa_io_event*, int, pa_io_event_flags_t, void* self) { onWake(self); },
        this);
    pa_threaded_mainloop_set_name(loop_, "clip player");
    if (wakeEvent_ == nullptr || pa_threaded_mainloop_start(loop_) < 0) {
        if (wakeEvent_ != nullptr) {
            api->io_free(wakeEvent_);
            wakeEvent_ = nullptr;
        }
    }
}

PulseClipPlayer::~PulseClipPlayer() {
    if (loop_ != nullptr) {
        // Nothing here waits for the server: disconnecting only closes the socket, so a
        // frozen server does not hold up the end of the program.
        pa_threaded_mainloop_lock(loop_);
        dropConnection();
        if (wakeEvent_ != nullptr) {
            pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
            api->io_free(wakeEvent_);
            wakeEvent_ = nullptr;
        }
        pa_threaded_mainloop_unlock(loop_);
        pa_threaded_mainloop_stop(loop_);
        pa_threaded_mainloop_free(loop_);
    }
    if (wakeFd_ >= 0) {
        close(wakeFd_);
    }
}

void PulseClipPlayer::play(const std::string& path) {
    submit(path);
}

void PulseClipPlayer::playFile(const voice::ClipFile& file) {
    submit(file);
}

void PulseClipPlayer::playSamples(std::shared_ptr<const std::vector<std::int16_t>> samples) {
    submit(std::move(samples));
}

void PulseClipPlayer::submit(Source source) {
    if (wakeEvent_ == nullptr) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back({std::move(source), Clock::now()});
    }
    const std::uint64_t one = 1;
    // Cannot block: the counter is far from full, and a failed wake-up only means one is
    // already pending.
    [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
}

void PulseClipPlayer::onWake(void* self) {
    auto* player = static_cast<PulseClipPlayer*>(self);
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(player->wakeFd_, &count, sizeof count);
    player->takeRequests();
}

void PulseClipPlayer::takeRequests() {
    std::deque<Request> requests;
    {
        const std::lock_guard lock(mutex_);
        requests.swap(requests_);
    }
    for (const Request& request : requests) {
        start(request);
    }
}

void PulseClipPlayer::start(const Request& request) {
    voice::ClipQueue::Samples samples;
    if (const auto* path = std::get_if<std::string>(&request.source)) {
        samples = voice::SoundLoader::fromPath(*path);
    } else if (const auto* file = std::get_if<voice::ClipFile>(&request.source)) {
        samples = voice::SoundLoader::fromFolder(*file);
    } else {
        samples = std::get<voice::ClipQueue::Samples>(request.source);
        if (!samples || samples->empty()) {
            samples = voice::SoundLoader::fallback();
        }
    }
    const std::int64_t gap =
        lastRequest_ ? framesBetween(request.at - *lastRequest_) : kNoEarlierPlayFrames;
    lastRequest_ = request.at;

    if (broken_) {
        dropConnection();
    }
    if (context_ == nullptr) {
        // No server: nothing is being heard, so nothing is owed its time, and the newest
        // play is the one to sound once a stream runs.
        queue_.restart(std::move(samples));
        if (retry_.tryAt(nowMs())) {
            connect();
        }
        return;
    }
    if (!live()) {
        // Still connecting, perhaps to a server that is slow to answer: the plays wait in
        // order, as they would behind a stalled stream.
        queue_.add(std::move(samples), gap);
        return;
    }
    const bool cutsIn = queue_.add(std::move(samples), gap);
    if (corked_) {
        corked_ = false;
        releaseOperation(pa_stream_cork(stream_, 0, nullptr, nullptr));
    }
    if (cutsIn) {
        feed(bufferBytes(), true);
    }
}

bool PulseClipPlayer::live() const {
    return stream_ != nullptr && streamReady_ && !broken_;
}

void PulseClipPlayer::connect() {
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "语音计算器");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "org.example.YuyinJisuanqi");
    context_ =
        pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), "语音计算器", properties);
    pa_proplist_free(properties);
    if (context_ == nullptr) {
        return;
    }
    pa_context_set_state_callback(context_, &PulseClipPlayer::onContextState, this);
    // No autospawn: starting a server is the desktop's business, and would block here.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        broken_ = true;
    }
}

void PulseClipPlayer::onContextState(pa_context* context, void* self) {
    auto* player = static_cast<PulseClipPlayer*>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        player->openStream();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        player->broken_ = true;
        break;
    default:
        break;
    }
}

void PulseClipPlayer::openStream() {
    const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, voice::StreamFormat::kRate, 1};
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "event");
    stream_ = pa_stream_new_with_proplist(context_, "voice", &sampleFormat, nullptr, properties);
    pa_proplist_free(properties);
    if (stream_ == nullptr) {
        broken_ = true;
        return;
    }
    pa_stream_set_state_callback(stream_, &PulseClipPlayer::onStreamState, this);
    pa_stream_set_write_callback(stream_, &PulseClipPlayer::onWrite, this);
    const auto buffer = static_cast<std::uint32_t>(bufferBytes());
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength = buffer;
    // One frame is enough to start. More than none, so that a stream the server could not
    // feed (a stall, a frozen server) pauses instead of running on: audio written after the
    // stall then lands where it will be heard, and no clip owed its turn is lost.
    attributes.prebuf = voice::StreamFormat::kBytesPerFrame;
    attributes.minreq = buffer / 4;
    attributes.fragsize = static_cast<std::uint32_t>(-1);
    const auto flags =
        static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_NOT_MONOTONIC);
    if (pa_stream_connect_playback(stream_, nullptr, &attributes, flags, nullptr, nullptr) < 0) {
        broken_ = true;
    }
}

void PulseClipPlayer::onStreamState(pa_stream* stream, void* self) {
    auto* player = static_cast<PulseClipPlayer*>(self);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        player->streamReady_ = true;
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        player->broken_ = true;
        break;
    default:
        break;
    }
}

void PulseClipPlayer::onWrite(pa_stream*, std::size_t bytes, void* self) {
    auto* player = static_cast<PulseClipPlayer*>(self);
    if (player->corked_ || !player->live()) {
        return;
    }
    player->feed(bytes, false);
    // Timed by the clock, not by the audio taken: a server's timeline may lag the clock.
    const bool quiet = !player->queue_.waiting() && player->queue_.silentFrames() > 0 &&
                       player->lastRequest_ &&
                       Clock::now() - *player->lastRequest_ >= std::chrono::milliseconds(kIdleMs);
    if (quiet) {
        player->corked_ = true;
        releaseOperation(pa_stream_cork(player->stream_, 1, nullptr, nullptr));
    }
}

void PulseClipPlayer::feed(std::size_t bytes, bool replaceQueued) {
    const std::size_t frames = bytes / voice::StreamFormat::kBytesPerFrame;
    if (frames == 0) {
        return;
    }
    scratch_.resize(frames);
    queue_.read(scratch_.data(), frames);
    // Written at the server's read position, the new sound replaces whatever was queued
    // and not yet heard, instead of starting after it.
    pa_stream_write(stream_, scratch_.data(), frames * voice::StreamFormat::kBytesPerFrame, nullptr,
                    0, replaceQueued ? PA_SEEK_RELATIVE_ON_READ : PA_SEEK_RELATIVE);
}

void PulseClipPlayer::dropConnection() {
    if (stream_ != nullptr) {
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_set_write_callback(stream_, nullptr, nullptr);
        if (pa_stream_get_state(stream_) == PA_STREAM_READY) {
            pa_stream_disconnect(stream_);
        }
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }
    if (context_ != nullptr) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
    streamReady_ = false;
    broken_ = false;
    corked_ = false;
}

} // namespace platform
