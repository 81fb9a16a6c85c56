#include "home_page.h"

#include <algorithm>

#include "exam/home_form.h"
#include "terminal_text.h"

namespace kz::term {

namespace {

std::string yes_no_text(bool value) { return value ? cp(u8"oui") : cp(u8"non"); }

std::string order_text(bool random) { return random ? cp(u8"aléatoirement") : cp(u8"dans l'ordre"); }

}  // namespace

bool HomePage::may_change_an_option() const {
    const HomeForm& form = context_.view.screen().home;
    return form.show_more_options &&
           (form.may_choose_themes || form.may_choose_exam_type || form.may_change_time_limit ||
            form.may_change_question_count || form.may_choose_order || form.may_invert_direction ||
            form.may_choose_training_mode);
}

void HomePage::start() {
    fields_ = {Field::name};
    if (may_change_an_option()) fields_.push_back(Field::more_options);
    current_ = 0;
    choices_listed_ = false;
}

// ---------------------------------------------------------------- values

std::string HomePage::value_of(Field field) const {
    const HomeChoices& choices = context_.view.home_choices();
    switch (field) {
    case Field::name: return choices.student_name;
    case Field::more_options: return cp(u8"n");
    case Field::themes: {
        if (std::all_of(choices.ticked_themes.begin(), choices.ticked_themes.end(), [](bool t) { return t; }))
            return cp(u8"tous");
        std::string numbers;
        for (std::size_t t = 0; t < choices.ticked_themes.size(); ++t) {
            if (!choices.ticked_themes[t]) continue;
            if (!numbers.empty()) numbers += ' ';
            numbers += std::to_string(t + 1);
        }
        return numbers;
    }
    case Field::exam_type: return std::to_string(choices.type_entry + 1);
    case Field::time_limit_on: return choices.time_limit_on ? cp(u8"o") : cp(u8"n");
    case Field::time_limit: return choices.time_limit_text;
    case Field::question_count: return choices.question_count_text;
    case Field::order: return choices.random_order ? "1" : "2";
    case Field::direction: return choices.reverse_direction ? cp(u8"o") : cp(u8"n");
    case Field::training_mode: return choices.training_mode ? cp(u8"o") : cp(u8"n");
    }
    return {};
}

// The page's line for a field: its label and its value.
std::string HomePage::summary_of(Field field) const {
    const HomeForm& form = context_.view.screen().home;
    const HomeChoices& choices = context_.view.home_choices();
    switch (field) {
    case Field::name: return cp(u8"Votre prénom ou pseudo : ") + choices.student_name;
    case Field::themes: {
        std::string names;
        for (std::size_t t = 0; t < form.theme_names.size(); ++t) {
            if (t >= choices.ticked_themes.size() || !choices.ticked_themes[t]) continue;
            if (!names.empty()) names += ", ";
            names += form.theme_names[t];
        }
        return cp(u8"Choisissez les thèmes : ") + (names.empty() ? cp(u8"aucun") : names);
    }
    case Field::exam_type: {
        const auto entry = static_cast<std::size_t>(choices.type_entry);
        const std::string text = entry < form.exam_type_texts.size() ? form.exam_type_texts[entry] : "";
        return cp(u8"Choisissez le type d'examen : ") + without_accelerator(text);
    }
    case Field::time_limit:
        return cp(u8"Temps limité (en secondes) : ") + yes_no_text(choices.time_limit_on) + " (" +
               choices.time_limit_text + ")";
    case Field::question_count: return cp(u8"Nombre de questions à poser : ") + choices.question_count_text;
    case Field::order: return cp(u8"Poser les questions : ") + order_text(choices.random_order);
    case Field::direction:
        return cp(u8"Inverser le sens des questions : ") + yes_no_text(choices.reverse_direction);
    case Field::training_mode:
        return cp(u8"Mode entraînement (afficher les solutions à la fin de chaque question) : ") +
               yes_no_text(choices.training_mode);
    case Field::more_options:
    case Field::time_limit_on: break;
    }
    return {};
}

// ---------------------------------------------------------------- the page

void HomePage::show() {
    Console& console = context_.console;
    const HomeForm& form = context_.view.screen().home;
    show_page_header(console, cp(u8"Page d'accueil"));
    console.line(summary_of(Field::name));
    if (may_change_an_option()) {
        if (form.may_choose_themes) console.line(summary_of(Field::themes));
        if (form.may_choose_exam_type) console.line(summary_of(Field::exam_type));
        if (form.may_change_time_limit) console.line(summary_of(Field::time_limit));
        if (form.may_change_question_count) console.line(summary_of(Field::question_count));
        if (form.may_choose_order) console.line(summary_of(Field::order));
        if (form.may_invert_direction) console.line(summary_of(Field::direction));
        if (form.may_choose_training_mode) console.line(summary_of(Field::training_mode));
    }
}

void HomePage::show_choices_of(Field field) {
    Console& console = context_.console;
    const HomeForm& form = context_.view.screen().home;
    const HomeChoices& choices = context_.view.home_choices();
    switch (field) {
    case Field::themes:
        console.line(cp(u8"Choisissez les thèmes :"));
        for (std::size_t t = 0; t < form.theme_names.size(); ++t) {
            const bool ticked = t < choices.ticked_themes.size() && choices.ticked_themes[t];
            console.line("  " + std::to_string(t + 1) + ". [" + (ticked ? "x" : " ") + "] " + form.theme_names[t]);
        }
        break;
    case Field::exam_type:
        console.line(cp(u8"Choisissez le type d'examen :"));
        for (std::size_t k = 0; k < form.exam_type_texts.size(); ++k)
            console.line("  " + std::to_string(k + 1) + ". " + without_accelerator(form.exam_type_texts[k]));
        break;
    case Field::order:
        console.line(cp(u8"Poser les questions :"));
        console.line("  1. " + order_text(true));
        console.line("  2. " + order_text(false));
        break;
    default: break;
    }
}

std::string HomePage::prompt_label() {
    const Field field = fields_[current_];
    if (!choices_listed_) {
        show_choices_of(field);
        choices_listed_ = true;
    }
    const std::string value = " [" + value_of(field) + "]";
    switch (field) {
    case Field::name: return cp(u8"Votre prénom ou pseudo") + value;
    case Field::more_options: return cp(u8"Plus d'options (o/n)") + value;
    case Field::themes: return cp(u8"Thèmes à cocher (numéros, ou « tous »)") + value;
    case Field::exam_type: return cp(u8"Type d'examen (numéro)") + value;
    case Field::time_limit_on: return cp(u8"Temps limité (o/n)") + value;
    case Field::time_limit: return cp(u8"Temps limité (en secondes)") + value;
    case Field::question_count: return cp(u8"Nombre de questions à poser") + value;
    case Field::order: return cp(u8"Poser les questions (1 ou 2)") + value;
    case Field::direction: return cp(u8"Inverser le sens des questions (o/n)") + value;
    case Field::training_mode:
        return cp(u8"Mode entraînement (afficher les solutions à la fin de chaque question) (o/n)") + value;
    }
    return {};
}

void HomePage::take(const std::string& answer) {
    Console& console = context_.console;
    const HomeForm& form = context_.view.screen().home;
    HomeChoices& choices = context_.view.home_choices();
    const Field field = fields_[current_];
    const std::string_view word = trimmed(answer);
    // An empty answer keeps the value shown.
    if (word.empty()) {
        go_on();
        return;
    }
    switch (field) {
    case Field::name:
        choices.student_name = answer;
        break;
    case Field::more_options: {
        const auto more = parse_yes_no(word);
        if (!more) {
            console.line(cp(u8"Répondez par o (oui) ou n (non)."));
            return;
        }
        if (*more) {
            if (form.may_choose_themes) fields_.push_back(Field::themes);
            if (form.may_choose_exam_type) fields_.push_back(Field::exam_type);
            if (form.may_change_time_limit) fields_.push_back(Field::time_limit_on);
            if (form.may_change_question_count) fields_.push_back(Field::question_count);
            if (form.may_choose_order) fields_.push_back(Field::order);
            if (form.may_invert_direction) fields_.push_back(Field::direction);
            if (form.may_choose_training_mode) fields_.push_back(Field::training_mode);
        }
        break;
    }
    case Field::themes: {
        const int count = static_cast<int>(form.theme_names.size());
        if (folded(word) == "tous") {
            choices.ticked_themes.assign(form.theme_names.size(), true);
            break;
        }
        const auto numbers = parse_number_list(word, count);
        // Without a ticked theme the window's Next button is disabled.
        if (!numbers || numbers->empty()) {
            console.line(cp(u8"Tapez les numéros des thèmes à cocher, de 1 à ") + std::to_string(count) +
                         cp(u8" (par exemple : 1 3), ou « tous »."));
            return;
        }
        choices.ticked_themes.assign(form.theme_names.size(), false);
        for (int n : *numbers) choices.ticked_themes[static_cast<std::size_t>(n - 1)] = true;
        break;
    }
    case Field::exam_type: {
        const int count = static_cast<int>(form.exam_type_texts.size());
        const auto number = parse_choice_number(word, count);
        if (!number) {
            console.line(cp(u8"Tapez le numéro d'un type d'examen, de 1 à ") + std::to_string(count) + ".");
            return;
        }
        choices.type_entry = *number - 1;
        break;
    }
    case Field::time_limit_on: {
        const auto on = parse_yes_no(word);
        if (!on) {
            console.line(cp(u8"Répondez par o (oui) ou n (non)."));
            return;
        }
        choices.time_limit_on = *on;
        break;
    }
    case Field::time_limit:
        choices.time_limit_text = answer;
        break;
    case Field::question_count:
        // Zero questions (or no number) disables the window's Next button.
        if (typed_number(answer) == 0) {
            console.line(cp(u8"Tapez un nombre de questions différent de 0."));
            return;
        }
        choices.question_count_text = answer;
        break;
    case Field::order: {
        const std::string key = folded(word);
        if (key == "1" || key == "aleatoirement") {
            choices.random_order = true;
        } else if (key == "2" || key == "dans l'ordre" || key == "ordre") {
            choices.random_order = false;
        } else {
            console.line(cp(u8"Tapez 1 (aléatoirement) ou 2 (dans l'ordre)."));
            return;
        }
        break;
    }
    case Field::direction:
    case Field::training_mode: {
        const auto yes = parse_yes_no(word);
        if (!yes) {
            console.line(cp(u8"Répondez par o (oui) ou n (non)."));
            return;
        }
        (field == Field::direction ? choices.reverse_direction : choices.training_mode) = *yes;
        break;
    }
    }
    go_on();
}

void HomePage::go_on() {
    // The seconds are asked only for a time limit that is on.
    if (fields_[current_] == Field::time_limit_on && context_.view.home_choices().time_limit_on &&
        (current_ + 1 >= fields_.size() || fields_[current_ + 1] != Field::time_limit))
        fields_.insert(fields_.begin() + static_cast<std::ptrdiff_t>(current_) + 1, Field::time_limit);
    current_ += 1;
    choices_listed_ = false;
    if (current_ < fields_.size()) return;
    press_next();
}

void HomePage::press_next() {
    const std::uint64_t before = context_.view.screen().generation;
    context_.engine.next();
    const Screen& screen = context_.view.screen();
    if (screen.kind == ScreenKind::home && screen.generation == before) {
        // Refused: the page stays as the student left it, from its first field.
        start();
        context_.view.screen().page_changed = true;
    }
}

}  // namespace kz::term
