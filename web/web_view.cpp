#include "web_view.h"

#include <system_error>

#include "common/text_helpers.h"
#include "media/rich_text.h"
#include "modal_event.h"
#include "page_bridge.h"
#include "page_text.h"
#include "questions/hangman_logic.h"
#include "questions/pot_pourri.h"
#include "quiz/byte_source.h"
#include "quiz/media_table.h"

namespace kz::web {
namespace {

// The correction dialog's picture boxes, as the runner's.
constexpr int correction_answer_box = 90;
constexpr int correction_comment_box = 71;
constexpr int comment_row = 3;

const char* place_name(Place place) {
    switch (place) {
    case Place::question: return "question";
    case Place::box_1: return "box_1";
    case Place::box_2: return "box_2";
    case Place::box_3: return "box_3";
    case Place::statement: return "statement";
    }
    return "question";
}

const char* page_name(Page page) {
    switch (page) {
    case Page::multiple_choice: return "multiple_choice";
    case Page::true_false: return "true_false";
    case Page::pot_pourri: return "pot_pourri";
    case Page::hangman: return "hangman";
    case Page::scrambled_letters: return "scrambled_letters";
    default: return "open_answer";
    }
}

const char* icon_name(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::information: return "information";
    case MessageIcon::error: return "error";
    case MessageIcon::warning: break;
    }
    return "warning";
}

std::string html_of(std::string_view rich_text) { return rich_to_html(rich_text); }

// The bytes of a file that the engine has just extracted; nothing readable
// gives no bytes, and the page then shows or plays nothing.
std::string bytes_of(const std::filesystem::path& file) {
    if (file.empty()) return {};
    return read_whole_file(file).value_or(std::string());
}

std::string json_list(const std::vector<std::string>& texts) {
    std::string out = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i) out += ',';
        out += json_quoted(to_page(texts[i]));
    }
    return out + "]";
}

const char* json_bool(bool value) { return value ? "true" : "false"; }

}  // namespace

WebView::WebView(std::filesystem::path renderings) : renderings_(std::move(renderings)) {}

// ---------------------------------------------------------------- modal dialogs

void WebView::deliver_tick(int timer) {
    if (!engine_) return;
    if (timer == static_cast<int>(Timer::countdown)) {
        engine_->countdown_tick();
    } else if (timer == static_cast<int>(Timer::elapsed)) {
        engine_->elapsed_tick();
    }
}

template <typename Other>
int WebView::wait_for_close(Other other) {
    for (;;) {
        const int event = page::wait_modal_event();
        if (event == static_cast<int>(Timer::countdown) || event == static_cast<int>(Timer::elapsed)) {
            deliver_tick(event);
        } else if (event >= modal_event::ok && event <= modal_event::close_box) {
            return event;
        } else {
            other(event);
        }
    }
}

MessageAnswer WebView::show_message(const Message& message) {
    const bool yes_no = message.buttons == MessageButtons::yes_no;
    page::open_message(to_page(message.text), to_page(message.caption), icon_name(message.icon), yes_no);
    int closed = modal_event::close_box;
    for (;;) {
        closed = wait_for_close([](int) {});
        // A Yes/No box has no close button: only its two answers close it.
        if (!yes_no || closed == modal_event::yes || closed == modal_event::no) break;
    }
    page::close_modal();
    if (closed == modal_event::yes) return MessageAnswer::yes;
    if (closed == modal_event::no) return MessageAnswer::no;
    return MessageAnswer::ok;
}

void WebView::show_correction(const CorrectionRequest& request, std::string_view comment) {
    // The rows as the runner's dialog fills them: a picture, the play and
    // stop buttons of a sound, or a text that has characters.
    std::array<std::string, modal_event::rows> stored = {request.answers[0], request.answers[1], request.answers[2],
                                                         std::string(comment)};
    for (int row = 0; row < modal_event::rows; ++row) {
        const std::string& text = stored[static_cast<std::size_t>(row)];
        if (text.empty() || !engine_) continue;
        const int box = row == comment_row ? correction_comment_box : correction_answer_box;
        const ShownItem item = engine_->shown_item(text, box);
        switch (item.kind) {
        case ShownItem::Kind::image:
            page::add_correction_row(row, "image", "", bytes_of(item.image_file), item.box_width, item.box_height);
            break;
        case ShownItem::Kind::media:
            page::add_correction_row(row, "media", "", "", 0, 0);
            break;
        case ShownItem::Kind::text:
            if (!rich_to_plain(item.text).empty()) page::add_correction_row(row, "text", html_of(item.text), "", 0, 0);
            break;
        }
    }
    page::open_correction(to_page(request.message));
    const int closed = wait_for_close([&](int event) {
        if (!engine_) return;
        const int row = event % 100;
        if (row < 0 || row >= modal_event::rows) return;
        const std::string& text = stored[static_cast<std::size_t>(row)];
        if (event - row == modal_event::play_row) {
            engine_->play_media(text);
        } else if (event - row == modal_event::stop_row) {
            engine_->stop_media();
        } else if (event - row == modal_event::preview_row) {
            if (const auto file = engine_->image_file(text)) page::show_image_preview(bytes_of(*file));
        }
    });
    page::close_modal();
    // Closed by its close button, the dialog silences what it played;
    // "Continuer" lets it play on.
    if (closed == modal_event::close_box && engine_) engine_->stop_media();
}

