#pragma once
// The quiz as loaded from the quiz-data stream: header texts, the author's
// settings, the themes with their questions, and the media table. Read-only
// once loaded; every text is a Windows-1252 byte string held at its exact size.
#include <cstdint>
#include <string>
#include <vector>

namespace kz {

// Limits of the format.
inline constexpr int max_themes = 50;
inline constexpr int max_questions_per_theme = 500;
inline constexpr std::size_t max_line_length = 29999;
inline constexpr std::size_t max_name_length = 259;  // media file names, scrambled fields

struct QuestionEntry {
    std::string question;      // side A
    std::string answer;        // side B
    std::string first_wrong;   // author's wrong answers (multiple choice, normal direction)
    std::string second_wrong;
    std::string comment;       // shown by the correction dialog
};

struct Theme {
    std::string name;            // plain text
    std::string prompt;          // rich text, normal direction
    std::string reverse_prompt;  // rich text, inverted direction
    std::vector<QuestionEntry> questions;  // at most 500
};

enum MediaKind : std::int32_t { media_image = 0, media_sound = 1, media_music = 2 };

struct MediaEntry {
    std::string file_name;  // at most 259 characters, with its extension
    std::string label;
    std::int32_t kind = 0;  // MediaKind; other values may occur
    std::uint32_t blob_offset = 0;
    std::uint32_t blob_size = 0;
    std::int32_t id = 0;    // not the row number
};

struct QuizModel {
    std::string product_name;
    std::string product_version;
    std::string quiz_name;
    std::string author;
    std::string comment;

    // Exam types the quiz allows.
    std::int32_t allow_multiple_choice = 1;
    std::int32_t allow_open_answer = 1;
    std::int32_t allow_true_false = 1;
    std::int32_t allow_pot_pourri = 1;
    std::int32_t allow_hangman = 1;
    std::int32_t allow_scrambled_letters = 1;

    // What the student may change on the home page.
    std::int32_t may_choose_themes = 1;
    std::int32_t may_change_question_count = 1;
    std::int32_t may_choose_order = 1;
    std::int32_t quitting_locked = 0;
    std::int32_t show_more_options = 1;
    std::int32_t refuse_anonymous = 0;
    std::int32_t may_change_time_limit = 1;
    std::int32_t may_choose_exam_type = 1;

    // Window.
    std::int32_t show_logo = 0;
    std::int32_t hide_help = 0;
    std::int32_t use_home_page = 1;
    std::int32_t show_banner = 0;
    std::int32_t banner_media_id = 0;
    std::int32_t logo_media_id = 0;

    // Event sounds (media ids).
    std::int32_t welcome_sound_id = 0;
    std::int32_t right_sound_id = 0;
    std::int32_t wrong_sound_id = 0;
    std::int32_t end_sound_id = 0;
    std::int32_t time_up_sound_id = 0;

    // Defaults of the home page.
    std::int32_t may_invert_direction = 1;
    std::int32_t default_question_count = 10;
    std::int32_t default_inverted = 0;
    std::int32_t default_random_order = 1;
    std::int32_t default_training_mode = 0;
    std::int32_t default_time_limit_on = 0;
    std::int32_t default_time_limit = 30;
    std::int32_t may_choose_training_mode = 1;

    // Welcome, help and end pages.
    std::int32_t show_welcome_page = 1;
    std::int32_t custom_welcome_text = 0;
    std::string welcome_text;
    std::string help_text;
    std::int32_t show_end_page = 1;
    std::int32_t end_page_restart_button = 1;
    std::int32_t end_page_details_button = 1;
    std::int32_t end_page_home_button = 1;
    std::int32_t reserved = 0;  // read and not used
    std::int32_t score_as_percentage = 0;

    // Colours, 0x00BBGGRR.
    std::int32_t title_band_colour = 0x00FFFFFF;
    std::int32_t window_colour = 0x00F0F0F0;
    std::int32_t page_colour = 0x00FFFFFF;
    std::int32_t title_text_colour = 0x00000000;
    std::int32_t text_colour = 0x00000000;

    // Answer matching.
    std::int32_t ignore_case = 1;
    std::int32_t ignore_accents = 1;
    std::int32_t ignore_punctuation = 1;
    std::int32_t ignore_articles = 1;

    std::int32_t custom_end_text = 0;
    std::string end_text;

    // Results.
    std::int32_t results_storage_mode = 0;  // 0 registry, 1 author's path, 2 mail
    std::string results_file_path;          // stored scrambled
    std::string mail_recipient;             // stored scrambled
    std::string mail_profile;               // stored scrambled
    std::string mail_password;              // stored scrambled

    // Media.
    std::int32_t media_embedded = 1;
    std::int32_t look_up_low_ids = 0;

    std::vector<Theme> themes;       // at most 50
    std::vector<MediaEntry> media;   // row r (1-based) is media[r - 1]
};

}  // namespace kz
