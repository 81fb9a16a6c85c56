#include "questions/pot_pourri.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "common/text_helpers.h"
#include "media/rich_text.h"
#include "questions/open_answer.h"
#include "quiz/media_table.h"
#include "res/string_table.h"

namespace kz {

namespace {

constexpr int question_image_box = 100;

// The form in which an entry is sorted: each character unaccented, then in
// capitals, so that an answer beginning with an accented e stands among the
// e, and "Banane" between "abricot" and "cerise".
std::string collation_key(std::string_view text) {
    std::string key;
    key.reserve(text.size());
    for (const char ch : text) key += upper_1252(fold_accent(ch));
    return key;
}

}  // namespace

std::vector<std::string> candidate_list(const QuizModel& model, const PlainTexts& plain,
                                        const ExamSettings& settings, std::uint32_t theme) {
    struct Entry {
        std::string key;       // unaccented capitals
        std::string capitals;  // distinct for every entry: breaks ties between accented forms
        std::string text;
    };
    std::vector<Entry> entries;
    std::unordered_set<std::string> listed;
    const auto count = static_cast<std::uint32_t>(model.themes[theme].questions.size());
    for (std::uint32_t q = 0; q < count; ++q) {
        const std::string& answer = plain_answer_side(plain, settings, {theme, q});
        if (answer.empty() || is_media_reference(answer)) continue;
        std::string capitals = upper_1252(answer);
        if (!listed.insert(capitals).second) continue;
        entries.push_back({collation_key(answer), std::move(capitals), answer});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.key != b.key ? a.key < b.key : a.capitals < b.capitals;
    });
    std::vector<std::string> texts;
    texts.reserve(entries.size());
    for (Entry& entry : entries) texts.push_back(std::move(entry.text));
    return texts;
}

std::vector<const std::string*> candidate_sources(const QuizModel& model, const ExamSettings& settings,
                                                  QuestionRef current, const std::vector<std::string>& entries) {
    std::unordered_map<std::string, const std::string*> answers;  // plain text to the first answer giving it
    if (current.theme < model.themes.size()) {
        const auto count = static_cast<std::uint32_t>(model.themes[current.theme].questions.size());
        for (std::uint32_t q = 0; q < count; ++q) {
            const std::string& stored = answer_side(model, settings, {current.theme, q});
            answers.try_emplace(rich_to_plain(stored), &stored);
        }
    }
    std::vector<const std::string*> sources;
    sources.reserve(entries.size());
    for (const std::string& entry : entries) {
        const auto found = answers.find(entry);
        sources.push_back(found != answers.end() ? found->second : nullptr);
    }
    return sources;
}

std::optional<std::vector<std::string>> prepare_potpourri(ExamContext& exam) {
    const auto ref = exam.draw_question();
    if (!ref) return std::nullopt;
    std::vector<std::string> candidates = candidate_list(exam.model(), exam.plain(), exam.settings(), ref->theme);
    exam.view().show_candidates(candidates);
    exam.show_text_or_media(Place::question, question_side(exam.model(), exam.settings(), *ref), question_image_box,
                            true);
    exam.view().show_prompt(prompt_of(exam.model(), exam.settings(), ref->theme));
    return candidates;
}

bool PotPourri::build_pool(ExamContext& exam) { return build_open_pool(exam); }

bool PotPourri::prepare(ExamContext& exam) {
    auto candidates = prepare_potpourri(exam);
    if (!candidates) return false;
    candidates_ = std::move(*candidates);
    return true;
}

Verdict PotPourri::grade(ExamContext& exam) {
    const QuestionRef ref = exam.state().current;
    const std::string& expected = plain_answer_side(exam.plain(), exam.settings(), ref);
    // Only an entry of the list counts as a choice: the page offers no typing.
    std::optional<std::string> chosen = exam.view().selected_candidate();
    if (chosen && std::find(candidates_.begin(), candidates_.end(), *chosen) == candidates_.end()) chosen.reset();

    Verdict verdict;
    if (chosen) {
        std::string expected_work = expected;
        std::string chosen_work = *chosen;
        verdict.right = match_answer(expected_work, chosen_work, exam.match_options());
    }
    if (!verdict.right) {
        verdict.correction_message = str::answer_was;
        verdict.correction_answers[0] = answer_side(exam.model(), exam.settings(), ref);
    }

    QuestionRecord& entry = exam.record_entry();
    entry.expected[0] = exam.display_label(expected);
    entry.given[0] = chosen ? exam.display_label(*chosen) : std::string();
    return verdict;
}

}  // namespace kz
