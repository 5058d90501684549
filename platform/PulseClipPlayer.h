// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voice/ClipPlayer.h"
#include "voice/ClipQueue.h"
#include "voice/RetryGate.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct pa_context;
struct pa_io_event;
struct pa_stream;
struct pa_threaded_mainloop;

namespace platform {

// Plays through the sound server's own client library on one long-lived output stream,
// opened at the first play and kept: signed 16-bit mono at 22,050 Hz, fed from a
// voice::ClipQueue (the current sound, then silence). A new play writes over the audio
// still queued at the server, so it is heard within a few milliseconds, and nothing is
// created or destroyed per clip.
//
// The calls only queue the request and wake the library's own thread; reading files, the
// connection and the stream all live there, so a slow or frozen server never holds up the
// window. A server that is absent or goes away is looked for again on a play, at most once
// a second. After kIdleMs of silence the stream is corked, so an idle calculator costs the
// server nothing.
class PulseClipPlayer : public voice::ClipPlayer {
  public:
    PulseClipPlayer();
    ~PulseClipPlayer() override;
    PulseClipPlayer(const PulseClipPlayer&) = delete;
    PulseClipPlayer& operator=(const PulseClipPlayer&) = delete;

    void play(const std::string& path) override;
    void playFile(const voice::ClipFile& file) override;
    void playSamples(std::shared_ptr<const std::vector<std::int16_t>> samples) override;

    // Audio the stream keeps queued at the server: what a play writes over, and so about
    // the time from a play to its first sample.
    static constexpr int kBufferMs = 10;
    static constexpr int kIdleMs = 5000;

  private:
    using Clock = std::chrono::steady_clock;
    using Source = std::variant<std::string, voice::ClipFile, voice::ClipQueue::Samples>;
    struct Request {
        Source source;
        Clock::time_point at;
    };

    void submit(Source source);

    // The library's thread, with its lock held.
    static void onWake(void* self);
    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onWrite(pa_stream* stream, std::size_t bytes, void* self);
    void takeRequests();
    void start(const Request& request);
    void connect();
    void openStream();
    void dropConnection();
    void feed(std::size_t bytes, bool replaceQueued);
    bool live() const;

    pa_threaded_mainloop* loop_ = nullptr;
    int wakeFd_ = -1;
    pa_io_event* wakeEvent_ = nullptr;

    std::mutex mutex_;
    std::deque<Request> requests_;

    // The library's thread only.
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    bool streamReady_ = false;
    bool broken_ = false; // torn down at the next play, never inside the library's callback
    bool corked_ = false;
    voice::RetryGate retry_;
    voice::ClipQueue queue_;
    std::optional<Clock::time_point> lastRequest_;
    std::vector<std::int16_t> scratch_;
};

} // namespace platform
