#include "engine/exam_engine.h"

#include "common/paths.h"
#include "common/text_helpers.h"
#include "engine/exam_score.h"
#include "quiz/media_table.h"
#include "res/string_table.h"

namespace kz {

namespace {

// Clears a flag when the scope ends, however it ends.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

// "30 secondes", "1 seconde", "0 seconde".
std::string countdown_text(std::int32_t seconds) {
    return std::to_string(seconds) + " " + load_message(str::second_word) +
           (seconds == 0 || seconds == 1 ? "" : "s");
}

std::vector<ExamType> allowed_types(const QuizModel& model) {
    const std::int32_t allowed[exam_type_count] = {
        model.allow_open_answer, model.allow_multiple_choice, model.allow_true_false,
        model.allow_pot_pourri,  model.allow_hangman,         model.allow_scrambled_letters};
    std::vector<ExamType> types;
    for (int i = 0; i < exam_type_count; ++i)
        if (allowed[i] != 0) types.push_back(static_cast<ExamType>(i));
    return types;
}

}  // namespace

ExamEngine::ExamEngine(const QuizModel& model, MediaExtractor& media, ExamView& view, Platform& platform,
                       std::filesystem::path runner_path, RulesFactory rules, AppendPatience patience)
    : model_(model),
      media_(media),
      view_(view),
      platform_(platform),
      runner_path_(std::move(runner_path)),
      make_rules_(std::move(rules)),
      plain_(model),
      match_options_(MatchOptions::of(model)),
      recorder_(model, platform, view, patience) {
    settings_.selected_themes.assign(model_.themes.size(), true);
    state_.home_page = model_.use_home_page != 0;
}

// ---------------------------------------------------------------- stages

void ExamEngine::name_student(std::string_view name) { known_name_ = head_text(name, max_student_name); }

std::string ExamEngine::default_student_name() const {
    return known_name_ ? *known_name_ : load_message(str::anonymous);
}

void ExamEngine::open() {
    reset_exam_state();
    view_.show_sound_icon(state_.muted);
    view_.clear_palette_target();
    if (model_.quitting_locked != 0) view_.show_quit(false);
    if (model_.hide_help != 0) view_.show_help_button(false);

    if (model_.show_welcome_page != 0) {
        show_welcome_page();
    } else if (state_.home_page) {
        show_home_page();
        state_.welcome_passed = true;
    } else {
        state_.welcome_passed = true;
        next();
    }
}

void ExamEngine::reset_exam_state() {
    settings_.available_types = allowed_types(model_);
    const auto& types = settings_.available_types;
    settings_.exam_type = types.size() > 1 ? types[1] : types.empty() ? ExamType::open_answer : types[0];
    settings_.student_name = default_student_name();
    settings_.random_order = model_.default_random_order != 0;
    settings_.training_mode = model_.default_training_mode != 0;
    settings_.time_limit_on = model_.default_time_limit_on != 0;
    settings_.time_limit = model_.default_time_limit;
    // Compared unsigned: a negative default asks for as many as allowed.
    const auto count = static_cast<std::uint32_t>(model_.default_question_count);
    settings_.question_count = count > max_question_count ? max_question_count : count;
    settings_.default_direction = model_.default_inverted != 0;

    state_.finished = state_.running = state_.replay = state_.welcome_passed = state_.busy = false;
    state_.pool.clear();
    state_.asked = state_.right = state_.wrong = 0;
    next_visible_ = true;
    view_.show_next(true);
}

void ExamEngine::show_welcome_page() {
    const std::string text =
        model_.custom_welcome_text != 0 ? model_.welcome_text : load_message(str::welcome_text);
    view_.show_welcome_page(expand_template(text, template_values()));
    if (!state_.muted) play_event_sound(model_.welcome_sound_id);
}

void ExamEngine::show_home_page() {
    HomeForm form;
    for (ExamType type : settings_.available_types)
        form.exam_type_texts.push_back(load_message(exam_type_list_string(type)));
    form.selected_type_entry = settings_.available_types.size() > 1 ? 1 : 0;
    form.student_name = default_student_name();
    form.may_change_name = !known_name_;
    form.question_count_text = std::to_string(model_.default_question_count);
    form.time_limit_text = std::to_string(settings_.time_limit);
    form.time_limit_on = settings_.time_limit_on;
    form.random_order = settings_.random_order;
    form.reverse_direction = settings_.default_direction;
    form.training_mode = settings_.training_mode;
    for (const Theme& theme : model_.themes) form.theme_names.push_back(theme.name);
    form.may_choose_themes = model_.may_choose_themes != 0;
    form.may_change_question_count = model_.may_change_question_count != 0;
    form.may_choose_order = model_.may_choose_order != 0;
    form.may_invert_direction = model_.may_invert_direction != 0;
    form.may_change_time_limit = model_.may_change_time_limit != 0;
    form.may_choose_exam_type = model_.may_choose_exam_type != 0;
    form.may_choose_training_mode = model_.may_choose_training_mode != 0;
    form.show_more_options = model_.show_more_options != 0;
    view_.show_home_page(form);
}

// ---------------------------------------------------------------- Next

void ExamEngine::next() {
    // A Next that arrives while another is handled (the time limit running out
    // during a grading, a click let through by a message box) is dropped, so
    // no grading ever runs inside another.
    if (in_next_ || state_.busy) return;
    FlagScope handling(in_next_);

    view_.clear_palette_target();
    if (!next_visible_) return;
    if (!state_.welcome_passed) {
        state_.welcome_passed = true;
        if (state_.home_page) {
            show_home_page();
            return;
        }
    }
    if (state_.running) {
        grade_answer();
    } else {
        start_exam();
    }
}

bool ExamEngine::read_home_choices() {
    const HomeChoices choices = view_.read_home_choices();
    const auto& types = settings_.available_types;
    if (choices.type_entry >= 0 && static_cast<std::size_t>(choices.type_entry) < types.size())
        settings_.exam_type = types[static_cast<std::size_t>(choices.type_entry)];
    // Compared unsigned: a negative number asks for as many as allowed.
    const auto count = static_cast<std::uint32_t>(typed_number(choices.question_count_text));
    settings_.question_count = count > max_question_count ? max_question_count : count;
    settings_.student_name =
        known_name_ ? *known_name_ : head_text(choices.student_name, max_student_name);

    if (model_.refuse_anonymous != 0 &&
        upper_1252(settings_.student_name) == upper_1252(load_message(str::anonymous))) {
        view_.show_message(message_of(str::anonymous_refused, str::product_caption, MessageIcon::warning));
        view_.focus(Focus::name_field);
        return false;
    }

    settings_.time_limit = typed_number(choices.time_limit_text);
    settings_.time_limit_on = choices.time_limit_on;
    settings_.random_order = choices.random_order;
    settings_.reverse_direction = choices.reverse_direction;
    settings_.training_mode = choices.training_mode;
    for (std::size_t t = 0; t < settings_.selected_themes.size(); ++t)
        settings_.selected_themes[t] = t < choices.ticked_themes.size() && choices.ticked_themes[t];
    return true;
}

void ExamEngine::start_exam() {
    if (!state_.replay && state_.home_page && !read_home_choices()) return;

    auto rules = make_rules_(settings_.exam_type);
    // An exam type that this build cannot run does not start.
    if (!rules) return;
    rules_ = std::move(rules);
    state_.asked = state_.right = state_.wrong = 0;
    if (!rules_->build_pool(*this)) {
        view_.show_message(message_of(str::not_enough_questions, str::exam_caption, MessageIcon::warning));
        return;
    }

    const std::uint32_t pool_size = static_cast<std::uint32_t>(state_.pool.size());
    if (settings_.question_count > pool_size) settings_.question_count = pool_size;
    if (settings_.question_count == 0) settings_.question_count = 1;

    // The record's header is written before the first question is built, so
    // that an exam ended by its first question still records who took it.
    const LocalTime now = platform_.clock.now();
    record_.begin(clock_time_text(now));
    record_.student_name = settings_.student_name;
    record_.type_code = results_type_code(settings_.exam_type);
    record_.quiz_name = model_.quiz_name;
    record_.runner_path = path_to_cp1252(runner_path_);
    record_.random_order = settings_.random_order;
    record_.inverted = settings_.reverse_direction;
    record_.time_limit_on = settings_.time_limit_on;
    record_.time_limit = settings_.time_limit;
    record_.start_date = date_time_text(now);

    state_.score_text = running_score_text(0, 0, model_.score_as_percentage != 0);
    state_.elapsed_seconds = 0;
    state_.running = true;
    view_.show_question_page(rules_->page());
    set_question_title();
    view_.focus(Focus::next_button);
    if (!prepare_question()) {
        end_exam();
        return;
    }

    elapsed_running_ = true;
    view_.start_timer(Timer::elapsed);
    // A time limit below one second would end every question as soon as it
    // is shown: such an exam runs without a time limit (the record keeps the
    // limit as chosen).
    countdown_used_ = settings_.time_limit_on && settings_.time_limit >= 1;
    if (countdown_used_) {
        view_.set_countdown_text(countdown_text(settings_.time_limit));
        view_.show_countdown(true);
        start_countdown();
    }
}

bool ExamEngine::prepare_question() {
    FlagScope preparing(state_.busy);
    return rules_->prepare(*this);
}

void ExamEngine::grade_answer() {
    view_.stop_sound();
    view_.stop_music();
    stop_countdown();
    view_.release_question_images();
    record_.blank_answers();

    state_.asked += 1;
    const Verdict verdict = rules_->grade(*this);
    record_.open_entry.right = verdict.right ? 1 : 0;
    const bool sounds = settings_.training_mode && !state_.muted;
    if (verdict.right) {
        state_.right += 1;
        if (sounds) play_event_sound(model_.right_sound_id);
    } else {
        state_.wrong += 1;
        if (sounds) play_event_sound(model_.wrong_sound_id);
        show_correction(verdict.correction_message, verdict.correction_answers);
    }
    close_question_entry();

    if (!state_.pool.remaining.empty() && state_.asked < settings_.question_count) {
        view_.clear_answer();
        if (!prepare_question()) end_exam();
    } else {
        end_exam();
    }
    if (state_.finished) return;

    state_.score_text = running_score_text(state_.right, state_.wrong, model_.score_as_percentage != 0);
    set_question_title();
    if (countdown_used_) {
        state_.question_seconds = 0;
        view_.set_countdown_text(countdown_text(settings_.time_limit));
        start_countdown();
    }
}

void ExamEngine::show_correction(int message_id, std::array<std::string, 3> answers) {
    if (!settings_.training_mode) return;
    const std::array<std::string, 3> plain = {rich_to_plain(answers[0]), rich_to_plain(answers[1]),
                                              rich_to_plain(answers[2])};
    // An answer without text (formatting only) counts as no answer; the same
    // answer is shown once; the empty rows come last.
    for (std::size_t k = 0; k < answers.size(); ++k)
        if (plain[k].empty()) answers[k].clear();
    if (plain[1] == plain[0]) answers[1].clear();
    if (plain[2] == plain[0] || plain[2] == plain[1]) answers[2].clear();
    auto empty = [](const std::string& text) { return text.empty(); };
    auto move_into = [](std::string& to, std::string& from) {
        to = std::move(from);
        from.clear();
    };
    if (empty(answers[0])) move_into(answers[0], answers[1]);
    if (empty(answers[0])) move_into(answers[0], answers[2]);
    if (empty(answers[1])) move_into(answers[1], answers[2]);

    const QuestionEntry& entry = model_.themes[state_.current.theme].questions[state_.current.question];
    view_.show_correction(CorrectionRequest{load_message(message_id), std::move(answers)}, entry.comment);
}

void ExamEngine::close_question_entry() {
    const QuestionRef ref = state_.current;
    record_.close_question_entry(clock_time_text(platform_.clock.now()), model_.themes[ref.theme].name,
                                 display_label(prompt_of(model_, settings_, ref.theme)),
                                 display_label(question_side(model_, settings_, ref)));
}

void ExamEngine::end_exam() {
    if (state_.finished) return;
    elapsed_running_ = false;
    view_.stop_timer(Timer::elapsed);
    stop_countdown();
    view_.show_countdown(false);
    if (!state_.muted) play_event_sound(model_.end_sound_id);
    state_.finished = true;

    const bool as_percentage = model_.score_as_percentage != 0;
    const FinalScore score = final_score(state_.right, state_.wrong, as_percentage);
    record_.end_time = clock_time_text(platform_.clock.now());
    record_.score = score.percent;
    last_results_file_ = recorder_.record_results(record_);

    state_.score_text = score.text;
    next_visible_ = false;
    if (model_.show_end_page != 0) {
        const std::string_view text =
            model_.custom_end_text != 0 ? std::string_view(model_.end_text) : built_in_end_text;
        view_.show_end_page(EndPage{expand_template(text, template_values()),
                                    model_.end_page_details_button != 0, model_.end_page_home_button != 0,
                                    model_.end_page_restart_button != 0});
        view_.set_title(load_message(str::exam_caption));
        view_.show_next(false);
        view_.show_quit(true);
        view_.focus(Focus::details_button);
    } else {
        view_.show_next(false);
    }
}

// ---------------------------------------------------------------- timers

void ExamEngine::start_countdown() {
    countdown_running_ = true;
    view_.start_timer(Timer::countdown);
}

void ExamEngine::stop_countdown() {
    if (!countdown_running_) return;
    countdown_running_ = false;
    view_.stop_timer(Timer::countdown);
}

void ExamEngine::countdown_tick() {
    if (!countdown_running_) return;
    state_.question_seconds += 1;
    view_.set_countdown_text(countdown_text(settings_.time_limit - state_.question_seconds));
    if (state_.question_seconds < settings_.time_limit) return;

    stop_countdown();
    state_.question_seconds = 0;
    view_.set_countdown_text(load_message(str::time_up_text));
    if (!state_.muted) play_event_sound(model_.time_up_sound_id);
    if (settings_.training_mode) {
        // While the student reads the message, a Next of theirs is dropped:
        // the time limit presses it once the message is closed.
        FlagScope telling(in_next_);
        view_.show_message(message_of(str::time_up_message, str::exam_caption, MessageIcon::information));
    }
    FlagScope pressing(state_.time_up);
    next();
}

void ExamEngine::elapsed_tick() {
    if (elapsed_running_) state_.elapsed_seconds += 1;
}

// ---------------------------------------------------------------- end page

void ExamEngine::restart() {
    if (!state_.finished) return;
    if (model_.quitting_locked != 0) view_.show_quit(false);
    state_.asked = state_.right = state_.wrong = 0;
    state_.pool.clear();
    state_.finished = false;
    state_.replay = true;
    state_.running = false;
    next_visible_ = true;
    view_.show_next(true);
    state_.welcome_passed = true;
    next();
}

void ExamEngine::go_home() {
    if (!state_.finished) return;
    if (model_.quitting_locked != 0) view_.show_quit(false);
    state_.home_page = true;
    reset_exam_state();
    state_.welcome_passed = true;
    show_home_page();
}

void ExamEngine::show_results_details() {
    launch_results_manager(platform_, view_, runner_path_.parent_path());
}

void ExamEngine::toggle_mute() {
    state_.muted = !state_.muted;
    view_.show_sound_icon(state_.muted);
}

bool ExamEngine::confirm_quit() {
    if (model_.quitting_locked != 0 && !state_.finished) return false;
    if (state_.finished) return true;
    return view_.show_message(message_of(str::confirm_quit, str::quit_caption, MessageIcon::information,
                                         MessageButtons::yes_no)) == MessageAnswer::yes;
}

// ---------------------------------------------------------------- pages

void ExamEngine::test_letter(std::string_view typed) {
    if (!state_.running || state_.finished || state_.busy || in_next_ || !rules_) return;
    rules_->test_letter(*this, typed);
}

void ExamEngine::play_media(std::string_view stored) {
    view_.stop_sound();
    view_.stop_music();
    const std::string plain = rich_to_plain(stored);
    const MediaEntry* item = media_of_reference(model_, plain);
    if (!item || (item->kind != media_sound && item->kind != media_music)) return;
    const auto file = media_.extract(item->id);
    if (!file) return;
    if (item->kind == media_sound) {
        view_.play_sound(*file);
    } else {
        view_.play_music(*file);
    }
}

void ExamEngine::stop_media() {
    view_.stop_sound();
    view_.stop_music();
}

std::optional<std::filesystem::path> ExamEngine::image_file(std::string_view stored) {
    const MediaEntry* item = media_of_reference(model_, rich_to_plain(stored));
    if (!item || item->kind != media_image) return std::nullopt;
    return media_.extract(item->id);
}

std::string ExamEngine::help_text() const { return expand_template(model_.help_text, template_values()); }

// ---------------------------------------------------------------- lent to the exam types

bool ExamEngine::theme_taken(std::size_t theme) const {
    if (!state_.home_page) return true;
    return theme < settings_.selected_themes.size() && settings_.selected_themes[theme];
}

std::optional<QuestionRef> ExamEngine::draw_question() {
    auto& remaining = state_.pool.remaining;
    if (remaining.empty()) return std::nullopt;
    const std::uint32_t size = static_cast<std::uint32_t>(remaining.size());
    const std::size_t k = state_.asked;
    std::uint32_t position = 0;
    if (state_.replay && k < state_.draw_log.size() && state_.draw_log[k] < size) {
        position = state_.draw_log[k];
    } else {
        position = settings_.random_order && size > 1 ? platform_.random.below(size) : 0;
        if (state_.draw_log.size() <= k) state_.draw_log.resize(k + 1);
        state_.draw_log[k] = position;
    }
    state_.current = remaining[position];
    remaining.erase(remaining.begin() + position);
    return state_.current;
}

ShownItem ExamEngine::shown_item(std::string_view stored, int box_size) {
    const std::string plain = rich_to_plain(stored);
    if (!is_media_reference(plain)) return ShownItem{ShownItem::Kind::text, std::string(stored), {}, 0, 0};
    const MediaEntry* item = media_of_reference(model_, plain);
    if (item && item->kind == media_image) {
        ShownItem shown{ShownItem::Kind::image, std::string(stored), {}, box_size, box_size};
        shown.image_file = media_.extract(item->id).value_or(std::filesystem::path());
        return shown;
    }
    if (item && (item->kind == media_sound || item->kind == media_music))
        return ShownItem{ShownItem::Kind::media, std::string(stored), {}, 0, 0};
    // A media item that the quiz lacks, or of a kind that cannot be shown:
    // the place is emptied rather than left showing the previous question.
    return ShownItem{ShownItem::Kind::text, std::string(), {}, 0, 0};
}

void ExamEngine::show_text_or_media(Place place, std::string_view stored, int box_size, bool play_at_once) {
    const ShownItem shown = shown_item(stored, box_size);
    view_.show_item(place, shown);
    if (shown.kind == ShownItem::Kind::media && play_at_once) play_media(stored);
}

std::string ExamEngine::display_label(std::string_view text) const { return kz::display_label(model_, text); }

// ---------------------------------------------------------------- helpers

void ExamEngine::set_question_title() {
    view_.set_title(load_message(str::exam_caption) + " - " + load_message(str::question_word) + " n\xB0" +
                    std::to_string(state_.asked + 1) + "/" + std::to_string(settings_.question_count));
}

void ExamEngine::play_event_sound(std::int32_t media_id) {
    const auto file = media_.extract(media_id);
    if (file) {
        view_.play_sound(*file);
    } else {
        view_.stop_sound();
    }
}

TemplateValues ExamEngine::template_values() const {
    TemplateValues values;
    values.quiz_name = model_.quiz_name;
    values.exam_type = settings_.exam_type;
    values.student_name = settings_.student_name;
    values.right = state_.right;
    values.wrong = state_.wrong;
    values.asked = state_.asked;
    values.time_limit = settings_.time_limit_on ? settings_.time_limit : 0;
    values.elapsed_seconds = state_.elapsed_seconds;
    values.score_text = state_.score_text;
    return values;
}

}  // namespace kz
