// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>

class QWidget;

namespace ui {

// Qt drops the desktop's request to close a window while a modal box blocks that window, so
// a log-off or a close from the taskbar would be refused for as long as a box is open. This
// filter sees the request (the X11 WM_DELETE_WINDOW message) before Qt does and hands it to
// the window instead. Without X11 it does nothing.
class DesktopCloseFilter : public QAbstractNativeEventFilter {
  public:
    // `closeRequested` runs for a request to close `window` while a modal box is open; Qt
    // handles every other request as usual.
    DesktopCloseFilter(const QWidget& window, std::function<void()> closeRequested);
    ~DesktopCloseFilter() override;
    DesktopCloseFilter(const DesktopCloseFilter&) = delete;
    DesktopCloseFilter& operator=(const DesktopCloseFilter&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    const QWidget& window_;
    std::function<void()> closeRequested_;
    std::uint32_t protocolsAtom_ = 0;
    std::uint32_t deleteAtom_ = 0;
};

} // namespace ui
