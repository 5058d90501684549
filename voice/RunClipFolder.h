// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>
#include <sys/types.h>

namespace voice {

// The folder one run writes its clips to and plays them from. $XDG_RUNTIME_DIR is the
// user's own, so a fixed name in it is safe. Without it the shared temporary folder is
// used, where anyone could take a fixed name first: each run then makes a fresh folder of
// an unguessable name, removes it at its end, and first clears away the user's own folders
// that runs killed more than a day ago left behind. A run keeps a lock on its folder, so a
// folder in use is never taken for one left behind, however long it has run.
class RunClipFolder {
  public:
    static constexpr std::time_t kLeftBehindSeconds = 24 * 60 * 60;

    // runtimeDir and tmpDir as the environment gives them: unset, relative, missing or not
    // a folder counts as not given.
    RunClipFolder(const char* runtimeDir, const char* tmpDir, uid_t uid);
    ~RunClipFolder();
    RunClipFolder(const RunClipFolder&) = delete;
    RunClipFolder& operator=(const RunClipFolder&) = delete;

    // Empty when no folder could be made: the keys then sound the fallback.
    const std::string& path() const { return path_; }
    bool temporary() const { return lockFd_ >= 0; }
    // Why there is no folder, for the one line that says so.
    const std::string& problem() const { return problem_; }

    // Removes the folders named `prefix`… in `base` that belong to `uid`, are older than
    // kLeftBehindSeconds at `now` and that no run holds.
    static void removeLeftBehind(const std::string& base, const std::string& prefix, uid_t uid,
                                 std::time_t now);

  private:
    void makeTemporary(const std::string& stem, uid_t uid);

    std::string path_;
    std::string problem_;
    int lockFd_ = -1; // the run's own folder, locked while it runs
};

} // namespace voice
