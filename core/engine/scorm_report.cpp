#include "engine/scorm_report.h"

#include <algorithm>
#include <cstdio>

#include "common/text_helpers.h"
#include "media/rich_text.h"
#include "questions/matcher.h"
#include "res/string_table.h"

namespace kz {
namespace {

// The standard's limits: identifiers and responses of at most 255 characters.
constexpr std::size_t identifier_limit = 255;
constexpr std::size_t response_limit = 255;
// Room left in an identifier for the hash that keeps two questions apart.
constexpr std::size_t hash_room = 9;

std::string trimmed_copy(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// Letters and digits without accents, every other run of characters one "_".
std::string identifier_part(std::string_view text) {
    std::string part;
    for (const char c : text) {
        for (const char folded : fold_accent(c)) {
            const bool kept = (folded >= 'a' && folded <= 'z') || (folded >= 'A' && folded <= 'Z') ||
                              (folded >= '0' && folded <= '9');
            if (kept) {
                part += folded;
            } else if (!part.empty() && part.back() != '_') {
                part += '_';
            }
        }
    }
    while (!part.empty() && part.back() == '_') part.pop_back();
    return part;
}

// An interaction's identifier: the theme's and the question's words, and a
// hash of both, so that the same question has the same identifier in every
// exam and two questions never share one.
std::string interaction_id(const std::string& theme, const std::string& question) {
    std::uint32_t hash = 2166136261u;
    for (const char c : theme + '\n' + question) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", hash);
    std::string words = identifier_part(theme) + "_" + identifier_part(question);
    if (words.size() > identifier_limit - hash_room) words.resize(identifier_limit - hash_room);
    return words + "_" + hex;
}

const char* interaction_type(ExamType type) {
    switch (type) {
    case ExamType::multiple_choice:
    case ExamType::pot_pourri: return "choice";
    case ExamType::true_false: return "true-false";
    default: return "fill-in";
    }
}

// The answers of a record's slots that were written, as one response.
std::string response_of(const std::array<std::string, answer_slots>& slots, ExamType type) {
    if (type == ExamType::true_false) {
        if (slots[0] == load_message(str::says_true)) return "t";
        if (slots[0] == load_message(str::says_false)) return "f";
        return {};
    }
    std::string response;
    for (const std::string& slot : slots) {
        if (slot == " " || slot.empty()) continue;
        if (!response.empty()) response += ", ";
        response += rich_to_plain(slot);
    }
    if (response.size() > response_limit) response.resize(response_limit);
    return response;
}

// The seconds since midnight of a record's "hh:mm:ss"; 0 for anything else.
int seconds_of_day(std::string_view time) {
    if (time.size() != 8 || time[2] != ':' || time[5] != ':') return 0;
    int seconds = 0;
    for (const std::size_t at : {0u, 3u, 6u}) {
        if (time[at] < '0' || time[at] > '9' || time[at + 1] < '0' || time[at + 1] > '9') return 0;
        seconds = seconds * 60 + (time[at] - '0') * 10 + (time[at + 1] - '0');
    }
    return seconds;
}

}  // namespace

std::string name_from_platform(std::string_view platform_name) {
    const std::size_t comma = platform_name.find(',');
    if (comma == std::string_view::npos) return trimmed_copy(platform_name);
    const std::string family = trimmed_copy(platform_name.substr(0, comma));
    const std::string given = trimmed_copy(platform_name.substr(comma + 1));
    if (given.empty()) return family;
    if (family.empty()) return given;
    return given + " " + family;
}

std::string scorm_timespan(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    const std::int64_t hours = std::min<std::int64_t>(seconds / 3600, 9999);
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(hours),
                  static_cast<long long>(seconds % 3600 / 60), static_cast<long long>(seconds % 60));
    return text;
}

std::vector<ScormValue> scorm_values(const ScormExam& exam) {
    const ExamRecord& record = exam.record;
    std::vector<ScormValue> values = {
        {"cmi.core.score.raw", std::to_string(record.score)},
        {"cmi.core.score.min", "0"},
        {"cmi.core.score.max", "100"},
        {"cmi.core.lesson_status",
         !exam.mastery_score ? "completed" : record.score >= *exam.mastery_score ? "passed" : "failed"},
        {"cmi.core.session_time", scorm_timespan(exam.session_seconds)},
    };
    for (std::size_t i = 0; i < record.entries.size(); ++i) {
        const QuestionRecord& entry = record.entries[i];
        const std::string prefix = "cmi.interactions." + std::to_string(exam.first_interaction + i) + ".";
        const int latency = (seconds_of_day(entry.end_time) - seconds_of_day(entry.start_time) + 86400) % 86400;
        values.push_back({prefix + "id", interaction_id(entry.theme_name, rich_to_plain(entry.question))});
        values.push_back({prefix + "type", interaction_type(exam.type)});
        values.push_back({prefix + "student_response", response_of(entry.given, exam.type)});
        values.push_back({prefix + "correct_responses.0.pattern", response_of(entry.expected, exam.type)});
        values.push_back({prefix + "result", entry.right ? "correct" : "wrong"});
        values.push_back({prefix + "time", entry.start_time});
        values.push_back({prefix + "latency", scorm_timespan(latency)});
    }
    return values;
}

}  // namespace kz
