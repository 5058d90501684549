// SPDX-License-Identifier: GPL-3.0-or-later
// Times what a user sees of a program on an X server without a window manager.
//
//   xwatch start [--settle MS] [--timeout MS] [--keep] [--verbose] [--output FILE]
//                -- COMMAND [ARG...]
//     Starts COMMAND and reports, in ms from just before the fork, the first map of a
//     top-level window and its first paint, then the memory of the process once the window
//     has painted and SETTLE ms (default 1000) have passed. The first paint is the program's
//     first drawing into the mapped window (DAMAGE), after the server's own fill with the
//     window's background, which comes before the window's first exposure. Prints:
//       pid P window 0xW width W height H map_ms M paint_ms P rss_kb R pss_kb S anon_kb A
//       exact E
//     With --keep the program is left running; otherwise it is sent SIGTERM. Its output is
//     appended to FILE (default /dev/null).
//
//   xwatch keys --window WID [--rect X,Y,W,H] [--gap MS] [--timeout MS] [--poll] KEY...
//     Focuses WID and sends each KEY through XTEST, GAP ms (default 150) apart. KEY is one
//     printable character or space, Return, BackSpace, Escape. A KEY written "?K" is timed:
//     from sending it until the rectangle (window coordinates, default the whole window)
//     shows other pixels. Drawing is caught by DAMAGE and checked by reading the pixels;
//     --poll instead reads them every 0.25 ms. One line per key:
//       key NAME SENT_NS PIXELS_MS        (PIXELS_MS is "-" when not timed or unchanged)
//     SENT_NS is CLOCK_MONOTONIC right after the key left for the server.
//
// Exit status: 0 done, 1 nothing seen in time, 2 usage, 3 no X server or extension.

#include "ChangeWatch.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <sched.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

Nanos now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return Nanos{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

double toMs(Nanos n) {
    return static_cast<double>(n) / 1e6;
}

void sleepNs(Nanos n) {
    const timespec t{static_cast<time_t>(n / 1'000'000'000), static_cast<long>(n % 1'000'000'000)};
    clock_nanosleep(CLOCK_MONOTONIC, 0, &t, nullptr);
}

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> owned(T* reply) {
    return Reply<T>(reply, &std::free);
}

struct Display {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
    std::uint8_t damageEvent = 0;
};

bool hasXtest(xcb_connection_t* connection) {
    auto version = owned(
        xcb_test_get_version_reply(connection, xcb_test_get_version(connection, 2, 2), nullptr));
    return version != nullptr;
}

// Connects and makes sure DAMAGE (and, when asked, XTEST) can be used.
std::optional<Display> openDisplay(bool needXtest) {
    Display display;
    display.connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(display.connection) != 0) {
        std::fprintf(stderr, "xwatch: cannot open the display\n");
        return std::nullopt;
    }
    fcntl(xcb_get_file_descriptor(display.connection), F_SETFD, FD_CLOEXEC);
    display.root = xcb_setup_roots_iterator(xcb_get_setup(display.connection)).data->root;
    const xcb_query_extension_reply_t* damage =
        xcb_get_extension_data(display.connection, &xcb_damage_id);
    if (damage == nullptr || damage->present == 0) {
        std::fprintf(stderr, "xwatch: the X server has no DAMAGE extension\n");
        return std::nullopt;
    }
    display.damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
    std::free(xcb_damage_query_version_reply(
        display.connection, xcb_damage_query_version(display.connection, 1, 1), nullptr));
    if (needXtest && !hasXtest(display.connection)) {
        std::fprintf(stderr, "xwatch: the X server has no XTEST extension\n");
        return std::nullopt;
    }
    return display;
}

// An event and when it was taken.
using EventHandler = std::function<void(const xcb_generic_event_t*, Nanos)>;

void handleAll(xcb_connection_t* connection, const EventHandler& handle, bool queuedOnly) {
    for (;;) {
        auto event = owned(queuedOnly ? xcb_poll_for_queued_event(connection)
                                      : xcb_poll_for_event(connection));
        if (!event) {
            return;
        }
        handle(event.get(), now());
    }
}

