#include "ranking/files.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace napinavost::ranking {

namespace {

std::string failure(const std::string& path, const char* what, int error) {
    return (path == "-" ? std::string("standardny vstup") : path) + ": " + what + " (" +
           std::strerror(error) + ")";
}

bool read_stream(std::FILE* stream, std::string& bytes) {
    char block[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, stream)) > 0) bytes.append(block, got);
    return !std::ferror(stream);
}

bool write_stream(std::FILE* stream, std::string_view content) {
    return std::fwrite(content.data(), 1, content.size(), stream) == content.size() &&
           std::fflush(stream) == 0;
}

// Writes everything and closes the file: the number of the first error, or 0.
int write_and_close(std::FILE* file, std::string_view content) {
    int error = write_stream(file, content) ? 0 : errno;
    if (std::fclose(file) != 0 && error == 0) error = errno;
    return error;
}

}  // namespace

std::optional<std::string> read_whole_file(const std::string& path, std::string& bytes) {
    bytes.clear();
    if (path == "-") {
        if (!read_stream(stdin, bytes)) return failure(path, "citanie zlyhalo", errno);
        return std::nullopt;
    }
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        return failure(path, "neda sa citat", EISDIR);
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return failure(path, "neda sa otvorit", errno);
    // Room for the whole file at once, so the text is not copied as it grows.
    if (const auto size = std::filesystem::file_size(path, code); !code) bytes.reserve(size);
    const bool read = read_stream(file, bytes);
    const int error = errno;
    std::fclose(file);
    if (!read) return failure(path, "citanie zlyhalo", error);
    return std::nullopt;
}

std::optional<std::string> write_whole_file(const std::string& path, std::string_view content) {
    if (path == "-") {
        if (!write_stream(stdout, content))
            return failure("standardny vystup", "zapis zlyhal", errno);
        return std::nullopt;
    }
    std::error_code code;
    const auto status = std::filesystem::status(path, code);
    if (std::filesystem::is_directory(status)) return failure(path, "neda sa zapisat", EISDIR);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file) return failure(path, "neda sa otvorit", errno);
        if (const int error = write_and_close(file, content)) {
            return failure(path, "zapis zlyhal", error);
        }
        return std::nullopt;
    }

    std::random_device random;
    std::string temporary;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        temporary = path + ".tmp" + std::to_string(random() % 1000000);
        file = std::fopen(temporary.c_str(), "wbx");
        if (!file && errno != EEXIST) break;
    }
    if (!file) return failure(path, "neda sa zapisat", errno);
    int error = write_and_close(file, content);
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        std::remove(temporary.c_str());
        return failure(path, "zapis zlyhal", error);
    }
    return std::nullopt;
}

std::string_view without_byte_order_mark(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return text;
}

}  // namespace napinavost::ranking
