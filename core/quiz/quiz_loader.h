#pragma once
// Reads the whole quiz-data stream, in its fixed field order, into a QuizModel.
#include <string>

#include "common/result.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/quiz_model.h"

namespace kz {

// Why a quiz was refused. Every refusal is reported to the student the same
// way (the damaged-file message); the reason serves tests and tools.
enum class LoadError {
    unreadable_line,     // no CR within 30000 bytes, NUL before the CR, end of file
    truncated_number,    // fewer than four bytes left for a number
    bad_theme_count,     // T below -1 or above 49
    bad_question_count,  // count line below 0 or above 500
    bad_media_count,     // M below 0 or more rows than the file can hold
    name_too_long,       // media file name over 259 characters
    scrambled_too_long,  // scrambled field decoding to over 259 characters
};

const char* describe(LoadError error);

Result<QuizModel, LoadError> load_quiz(const ByteSource& file, const ContainerInfo& container);

// The decimal reading of a count line: leading blanks, an optional sign, then
// digits up to the first non-digit; no digits give 0. Saturates far outside
// the format's range instead of overflowing.
long long parse_count_line(std::string_view text);

}  // namespace kz
