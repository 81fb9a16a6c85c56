#include "quiz/stream_fields.h"

#include <array>

namespace kz {
namespace {

constexpr StreamField line(const char* name, std::string QuizModel::*m) {
    return {FieldKind::line, name, m, nullptr};
}
constexpr StreamField number(const char* name, std::int32_t QuizModel::*m) {
    return {FieldKind::number, name, nullptr, m};
}
constexpr StreamField scrambled(const char* name, std::string QuizModel::*m) {
    return {FieldKind::scrambled, name, m, nullptr};
}

using Q = QuizModel;

constexpr std::array fields = {
    line("product_name", &Q::product_name),
    line("product_version", &Q::product_version),
    StreamField{FieldKind::theme_count, "theme_count_minus_one"},
    StreamField{FieldKind::media_count, "media_count"},
    line("quiz_name", &Q::quiz_name),
    line("author", &Q::author),
    line("comment", &Q::comment),
    number("allow_multiple_choice", &Q::allow_multiple_choice),
    number("allow_open_answer", &Q::allow_open_answer),
    number("allow_true_false", &Q::allow_true_false),
    number("allow_pot_pourri", &Q::allow_pot_pourri),
    number("allow_hangman", &Q::allow_hangman),
    number("allow_scrambled_letters", &Q::allow_scrambled_letters),
    number("may_choose_themes", &Q::may_choose_themes),
    number("may_change_question_count", &Q::may_change_question_count),
    number("may_choose_order", &Q::may_choose_order),
    number("quitting_locked", &Q::quitting_locked),
    number("show_more_options", &Q::show_more_options),
    number("refuse_anonymous", &Q::refuse_anonymous),
    number("may_change_time_limit", &Q::may_change_time_limit),
    number("may_choose_exam_type", &Q::may_choose_exam_type),
    number("show_logo", &Q::show_logo),
    number("hide_help", &Q::hide_help),
    number("use_home_page", &Q::use_home_page),
    number("show_banner", &Q::show_banner),
    number("banner_media_id", &Q::banner_media_id),
    number("logo_media_id", &Q::logo_media_id),
    number("welcome_sound_id", &Q::welcome_sound_id),
    number("right_sound_id", &Q::right_sound_id),
    number("wrong_sound_id", &Q::wrong_sound_id),
    number("end_sound_id", &Q::end_sound_id),
    number("time_up_sound_id", &Q::time_up_sound_id),
    number("may_invert_direction", &Q::may_invert_direction),
    number("default_question_count", &Q::default_question_count),
    number("default_inverted", &Q::default_inverted),
    number("default_random_order", &Q::default_random_order),
    number("default_training_mode", &Q::default_training_mode),
    number("default_time_limit_on", &Q::default_time_limit_on),
    number("default_time_limit", &Q::default_time_limit),
    number("may_choose_training_mode", &Q::may_choose_training_mode),
    number("show_welcome_page", &Q::show_welcome_page),
    number("custom_welcome_text", &Q::custom_welcome_text),
    line("welcome_text", &Q::welcome_text),
    line("help_text", &Q::help_text),
    number("show_end_page", &Q::show_end_page),
    number("end_page_restart_button", &Q::end_page_restart_button),
    number("end_page_details_button", &Q::end_page_details_button),
    number("end_page_home_button", &Q::end_page_home_button),
    number("reserved", &Q::reserved),
    number("score_as_percentage", &Q::score_as_percentage),
    number("title_band_colour", &Q::title_band_colour),
    number("window_colour", &Q::window_colour),
    number("page_colour", &Q::page_colour),
    number("title_text_colour", &Q::title_text_colour),
    number("text_colour", &Q::text_colour),
    number("ignore_case", &Q::ignore_case),
    number("ignore_accents", &Q::ignore_accents),
    number("ignore_punctuation", &Q::ignore_punctuation),
    number("ignore_articles", &Q::ignore_articles),
    number("custom_end_text", &Q::custom_end_text),
    line("end_text", &Q::end_text),
    number("results_storage_mode", &Q::results_storage_mode),
    scrambled("results_file_path", &Q::results_file_path),
    scrambled("mail_recipient", &Q::mail_recipient),
    scrambled("mail_profile", &Q::mail_profile),
    scrambled("mail_password", &Q::mail_password),
    number("media_embedded", &Q::media_embedded),
    number("look_up_low_ids", &Q::look_up_low_ids),
};
static_assert(fields.size() == 68, "the stream header has 68 fields");

}  // namespace

std::span<const StreamField> stream_fields() { return fields; }

}  // namespace kz
