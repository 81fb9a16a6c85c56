#pragma once
// Quizzes for benchmarks: the largest quiz the format allows (50 themes of 500
// questions) with texts of the kind the authoring product's rich-edit control
// writes.
#include <cstdint>
#include <string>

#include "quiz/quiz_model.h"

namespace kz::bench {

// An RTF document as a rich-edit control writes it around a plain text.
std::string realistic_rtf(const std::string& plain, bool bold = false);

QuizModel largest_quiz(std::uint32_t seed = 1);

}  // namespace kz::bench
