#pragma once
// The packer's readable quiz source: a UTF-8 JSON document that names every
// author setting of the quiz-data stream by its descriptive name, lists the
// themes with their questions, and the media rows with the files that hold
// their bytes. Texts are converted to Windows-1252 here, at the edge.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "quiz/quiz_model.h"

namespace kz {

// A quiz as its source describes it: the model (blob offsets and sizes not
// laid out yet) and, for each media row, the file that holds its bytes.
struct QuizSource {
    QuizModel model;
    std::vector<std::optional<std::filesystem::path>> media_files;  // one per row
    std::vector<std::string> warnings;  // accepted, but the author should know
};

// Reads a quiz source. Relative media file paths are resolved against
// `source_folder`. The error names the JSON path of the first fault, for
// example `themes[1].questions[0].answer: unknown key`.
Result<QuizSource, std::string> parse_quiz_source(std::string_view json_utf8,
                                                  const std::filesystem::path& source_folder);

// The readable source of a quiz. `media_files` holds, for each media row, the
// UTF-8 path (relative to the source) of the file with its bytes, or nothing.
std::string write_quiz_source(const QuizModel& model,
                              const std::vector<std::optional<std::string>>& media_files);

// The text of a media reference as the authoring product writes it: "$@%0 12".
std::string media_reference_text(std::int32_t id);

// Things the runner accepts but that will not work as the author meant:
// references and decoration ids that name no media row, event sounds that are
// not wave sounds, unsafe or duplicate media rows, custom page texts that are
// switched off. Each names its place by the path it has in the source.
std::vector<std::string> quiz_warnings(const QuizModel& model);

// The media kind that a file name's extension suggests (.bmp, .wav, .mid).
std::optional<std::int32_t> kind_from_file_name(std::string_view file_name);

}  // namespace kz
