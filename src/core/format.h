#pragma once
#include <string>

// printf into a string of exactly the length the text needs, so that no
// message is cut short by a buffer's size.
__attribute__((format(printf, 1, 2))) std::string format(const char* fmt, ...);
