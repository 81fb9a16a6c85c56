#include "questions/multiple_choice.h"

#include "common/text_helpers.h"
#include "res/string_table.h"

namespace kz {

namespace {

constexpr int choice_image_box = 70;
constexpr std::size_t minimum_choice_pool = 4;
constexpr std::array<Place, 3> box_places = {Place::box_1, Place::box_2, Place::box_3};

// The slots of the three proposals before they are shuffled into the boxes.
enum Slot : std::size_t { right_slot = 0, first_wrong_slot = 1, second_wrong_slot = 2 };

// A random order of the three slots, every order equally likely.
std::array<std::size_t, 3> shuffled_slots(RandomSource& random) {
    std::array<std::size_t, 3> slots{};
    slots[0] = random.below(3);
    std::array<std::size_t, 2> left{};
    for (std::size_t s = 0, n = 0; s < 3; ++s)
        if (s != slots[0]) left[n++] = s;
    const std::size_t second = random.below(2);
    slots[1] = left[second];
    slots[2] = left[1 - second];
    return slots;
}

}  // namespace

bool build_choice_pool(ExamContext& exam) {
    const QuizModel& model = exam.model();
    QuestionPool& pool = exam.state().pool;
    pool.clear();
    for (std::size_t t = 0; t < model.themes.size(); ++t) {
        if (!exam.theme_taken(t)) continue;
        for (std::size_t q = 0; q < model.themes[t].questions.size(); ++q) {
            if (exam.plain().is_empty(t, q, QuestionText::answer)) continue;
            if (exam.plain().is_empty(t, q, QuestionText::question)) continue;
            pool.add({static_cast<std::uint32_t>(t), static_cast<std::uint32_t>(q)});
        }
    }
    return pool.size() >= minimum_choice_pool;
}

std::optional<ChoiceBoxes> prepare_choice_question(ExamContext& exam) {
    exam.view().clear_answer();  // the three boxes unticked
    const auto current = exam.draw_question();
    if (!current) return std::nullopt;

    const QuizModel& model = exam.model();
    const ExamSettings& settings = exam.settings();
    const PlainTexts& plain = exam.plain();
    const QuestionEntry& entry = model.themes[current->theme].questions[current->question];
    const auto answer_key = [&](QuestionRef ref) { return upper_1252(plain_answer_side(plain, settings, ref)); };

    // The author's wrong answers belong to the question as written: asked
    // the other way round they would answer nothing.
    const bool normal = !settings.reverse_direction;
    const std::string& first_wrong = plain.of(current->theme, current->question, QuestionText::first_wrong);
    const std::string& second_wrong = plain.of(current->theme, current->question, QuestionText::second_wrong);
    const bool authors_first = normal && !first_wrong.empty();
    const bool authors_second = normal && !second_wrong.empty();

    // The first wrong proposal always comes from the theme, even when the
    // author wrote both wrong answers.
    const std::string right_key = answer_key(*current);
    const auto first = draw_other_answer(exam, [&](QuestionRef ref) {
        return ref.theme == current->theme && answer_key(ref) != right_key;
    });
    if (!first) return std::nullopt;

    // The second comes from the theme too, unlike the right answer and the
    // proposal of the first slot as it will be shown; it is not needed when
    // the author's second wrong answer takes its place.
    std::optional<QuestionRef> second;
    if (!authors_second) {
        const std::string first_key = authors_first ? upper_1252(first_wrong) : answer_key(*first);
        second = draw_other_answer(exam, [&](QuestionRef ref) {
            if (ref.theme != current->theme) return false;
            const std::string key = answer_key(ref);
            return key != right_key && key != first_key;
        });
        if (!second) return std::nullopt;
    }

    const std::array<std::optional<QuestionRef>, 3> records = {*current, first, second};
    const std::array<std::size_t, 3> slots = shuffled_slots(exam.random());
    ChoiceBoxes boxes;
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        ChoiceBox& box = boxes[k];
        const std::size_t slot = slots[k];
        if (slot == first_wrong_slot && authors_first) {
            box = {entry.first_wrong, first_wrong, {}, true};
        } else if (slot == second_wrong_slot && authors_second) {
            box = {entry.second_wrong, second_wrong, {}, true};
        } else {
            const QuestionRef ref = *records[slot];
            box = {answer_side(model, settings, ref), plain_answer_side(plain, settings, ref),
                   plain_question_side(plain, settings, ref), false};
        }
    }

    // A sound proposal waits for its play button; the question's plays at once.
    for (std::size_t k = 0; k < boxes.size(); ++k)
        exam.show_text_or_media(box_places[k], boxes[k].shown, choice_image_box, false);
    exam.show_text_or_media(Place::question, question_side(model, settings, *current), choice_image_box, true);
    exam.view().show_prompt(prompt_of(model, settings, current->theme));
    return boxes;
}

bool MultipleChoice::prepare(ExamContext& exam) {
    auto boxes = prepare_choice_question(exam);
    if (!boxes) return false;
    boxes_ = std::move(*boxes);
    return true;
}

Verdict MultipleChoice::grade(ExamContext& exam) {
    const std::array<bool, 3> ticked = exam.view().ticked_boxes();

    // A box is right when its proposal answers a question that says the same
    // as the one asked. The matcher normalises its arguments in place: the
    // question's working copy goes through the three comparisons, unticked
    // boxes first, and the record compares the texts as the matcher left them.
    std::string question = plain_question_side(exam.plain(), exam.settings(), exam.state().current);
    std::array<std::string, 3> origins;
    std::array<bool, 3> correct{};
    for (const bool ticked_pass : {false, true}) {
        for (std::size_t k = 0; k < boxes_.size(); ++k) {
            if (ticked[k] != ticked_pass || boxes_[k].authors_wrong_answer) continue;
            origins[k] = boxes_[k].origin_plain;
            correct[k] = match_answer(question, origins[k], exam.match_options());
        }
    }

    Verdict verdict;
    verdict.right = ticked == correct;
    if (!verdict.right) {
        verdict.correction_message = str::choose_answers;
        for (std::size_t k = 0; k < boxes_.size(); ++k)
            if (correct[k]) verdict.correction_answers[k] = boxes_[k].shown;
    }

    QuestionRecord& entry = exam.record_entry();
    const std::string question_key = upper_1252(question);
    for (std::size_t k = 0; k < boxes_.size(); ++k) {
        const std::string label = exam.display_label(boxes_[k].shown_plain);
        if (!boxes_[k].authors_wrong_answer && upper_1252(origins[k]) == question_key) entry.expected[k] = label;
        if (ticked[k]) entry.given[k] = label;
    }
    return verdict;
}

}  // namespace kz
