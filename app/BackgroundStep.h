// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <thread>

// One step of the start-up that the first frame waits for but that needs nothing from the
// main thread, run on a thread of its own while the main thread goes on with the rest.
class BackgroundStep {
  public:
    explicit BackgroundStep(std::function<void()> step);
    // The process must not go on, or end, with the step half done.
    ~BackgroundStep();
    BackgroundStep(const BackgroundStep&) = delete;
    BackgroundStep& operator=(const BackgroundStep&) = delete;

    // Waits until the step is done.
    void finish();

  private:
    std::thread thread_;
};
