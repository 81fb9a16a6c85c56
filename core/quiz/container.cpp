#include "quiz/container.h"

#include <cstring>
#include <limits>

#include "quiz/quiz_writer.h"

namespace kz {

void put_u32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t get_u32(const unsigned char* b) {
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::optional<ContainerInfo> check_container(const ByteSource& file) {
    ContainerInfo info;
    info.file_size = file.size();

    unsigned char marker[marker_size] = {};
    if (file.read_at(marker_offset, marker, marker_size) != marker_size) return std::nullopt;
    if (std::memcmp(marker, marker_magic, 3) != 0) return std::nullopt;

    info.overlay_offset = get_u32(marker + 3);
    if (info.overlay_offset > info.file_size) return std::nullopt;

    // The stream offset must be readable in full: an overlay that starts at the
    // very end of the file has no stream offset and no stream.
    unsigned char stream_offset[4] = {};
    if (file.read_at(info.overlay_offset, stream_offset, 4) != 4) return std::nullopt;
    info.stream_offset = get_u32(stream_offset);
    if (info.stream_offset > info.file_size) return std::nullopt;
    if (info.overlay_offset > info.stream_offset) return std::nullopt;
    return info;
}

Result<std::string, std::string> build_quiz_executable(std::string_view runner, QuizModel model,
                                                       const std::vector<std::string>& blobs) {
    using R = Result<std::string, std::string>;
    if (runner.size() < marker_offset + marker_size)
        return R::failure("the runner is too small to hold the quiz marker");
    for (std::size_t i = 0; i < marker_size; ++i)
        if (runner[marker_offset + i] != 0)
            return R::failure("bytes 192 to 198 of the runner are not free for the quiz marker");
    if (blobs.size() != model.media.size())
        return R::failure("one blob per media row is needed");

    constexpr auto limit = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t position = runner.size() + 4;
    for (std::size_t r = 0; r < blobs.size(); ++r) {
        auto& row = model.media[r];
        if (blobs[r].empty()) {
            row.blob_offset = 0;
            row.blob_size = 0;
            continue;
        }
        if (position + blobs[r].size() > limit) return R::failure("the quiz exceeds 4 GiB");
        row.blob_offset = static_cast<std::uint32_t>(position);
        row.blob_size = static_cast<std::uint32_t>(blobs[r].size());
        position += blobs[r].size();
    }

    auto stream = write_stream(model);
    if (!stream) return R::failure(stream.error());
    if (position + stream.value().size() > limit) return R::failure("the quiz exceeds 4 GiB");

    std::string out;
    out.reserve(position + stream.value().size());
    out.append(runner);
    const auto overlay = static_cast<std::uint32_t>(runner.size());
    std::memcpy(out.data() + marker_offset, marker_magic, 3);
    std::string overlay_bytes;
    put_u32(overlay_bytes, overlay);
    std::memcpy(out.data() + marker_offset + 3, overlay_bytes.data(), 4);

    put_u32(out, static_cast<std::uint32_t>(position));  // stream offset
    for (const auto& blob : blobs) out.append(blob);
    out.append(stream.value());
    return out;
}

std::string bare_runner(std::string_view quiz_executable, const ContainerInfo& info) {
    std::string runner(quiz_executable.substr(0, info.overlay_offset));
    if (runner.size() >= marker_offset + marker_size)
        std::memset(runner.data() + marker_offset, 0, marker_size);
    return runner;
}

}  // namespace kz
