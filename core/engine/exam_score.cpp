#include "engine/exam_score.h"

namespace kz {

namespace {
constexpr float marks_per_percent = 0.2f;
}

double percent_right(std::uint32_t right, std::uint32_t wrong) {
    const double total = static_cast<double>(right) + static_cast<double>(wrong);
    if (total == 0) return 0;
    return static_cast<double>(right) / total * 100.0;
}

std::string running_score_text(std::uint32_t right, std::uint32_t wrong, bool as_percentage) {
    const double p = percent_right(right, wrong);
    if (as_percentage) return std::to_string(static_cast<long long>(p)) + " %";
    return std::to_string(static_cast<long long>(p * static_cast<double>(marks_per_percent))) + "/20";
}

FinalScore final_score(std::uint32_t right, std::uint32_t wrong, bool as_percentage) {
    const float p = static_cast<float>(percent_right(right, wrong));
    FinalScore score;
    score.percent = static_cast<std::int32_t>(p);
    if (as_percentage) {
        score.text = std::to_string(score.percent) + " %";
    } else {
        const float marks = p * marks_per_percent;
        score.text = std::to_string(static_cast<long long>(marks)) + "/20";
    }
    return score;
}

}  // namespace kz
