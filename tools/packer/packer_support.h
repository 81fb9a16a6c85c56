#pragma once
// What the packer's commands share: paths given on the command line, files
// written whole or not at all, quizzes loaded as the runner loads them, and
// the words of their reports.
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "quiz/container.h"
#include "quiz/quiz_model.h"

namespace kz {

// A path given on the command line, in UTF-8, and back for messages.
std::filesystem::path path_from_argument(const std::string& utf8);
std::string shown(const std::filesystem::path& path);

// Sub-folders beside the quiz for media that are not embedded, by kind
// ("Images", "Sons", "Musiques"); nothing for another kind.
const char* external_folder(std::int32_t kind);
const char* kind_word(std::int32_t kind);  // "image", "sound", "music", "other"
std::string media_path(std::size_t row);   // "media[3]", the row's place in the source

// Writes beside the target first and then renames, so that a failure never
// leaves a half-written file under the target's name. The reason of a
// failure, or nothing.
std::optional<std::string> write_atomically(const std::filesystem::path& target, std::string_view bytes);

struct LoadedQuiz {
    std::string bytes;
    ContainerInfo info;
    QuizModel model;
};

// Reads and loads a quiz executable exactly as the runner does.
Result<LoadedQuiz, std::string> load_quiz_file(const std::filesystem::path& path);

// Whether the bytes look like what the row's kind says they are.
bool looks_like(std::int32_t kind, std::string_view bytes);

void print_warnings(const std::vector<std::string>& warnings, std::ostream& err);
std::size_t question_total(const QuizModel& model);

}  // namespace kz
