// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

using Nanos = std::int64_t;

struct Rect {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};

// Finds when a rectangle of a window first shows other pixels than at a reference moment.
// Drawing is seen through DAMAGE events; whether it changed anything is read back from the
// server. The server answers in order and stamps every event with the number of the last of
// our requests it had processed, so an event numbered below a read was drawn before that
// read: nothing is attributed by guesswork about timing. The time of a change is the
// arrival of the first damage event not yet covered by a read that showed no change.
class ChangeWatch {
  public:
    ChangeWatch(xcb_connection_t* connection, xcb_window_t window, Rect rect);

    // Asks for the pixels that later ones are compared with; drawing before this request
    // is part of them. Returns at once and leaves the request unsent, so that what should
    // follow it closely (a key) can go out with it.
    void takeReference();

    // A damage event on the window, numbered by the server, read at `at`.
    void damaged(std::uint32_t sequence, Nanos at, const xcb_rectangle_t& area);

    // The request waiting for its answer, if any; the caller reads the events the server
    // sent before that answer first, so that none is judged out of order.
    std::optional<unsigned> pendingRequest() const { return pending_; }

    // Takes the answer to pendingRequest(), which came at `at` (no image: the read failed);
    // the time of the first change once it is known.
    std::optional<Nanos> answered(const xcb_get_image_reply_t* image, Nanos at);

    bool referenceTaken() const { return reference_.has_value(); }
    bool failed() const { return failed_; }

  private:
    struct Drawing {
        std::uint32_t sequence;
        Nanos at;
    };

    unsigned requestPixels();
    void read();
    void forgetBefore(unsigned sequence);

    xcb_connection_t* connection_;
    xcb_window_t window_;
    Rect rect_;
    std::optional<unsigned> pending_;
    bool pendingIsReference_ = false;
    bool failed_ = false;
    std::optional<std::vector<std::uint8_t>> reference_;
    std::deque<Drawing> unverified_;
};
