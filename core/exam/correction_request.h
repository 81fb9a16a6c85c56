#pragma once
// What the correction dialog of training mode shows after a wrong answer: a
// message line and up to three right answers, distinct, the empty ones last.
// Answers are rich texts or media references, kept whole (a rich text cut
// short would no longer be a rich text).
#include <array>
#include <string>

namespace kz {

struct CorrectionRequest {
    std::string message;
    std::array<std::string, 3> answers;
};

}  // namespace kz
