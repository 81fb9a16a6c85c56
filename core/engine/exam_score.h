#pragma once
// The exam's score: the share of right answers among the graded ones, shown
// as marks out of 20 or as a percentage.
#include <cstdint>
#include <string>

namespace kz {

// right / (right + wrong) x 100 in double precision; 0 when nothing was graded.
double percent_right(std::uint32_t right, std::uint32_t wrong);

// The score shown during the exam: the truncated per cent followed by " %",
// or the truncation of the per cent x 0.2 (0.2 in single precision) followed
// by "/20".
std::string running_score_text(std::uint32_t right, std::uint32_t wrong, bool as_percentage);

// The score at the end of the exam: the per cent is first rounded to single
// precision; the recorded per cent is its truncation.
struct FinalScore {
    std::int32_t percent = 0;
    std::string text;
};
FinalScore final_score(std::uint32_t right, std::uint32_t wrong, bool as_percentage);

}  // namespace kz
