#include "support/fake_view.h"

namespace kz::test {

MessageAnswer FakeView::show_message(const Message& message) {
    messages.push_back(message);
    events.push_back("message " + message.text);
    if (on_message) on_message(message);
    if (!message_answers.empty()) {
        const MessageAnswer answer = message_answers.front();
        message_answers.pop_front();
        return answer;
    }
    return message.buttons == MessageButtons::yes_no ? MessageAnswer::no : MessageAnswer::ok;
}

void FakeView::show_welcome_page(std::string_view rich_text) {
    page = Page::welcome;
    welcome_text = rich_text;
    events.push_back("page welcome");
}

void FakeView::show_home_page(const HomeForm& form) {
    page = Page::home;
    home_form = form;
    home_choices = HomeChoices{form.selected_type_entry,
                               form.question_count_text,
                               form.student_name,
                               form.time_limit_text,
                               form.time_limit_on,
                               form.random_order,
                               form.reverse_direction,
                               form.training_mode,
                               std::vector<bool>(form.theme_names.size(), true)};
    events.push_back("page home");
}

void FakeView::show_question_page(Page p) {
    page = p;
    items.clear();
    typed.clear();
    ticks = {};
    selection.reset();
    choice.reset();
    constexpr const char* names[] = {"welcome",  "home",       "open answer", "multiple choice", "true/false",
                                     "pot-pourri", "hangman", "scrambled letters", "end"};
    events.push_back(std::string("page ") + names[static_cast<int>(p)]);
}

void FakeView::show_end_page(const EndPage& p) {
    page = Page::end;
    end_page = p;
    events.push_back("page end");
}

void FakeView::set_title(std::string_view t) {
    title = t;
    events.push_back("title " + title);
}

void FakeView::show_next(bool visible) { next_visible = visible; }
void FakeView::show_quit(bool visible) { quit_visible = visible; }
void FakeView::show_help_button(bool visible) { help_visible = visible; }
void FakeView::show_sound_icon(bool muted) { muted_icon = muted; }
void FakeView::show_countdown(bool visible) { countdown_visible = visible; }

void FakeView::set_countdown_text(std::string_view text) {
    countdown_text = text;
    countdown_texts.emplace_back(text);
}

void FakeView::focus(Focus target) { focused = target; }
void FakeView::set_palette_target(PaletteTarget target) { palette_target = target; }
void FakeView::clear_palette_target() { palette_target.reset(); }

void FakeView::start_timer(Timer timer) {
    running_timers.insert(timer);
    events.push_back("start timer " + std::to_string(static_cast<int>(timer)));
}

void FakeView::stop_timer(Timer timer) {
    running_timers.erase(timer);
    events.push_back("stop timer " + std::to_string(static_cast<int>(timer)));
}

void FakeView::show_prompt(std::string_view rich_text) { prompt = rich_text; }

void FakeView::show_item(Place place, const ShownItem& item) {
    items[place] = item;
    if (place == Place::question) {
        questions_shown.push_back(item.text);
        events.push_back("question " + item.text);
    }
    if (on_show_item) on_show_item(place, item);
}

void FakeView::show_candidates(const std::vector<std::string>& entries) {
    candidates = entries;
    selection.reset();
}

void FakeView::show_masked_answer(std::string_view masked) {
    masked_answer = masked;
    events.push_back("masked " + masked_answer);
}
void FakeView::show_tries_left(int tries, std::string_view text) {
    tries_left = tries;
    tries_left_text = text;
    events.push_back("tries " + tries_left_text);
}
void FakeView::show_letters_line(std::string_view letters) { letters_line = letters; }

void FakeView::clear_answer() {
    typed.clear();
    ticks = {};
    selection.reset();
    choice.reset();
}

void FakeView::release_question_images() { ++images_released; }

std::string FakeView::typed_answer() {
    if (on_typed_answer_read) on_typed_answer_read();
    events.push_back("read answer " + typed);
    return typed;
}

std::array<bool, 3> FakeView::ticked_boxes() { return ticks; }
std::optional<std::string> FakeView::selected_candidate() { return selection; }

std::optional<TrueFalseChoice> FakeView::true_false_choice() {
    events.push_back("read choice");
    return choice;
}
HomeChoices FakeView::read_home_choices() { return home_choices; }

void FakeView::show_correction(const CorrectionRequest& request, std::string_view comment) {
    corrections.push_back({request, std::string(comment)});
    events.push_back("correction " + request.message);
    if (on_correction) on_correction(corrections.back());
}

void FakeView::play_sound(const std::filesystem::path& file) {
    sounds_played.push_back(file);
    events.push_back("play sound " + file.filename().string());
}

void FakeView::stop_sound() {}

void FakeView::play_music(const std::filesystem::path& file) {
    music_played.push_back(file);
    events.push_back("play music " + file.filename().string());
}

void FakeView::stop_music() {}

}  // namespace kz::test
