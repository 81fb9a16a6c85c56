#include "quiz/stream_reader.h"

#include <algorithm>
#include <cstring>

namespace kz {
namespace {

constexpr std::size_t look_ahead = 30000;
constexpr std::size_t buffer_size = 1 << 20;

}  // namespace

StreamReader::StreamReader(const ByteSource& source, std::uint64_t cursor)
    : source_(source), cursor_(cursor) {}

std::uint64_t StreamReader::remaining() const {
    return cursor_ < source_.size() ? source_.size() - cursor_ : 0;
}

const char* StreamReader::window(std::size_t n) {
    const std::uint64_t wanted_end = cursor_ + std::min<std::uint64_t>(n, remaining());
    const bool inside = cursor_ >= buffer_start_ && wanted_end <= buffer_start_ + buffer_length_;
    if (!inside) {
        // Small streams get a buffer of their own size, large ones 1 MiB.
        if (buffer_.empty()) buffer_.resize(std::min<std::uint64_t>(buffer_size, std::max<std::uint64_t>(remaining(), look_ahead)));
        buffer_start_ = cursor_;
        buffer_length_ = source_.read_at(cursor_, buffer_.data(), buffer_.size());
    }
    return buffer_.data() + (cursor_ - buffer_start_);
}

std::optional<std::string> StreamReader::read_line() {
    const std::size_t available = std::min<std::uint64_t>(look_ahead, remaining());
    if (available == 0) return std::nullopt;
    const char* bytes = window(available);
    const std::size_t in_buffer =
        std::min<std::uint64_t>(available, buffer_start_ + buffer_length_ - cursor_);
    for (std::size_t i = 0; i < in_buffer; ++i) {
        if (bytes[i] == '\0') return std::nullopt;
        if (bytes[i] == '\r') {
            std::string line(bytes, i);
            cursor_ += i + 2;
            return line;
        }
    }
    return std::nullopt;
}

std::optional<std::int32_t> StreamReader::read_number() {
    if (remaining() < 4) return std::nullopt;
    const char* bytes = window(4);
    if (buffer_start_ + buffer_length_ - cursor_ < 4) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    cursor_ += 4;
    return static_cast<std::int32_t>(value);
}

std::string unscramble_line(std::string_view stored) {
    std::string clear;
    if (stored.empty()) return clear;
    const int key = static_cast<unsigned char>(stored[0]);
    for (std::size_t p = 1; p < stored.size(); p += 2) {
        const int v = static_cast<signed char>(stored[p]);
        const int d = v - key;
        clear += static_cast<char>(d < 0 || d > 255 ? 255 : d);
    }
    return clear;
}

std::optional<std::string> scramble_line(std::string_view clear) {
    int highest = 0;
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : clear) {
        if (c < 32 || c > 126) return std::nullopt;
        highest = std::max<int>(highest, c);
        hash = (hash ^ c) * 16777619u;
    }
    // Keys 1..(127 - highest): every stored byte stays within 1..127, never a
    // NUL or a CR (the key itself skips 13).
    const int range = 127 - highest;
    int key = clear.empty() ? 1 + static_cast<int>(hash % 100) : 1 + static_cast<int>(hash % range);
    if (key == 13) key = 12;

    std::string stored;
    stored += static_cast<char>(key);
    std::uint32_t filler = hash | 1u;
    for (std::size_t i = 0; i < clear.size(); ++i) {
        if (i > 0) {
            filler = filler * 1103515245u + 12345u;
            stored += static_cast<char>(33 + (filler >> 16) % 94);
        }
        stored += static_cast<char>(static_cast<unsigned char>(clear[i]) + key);
    }
    return stored;
}

}  // namespace kz
