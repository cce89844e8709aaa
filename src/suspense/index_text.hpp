#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace napinavost {

// The index as the console program writes it: six significant digits in the
// shortest general form, as C's "%g" writes them.
struct IndexText {
    std::array<char, 32> chars{};
    std::size_t size = 0;

    std::string_view view() const { return {chars.data(), size}; }
};

IndexText index_text(float value);

}  // namespace napinavost
