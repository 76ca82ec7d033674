#include "core/format.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

std::string format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, fmt, args);
    va_end(args);
    // data() keeps room for the terminating zero the second call writes.
    std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
    std::vsnprintf(out.data(), out.size() + 1, fmt, again);
    va_end(again);
    return out;
}
