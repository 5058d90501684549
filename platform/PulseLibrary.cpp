// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PulseLibrary.h"

#include "platform/SndfileStandIn.h"

#include <dlfcn.h>
#include <pulse/pulseaudio.h>

namespace platform {

void* PulseLibrary::symbol(const char* name) {
    // Loaded once and kept for the life of the process: its threads and callbacks run from it.
    static void* const library = [] {
        SndfileStandIn::load();
        return dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
    }();
    return library != nullptr ? dlsym(library, name) : nullptr;
}

} // namespace platform

namespace {

template <typename Function> Function* resolve(const char* name) {
    return reinterpret_cast<Function*>(platform::PulseLibrary::symbol(name));
}

} // namespace

// The real function, looked up at the first call; the local static makes that once and safe
// from any thread.
#define CALC_PULSE_REAL(name) static auto* const real = resolve<decltype(name)>(#name)

// Without the library, each answers as the library does on failure.
#define CALC_PULSE_FORWARD(name, failed, ...)                                                      \
    CALC_PULSE_REAL(name);                                                                         \
    return real != nullptr ? real(__VA_ARGS__) : (failed)

#define CALC_PULSE_FORWARD_VOID(name, ...)                                                         \
    CALC_PULSE_REAL(name);                                                                         \
    if (real != nullptr) {                                                                         \
        real(__VA_ARGS__);                                                                         \
    }

extern "C" {

pa_threaded_mainloop* pa_threaded_mainloop_new(void) {
    CALC_PULSE_FORWARD(pa_threaded_mainloop_new, nullptr);
}

void pa_threaded_mainloop_free(pa_threaded_mainloop* m) {
    CALC_PULSE_FORWARD_VOID(pa_threaded_mainloop_free, m);
}

int pa_threaded_mainloop_start(pa_threaded_mainloop* m) {
    CALC_PULSE_FORWARD(pa_threaded_mainloop_start, -1, m);
}

void pa_threaded_mainloop_stop(pa_threaded_mainloop* m) {
    CALC_PULSE_FORWARD_VOID(pa_threaded_mainloop_stop, m);
}

void pa_threaded_mainloop_lock(pa_threaded_mainloop* m) {
    CALC_PULSE_FORWARD_VOID(pa_threaded_mainloop_lock, m);
}

void pa_threaded_mainloop_unlock(pa_threaded_mainloop* m) {
    CALC_PULSE_FORWARD_VOID(pa_threaded_mainloop_unlock, m);
}

pa_mainloop_api* pa_threaded_mainloop_get_api(pa_threaded_mainloop* m) {
    CALC_PULSE_FORWARD(pa_threaded_mainloop_get_api, nullptr, m);
}

void pa_threaded_mainloop_set_name(pa_threaded_mainloop* m, const char* name) {
    CALC_PULSE_FORWARD_VOID(pa_threaded_mainloop_set_name, m, name);
}

pa_proplist* pa_proplist_new(void) {
    CALC_PULSE_FORWARD(pa_proplist_new, nullptr);
}

void pa_proplist_free(pa_proplist* p) {
    CALC_PULSE_FORWARD_VOID(pa_proplist_free, p);
}

int pa_proplist_sets(pa_proplist* p, const char* key, const char* value) {
    CALC_PULSE_FORWARD(pa_proplist_sets, -1, p, key, value);
}

pa_context* pa_context_new_with_proplist(pa_mainloop_api* mainloop, const char* name,
                                         const pa_proplist* proplist) {
    CALC_PULSE_FORWARD(pa_context_new_with_proplist, nullptr, mainloop, name, proplist);
}

void pa_context_set_state_callback(pa_context* c, pa_context_notify_cb_t cb, void* userdata) {
    CALC_PULSE_FORWARD_VOID(pa_context_set_state_callback, c, cb, userdata);
}

int pa_context_connect(pa_context* c, const char* server, pa_context_flags_t flags,
                       const pa_spawn_api* api) {
    CALC_PULSE_FORWARD(pa_context_connect, -1, c, server, flags, api);
}

pa_context_state_t pa_context_get_state(const pa_context* c) {
    CALC_PULSE_FORWARD(pa_context_get_state, PA_CONTEXT_FAILED, c);
}

void pa_context_disconnect(pa_context* c) {
    CALC_PULSE_FORWARD_VOID(pa_context_disconnect, c);
}

void pa_context_unref(pa_context* c) {
    CALC_PULSE_FORWARD_VOID(pa_context_unref, c);
}

void pa_operation_unref(pa_operation* o) {
    CALC_PULSE_FORWARD_VOID(pa_operation_unref, o);
}

pa_stream* pa_stream_new_with_proplist(pa_context* c, const char* name, const pa_sample_spec* ss,
                                       const pa_channel_map* map, pa_proplist* p) {
    CALC_PULSE_FORWARD(pa_stream_new_with_proplist, nullptr, c, name, ss, map, p);
}

void pa_stream_set_state_callback(pa_stream* s, pa_stream_notify_cb_t cb, void* userdata) {
    CALC_PULSE_FORWARD_VOID(pa_stream_set_state_callback, s, cb, userdata);
}

void pa_stream_set_write_callback(pa_stream* s, pa_stream_request_cb_t cb, void* userdata) {
    CALC_PULSE_FORWARD_VOID(pa_stream_set_write_callback, s, cb, userdata);
}

int pa_stream_connect_playback(pa_stream* s, const char* dev, const pa_buffer_attr* attr,
                               pa_stream_flags_t flags, const pa_cvolume* volume,
                               pa_stream* sync_stream) {
    CALC_PULSE_FORWARD(pa_stream_connect_playback, -1, s, dev, attr, flags, volume, sync_stream);
}

pa_stream_state_t pa_stream_get_state(const pa_stream* p) {
    CALC_PULSE_FORWARD(pa_stream_get_state, PA_STREAM_FAILED, p);
}

pa_operation* pa_stream_cork(pa_stream* s, int b, pa_stream_success_cb_t cb, void* userdata) {
    CALC_PULSE_FORWARD(pa_stream_cork, nullptr, s, b, cb, userdata);
}

int pa_stream_write(pa_stream* p, const void* data, size_t nbytes, pa_free_cb_t free_cb,
                    int64_t offset, pa_seek_mode_t seek) {
    CALC_PULSE_FORWARD(pa_stream_write, -1, p, data, nbytes, free_cb, offset, seek);
}

int pa_stream_disconnect(pa_stream* s) {
    CALC_PULSE_FORWARD(pa_stream_disconnect, -1, s);
}

void pa_stream_unref(pa_stream* s) {
    CALC_PULSE_FORWARD_VOID(pa_stream_unref, s);
}

} // extern "C"
