#include "support/results_text.h"

#include "results/exam_record.h"

namespace kz::test {

std::string crlf_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::string format_and_header(const std::filesystem::path& runner, int type_code, int score, int last_entry) {
    return "1.3\r\n" + crlf_lines({"Anonyme", std::to_string(type_code), "G\xE9ographie", runner.string(),
                                    std::to_string(score), "05/12/2026 09:07", "0", "30", "0", "0",
                                    std::to_string(last_entry)});
}

std::string answer_pairs(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::string text;
    for (std::size_t k = 0; k < answer_slots; ++k) {
        const auto pair = k < pairs.size() ? pairs[k] : std::pair<std::string, std::string>{" ", " "};
        text += pair.first + "\r\n" + pair.second + "\r\n";
    }
    return text;
}

}  // namespace kz::test
