// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform {

// The sound server's client library, loaded the first time one of its functions is called
// rather than linked: a calculator that has not spoken yet needs none of it. libsndfile, which
// it links, is replaced by a stand-in (SndfileStandIn).
//
// PulseLibrary.cpp defines every pa_* function this layer calls, with the library's own
// signature; each looks its real function up here once and forwards to it. When the library
// cannot be loaded each answers as the library does when it fails (null, a negative number, a
// failed state), so the player takes it for a server that cannot be reached.
class PulseLibrary {
  public:
    // The named function of the loaded library; nullptr when it cannot be loaded or lacks it.
    static void* symbol(const char* name);
};

} // namespace platform
