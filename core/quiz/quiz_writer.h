#pragma once
// Writes a QuizModel as a quiz-data stream, the exact inverse of the loader.
// Used by the packer and by tests that build quizzes.
#include <string>

#include "common/result.h"
#include "quiz/quiz_model.h"

namespace kz {

// The stream bytes, or a message naming the first text or count that the
// format cannot hold (a CR or NUL in a line, a line over 29999 bytes, more than
// 50 themes or 500 questions, a file name over 259 characters, a scrambled
// field that cannot be stored).
Result<std::string, std::string> write_stream(const QuizModel& model);

}  // namespace kz
