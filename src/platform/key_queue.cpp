#include "platform/key_queue.h"

void queue_key(KeyQueue& queue, uint8_t code, bool down)
{
    if (code == 0 || queue.events.size() >= KeyQueue::capacity) return;
    queue.events.push_back({code, down});
}

void apply_keys(KeyQueue& queue, uint8_t key_state[256])
{
    for (uint8_t code : queue.held_releases) key_state[code] = 0;
    queue.held_releases.clear();
    bool pressed[256] = {};
    for (const KeyQueue::Event& e : queue.events) {
        key_state[e.code] = e.down ? 1 : 0;
        pressed[e.code] = pressed[e.code] || e.down;
    }
    for (const KeyQueue::Event& e : queue.events) {
        if (!pressed[e.code] || key_state[e.code]) continue;
        key_state[e.code] = 1;
        queue.held_releases.push_back(e.code);
    }
    queue.events.clear();
}