// ---------------------------------------------------------------- pages

// A new page gives the keyboard to "Suivant >", as the runner's window does,
// unless the engine chooses another of its controls.
void WebView::show_welcome_page(std::string_view rich_text) {
    shown_.clear();
    page::show_welcome_page(html_of(rich_text));
    page::focus("next");
}

void WebView::show_home_page(const HomeForm& form) {
    shown_.clear();
    theme_count_ = form.theme_names.size();
    std::string json = "{";
    json += "\"types\":" + json_list(form.exam_type_texts);
    json += ",\"type\":" + std::to_string(form.selected_type_entry);
    json += ",\"name\":" + json_quoted(to_page(form.student_name));
    json += ",\"mayChangeName\":" + std::string(json_bool(form.may_change_name));
    json += ",\"count\":" + json_quoted(to_page(form.question_count_text));
    json += ",\"timeLimit\":" + json_quoted(to_page(form.time_limit_text));
    json += ",\"timeLimitOn\":" + std::string(json_bool(form.time_limit_on));
    json += ",\"randomOrder\":" + std::string(json_bool(form.random_order));
    json += ",\"invert\":" + std::string(json_bool(form.reverse_direction));
    json += ",\"training\":" + std::string(json_bool(form.training_mode));
    json += ",\"themes\":" + json_list(form.theme_names);
    json += ",\"mayChooseThemes\":" + std::string(json_bool(form.may_choose_themes));
    json += ",\"mayChangeCount\":" + std::string(json_bool(form.may_change_question_count));
    json += ",\"mayChooseOrder\":" + std::string(json_bool(form.may_choose_order));
    json += ",\"mayInvert\":" + std::string(json_bool(form.may_invert_direction));
    json += ",\"mayChangeTimeLimit\":" + std::string(json_bool(form.may_change_time_limit));
    json += ",\"mayChooseType\":" + std::string(json_bool(form.may_choose_exam_type));
    json += ",\"mayChooseTraining\":" + std::string(json_bool(form.may_choose_training_mode));
    json += ",\"moreOptions\":" + std::string(json_bool(form.show_more_options));
    json += "}";
    page::show_home_page(json);
    page::focus("name");
}

void WebView::home_field_changed(std::string_view field) {
    // Each rule sets Next by its own field alone; the latest change decides.
    if (field == "name") {
        page::allow_next(next_allowed_by_name(from_page(page::home_text("name"))));
    } else if (field == "count") {
        page::allow_next(next_allowed_by_count(from_page(page::home_text("count"))));
    } else if (field == "themes") {
        std::size_t ticked = 0;
        for (std::size_t t = 0; t < theme_count_; ++t)
            if (page::home_theme_ticked(static_cast<int>(t))) ++ticked;
        page::allow_next(next_allowed_by_themes(ticked));
    }
}

HomeChoices WebView::read_home_choices() {
    HomeChoices choices;
    choices.type_entry = page::home_type_entry();
    choices.question_count_text = from_page(page::home_text("count"));
    choices.student_name = from_page(page::home_text("name"));
    choices.time_limit_text = from_page(page::home_text("time_limit"));
    choices.time_limit_on = page::home_checked("time_limit_on");
    choices.random_order = page::home_checked("random_order");
    choices.reverse_direction = page::home_checked("invert");
    choices.training_mode = page::home_checked("training");
    for (std::size_t t = 0; t < theme_count_; ++t)
        choices.ticked_themes.push_back(page::home_theme_ticked(static_cast<int>(t)));
    return choices;
}

void WebView::show_question_page(Page page) {
    shown_.clear();
    candidates_.clear();
    page::show_question_page(page_name(page));
    page::focus("next");
}

void WebView::show_end_page(const EndPage& end) {
    shown_.clear();
    page::show_end_page(html_of(end.text), end.details_button, end.home_button, end.restart_button);
    page::focus("next");
}

// ---------------------------------------------------------------- the frame

void WebView::set_title(std::string_view title) { page::set_title(to_page(title)); }
void WebView::show_next(bool visible) { page::show_control("next", visible); }
void WebView::show_quit(bool visible) { page::show_control("quit", visible); }
void WebView::show_help_button(bool visible) { page::show_control("help", visible); }
void WebView::show_sound_icon(bool muted) { page::show_sound_icon(muted); }
void WebView::show_countdown(bool visible) { page::show_control("countdown", visible); }
void WebView::set_countdown_text(std::string_view text) { page::set_countdown_text(to_page(text)); }

