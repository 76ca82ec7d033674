#include "core/workers.h"

#include <sched.h>

#include <exception>
#include <thread>
#include <vector>

void run_workers(int32_t workers, const std::function<void()>& work)
{
    std::vector<std::thread> helpers;
    // The work is handed out in pieces, so a thread the system refuses only
    // leaves more of them to the threads already running.
    try {
        for (int32_t i = 1; i < workers; ++i) helpers.emplace_back(work);
    } catch (const std::exception&) {
    }
    work();
    for (std::thread& helper : helpers) helper.join();
}

int32_t core_count()
{
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    return 1;  // a web page built without threads can start none
#endif
    // Asked once: the answer reads a file of the system's, and every frame
    // wants it.
    static const int32_t cores = [] {
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
        cpu_set_t set;
        CPU_ZERO(&set);
        if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
#endif
        const unsigned n = std::thread::hardware_concurrency();
        return n == 0 ? 1 : static_cast<int32_t>(n);
    }();
    return cores;
}
