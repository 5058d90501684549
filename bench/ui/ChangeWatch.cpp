// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChangeWatch.h"

#include <utility>

ChangeWatch::ChangeWatch(xcb_connection_t* connection, xcb_window_t window, Rect rect)
    : connection_(connection), window_(window), rect_(rect) {}

void ChangeWatch::takeReference() {
    reference_.reset();
    unverified_.clear();
    pending_ = requestPixels();
    pendingIsReference_ = true;
}

void ChangeWatch::damaged(std::uint32_t sequence, Nanos at, const xcb_rectangle_t& area) {
    const bool outside = area.x >= rect_.x + rect_.width || area.y >= rect_.y + rect_.height ||
                         area.x + area.width <= rect_.x || area.y + area.height <= rect_.y;
    if (outside || (!pending_ && !reference_)) {
        return;
    }
    unverified_.push_back({sequence, at});
    if (!pending_) {
        read();
    }
}

std::optional<Nanos> ChangeWatch::answered(const xcb_get_image_reply_t* image, Nanos at) {
    const unsigned request = *pending_;
    pending_.reset();
    if (image == nullptr) {
        failed_ = true;
        return std::nullopt;
    }
    const std::uint8_t* data = xcb_get_image_data(image);
    std::vector<std::uint8_t> shown(data, data + xcb_get_image_data_length(image));
    if (pendingIsReference_) {
        pendingIsReference_ = false;
        reference_ = std::move(shown);
    } else if (shown != *reference_) {
        // Without a damage event the change came by other means (an exposure): it counts
        // from when it was seen.
        return unverified_.empty() ? at : unverified_.front().at;
    }
    forgetBefore(request);
    if (!unverified_.empty()) {
        read();
    }
    return std::nullopt;
}

unsigned ChangeWatch::requestPixels() {
    return xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, rect_.x, rect_.y,
                         rect_.width, rect_.height, ~0U)
        .sequence;
}

void ChangeWatch::read() {
    pending_ = requestPixels();
    xcb_flush(connection_);
}

// Drawing numbered below a read is in that read's pixels.
void ChangeWatch::forgetBefore(unsigned sequence) {
    while (!unverified_.empty() && unverified_.front().sequence < sequence) {
        unverified_.pop_front();
    }
}
