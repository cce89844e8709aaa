#include "suspense/index_text.hpp"

#include <charconv>

namespace napinavost {

IndexText index_text(float value) {
    IndexText text;
    const auto result = std::to_chars(text.chars.data(), text.chars.data() + text.chars.size(),
                                      static_cast<double>(value), std::chars_format::general, 6);
    text.size = static_cast<std::size_t>(result.ptr - text.chars.data());
    return text;
}

}  // namespace napinavost
