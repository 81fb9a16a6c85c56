#pragma once
// The quiz inside the runner's own file: a 7-byte marker in the header area
// ("K&Z" at offset 192, then the overlay offset), the stream offset at the start
// of the overlay, the media blobs, then the quiz-data stream up to the end.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "quiz/byte_source.h"
#include "quiz/quiz_model.h"

namespace kz {

inline constexpr std::uint64_t marker_offset = 192;
inline constexpr std::size_t marker_size = 7;  // "K&Z" + overlay offset
inline constexpr char marker_magic[] = "K&Z";

struct ContainerInfo {
    std::uint64_t file_size = 0;
    std::uint32_t overlay_offset = 0;
    std::uint32_t stream_offset = 0;
};

// Checks the marker and the two offsets, in this order: magic, overlay offset
// within the file, stream offset within the file, overlay before stream.
// Nothing when any check fails (the runner then reports a damaged file).
std::optional<ContainerInfo> check_container(const ByteSource& file);

// Builds a quiz executable: the runner (whose bytes 192 to 198 must be free,
// that is zero), the overlay header, the media blobs of the model's rows in row
// order and the quiz-data stream. The rows' blob offsets and sizes are set from
// `blobs` (one per row; empty for a row without bytes or for external media).
Result<std::string, std::string> build_quiz_executable(std::string_view runner,
                                                       QuizModel model,
                                                       const std::vector<std::string>& blobs);

// The runner part of a quiz executable (everything before the overlay) with
// its marker bytes cleared again, so that it can carry another quiz.
std::string bare_runner(std::string_view quiz_executable, const ContainerInfo& info);

void put_u32(std::string& out, std::uint32_t value);
std::uint32_t get_u32(const unsigned char* bytes);

}  // namespace kz
