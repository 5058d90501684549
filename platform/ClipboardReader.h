// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// Reads the clipboard's text without waiting on the program that holds it. On X11 the
// selection is asked for here and its answer taken from the event loop: a holder that has
// not answered within the limit gives nothing, and so does one that would hand the text
// over in pieces, which no number needs. Each request has a window of its own, gone once
// the request is answered, given up or cancelled, so a late answer finds nobody. Without
// X11 (Wayland) Qt's clipboard is read as Qt reads it.
class ClipboardReader : public QAbstractNativeEventFilter {
  public:
    // The text, or nothing when the holder refused, gave up or there is no text.
    using Answer = std::function<void(std::optional<std::string>)>;

    explicit ClipboardReader(int limitMs = 1000);
    ~ClipboardReader() override;
    ClipboardReader(const ClipboardReader&) = delete;
    ClipboardReader& operator=(const ClipboardReader&) = delete;

    // Asks for the text; `answer` is called once, from the event loop or before start()
    // returns when the text is at hand. While a request is pending nothing more is asked
    // and false is returned.
    bool start(Answer answer);
    bool pending() const { return static_cast<bool>(answer_); }
    // Forgets the pending request: its answer, should it still come, is dropped.
    void cancel();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    bool askX11();
    void selectionNotified(std::uint32_t property);
    void finish(std::optional<std::string> text);
    void dropRequest();

    QTimer limit_;
    Answer answer_;
    void* connection_ = nullptr; // the X11 connection Qt runs on; null elsewhere
    std::uint32_t window_ = 0;   // the pending request's window
    std::uint32_t target_ = 0;   // the text type asked for
    std::uint32_t clipboardAtom_ = 0;
    std::uint32_t utf8Atom_ = 0;
    std::uint32_t incrAtom_ = 0;
    std::uint32_t propertyAtom_ = 0;
};

} // namespace platform
