// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unistd.h>
#include <utility>

namespace voice {

// Owns a file descriptor and closes it on every way out of a function.
class UniqueFd {
  public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    // Closing can report a failed write-back, so writers check it rather than leave it to
    // the destructor.
    bool closeNow() {
        const int fd = std::exchange(fd_, -1);
        return fd >= 0 && ::close(fd) == 0;
    }

    // Hands the descriptor over to an owner that outlives this one.
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

} // namespace voice
