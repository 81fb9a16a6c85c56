#pragma once
// Reads the quiz-data stream: CR LF lines and 32-bit little-endian numbers,
// through large buffered reads of the runner's file.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quiz/byte_source.h"

namespace kz {

class StreamReader {
public:
    StreamReader(const ByteSource& source, std::uint64_t cursor);

    // The next line without its CR LF. A line ends at its first CR within
    // 30000 bytes; the byte after the CR is skipped unchecked. Nothing when no
    // CR comes within that look-ahead or a NUL byte stands before it.
    std::optional<std::string> read_line();

    // The next 32-bit signed little-endian number; nothing when fewer than
    // four bytes remain.
    std::optional<std::int32_t> read_number();

    std::uint64_t cursor() const { return cursor_; }
    std::uint64_t remaining() const;

private:
    // Makes bytes [cursor, cursor + n) available in the buffer (fewer at the end).
    const char* window(std::size_t n);

    const ByteSource& source_;
    std::uint64_t cursor_;
    std::vector<char> buffer_;
    std::uint64_t buffer_start_ = 0;
    std::size_t buffer_length_ = 0;
};

// Decodes one of the four scrambled fields: byte 0 is the key K; the clear
// characters stand at the odd positions as (character + K), each taken as a
// signed byte; a result out of 0..255 gives character 255.
std::string unscramble_line(std::string_view stored);

// The inverse, for the packer: printable ASCII only (32 to 126), since other
// characters cannot survive the signed decoding. The key and the filler bytes
// are derived from the text itself, so the same text always scrambles to the
// same bytes. Nothing when a character cannot be stored.
std::optional<std::string> scramble_line(std::string_view clear);

}  // namespace kz
