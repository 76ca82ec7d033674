#include "tool/sequence.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

bool parse_step(const std::string& text, int64_t& seconds)
{
    constexpr struct {
        const char* unit;
        int64_t seconds;
    } units[] = {{"s", 1}, {"m", 60}, {"h", 3600}, {"d", 86400}, {"sd", 86164}};
    const size_t digits = text.find_first_not_of("0123456789", text[0] == '-' || text[0] == '+' ? 1 : 0);
    if (digits == std::string::npos || digits == 0 || !std::isdigit(static_cast<unsigned char>(text[digits - 1])) ||
        digits > 12)
        return false;
    const long long count = std::strtoll(text.c_str(), nullptr, 10);
    for (const auto& u : units)
        if (text.compare(digits, std::string::npos, u.unit) == 0) {
            seconds = count * u.seconds;
            return seconds >= -10'000'000'000 && seconds <= 10'000'000'000;
        }
    return false;
}

std::optional<std::string> frame_name(const std::string& pattern, int n)
{
    std::string name;
    bool numbered = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            name += pattern[i];
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            name += '%';
            ++i;
            continue;
        }
        const size_t end = pattern.find_first_not_of("0123456789", i + 1);
        if (numbered || end == std::string::npos || pattern[end] != 'd' || end - i > 4) return std::nullopt;
        const std::string conversion = pattern.substr(i, end - i + 1);
        char text[64];
        std::snprintf(text, sizeof text, conversion.c_str(), n);
        name += text;
        numbered = true;
        i = end;
    }
    return numbered ? std::optional(name) : std::nullopt;
}

void show_progress(int done, int total, double seconds)
{
    constexpr int width = 30;
    const int filled = total > 0 ? done * width / total : width;
    const double fps = seconds > 0 ? done / seconds : 0;
    const double left = fps > 0 ? (total - done) / fps : 0;
    std::fprintf(stderr, "\r[%.*s%*s] %d/%d frames, %.1f fps, %.0f s left ", filled,
                 "##############################", width - filled, "", done, total, fps, left);
    if (done == total) std::fputc('\n', stderr);
}
