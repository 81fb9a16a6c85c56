#include "exam/exam_settings.h"

#include "res/string_table.h"

namespace kz {

int results_type_code(ExamType type) {
    switch (type) {
    case ExamType::open_answer: return 1;
    case ExamType::multiple_choice: return 0;
    default: return static_cast<int>(type);
    }
}

int exam_type_list_string(ExamType type) {
    switch (type) {
    case ExamType::open_answer: return str::type_open_answer;
    case ExamType::multiple_choice: return str::type_multiple_choice;
    case ExamType::true_false: return str::type_true_false;
    case ExamType::pot_pourri: return str::type_pot_pourri;
    case ExamType::hangman: return str::type_hangman;
    case ExamType::scrambled_letters: return str::type_scrambled;
    }
    return 0;
}

}  // namespace kz
