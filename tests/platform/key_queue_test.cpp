#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/key_queue.h"

namespace {

// The events before each poll ("+A" down, "-A" up); returns the keys A and B
// read as down after each poll, one '|' per poll.
using Poll = std::vector<std::string>;

std::string poll_all(const std::vector<Poll>& polls)
{
    KeyQueue queue;
    uint8_t state[256] = {};
    std::string seen;
    for (const Poll& p : polls) {
        for (const std::string& e : p) queue_key(queue, static_cast<uint8_t>(e[1]), e[0] == '+');
        apply_keys(queue, state);
        for (char k : std::string("AB"))
            if (state[static_cast<uint8_t>(k)]) seen += k;
        seen += '|';
    }
    return seen;
}

}  // namespace

TEST(KeyQueue, QuickTapsReadDownForOneFrame)
{
    struct Case {
        std::vector<Poll> polls;
        std::string expected;
    } cases[] = {
        {{{"+A", "-A"}, {}, {}}, "A|||"},             // a tap
        {{{"+A"}, {}, {"-A"}, {}}, "A|A|||"},         // held, then released
        {{{"+A", "-A", "+A"}, {}}, "A|A|"},           // tapped, then held
        {{{"+A", "-A"}, {"+A", "-A"}, {}}, "A|A||"},  // two taps, two frames
        {{{"+A", "-A"}, {"+A"}, {}}, "A|A|A|"},       // the held release comes first
        {{{"+A", "+B", "-A"}, {"-B"}, {}}, "AB|||"},  // only the tapped key waits
        {{{"-A"}, {}}, "||"},                         // a release alone
    };
    for (const Case& c : cases) EXPECT_EQ(poll_all(c.polls), c.expected);
}

// Past its capacity the queue drops events, and never takes key 0.
TEST(KeyQueue, EventsBeyondTheQueueAreDropped)
{
    KeyQueue queue;
    for (size_t i = 0; i < KeyQueue::capacity; ++i) queue_key(queue, 'A', i % 2 == 0);
    queue_key(queue, 'B', true);
    queue_key(queue, 0, true);
    uint8_t state[256] = {};
    apply_keys(queue, state);
    EXPECT_TRUE(state['A'] && !state['B'] && !state[0]);
}
