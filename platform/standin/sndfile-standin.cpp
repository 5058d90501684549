// SPDX-License-Identifier: GPL-3.0-or-later
// What the sound server's client library asks of libsndfile, and nothing else: that library
// links libsndfile for its file helpers, which a program that only plays through a stream
// never calls, and libsndfile in turn maps a codec library for every format it knows. Loaded
// under libsndfile's name just before the client library, this stands in for it, so none of
// them is mapped. Should a helper be called all the same, each answers as libsndfile does for
// a file it cannot read or write.
//
// Built without the C or C++ runtime: it is carried inside the program (SndfileStandIn).
#include <sndfile.h>

extern "C" {

sf_count_t sf_readf_short(SNDFILE*, short*, sf_count_t) {
    return 0;
}

sf_count_t sf_readf_int(SNDFILE*, int*, sf_count_t) {
    return 0;
}

sf_count_t sf_readf_float(SNDFILE*, float*, sf_count_t) {
    return 0;
}

sf_count_t sf_writef_short(SNDFILE*, const short*, sf_count_t) {
    return 0;
}

sf_count_t sf_writef_int(SNDFILE*, const int*, sf_count_t) {
    return 0;
}

sf_count_t sf_writef_float(SNDFILE*, const float*, sf_count_t) {
    return 0;
}

// Every command reports failure or "nothing".
int sf_command(SNDFILE*, int, void*, int) {
    return 0;
}

const char* sf_error_number(int) {
    return "libsndfile is not loaded";
}

const char* sf_get_string(SNDFILE*, int) {
    return nullptr;
}

} // extern "C"
