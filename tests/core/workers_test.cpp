#include "core/workers.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <vector>

namespace {

// Every piece done exactly once, on however many threads there turn out to be.
bool shares_out(int32_t workers, int32_t pieces)
{
    Chunks chunks{pieces, 3};
    std::vector<std::atomic<int>> done(static_cast<size_t>(pieces));
    run_workers(workers, [&] {
        int32_t begin = 0, end = 0;
        while (chunks.take(begin, end))
            for (int32_t i = begin; i < end; ++i) ++done[static_cast<size_t>(i)];
    });
    for (const auto& d : done)
        if (d != 1) return false;
    return true;
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
