#pragma once
// Resource strings by number, as Windows-1252 text. The Windows runner's
// resource script is built from the same source (strings.def).
#include <string>

namespace kz {

// The string, or an empty text for a number that the table does not hold.
std::string load_message(int id);
// Captions are ordinary strings; the name keeps the two roles apart in callers.
inline std::string load_caption(int id) { return load_message(id); }
bool has_string(int id);

// String numbers used by the code, by role.
namespace str {
inline constexpr int images_folder = 100;
inline constexpr int sounds_folder = 101;
inline constexpr int music_folder = 102;
inline constexpr int welcome_text = 103;
inline constexpr int confirm_quit = 104;
inline constexpr int quit_caption = 105;
inline constexpr int answer_was = 106;
inline constexpr int exam_caption = 107;
inline constexpr int choose_answers = 108;
inline constexpr int should_say_false = 109;
inline constexpr int should_say_true = 110;
inline constexpr int damaged_file = 111;
inline constexpr int product_caption = 112;
inline constexpr int anonymous = 116;
inline constexpr int type_multiple_choice = 117;
inline constexpr int type_open_answer = 118;
inline constexpr int type_true_false = 119;
inline constexpr int type_pot_pourri = 120;
inline constexpr int type_hangman = 121;
inline constexpr int type_scrambled = 122;
inline constexpr int question_word = 123;
inline constexpr int says_true = 124;
inline constexpr int says_false = 125;
inline constexpr int more_options = 126;
inline constexpr int fewer_options = 127;
inline constexpr int data_file_filter = 128;
inline constexpr int rich_edit_missing = 129;
inline constexpr int error_caption = 130;
inline constexpr int letter_missing = 131;
inline constexpr int one_letter_only = 132;
inline constexpr int letter_already_tried = 133;
inline constexpr int hangman_lost = 134;
inline constexpr int close_button = 135;
inline constexpr int rich_edit_too_old = 137;
inline constexpr int anonymous_refused = 138;
inline constexpr int data_file_unreachable = 139;
inline constexpr int palette_first_category = 500;
inline constexpr int not_enough_questions = 2008;
inline constexpr int data_file_too_old = 2012;
inline constexpr int data_file_too_new = 2013;
inline constexpr int results_manager_missing = 2014;
inline constexpr int second_word = 2015;
inline constexpr int time_up_text = 2016;
inline constexpr int time_up_message = 2017;
inline constexpr int mail_failed = 2018;
inline constexpr int cannot_show_quiz = 3875;
}  // namespace str

}  // namespace kz
