// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <sys/types.h>

namespace voice {

// Why a clip folder can or cannot be used.
enum class FolderStatus {
    Ready,
    CannotCreate,  // missing and could not be made (for example a parent that is a file)
    NotADirectory, // something other than a folder has the name
    SymbolicLink,  // the name is a link: it could point anywhere
    ForeignOwner,  // made by another user, who could swap the clips or plant links
    OpenToOthers,  // group or others may write into it, and that could not be changed
};

const char* folderStatusText(FolderStatus status);

// The per-user folder the clip files are written to and played from. Fixed file names in a
// shared temporary folder would let another local user plant links there, so the folder is
// private to the running user and refused when it is not.
class ClipFolder {
  public:
    static constexpr const char* kProgramName = "yuyin-jisuanqi";

    // $XDG_RUNTIME_DIR/<program> when that is set, else the temporary folder with the user
    // id in the name (the stem a run's own folder there is named from). Relative or empty
    // variables are ignored.
    static std::string choosePath(const char* runtimeDir, const char* tmpDir, uid_t uid);

    // Makes the folder with mode 0700 when it is missing, then checks it; an existing folder
    // of the user's own is tightened to 0700.
    static FolderStatus prepare(const std::string& path);

    // Checks an open folder: not a link (the caller opens with O_NOFOLLOW), a folder, owned
    // by the running user (checked explicitly: permission bits do not stop root), closed to
    // others.
    static FolderStatus checkOpenFolder(int dirFd);

    // Opens a folder without following a link and checks it; -1 when it is not Ready. The
    // caller keeps the descriptor, so later opens inside it reach the folder checked here.
    static int openChecked(const std::string& path);
};

} // namespace voice