// Hands every event to `handle` as it comes and answers to `watch` (if any) until `done`
// or the deadline. Blocks only in ppoll, so every event is stamped as it arrives. Returns
// the change `watch` reported, if it did.
std::optional<Nanos> pump(xcb_connection_t* connection, ChangeWatch* watch, Nanos deadline,
                          const EventHandler& handle, const std::function<bool()>& done) {
    while (!done() && xcb_connection_has_error(connection) == 0) {
        handleAll(connection, handle, false);
        if (watch != nullptr && watch->pendingRequest()) {
            void* answer = nullptr;
            xcb_generic_error_t* error = nullptr;
            if (xcb_poll_for_reply(connection, *watch->pendingRequest(), &answer, &error) != 0) {
                const Nanos at = now();
                // Events the server sent before the answer must be counted first.
                handleAll(connection, handle, true);
                auto image = owned(static_cast<xcb_get_image_reply_t*>(answer));
                if (error != nullptr) {
                    std::fprintf(stderr, "xwatch: cannot read the pixels (X error %d)\n",
                                 error->error_code);
                    std::free(error);
                }
                if (const auto change = watch->answered(image.get(), at)) {
                    return change;
                }
                continue;
            }
        }
        const Nanos left = deadline - now();
        if (left <= 0) {
            break;
        }
        pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
        const timespec t{0, static_cast<long>(std::min<Nanos>(left, 20'000'000))};
        ppoll(&fd, 1, &t, nullptr);
    }
    return std::nullopt;
}

long procField(pid_t pid, const std::string& file, const std::string& name) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    std::string key;
    while (in >> key) {
        if (key == name + ":") {
            long value = -1;
            in >> value;
            return value;
        }
        in.ignore(4096, '\n');
    }
    return -1;
}

