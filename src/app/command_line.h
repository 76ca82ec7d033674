#pragma once
#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "core/constants.h"

constexpr int max_args = 64;

// Splits the command line in place at spaces and tabs (no quoting). argv[0]
// is the program title; at most max_args entries, further arguments are ignored.
int split_command_line(char* cmdline, char* argv[max_args]);

// The options that are not part of the classic rules.
struct Flags {
    bool window = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> home;  // the value after --home, empty when it is missing
    bool sky = false;
    bool night = false;
};
Flags scan_flags(int argc, char** argv);

// Display size (/WxH) and map file names (sh..., bo...), the value of --home
// aside; when two arguments
// set the same thing the earlier one wins. A name too long for its buffer is
// refused with a message and the previous name kept.
void apply_arguments(int argc, char** argv, Settings& settings, std::vector<std::string>& messages);
