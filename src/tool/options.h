#pragma once
#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>

#include "app/settings.h"
#include "app/time_and_place.h"

// The options every globetool subcommand shares: --at, --from and --data.
struct ToolOptions : TimeAndPlace {
    std::string data_dir;  // empty means the default data folder
};

// Makes a subcommand's parser: a repeated option takes its last value, as
// scripts expect of a tool, and the help starts "usage:" as globetool's own.
void prepare_command(CLI::App& command);
// A check with no text of its own in the help.
CLI::Validator quiet(CLI::Validator check);
// Adds --at TIME and --from LAT,LON[,ALT]; --data DIR separately.
void add_time_and_place(CLI::App& command, ToolOptions& options);
void add_data_option(CLI::App& command, ToolOptions& options, const std::string& help);
// A number option's check: a finite value from lowest to highest.
CLI::Validator finite_range(double lowest, double highest);

// Parses a subcommand's arguments (argv[0] is its name): -1 to go on, else the
// exit code: 0 after --help, 2 after bad usage (the message printed), 1 when
// the help could not be written.
int parse_command(CLI::App& command, int argc, char** argv);
// The exit code once the results are printed: 0, or 1 with a message when
// standard output could not take them.
int finish_output(const std::string& command);

// A body by its name in any case (mercury ... pluto, moon, sun); -1 if unknown.
int32_t parse_body(const std::string& name);

// The data folder the options name (searched first), or the one next to the program.
void apply_data_dir(const ToolOptions& options, Settings& settings);
