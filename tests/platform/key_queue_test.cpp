#include "platform/key_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The events before each poll ("+A" down, "-A" up) against the keys A and B
// read as down after each poll, one '|' per poll. Past its capacity the queue
// drops events, and it never takes key 0.
TEST(KeyQueue, QuickTapsReadDownForOneFrameAndOverflowIsDropped)
{
    const std::pair<std::vector<std::vector<std::string>>, std::string> cases[] = {
        {{{"+A", "-A"}, {}, {}}, "A|||"},             // a tap
        {{{"+A"}, {}, {"-A"}, {}}, "A|A|||"},         // held, then released
        {{{"+A", "-A", "+A"}, {}}, "A|A|"},           // tapped, then held
        {{{"+A", "-A"}, {"+A", "-A"}, {}}, "A|A||"},  // two taps, two frames
        {{{"+A", "-A"}, {"+A"}, {}}, "A|A|A|"},       // the held release comes first
        {{{"+A", "+B", "-A"}, {"-B"}, {}}, "AB|||"},  // only the tapped key waits
        {{{"-A"}, {}}, "||"},                         // a release alone
    };
    for (const auto& [polls, expected] : cases) {
        KeyQueue queue;
        uint8_t state[256] = {};
        std::string seen;
        for (const auto& events : polls) {
            for (const std::string& e : events) queue_key(queue, static_cast<uint8_t>(e[1]), e[0] == '+');
            apply_keys(queue, state);
            seen += std::string(state['A'] ? "A" : "") + (state['B'] ? "B" : "") + "|";
        }
        EXPECT_EQ(seen, expected);
    }
    KeyQueue queue;
    for (size_t i = 0; i < KeyQueue::capacity; ++i) queue_key(queue, 'A', i % 2 == 0);
    queue_key(queue, 'B', true);
    queue_key(queue, 0, true);
    uint8_t state[256] = {};
    apply_keys(queue, state);
    EXPECT_TRUE(state['A'] && !state['B'] && !state[0]);
}
