// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackgroundStep.h"

#include <utility>

BackgroundStep::BackgroundStep(std::function<void()> step) : thread_(std::move(step)) {}

BackgroundStep::~BackgroundStep() {
    finish();
}

void BackgroundStep::finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
}
