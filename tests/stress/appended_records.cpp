#include "stress/appended_records.h"

#include <set>
#include <utility>

#include "results/results_file.h"

namespace kz::stress {

std::string stress_record(int runner, int number) {
    ExamRecord record;
    record.begin("10:00:00");
    record.student_name = "Runner " + std::to_string(runner) + " " + std::to_string(number);
    record.close_question_entry("10:00:01", "Theme", "{\\rtf1 " + std::string(6000, 'p') + "}", "Question");
    return format_record(record);
}

RecordCount count_whole_records(std::string_view file) {
    RecordCount count;
    if (!file.starts_with(results_format_line)) {
        count.fault = "no format line";
        return count;
    }
    std::set<std::pair<int, int>> seen;
    std::size_t at = results_format_line.size();
    while (at < file.size()) {
        const std::size_t name_end = file.find("\r\n", at);
        const std::string_view name = file.substr(at, name_end == std::string_view::npos ? 0 : name_end - at);
        int runner = -1;
        int number = -1;
        if (name.starts_with("Runner ")) {
            const std::string fields(name.substr(7));
            const std::size_t space = fields.find(' ');
            if (space != std::string::npos) {
                runner = std::atoi(fields.c_str());
                number = std::atoi(fields.c_str() + space + 1);
            }
        }
        const std::string expected = runner < 0 ? std::string() : stress_record(runner, number);
        if (expected.empty() || file.compare(at, expected.size(), expected) != 0) {
            count.fault = "the record at byte " + std::to_string(at) + " is not whole";
            return count;
        }
        if (!seen.insert({runner, number}).second) {
            count.fault = "record " + std::string(name) + " is written twice";
            return count;
        }
        ++count.whole;
        at += expected.size();
    }
    return count;
}

}  // namespace kz::stress
