#pragma once

#include "voice/ClipPlayer.h"

#include <string>

class QThread;

namespace platform {

class QtClipWorker;

// Plays clip files through Qt Multimedia on a thread of its own. play() only hands the name
// over and returns; decoding, the connection to the sound server and the audio sink all
// live on the worker thread. The server is first contacted at the first play, so that
// start-up never waits for it.
class QtClipPlayer : public voice::ClipPlayer {
  public:
    QtClipPlayer();
    ~QtClipPlayer() override;
    QtClipPlayer(const QtClipPlayer&) = delete;
    QtClipPlayer& operator=(const QtClipPlayer&) = delete;

    void play(const std::string& path) override;
    void playSamples(std::shared_ptr<const std::vector<std::int16_t>> samples) override;

    // How long shut-down waits for the worker. A worker stuck on a frozen sound server is
    // left behind rather than waited for: the program ends anyway.
    static constexpr int kShutdownWaitMs = 500;

  private:
    QThread* thread_;
    QtClipWorker* worker_;
};

} // namespace platform
