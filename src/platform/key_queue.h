#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The key events that arrive between two keyboard polls, in order. A key
// pressed and released again before the poll still reads as down for one
// frame: its release is held back to the next poll, so a quick tap is never
// lost. Holding, repeats and the order of events are otherwise untouched.
struct KeyQueue {
    static constexpr size_t capacity = 64;  // further events before a poll are dropped
    struct Event {
        uint8_t code;
        bool down;
    };
    std::vector<Event> events;
    std::vector<uint8_t> held_releases;
};

// Queues one event; code 0 (no key) is ignored.
void queue_key(KeyQueue& queue, uint8_t code, bool down);

// Applies the releases held back at the last poll, then the queued events in
// order, and empties the queue.
void apply_keys(KeyQueue& queue, uint8_t key_state[256]);
