#pragma once
// The student's choices for one exam: what the home page sets, or the quiz's
// defaults when the quiz has no home page.
#include <cstdint>
#include <string>
#include <vector>

namespace kz {

// The exam types, by their index in the home page's list and everywhere else.
enum class ExamType : int {
    open_answer = 0,
    multiple_choice = 1,
    true_false = 2,
    pot_pourri = 3,
    hangman = 4,
    scrambled_letters = 5,
};
inline constexpr int exam_type_count = 6;

// The code of the exam type in the results file: open answer and multiple
// choice are swapped against the index.
int results_type_code(ExamType type);

// String number of the exam type's text in the home page's list.
int exam_type_list_string(ExamType type);

struct ExamSettings {
    std::vector<ExamType> available_types;  // allowed by the quiz, in index order
    ExamType exam_type = ExamType::open_answer;
    std::string student_name;               // at most 29 characters
    std::uint32_t question_count = 0;       // at most 400; lowered to the pool size at start
    bool time_limit_on = false;
    std::int32_t time_limit = 0;            // seconds per question, as given
    bool random_order = true;
    bool reverse_direction = false;         // ask the answer side, expect the question side
    bool default_direction = false;         // the quiz's preset for the home page's check box
    bool training_mode = false;
    std::vector<bool> selected_themes;      // one flag per theme, from the home page
};

inline constexpr std::size_t max_student_name = 29;
inline constexpr std::uint32_t max_question_count = 400;

}  // namespace kz
