#pragma once
// The home page as the exam engine fills it (defaults, allowed controls) and
// as it reads it back when the student presses Next.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kz {

struct HomeForm {
    std::vector<std::string> exam_type_texts;  // the allowed types' list texts, in index order
    int selected_type_entry = 0;
    std::string student_name;                  // "Anonyme", or the name a platform gave
    bool may_change_name = true;               // false: the name comes from the platform
    std::string question_count_text;           // the quiz's default, as stored
    std::string time_limit_text;
    bool time_limit_on = false;
    bool random_order = true;
    bool reverse_direction = false;
    bool training_mode = false;
    std::vector<std::string> theme_names;      // every item starts ticked

    // What the quiz lets the student change.
    bool may_choose_themes = true;
    bool may_change_question_count = true;
    bool may_choose_order = true;
    bool may_invert_direction = true;
    bool may_change_time_limit = true;
    bool may_choose_exam_type = true;
    bool may_choose_training_mode = true;
    bool show_more_options = true;             // false: only the name can be changed
};

struct HomeChoices {
    int type_entry = 0;                 // entry of the exam-type list
    std::string question_count_text;
    std::string student_name;
    std::string time_limit_text;
    bool time_limit_on = false;
    bool random_order = true;
    bool reverse_direction = false;
    bool training_mode = false;
    std::vector<bool> ticked_themes;    // in theme order
};

// The integer value of a typed number: leading blanks, an optional sign, the
// digits up to the first other character; 0 without digits. Only the first
// 19 characters count, as in the home page's fields. Saturates at the limits
// of a 32-bit integer.
std::int32_t typed_number(std::string_view text);

// The home page's Next button, by the field the student changed last.
inline bool next_allowed_by_name(std::string_view name) { return !name.empty(); }
inline bool next_allowed_by_count(std::string_view count_text) { return typed_number(count_text) != 0; }
inline bool next_allowed_by_themes(std::size_t ticked) { return ticked > 0; }

}  // namespace kz
