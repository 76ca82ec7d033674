#pragma once
#include <string>
#include <utility>

// What every loader and writer reports: done, or why not. A loader that kept
// what it could of a faulty file (a catalogue cut short, shorelines whose
// piece table filled up) is done with a warning. The texts the viewer shows
// for a result are chosen in one place above (app/load_messages.h); the
// reason is the detail for stderr.
struct Result {
    enum class Kind { done, warned, failed, out_of_memory };
    Kind kind = Kind::done;
    std::string reason;  // why it failed or what it warns of; out_of_memory: the array that could not be had

    bool ok() const { return kind == Kind::done || kind == Kind::warned; }
    // The detail for stderr, empty when there is nothing to say.
    std::string why() const { return kind == Kind::out_of_memory ? "out of memory (" + reason + ")" : reason; }
};

inline Result failed(std::string reason) { return {Result::Kind::failed, std::move(reason)}; }
inline Result warned(std::string reason) { return {Result::Kind::warned, std::move(reason)}; }
inline Result out_of_memory(std::string array) { return {Result::Kind::out_of_memory, std::move(array)}; }
