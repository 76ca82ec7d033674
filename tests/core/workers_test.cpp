#include "core/workers.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

// Every piece done exactly once, on however many of the pool's threads
// there turn out to be; returns how many threads took part.
size_t shares_out(WorkerPool& pool, int32_t workers, int32_t pieces, bool& once)
{
    Chunks chunks{pieces, 3};
    std::vector<std::atomic<int>> done(static_cast<size_t>(pieces));
    std::mutex lock;
    std::set<std::thread::id> threads;
    pool.run(workers, [&] {
        int32_t begin = 0, end = 0;
        while (chunks.take(begin, end)) {
            for (int32_t i = begin; i < end; ++i) ++done[static_cast<size_t>(i)];
            const std::lock_guard<std::mutex> hold(lock);
            threads.insert(std::this_thread::get_id());
        }
    });
    once = std::all_of(done.begin(), done.end(), [](const auto& d) { return d == 1; });
    return threads.size();
}

bool shares_out(int32_t workers, int32_t pieces)
{
    WorkerPool pool(workers);
    bool once = false;
    shares_out(pool, workers, pieces, once);
    return once;
}

}  // namespace

TEST(Workers, EveryPieceOnceAlsoWhenNoThreadCanStart)
{
    for (const int32_t workers : {1, 2, 7})
        for (const int32_t pieces : {0, 1, 2, 100})
            EXPECT_TRUE(shares_out(workers, pieces)) << workers << " " << pieces;
#if !defined(__SANITIZE_ADDRESS__)
    // A child whose address space has no room for more threads' stacks than
    // the few that earlier threads may have left for reuse.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = 0;
        setrlimit(RLIMIT_AS, &limit);
        _exit(shares_out(64, 100) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
#endif
}

// A pool kept across calls, as a frame loop keeps one: every call shares out
// all of its pieces, on no more threads than the call or the pool allows.
TEST(Workers, APoolServesCallAfterCallWithinItsLimits)
{
    WorkerPool pool(3);
    for (int call = 0; call < 200; ++call) {
        const int32_t workers = call % 5, pieces = call % 7 * 40;
        bool once = false;
        const size_t threads = shares_out(pool, workers, pieces, once);
        ASSERT_TRUE(once) << call;
        ASSERT_LE(threads, static_cast<size_t>(std::clamp(workers, 1, 3))) << call;
    }
}
