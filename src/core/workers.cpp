#include "core/workers.h"

#include <sched.h>

#include <algorithm>
#include <exception>

WorkerPool::~WorkerPool()
{
    {
        const std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void WorkerPool::serve()
{
    std::unique_lock<std::mutex> hold(lock_);
    uint64_t seen = 0;
    for (;;) {
        wake_.wait(hold, [&] { return stopping_ || generation_ != seen; });
        if (stopping_) return;
        seen = generation_;
        if (seats_ == 0) continue;
        --seats_;
        ++busy_;
        const std::function<void()>& work = *job_;
        hold.unlock();
        work();
        hold.lock();
        if (--busy_ == 0) idle_.notify_all();
    }
}

void WorkerPool::run(int32_t workers, const std::function<void()>& work)
{
    // A thread the system refuses only leaves more pieces to the others.
    try {
        while (static_cast<int32_t>(threads_.size()) < size_ - 1) threads_.emplace_back([this] { serve(); });
    } catch (const std::exception&) {
        size_ = static_cast<int32_t>(threads_.size()) + 1;
    }
    {
        const std::lock_guard<std::mutex> hold(lock_);
        job_ = &work;
        seats_ = std::max(0, std::min(workers, size_) - 1);
        ++generation_;
    }
    wake_.notify_all();
    work();
    // Every piece is taken: a thread not yet in has nothing left to join.
    std::unique_lock<std::mutex> hold(lock_);
    seats_ = 0;
    idle_.wait(hold, [&] { return busy_ == 0; });
    job_ = nullptr;
}

void run_workers(int32_t workers, const std::function<void()>& work)
{
    WorkerPool pool(workers);
    pool.run(workers, work);
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
