#pragma once
#include <atomic>
#include <cstdint>
#include <functional>

// Splitting one call's work across the machine's cores; the caller waits for
// all of it, so nothing outlives the call.

// Hands out [0, count) in pieces of `size`, each piece once, to any thread.
struct Chunks {
    int32_t count = 0;
    int32_t size = 1;
    std::atomic<int32_t> next{0};

    bool take(int32_t& begin, int32_t& end)
    {
        begin = next.fetch_add(size, std::memory_order_relaxed);
        if (begin >= count) return false;
        end = begin + size < count ? begin + size : count;
        return true;
    }
};

// Runs work on `workers` threads at once, the calling one among them, and
// returns when every one has finished; fewer when the system will start no
// more threads, so work must share itself out, as through Chunks.
void run_workers(int32_t workers, const std::function<void()>& work);

// One worker per core the process may use: the cores of its affinity mask,
// which a container or taskset narrows.
int32_t core_count();