void endProgram(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            return;
        }
        sleepNs(10'000'000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// ---- start -----------------------------------------------------------------------------

struct StartOptions {
    Nanos settle = 1'000'000'000;
    Nanos timeout = 30'000'000'000;
    bool keep = false;
    bool verbose = false;
    const char* output = "/dev/null";
    std::vector<char*> command;
};

// How long after its first damage a window may still show its own exposure.
constexpr Nanos kExposureWait = 200'000'000;

struct TopLevel {
    Rect rect;
    unsigned watchedFrom = 0; // our request after which its drawing and exposures are seen
};

struct StartState {
    const Display* display = nullptr;
    bool verbose = false;
    Nanos start = 0;
    std::map<xcb_window_t, TopLevel> topLevels;
    xcb_window_t window = 0;
    Nanos mapped = 0;
    bool watchedInTime = false;
    bool exposed = false;
    std::optional<Nanos> firstDamage;
    std::optional<Nanos> painted;
    bool exact = false;
};

void logEvent(const StartState& state, Nanos at, const char* what, xcb_window_t window, int width,
              int height) {
    if (state.verbose) {
        std::fprintf(stderr, "%9.3f ms %s 0x%x %dx%d\n", toMs(at - state.start), what, window,
                     width, height);
    }
}

// Drawing and exposures are watched from a window's creation on: the program may draw as
// soon as the window is mapped, before this side has read the map event. The exposures are
// the program's own (every client may ask for them): the server sends them once it has
// filled the newly visible window with its background, and the program draws in answer.
void onCreate(StartState& state, const xcb_create_notify_event_t* event, Nanos at) {
    if (event->parent != state.display->root || event->override_redirect != 0) {
        return;
    }
    xcb_connection_t* c = state.display->connection;
    xcb_damage_create(c, xcb_generate_id(c), event->window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    const std::uint32_t mask = XCB_EVENT_MASK_EXPOSURE;
    const unsigned selected =
        xcb_change_window_attributes(c, event->window, XCB_CW_EVENT_MASK, &mask).sequence;
    xcb_flush(c);
    state.topLevels[event->window] = TopLevel{Rect{0, 0, event->width, event->height}, selected};
    logEvent(state, at, "create", event->window, event->width, event->height);
}

void onMap(StartState& state, const xcb_generic_event_t* generic, Nanos at) {
    const auto* event = reinterpret_cast<const xcb_map_notify_event_t*>(generic);
    const auto found = state.topLevels.find(event->window);
    if (state.window != 0 || event->override_redirect != 0 || found == state.topLevels.end()) {
        return;
    }
    state.window = event->window;
    state.mapped = at;
    // An event bears the number of the last of our requests the server had processed.
    state.watchedInTime = generic->full_sequence >= found->second.watchedFrom;
    logEvent(state, at, "map", event->window, found->second.rect.width, found->second.rect.height);
}

// Damage before the first exposure is the server's background fill, not the program's.
// A window covered by its subwindows gets no exposure of its own (theirs are not seen
// here); its first damage after the map then stands for the paint, fill included.
void onDamage(StartState& state, const xcb_damage_notify_event_t* event, Nanos at) {
    if (event->drawable != state.window || state.painted) {
        return;
    }
    logEvent(state, at, state.exposed ? "damage" : "fill?", event->drawable, event->area.width,
             event->area.height);
    if (!state.firstDamage) {
        state.firstDamage = at;
    }
    if (state.exposed && state.watchedInTime) {
        state.painted = at;
        state.exact = true;
    }
}

void onStartEvent(StartState& state, const xcb_generic_event_t* event, Nanos at) {
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == XCB_CREATE_NOTIFY) {
        onCreate(state, reinterpret_cast<const xcb_create_notify_event_t*>(event), at);
    } else if (type == XCB_CONFIGURE_NOTIFY) {
        const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        if (const auto found = state.topLevels.find(configure->window);
            found != state.topLevels.end() && state.window == 0) {
            found->second.rect = Rect{0, 0, configure->width, configure->height};
        }
    } else if (type == XCB_MAP_NOTIFY) {
        onMap(state, event, at);
    } else if (type == XCB_EXPOSE) {
        const auto* expose = reinterpret_cast<const xcb_expose_event_t*>(event);
        if (expose->window == state.window && !state.exposed) {
            state.exposed = true;
            logEvent(state, at, "expose", expose->window, expose->width, expose->height);
        }
    } else if (type == state.display->damageEvent) {
        onDamage(state, reinterpret_cast<const xcb_damage_notify_event_t*>(event), at);
    }
}

pid_t launch(const Display& display, const StartOptions& options, StartState& state) {
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(display.connection, display.root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(display.connection, xcb_get_input_focus(display.connection),
                                        nullptr));
    state.start = now();
    const pid_t pid = fork();
    if (pid == 0) {
        // The report is ours; what the program says goes elsewhere, so that a reader of our
        // output is not held up by a program that outlives us.
        const int out = open(options.output, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        // The watcher may run at real-time priority to stamp events promptly; the program
        // must not inherit it.
        const sched_param normal{};
        sched_setscheduler(0, SCHED_OTHER, &normal);
        // For programs that time their own steps from the fork.
        setenv("XWATCH_FORK_NS", std::to_string(state.start).c_str(), 1);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        execvp(options.command[0], options.command.data());
        std::fprintf(stderr, "xwatch: cannot run %s: %s\n", options.command[0],
                     std::strerror(errno));
        _exit(127);
    }
    return pid;
}

int runStart(const StartOptions& options) {
    const auto display = openDisplay(false);
    if (!display) {
        return 3;
    }
    StartState state;
    state.display = &*display;
    state.verbose = options.verbose;
    const pid_t pid = launch(*display, options, state);
    const EventHandler handle = [&state](const xcb_generic_event_t* event, Nanos at) {
        onStartEvent(state, event, at);
    };
    bool ended = false;
    const auto done = [&] {
        ended = ended || waitpid(pid, nullptr, WNOHANG) == pid;
        return ended || state.painted ||
               (state.firstDamage && now() > *state.firstDamage + kExposureWait);
    };
    pump(display->connection, nullptr, state.start + options.timeout, handle, done);
    if (!state.painted && state.firstDamage && !ended) {
        state.painted = state.firstDamage;
    }
    if (!state.painted) {
        std::fprintf(stderr, "xwatch: no window was mapped and painted in time%s\n",
                     ended ? " (the program ended)" : "");
        if (!ended) {
            endProgram(pid);
        }
        return 1;
    }
    pump(display->connection, nullptr, now() + options.settle, handle, [] { return false; });
    const Rect& rect = state.topLevels[state.window].rect;
    // "exact 0": the paint could not be told from the server's fill (a window covered by
    // subwindows, or one mapped before this side watched it); it may be early by the fill.
    std::printf("pid %d window 0x%x width %u height %u map_ms %.3f paint_ms %.3f rss_kb %ld "
                "pss_kb %ld anon_kb %ld exact %d\n",
                pid, state.window, rect.width, rect.height, toMs(state.mapped - state.start),
                toMs(*state.painted - state.start), procField(pid, "status", "VmRSS"),
                procField(pid, "smaps_rollup", "Pss"), procField(pid, "status", "RssAnon"),
                state.exact ? 1 : 0);
    std::fflush(stdout);
    if (!options.keep) {
        endProgram(pid);
    }
    xcb_disconnect(display->connection);
    return 0;
}

// ---- keys ------------------------------------------------------------------------------

constexpr Nanos kLastKeyWait = 100'000'000;

struct KeyOptions {
    xcb_window_t window = 0;
    std::optional<Rect> rect;
    Nanos gap = 150'000'000;
    Nanos timeout = 2'000'000'000;
    bool poll = false;
    std::vector<std::string> keys;
};

struct Key {
    xcb_keycode_t code = 0;
    bool shifted = false;
};

xcb_keysym_t keysymOf(const std::string& name) {
    static const std::map<std::string, xcb_keysym_t> named = {
        {"space", 0x20}, {"Return", 0xff0d}, {"BackSpace", 0xff08}, {"Escape", 0xff1b}};
    if (const auto found = named.find(name); found != named.end()) {
        return found->second;
    }
    if (name.size() == 1 && name[0] > 0x20 && name[0] < 0x7f) {
        return static_cast<xcb_keysym_t>(name[0]);
    }
    return 0;
}

std::optional<Key> keyOf(xcb_connection_t* connection, xcb_keysym_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto mapping = owned(xcb_get_keyboard_mapping_reply(
        connection,
        xcb_get_keyboard_mapping(connection, setup->min_keycode, static_cast<std::uint8_t>(count)),
        nullptr));
    if (!mapping || keysym == 0) {
        return std::nullopt;
    }
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perCode = mapping->keysyms_per_keycode;
    for (int column = 0; column < std::min(perCode, 2); ++column) {
        for (int i = 0; i < count; ++i) {
            if (syms[i * perCode + column] == keysym) {
                return Key{static_cast<xcb_keycode_t>(setup->min_keycode + i), column == 1};
            }
        }
    }
    return std::nullopt;
}

void fakeKey(xcb_connection_t* connection, std::uint8_t type, xcb_keycode_t code) {
    xcb_test_fake_input(connection, type, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

// Press and release, with Shift around them when the character needs it.
Nanos sendKey(xcb_connection_t* connection, Key key, Key shift) {
    if (key.shifted) {
        fakeKey(connection, XCB_KEY_PRESS, shift.code);
    }
    fakeKey(connection, XCB_KEY_PRESS, key.code);
    fakeKey(connection, XCB_KEY_RELEASE, key.code);
    if (key.shifted) {
        fakeKey(connection, XCB_KEY_RELEASE, shift.code);
    }
    xcb_flush(connection);
    return now();
}

Rect windowRect(xcb_connection_t* connection, xcb_window_t window) {
    auto geometry =
        owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    return geometry ? Rect{0, 0, geometry->width, geometry->height} : Rect{};
}

std::optional<std::vector<std::uint8_t>> readPixels(xcb_connection_t* connection,
                                                    xcb_window_t window, Rect rect) {
    auto image =
        owned(xcb_get_image_reply(connection,
                                  xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window,
                                                rect.x, rect.y, rect.width, rect.height, ~0U),
                                  nullptr));
    if (!image) {
        return std::nullopt;
    }
    const std::uint8_t* data = xcb_get_image_data(image.get());
    return std::vector<std::uint8_t>(data, data + xcb_get_image_data_length(image.get()));
}

// The plain way, as a check on the other: read the pixels every 0.25 ms.
std::optional<Nanos> pollForChange(xcb_connection_t* connection, const KeyOptions& options,
                                   Rect rect, const std::vector<std::uint8_t>& before,
                                   Nanos deadline) {
    while (now() < deadline) {
        const auto shown = readPixels(connection, options.window, rect);
        if (shown && *shown != before) {
            return now();
        }
        sleepNs(250'000);
    }
    return std::nullopt;
}

std::optional<Nanos> timeKey(const Display& display, const KeyOptions& options, Rect rect, Key key,
                             Key shift, Nanos& sent) {
    xcb_connection_t* c = display.connection;
    if (options.poll) {
        const auto before = readPixels(c, options.window, rect);
        sent = sendKey(c, key, shift);
        return before ? pollForChange(c, options, rect, *before, sent + options.timeout)
                      : std::nullopt;
    }
    ChangeWatch watch(c, options.window, rect);
    const EventHandler handle = [&](const xcb_generic_event_t* event, Nanos at) {
        if ((event->response_type & 0x7f) == display.damageEvent) {
            const auto* damage = reinterpret_cast<const xcb_damage_notify_event_t*>(event);
            watch.damaged(event->full_sequence, at, damage->area);
        }
    };
    // The reference goes out in the same write as the key, so that the server reads the
    // pixels just before it takes the key.
    watch.takeReference();
    sent = sendKey(c, key, shift);
    return pump(c, &watch, sent + options.timeout, handle, [&watch] { return watch.failed(); });
}

int runKeys(const KeyOptions& options) {
    const auto display = openDisplay(true);
    if (!display) {
        return 3;
    }
    xcb_connection_t* c = display->connection;
    const Rect rect = options.rect.value_or(windowRect(c, options.window));
    xcb_damage_create(c, xcb_generate_id(c), options.window,
                      XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, options.window, XCB_CURRENT_TIME);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    const auto shift = keyOf(c, 0xffe1);
    int missed = 0;
    for (const std::string& keyArg : options.keys) {
        const bool timed = keyArg.size() > 1 && keyArg[0] == '?';
        const std::string name = timed ? keyArg.substr(1) : keyArg;
        const auto key = keyOf(c, keysymOf(name));
        if (!key || !shift) {
            std::fprintf(stderr, "xwatch: no key for %s\n", name.c_str());
            return 2;
        }
        sleepNs(options.gap);
        // Drawing left over from the key before is let through unread.
        handleAll(
            c, [](const xcb_generic_event_t*, Nanos) {}, false);
        Nanos sent = 0;
        std::optional<Nanos> changed;
        if (timed) {
            changed = timeKey(*display, options, rect, *key, *shift, sent);
            missed += changed ? 0 : 1;
        } else {
            sent = sendKey(c, *key, *shift);
        }
        std::printf("key %s %lld ", name.c_str(), static_cast<long long>(sent));
        changed ? std::printf("%.3f\n", toMs(*changed - sent)) : std::printf("-\n");
        std::fflush(stdout);
    }
    // A key made up just before its client closes the connection was seen to get lost:
    // the server has to have taken it, and a little time to hand it on.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    sleepNs(kLastKeyWait);
    xcb_disconnect(c);
    return missed == 0 ? 0 : 1;
}

// ---- arguments -------------------------------------------------------------------------

Nanos millis(const char* text) {
    return static_cast<Nanos>(std::strtod(text, nullptr) * 1e6);
}

std::optional<Rect> parseRect(const char* text) {
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    if (std::sscanf(text, "%d,%d,%u,%u", &x, &y, &width, &height) != 4) {
        return std::nullopt;
    }
    return Rect{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height)};
}

std::optional<StartOptions> parseStart(int argc, char** argv) {
    StartOptions options;
    int i = 2;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--settle" && hasValue) {
            options.settle = millis(argv[++i]);
        } else if (a == "--timeout" && hasValue) {
            options.timeout = millis(argv[++i]);
        } else if (a == "--keep") {
            options.keep = true;
        } else if (a == "--verbose") {
            options.verbose = true;
        } else if (a == "--output" && hasValue) {
            options.output = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    for (++i; i < argc; ++i) {
        options.command.push_back(argv[i]);
    }
    if (options.command.empty()) {
        return std::nullopt;
    }
    options.command.push_back(nullptr);
    return options;
}

std::optional<KeyOptions> parseKeys(int argc, char** argv) {
    KeyOptions options;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--window" && hasValue) {
            options.window = static_cast<xcb_window_t>(std::strtoul(argv[++i], nullptr, 0));
        } else if (a == "--rect" && hasValue) {
            options.rect = parseRect(argv[++i]);
            if (!options.rect) {
                return std::nullopt;
            }
        } else if (a == "--gap" && hasValue) {
            options.gap = millis(argv[++i]);
        } else if (a == "--timeout" && hasValue) {
            options.timeout = millis(argv[++i]);
        } else if (a == "--poll") {
            options.poll = true;
        } else {
            options.keys.push_back(a);
        }
    }
    if (options.window == 0 || options.keys.empty()) {
        return std::nullopt;
    }
    return options;
}

int usage() {
    std::fprintf(stderr,
                 "usage: xwatch start [--settle MS] [--timeout MS] [--keep] [--verbose] "
                 "[--output FILE] -- COMMAND [ARG...]\n"
                 "       xwatch keys --window WID [--rect X,Y,W,H] [--gap MS] [--timeout MS] "
                 "[--poll] [?]KEY...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage();
    }
    const std::string command = argv[1];
    if (command == "start") {
        const auto options = parseStart(argc, argv);
        return options ? runStart(*options) : usage();
    }
    if (command == "keys") {
        const auto options = parseKeys(argc, argv);
        return options ? runKeys(*options) : usage();
    }
    return usage();
}