void WebView::focus(Focus target) {
    switch (target) {
    case Focus::next_button: page::focus("next"); break;
    case Focus::answer_field: page::focus("answer"); break;
    case Focus::name_field: page::focus("name"); break;
    case Focus::details_button: page::focus("details"); break;
    case Focus::letter_box: page::focus("letter"); break;
    }
}

void WebView::set_palette_target(PaletteTarget target) {
    page::set_palette_target(target == PaletteTarget::letter_box ? "letter" : "answer");
}

void WebView::clear_palette_target() { page::set_palette_target(""); }
void WebView::start_timer(Timer timer) { page::start_timer(static_cast<int>(timer)); }
void WebView::stop_timer(Timer timer) { page::stop_timer(static_cast<int>(timer)); }

// ---------------------------------------------------------------- the question page

void WebView::show_prompt(std::string_view rich_text) { page::show_prompt(html_of(rich_text)); }

void WebView::show_item(Place place, const ShownItem& item) {
    switch (item.kind) {
    case ShownItem::Kind::text:
        shown_.erase(place);
        page::show_text(place_name(place), html_of(item.text));
        break;
    case ShownItem::Kind::image:
        shown_[place] = item.text;
        page::show_image(place_name(place), bytes_of(item.image_file), item.box_width, item.box_height);
        break;
    case ShownItem::Kind::media:
        shown_[place] = item.text;
        page::show_media_buttons(place_name(place));
        break;
    }
}

void WebView::play_place(Place place) {
    const auto found = shown_.find(place);
    if (found != shown_.end() && engine_) engine_->play_media(found->second);
}

void WebView::preview_place(Place place) {
    const auto found = shown_.find(place);
    if (found == shown_.end() || !engine_) return;
    if (const auto file = engine_->image_file(found->second)) page::show_image_preview(bytes_of(*file));
}

// Each entry goes to the page as the rich text of the answer it comes from,
// so that the list shows the characters Windows-1252 lacks; the selection
// comes back by its place in the list.
void WebView::show_candidates(const std::vector<std::string>& entries) {
    candidates_ = entries;
    std::vector<const std::string*> sources(entries.size());
    if (engine_ && model_)
        sources = candidate_sources(*model_, engine_->exam_settings(), engine_->exam_state().current, entries);
    std::string json = "[";
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (k) json += ',';
        json += json_quoted(rich_to_html(sources[k] ? std::string_view(*sources[k]) : entries[k]));
    }
    page::show_candidates(json + "]");
}

void WebView::show_masked_answer(std::string_view masked) { page::show_masked_answer(to_page(masked)); }

void WebView::show_tries_left(int tries_left, std::string_view text) {
    page::show_tries_left(tries_left, static_cast<int>(hangman_tries), to_page(text));
}

void WebView::show_letters_line(std::string_view letters) { page::show_letters_line(to_page(letters)); }
void WebView::clear_answer() { page::clear_answer(); }
void WebView::release_question_images() { page::release_images(); }

std::string WebView::typed_answer() { return from_page(page::typed_answer()); }

std::array<bool, 3> WebView::ticked_boxes() {
    const int ticks = page::ticked_boxes();
    return {(ticks & 1) != 0, (ticks & 2) != 0, (ticks & 4) != 0};
}

std::optional<std::string> WebView::selected_candidate() {
    const int selected = page::selected_candidate();
    if (selected < 0 || static_cast<std::size_t>(selected) >= candidates_.size()) return std::nullopt;
    return candidates_[static_cast<std::size_t>(selected)];
}

std::optional<TrueFalseChoice> WebView::true_false_choice() {
    switch (page::true_false_choice()) {
    case 0: return TrueFalseChoice::says_true;
    case 1: return TrueFalseChoice::says_false;
    default: return std::nullopt;
    }
}

// ---------------------------------------------------------------- sound and music

void WebView::play_sound(const std::filesystem::path& file) { page::play_sound(bytes_of(file), "audio/wav"); }
void WebView::stop_sound() { page::stop_sound(); }

void WebView::play_music(const std::filesystem::path& file) {
    // A browser does not play MIDI: the piece plays as it was rendered when
    // the page was made, or not at all when it could not be.
    const std::filesystem::path rendering = renderings_ / rendered_music_name(bytes_of(file));
    std::error_code missing;
    if (!std::filesystem::exists(rendering, missing)) return;
    page::play_music(bytes_of(rendering), "audio/mpeg");
}

void WebView::stop_music() { page::stop_music(); }

}  // namespace kz::web
