// SPDX-License-Identifier: GPL-3.0-or-later
#include "PaintSpy.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <utility>

PaintSpy::PaintSpy(QWidget& window, std::function<void()> painting, std::function<void()> painted)
    : window_(window), painting_(std::move(painting)), painted_(std::move(painted)) {
    window.installEventFilter(this);
}

bool PaintSpy::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Paint && !seen_) {
        seen_ = true;
        painting_();
        QTimer::singleShot(0, this, [this] { painted_(); });
    }
    return false;
}
