#pragma once
// Turns a media id into a file that the image, sound and music players can
// open: embedded items are copied out of the runner's file into the temporary
// folder (one extracted file at a time), external items are found in the
// "Images", "Sons" and "Musiques" folders beside the runner.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "quiz/byte_source.h"
#include "quiz/quiz_model.h"

namespace kz {

inline constexpr std::size_t extraction_chunk = 300 * 1024;

class MediaExtractor {
public:
    using Opener = std::function<std::unique_ptr<ByteSource>()>;

    // `open_runner` opens the runner's own file anew for each extraction.
    MediaExtractor(const QuizModel& model, std::filesystem::path runner_directory,
                   std::filesystem::path temp_directory, Opener open_runner);
    // Opens the runner file by its path.
    MediaExtractor(const QuizModel& model, const std::filesystem::path& runner_path,
                   std::filesystem::path temp_directory);

    // The file of the item, valid until the next call; nothing when the id
    // names no item, the item's kind has no folder, or its file name would
    // leave its folder. With embedded media the previous extraction is deleted
    // first. Copy errors are not reported: the file is then short or missing.
    std::optional<std::filesystem::path> extract(std::int32_t id);

    // Deletes the last extracted file (embedded media only); called at exit.
    void delete_last();

    const std::filesystem::path& last_path() const { return last_path_; }

private:
    void copy_blob(const MediaEntry& row, const std::filesystem::path& target);

    const QuizModel& model_;
    std::filesystem::path runner_directory_;
    std::filesystem::path temp_directory_;
    Opener open_runner_;
    std::filesystem::path last_path_;
};

}  // namespace kz
