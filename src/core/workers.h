#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

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

// Threads kept waiting between calls, so that a frame pays for no thread's
// start (on a web page that start is a message to a worker, milliseconds a
// frame). They start at the first call and end with the pool. One caller at
// a time.
class WorkerPool {
public:
    // At most `workers` threads at once, the caller among them.
    explicit WorkerPool(int32_t workers) : size_(workers) {}
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool();

    // Runs work on up to `workers` threads (no more than the pool's), the
    // calling one among them, and returns when every one has finished. A
    // thread that comes late, or that the system would not start, is not
    // waited for, so work must share itself out, as through Chunks.
    void run(int32_t workers, const std::function<void()>& work);
    int32_t size() const { return size_; }

private:
    void serve();

    int32_t size_;
    std::vector<std::thread> threads_;
    std::mutex lock_;
    std::condition_variable wake_, idle_;
    const std::function<void()>* job_ = nullptr;
    uint64_t generation_ = 0;
    int32_t seats_ = 0;
    int32_t busy_ = 0;
    bool stopping_ = false;
};

// Runs work on `workers` threads started for this call alone.
void run_workers(int32_t workers, const std::function<void()>& work);

// One worker per core the process may use: the cores of its affinity mask,
// which a container or taskset narrows.
int32_t core_count();
