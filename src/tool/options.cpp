#include "tool/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "app/data_files.h"
#include "sky/ephemeris.h"

void prepare_command(CLI::App& command)
{
    command.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    command.get_formatter()->label("Usage", "usage");
}

CLI::Validator quiet(CLI::Validator check)
{
    check.description("");
    return check;
}

void add_time_and_place(CLI::App& command, ToolOptions& options)
{
    command.add_option_function<std::string>(
        "--at",
        [&options](const std::string& value) {
            int64_t seconds = 0;
            if (!parse_time(value, seconds))
                throw CLI::ValidationError("--at", "bad time '" + value +
                                                       "' (want a real date and time as YYYY-MM-DDTHH:MM[:SS] "
                                                       "with Z, +HH:MM, -HH:MM or nothing for local time)");
            options.at = seconds;
        },
        "the moment shown: YYYY-MM-DDTHH:MM[:SS] with Z, +HH:MM, -HH:MM or nothing for local time (default now)")
        ->type_name("TIME");
    command.add_option_function<std::string>(
        "--from",
        [&options](const std::string& value) {
            Vec3 position;
            if (!parse_place(value, position))
                throw CLI::ValidationError("--from", "bad place '" + value +
                                                         "' (want LAT,LON[,ALT]: LAT -90 to 90 and LON -180 to 180 "
                                                         "degrees, ALT above -3964 and at most 1e9 miles)");
            options.from = position;
        },
        "the eye: degrees north and east, miles above the surface (default the home position, 5 miles up)")
        ->type_name("LAT,LON[,ALT]");
}

void add_data_option(CLI::App& command, ToolOptions& options, const std::string& help)
{
    command.add_option("--data", options.data_dir, help)->type_name("DIR")->check(quiet(CLI::ExistingDirectory));
}

CLI::Validator finite_range(double lowest, double highest)
{
    const std::string want = "want a number from " + CLI::detail::to_string(lowest) + " to " +
                             CLI::detail::to_string(highest);
    return CLI::Validator(
        [=](const std::string& text) {
            char* end = nullptr;
            const double value = std::strtod(text.c_str(), &end);
            const bool ok = !text.empty() && *end == '\0' && value >= lowest && value <= highest;
            return ok ? std::string() : "bad value '" + text + "' (" + want + ")";
        },
        "");
}

int parse_command(CLI::App& command, int argc, char** argv)
{
    try {
        command.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(command.help().c_str(), stdout);
        return finish_output(command.get_name());
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "%s: %s\nRun '%s --help' for the options.\n", command.get_name().c_str(), e.what(),
                     command.get_name().c_str());
        return 2;
    }
    return -1;
}

int finish_output(const std::string& command)
{
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (flushed && !std::ferror(stdout)) return 0;
    std::fprintf(stderr, "%s: can't write standard output: %s\n", command.c_str(),
                 flushed ? "write error" : std::strerror(error));
    return 1;
}

void apply_data_dir(const ToolOptions& options, Settings& settings)
{
    settings.data_dir = options.data_dir.empty() ? default_data_dir("/proc/self/exe") : options.data_dir;
    settings.data_dir_first = !options.data_dir.empty();
}

int32_t parse_body(const std::string& name)
{
    for (int32_t i = 0; i < num_bodies; ++i)
        if (strcasecmp(name.c_str(), body_names[i]) == 0) return i;
    return -1;
}
