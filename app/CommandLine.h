// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>

// Reads the command line before Qt sees it, so that --help and --version answer without a
// display. The program's own options are one table in CommandLine.cpp; Qt's own options are
// recognised there too and left in place for QApplication.
class CommandLine {
  public:
    struct Result {
        // False when the program should end at once with `status` (help, version, an error).
        bool run = true;
        int status = 0;
        std::string output; // for standard output
        std::string error;  // for standard error
        // The values of the program's own options that take one, by long name.
        std::map<std::string, std::string> values;
        // Qt was told where to draw (-platform or -display), so it needs no session's display.
        bool displayGiven = false;
    };

    static constexpr int kUsageError = 2;

    static Result parse(int argc, const char* const* argv);
    static std::string helpText();
};
