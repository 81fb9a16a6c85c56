#include "quiz/media_extractor.h"

#include <cstdio>
#include <system_error>
#include <vector>

#include "common/paths.h"
#include "quiz/media_table.h"

namespace kz {

MediaExtractor::MediaExtractor(const QuizModel& model, std::filesystem::path runner_directory,
                               std::filesystem::path temp_directory, Opener open_runner)
    : model_(model),
      runner_directory_(std::move(runner_directory)),
      temp_directory_(std::move(temp_directory)),
      open_runner_(std::move(open_runner)) {}

MediaExtractor::MediaExtractor(const QuizModel& model, const std::filesystem::path& runner_path,
                               std::filesystem::path temp_directory)
    : MediaExtractor(model, runner_path.parent_path(), std::move(temp_directory),
                     [runner_path]() -> std::unique_ptr<ByteSource> {
                         return FileSource::open(runner_path);
                     }) {}

std::optional<std::filesystem::path> MediaExtractor::extract(std::int32_t id) {
    const MediaEntry* row = media_of_id(model_, id);
    if (!row || !is_safe_media_name(row->file_name)) return std::nullopt;
    const std::filesystem::path name = path_from_cp1252(row->file_name);

    if (model_.media_embedded != 0) {
        delete_last();
        last_path_ = temp_directory_ / name;
        copy_blob(*row, last_path_);
        return last_path_;
    }

    const char* folder = row->kind == media_image   ? "Images"
                         : row->kind == media_sound ? "Sons"
                         : row->kind == media_music ? "Musiques"
                                                    : nullptr;
    if (!folder) return std::nullopt;
    last_path_ = runner_directory_ / folder / name;
    return last_path_;
}

void MediaExtractor::copy_blob(const MediaEntry& row, const std::filesystem::path& target) {
    std::FILE* out = open_file(target, "wb");
    if (!out) return;
    if (auto runner = open_runner_ ? open_runner_() : nullptr) {
        std::vector<char> chunk(std::min<std::size_t>(extraction_chunk, row.blob_size));
        std::uint64_t offset = row.blob_offset;
        std::uint64_t left = row.blob_size;
        while (left > 0) {
            const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
            const std::size_t got = runner->read_at(offset, chunk.data(), want);
            if (got == 0 || std::fwrite(chunk.data(), 1, got, out) != got) break;
            offset += got;
            left -= got;
        }
    }
    std::fclose(out);
}

void MediaExtractor::delete_last() {
    if (model_.media_embedded == 0 || last_path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove(last_path_, ignored);
}

}  // namespace kz
