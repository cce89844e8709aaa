#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialogue/console.hpp"
#include "dialogue/match.hpp"

namespace napinavost::testing {

// Input held in memory, handed out at most `chunk` bytes per read, as a pipe
// or a terminal might deliver it; or in pieces of the sizes `pieces` gives in
// turn, when it gives any.
struct MemoryInput {
    std::string_view text;
    std::size_t chunk = 0;  // 0: everything at once
    std::vector<std::size_t> pieces;
    std::size_t delivered = 0;
    int reads = 0;

    explicit MemoryInput(std::string_view text, std::size_t chunk = 0,
                         std::vector<std::size_t> pieces = {})
        : text(text), chunk(chunk), pieces(std::move(pieces)) {}

    static std::size_t read_some(void* context, char* buffer, std::size_t capacity) {
        auto& input = *static_cast<MemoryInput*>(context);
        std::size_t size = std::min(capacity, input.text.size() - input.delivered);
        if (!input.pieces.empty()) {
            size = std::min(size, input.pieces[input.reads % input.pieces.size()]);
        } else if (input.chunk != 0) {
            size = std::min(size, input.chunk);
        }
        ++input.reads;
        input.text.copy(buffer, size, input.delivered);
        input.delivered += size;
        return size;
    }
};

// Output collected in memory; `text()` shows what has been flushed so far.
struct MemoryOutput {
    std::string delivered;
    std::string pending;

    // The console keeps this object's address.
    MemoryOutput() = default;
    MemoryOutput(const MemoryOutput&) = delete;
    MemoryOutput& operator=(const MemoryOutput&) = delete;

    OutputPort port() {
        return {[](void* context, std::string_view text) {
                    static_cast<MemoryOutput*>(context)->pending += text;
                },
                [](void* context) {
                    auto& output = *static_cast<MemoryOutput*>(context);
                    output.delivered += output.pending;
                    output.pending.clear();
                },
                this};
    }
    const std::string& text() const { return delivered; }
};

// A pause that only counts how often it was asked for.
struct CountedPause {
    int pauses = 0;

    PausePort port() {
        return {[](void* context) { ++static_cast<CountedPause*>(context)->pauses; }, this};
    }
};

inline Console memory_console(MemoryInput& input, MemoryOutput& output, PausePort pause = {}) {
    if (!pause.pause) pause.pause = [](void*) {};
    return make_console({{MemoryInput::read_some, &input}, output.port(), pause});
}

// The whole dialogue in process over `input`, without a pause: what it wrote.
inline std::string play_in_memory(MemoryInput input) {
    MemoryOutput output;
    Console console = memory_console(input, output);
    play_match(console);
    return output.text();
}

// What the console has not taken yet: the rest of its buffer and of the input.
inline std::string unread(const Console& console, const MemoryInput& input) {
    return std::string(console.input.bytes.data() + console.input.next,
                       console.input.filled - console.input.next) +
           std::string(input.text.substr(input.delivered));
}

}  // namespace napinavost::testing
