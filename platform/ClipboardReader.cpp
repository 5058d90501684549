// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ClipboardReader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#ifdef CALC_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace platform {

namespace {

// Far more than any number the calculator can take, with its blanks around it; a longer
// text is refused rather than read in parts.
constexpr std::uint32_t kMaxTextWords = 1024;

#ifdef CALC_HAVE_XCB
xcb_connection_t* qtConnection() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

// The X server answers these itself, at once: no other program is waited on.
bool internAtoms(xcb_connection_t* connection,
                 std::initializer_list<std::pair<const char*, std::uint32_t*>> atoms) {
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const auto& [name, atom] : atoms) {
        cookies.push_back(
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name));
    }
    bool all = true;
    auto cookie = cookies.begin();
    for (const auto& [name, atom] : atoms) {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, *cookie++, nullptr), &std::free);
        *atom = reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
        all = all && *atom != XCB_ATOM_NONE;
    }
    return all;
}
#endif

} // namespace

ClipboardReader::ClipboardReader(int limitMs) {
    limit_.setSingleShot(true);
    limit_.setInterval(limitMs);
    QObject::connect(&limit_, &QTimer::timeout, [this] { finish(std::nullopt); });
}

ClipboardReader::~ClipboardReader() {
    dropRequest();
    if (connection_ != nullptr && qGuiApp != nullptr) {
        qGuiApp->removeNativeEventFilter(this);
    }
}

bool ClipboardReader::start(Answer answer) {
    if (pending()) {
        return false;
    }
    answer_ = std::move(answer);
    const QClipboard* clipboard = QGuiApplication::clipboard();
    // The program's own copy is at hand; anything else on X11 is asked for.
    if (clipboard->ownsClipboard() || !askX11()) {
        const QString text = clipboard->text();
        finish(text.isEmpty() ? std::nullopt : std::optional(text.toStdString()));
    }
    return true;
}

void ClipboardReader::cancel() {
    dropRequest();
    answer_ = nullptr;
}

bool ClipboardReader::askX11() {
#ifdef CALC_HAVE_XCB
    if (connection_ == nullptr) {
        xcb_connection_t* connection = qtConnection();
        if (connection == nullptr ||
            !internAtoms(connection, {{"CLIPBOARD", &clipboardAtom_},
                                      {"UTF8_STRING", &utf8Atom_},
                                      {"INCR", &incrAtom_},
                                      {"YUYIN_JISUANQI_PASTE", &propertyAtom_}})) {
            return false;
        }
        connection_ = connection;
        qGuiApp->installNativeEventFilter(this);
    }
    auto* connection = static_cast<xcb_connection_t*>(connection_);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr) {
        return false;
    }
    window_ = xcb_generate_id(connection);
    xcb_create_window(connection, 0, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    target_ = utf8Atom_;
    xcb_convert_selection(connection, window_, clipboardAtom_, target_, propertyAtom_,
                          XCB_CURRENT_TIME);
    xcb_flush(connection);
    limit_.start();
    return true;
#else
    return false;
#endif
}

bool ClipboardReader::nativeEventFilter(const QByteArray& eventType, void* message,
                                        qintptr* /*result*/) {
#ifdef CALC_HAVE_XCB
    if (window_ == 0 || eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The high bit says another client sent it, as the holder of the selection does.
    if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY) {
        return false;
    }
    const auto* notify = static_cast<const xcb_selection_notify_event_t*>(message);
    if (notify->requestor != window_) {
        return false;
    }
    selectionNotified(notify->property);
    return true;
#else
    (void)eventType;
    (void)message;
    return false;
#endif
}

void ClipboardReader::selectionNotified(std::uint32_t property) {
#ifdef CALC_HAVE_XCB
    auto* connection = static_cast<xcb_connection_t*>(connection_);
    if (property == XCB_ATOM_NONE) {
        // A holder without UTF-8 may still have Latin-1, which holds every digit.
        if (target_ == utf8Atom_) {
            target_ = XCB_ATOM_STRING;
            xcb_convert_selection(connection, window_, clipboardAtom_, target_, propertyAtom_,
                                  XCB_CURRENT_TIME);
            xcb_flush(connection);
            return;
        }
        finish(std::nullopt);
        return;
    }
    // The text now lies on this program's own window: the X server hands it over.
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection, 0, window_, property, XCB_GET_PROPERTY_TYPE_ANY, 0, kMaxTextWords);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    // A transfer in pieces is never begun: the holder waits for a deletion that never comes
    // and the window it writes to is gone with the request.
    if (!reply || reply->type == incrAtom_ || reply->format != 8 || reply->bytes_after != 0) {
        finish(std::nullopt);
        return;
    }
    const char* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const int length = xcb_get_property_value_length(reply.get());
    const QString text = target_ == utf8Atom_ ? QString::fromUtf8(bytes, length)
                                              : QString::fromLatin1(bytes, length);
    finish(text.toStdString());
#else
    (void)property;
#endif
}

void ClipboardReader::finish(std::optional<std::string> text) {
    dropRequest();
    if (Answer answer = std::exchange(answer_, nullptr)) {
        answer(std::move(text));
    }
}

void ClipboardReader::dropRequest() {
    limit_.stop();
#ifdef CALC_HAVE_XCB
    if (window_ != 0) {
        auto* connection = static_cast<xcb_connection_t*>(connection_);
        xcb_destroy_window(connection, window_);
        xcb_flush(connection);
        window_ = 0;
    }
#endif
}

} // namespace platform
