// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DesktopCloseFilter.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#ifdef CALC_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace ui {

namespace {

#ifdef CALC_HAVE_XCB
std::uint32_t internAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
}
#endif

} // namespace

DesktopCloseFilter::DesktopCloseFilter(const QWidget& window, std::function<void()> closeRequested)
    : window_(window), closeRequested_(std::move(closeRequested)) {
#ifdef CALC_HAVE_XCB
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    protocolsAtom_ = internAtom(x11->connection(), "WM_PROTOCOLS");
    deleteAtom_ = internAtom(x11->connection(), "WM_DELETE_WINDOW");
    if (protocolsAtom_ != 0 && deleteAtom_ != 0) {
        qGuiApp->installNativeEventFilter(this);
    }
#endif
}

DesktopCloseFilter::~DesktopCloseFilter() {
    if (qGuiApp != nullptr) {
        qGuiApp->removeNativeEventFilter(this);
    }
}

bool DesktopCloseFilter::nativeEventFilter(const QByteArray& eventType, void* message,
                                           qintptr* /*result*/) {
#ifdef CALC_HAVE_XCB
    if (eventType != "xcb_generic_event_t" || QGuiApplication::modalWindow() == nullptr) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The high bit only says the event was sent by another client, as this one always is.
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) {
        return false;
    }
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->format != 32 || client->type != protocolsAtom_ ||
        client->data.data32[0] != deleteAtom_ || window_.internalWinId() == 0 ||
        client->window != window_.internalWinId()) {
        return false;
    }
    closeRequested_();
    return true;
#else
    (void)eventType;
    (void)message;
    return false;
#endif
}

} // namespace ui
