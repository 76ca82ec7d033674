#pragma once
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// Puts the process in another time zone for one test and restores the
// previous TZ afterwards.
struct ZoneScope {
    std::optional<std::string> saved;
    explicit ZoneScope(const char* zone)
    {
        if (const char* old = std::getenv("TZ")) saved = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope() { saved ? setenv("TZ", saved->c_str(), 1) : unsetenv("TZ"), tzset(); }
};
