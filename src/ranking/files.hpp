#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace napinavost::ranking {

// The whole file, or standard input for "-". Returns an error message naming
// the file, or nothing.
std::optional<std::string> read_whole_file(const std::string& path, std::string& bytes);

// Writes `content` to `path`, or to standard output for "-". A regular file is
// written beside its place under a temporary name and then renamed, so that a
// failed run never leaves half a file; a device or pipe is written directly.
std::optional<std::string> write_whole_file(const std::string& path, std::string_view content);

// The text without a UTF-8 byte order mark in front.
std::string_view without_byte_order_mark(std::string_view text);

}  // namespace napinavost::ranking
