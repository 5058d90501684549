// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::string_view kProgram = "yuyin-jisuanqi";

enum class Action { Help, Version, Value };

struct Option {
    std::string_view longName;
    char shortName;             // 0 for none
    std::string_view valueName; // empty for an option without a value
    std::string_view help;
    Action action;
};

// The program's own options. One that takes a value needs nothing more than its row here:
// the value is handed on in Result::values.
constexpr Option kOptions[] = {
    {"help", 'h', "", "print this help and exit", Action::Help},
    {"version", 'v', "", "print the version and exit", Action::Version},
    {"scale", 0, "F", "draw everything F times larger, F from 1 to 4", Action::Value},
};

// Qt's options, which QApplication takes from the same command line. Qt accepts them with one
// dash or two.
enum class QtValue { None, Next, NextOrJoined, Joined };
struct QtOption {
    std::string_view name;
    QtValue value;
};
constexpr QtOption kQtOptions[] = {
    {"platform", QtValue::Next},
    {"platformpluginpath", QtValue::Next},
    {"platformtheme", QtValue::Next},
    {"plugin", QtValue::Next},
    {"display", QtValue::Next},
    {"session", QtValue::Next},
    {"name", QtValue::Next},
    {"qwindowgeometry", QtValue::Next},
    {"geometry", QtValue::Next},
    {"qwindowtitle", QtValue::Next},
    {"title", QtValue::Next},
    {"qwindowicon", QtValue::Next},
    {"icon", QtValue::Next},
    {"style", QtValue::NextOrJoined},
    {"stylesheet", QtValue::NextOrJoined},
    {"qmljsdebugger", QtValue::Joined},
    {"reverse", QtValue::None},
    {"nograb", QtValue::None},
    {"dograb", QtValue::None},
    {"sync", QtValue::None},
    {"widgetcount", QtValue::None},
    {"testability", QtValue::None},
};

// Keys that work the program besides typing a calculation; the manual page lists them too.
constexpr std::string_view kShortcutHelp[][2] = {
    {"Menu, Shift+F10", "open the options menu"},
    {"F1", "open the About window"},
    {"Ctrl+S", "save the record (while the record panel is open)"},
    {"Ctrl+Q", "exit"},
    {"F2", "open the record panel, or stop the record"},
    {"F3", "show long calculations in full (while the record panel is open)"},
    {"Ctrl+Shift+Delete", "empty the record (while the record panel is open)"},
    {"F9", "minimise the window"},
    {"Escape", "close the About window (in the About window)"},
    {"F5", "read the number on the display aloud again (with the voice off, to a screen reader)"},
    {"Ctrl+C", "copy the number on the display"},
    {"Ctrl+V", "enter a number from the clipboard (only with keyboard input on)"},
    {"F6", "read the last calculation aloud again (or the record line chosen)"},
    {"Up, Down", "with the record panel open: read the line above or below"},
    {"Home, End", "with the record panel open: read the first or the last line"},
    {"F7", "switch between reading numbers digit by digit and as amounts"},
};

CommandLine::Result stop(int status, std::string output, std::string error) {
    CommandLine::Result result;
    result.run = false;
    result.status = status;
    result.output = std::move(output);
    result.error = std::move(error);
    return result;
}

CommandLine::Result usageError(const std::string& message) {
    return stop(CommandLine::kUsageError, {},
                std::string(kProgram) + ": " + message + " (try --help)\n");
}

const Option* findOwn(std::string_view arg) {
    for (const Option& option : kOptions) {
        if ((arg.size() == 2 && arg[0] == '-' && arg[1] == option.shortName &&
             option.shortName != 0) ||
            arg == std::string("--") + std::string(option.longName)) {
            return &option;
        }
    }
    return nullptr;
}

const QtOption* findQt(std::string_view name) {
    for (const QtOption& option : kQtOptions) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

std::string padded(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size() + 2), ' ');
    return text;
}

} // namespace

std::string CommandLine::helpText() {
    std::string text = "Usage: " + std::string(kProgram) + " [OPTION]... [QT-OPTION]...\n" +
                       "语音计算器, a talking desktop calculator. One copy runs per application\n" +
                       "folder: starting it again brings the running window to the front.\n\n" +
                       "Options:\n";
    for (const Option& option : kOptions) {
        std::string names = option.shortName != 0 ? std::string("-") + option.shortName + ", "
                                                  : std::string("    ");
        names += "--" + std::string(option.longName);
        if (!option.valueName.empty()) {
            names += " " + std::string(option.valueName);
        }
        text += "  " + padded(names, 20) + std::string(option.help) + "\n";
    }
    text += "Qt's own options, such as -platform NAME or -display DISPLAY, are passed on to Qt.\n\n"
            "Keys, besides typing a calculation (they work with keyboard input off too):\n";
    for (const auto& [keys, what] : kShortcutHelp) {
        text += "  " + padded(std::string(keys), 20) + std::string(what) + "\n";
    }
    return text;
}

CommandLine::Result CommandLine::parse(int argc, const char* const* argv) {
    Result result;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasNext = i + 1 < argc;

        std::string_view ownArg = arg;
        std::string inlineValue;
        bool hasInlineValue = false;
        if (const std::size_t eq = arg.find('='); arg.starts_with("--") && eq != arg.npos) {
            ownArg = arg.substr(0, eq);
            inlineValue = std::string(arg.substr(eq + 1));
            hasInlineValue = true;
        }
        if (const Option* option = findOwn(ownArg)) {
            switch (option->action) {
            case Action::Help:
                return stop(0, helpText(), {});
            case Action::Version:
                return stop(0, std::string(kProgram) + " " + CALC_VERSION + "\n", {});
            case Action::Value:
                if (!hasInlineValue && !hasNext) {
                    return usageError("option '" + std::string(ownArg) + "' needs a value");
                }
                result.values[std::string(option->longName)] =
                    hasInlineValue ? inlineValue : std::string(argv[++i]);
                continue;
            }
        }

        // Qt's options: "-name value", "--name value", and "-name=value" where Qt allows it.
        std::string_view name = arg;
        name.remove_prefix(std::min<std::size_t>(arg.starts_with("--") ? 2 : 1, name.size()));
        const std::size_t eq = name.find('=');
        const bool joined = eq != name.npos;
        const QtOption* qt = arg.starts_with('-') ? findQt(name.substr(0, eq)) : nullptr;
        if (qt != nullptr) {
            const bool joinedAllowed =
                qt->value == QtValue::NextOrJoined || qt->value == QtValue::Joined;
            const bool nextNeeded =
                qt->value == QtValue::Next || qt->value == QtValue::NextOrJoined;
            if (joined ? joinedAllowed : qt->value != QtValue::Joined) {
                if (!joined && nextNeeded && !hasNext) {
                    return usageError("option '" + std::string(arg) + "' needs a value");
                }
                i += !joined && nextNeeded ? 1 : 0;
                result.displayGiven |= qt->name == "platform" || qt->name == "display";
                continue;
            }
        }
        if (arg.starts_with('-')) {
            return usageError("unknown option '" + std::string(arg) + "'");
        }
        return usageError("unexpected argument '" + std::string(arg) + "'");
    }
    return result;
}
