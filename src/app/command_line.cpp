#include "app/command_line.h"

#include <cstring>


namespace {

// File names live in 256-byte buffers, ".dat" and the terminator included.
constexpr size_t name_buffer = 256;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

void read_size(const char* arg, Settings& settings)
{
    int32_t value = 0;
    int numbers = 0;
    for (const char* p = arg + 1;; ++p) {
        if (*p >= '0' && *p <= '9') {
            // Saturate rather than overflow; absurd sizes are refused by the display.
            value = value > 99999999 ? value : value * 10 + (*p - '0');
            continue;
        }
        (numbers == 0 ? settings.xres : settings.yres) = value;
        ++numbers;
        if (*p == '\0' || numbers == 2) return;
        value = 0;
    }
}

void read_name(const char* arg, std::string& name, std::vector<std::string>& messages)
{
    std::string candidate = arg;
    if (candidate.find('.') == std::string::npos) candidate += ".dat";
    if (candidate.size() + 1 > name_buffer) {
        messages.push_back("File name too long: " + std::string(arg));
        return;
    }
    name = candidate;
}

bool starts(const char* arg, char a, char b)
{
    return (arg[0] == a || arg[0] == a - 32) && (arg[1] == b || arg[1] == b - 32);
}

}  // namespace

int split_command_line(char* cmdline, char* argv[max_args])
{
    int argc = 1;
    argv[0] = const_cast<char*>(program_title);
    if (cmdline[0] == '\0') return argc;
    if (!is_blank(cmdline[0])) argv[argc++] = cmdline;
    char* p = cmdline + 1;
    for (; *p != '\0'; ++p) {
        if (!is_blank(p[-1])) continue;
        p[-1] = '\0';
        if (!is_blank(*p) && argc < max_args) argv[argc++] = p;
    }
    // One trailing blank must not stay on the last argument.
    if (is_blank(p[-1])) p[-1] = '\0';
    return argc;
}

Flags scan_flags(int argc, char** argv)
{
    Flags flags;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--window") == 0) flags.window = true;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) flags.help = true;
        if (std::strcmp(argv[i], "--version") == 0) flags.version = true;
        if (std::strcmp(argv[i], "--home") == 0) flags.home = i + 1 < argc ? argv[++i] : "";
        if (std::strcmp(argv[i], "--sky") == 0) flags.sky = true;
        if (std::strcmp(argv[i], "--night") == 0) flags.night = true;
    }
    return flags;
}

void apply_arguments(int argc, char** argv, Settings& settings, std::vector<std::string>& messages)
{
    for (int i = argc - 1; i >= 1; --i) {
        const char* arg = argv[i];
        if (std::strcmp(argv[i - 1], "--home") == 0) continue;
        if (arg[0] == '/')
            read_size(arg, settings);
        else if (starts(arg, 's', 'h'))
            read_name(arg, settings.shore_filename, messages);
        else if (starts(arg, 'b', 'o'))
            read_name(arg, settings.bord_filename, messages);
    }
}
