#include "pot_pourri_page.h"

#include <cstdint>
#include <unordered_map>

#include "media/rich_text.h"
#include "questions/exam_type_rules.h"
#include "terminal_text.h"

namespace kz::term {

// An entry of the list is the plain text of an answer of the question's
// theme (in the exam's direction), made from the first answer of the theme
// that has it: the entry is shown as that answer is, with the characters
// that Windows-1252 lacks. The plain entry is what the engine gets back and
// grades.
std::vector<ShownText> PotPourriPage::shown_entries() const {
    const auto& entries = screen().candidates;
    const QuizModel& model = context_.model;
    const ExamSettings& settings = context_.engine.exam_settings();
    const QuestionRef current = context_.engine.exam_state().current;
    std::unordered_map<std::string, const std::string*> answers;  // plain text to the answer as stored
    if (current.theme < model.themes.size()) {
        const auto count = static_cast<std::uint32_t>(model.themes[current.theme].questions.size());
        for (std::uint32_t q = 0; q < count; ++q) {
            const std::string& stored = answer_side(model, settings, {current.theme, q});
            answers.try_emplace(rich_to_plain(stored), &stored);
        }
    }
    std::vector<ShownText> shown;
    shown.reserve(entries.size());
    for (const std::string& entry : entries) {
        const auto found = answers.find(entry);
        shown.push_back(found != answers.end() ? shown_of(*found->second) : ShownText(entry));
    }
    return shown;
}

void PotPourriPage::show_answer_area() {
    console().line(cp(u8"Votre réponse :"));
    const std::vector<ShownText> entries = shown_entries();
    for (std::size_t k = 0; k < entries.size(); ++k)
        console().line(ShownText("  " + std::to_string(k + 1) + ". ") + entries[k]);
    console().line(cp(u8"(Tapez le numéro de votre réponse.)"));
}

void PotPourriPage::answer(const std::string& answer) {
    const auto& entries = screen().candidates;
    std::optional<std::string> selection;
    if (!trimmed(answer).empty()) {
        const auto number = parse_choice_number(answer, static_cast<int>(entries.size()));
        if (!number) {
            console().line(cp(u8"Tapez un numéro de la liste, de 1 à ") + std::to_string(entries.size()) +
                           cp(u8", ou rien pour ne pas choisir."));
            return;
        }
        selection = entries[static_cast<std::size_t>(*number - 1)];
    }
    context_.view.give_selection(std::move(selection));
    send_next();
}

}  // namespace kz::term
