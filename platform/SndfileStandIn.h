// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform {

// The sound server's client library needs libsndfile to load, for file helpers it keeps for
// its own tools, and libsndfile maps seven codec libraries: nearly a megabyte, for functions
// a stream never calls. The program carries a stand-in of a few kilobytes under libsndfile's
// name and version (standin/), loaded just before the client library so that the dynamic
// loader takes it for libsndfile and maps neither it nor its codecs.
//
// A library asked for by its plain name now gets the stand-in too, so a voice pack opens the
// real libsndfile by its full path (voice::SoundLibraries).
class SndfileStandIn {
  public:
    // Loads the stand-in once and keeps it, unless libsndfile itself is already loaded (it is
    // then used as it is). Where the stand-in cannot be loaded, nothing changes: the client
    // library then loads the real one.
    static void load();
};

} // namespace platform
