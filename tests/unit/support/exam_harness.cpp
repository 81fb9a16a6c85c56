#include "support/exam_harness.h"

#include <stdexcept>

#include "questions/open_answer.h"

namespace kz::test {

namespace {

QuizModel placed_in(QuizModel quiz, const TempFolder& folder) {
    quiz.results_file_path = (folder / "kz.dat").string();
    return quiz;
}

AppendPatience quick_patience() {
    AppendPatience patience;
    patience.wait = std::chrono::milliseconds(200);
    return patience;
}

}  // namespace

bool ScriptedRules::build_pool(ExamContext& exam) { return build_open_pool(exam); }

bool ScriptedRules::prepare(ExamContext& exam) {
    if (prepare_step) return prepare_step(exam);
    const auto ref = exam.draw_question();
    if (!ref) return false;
    exam.show_text_or_media(Place::question, question_side(exam.model(), exam.settings(), *ref), 80, true);
    return true;
}

Verdict ScriptedRules::grade(ExamContext& exam) {
    if (grade_step) return grade_step(exam);
    return Verdict{true, 0, {}};
}

void ScriptedRules::test_letter(ExamContext& exam, std::string_view typed) {
    if (letter_step) letter_step(exam, typed);
}

ExamHarness::ExamHarness(QuizModel quiz) : ExamHarness(std::move(quiz), make_exam_type_rules) {}

ExamHarness::ExamHarness(QuizModel quiz, const ScriptedRules& rules)
    : ExamHarness(std::move(quiz), [rules](ExamType) { return std::make_unique<ScriptedRules>(rules); }) {}

ExamHarness::ExamHarness(QuizModel quiz, ExamEngine::RulesFactory rules)
    : model(placed_in(std::move(quiz), folder)),
      media(model, folder.path(), folder / "tmp", nullptr),
      engine_owner(std::make_unique<ExamEngine>(model, media, view, fakes.platform, runner_path(),
                                                std::move(rules), quick_patience())),
      engine(*engine_owner) {
    fakes.folders.temporary = folder.path();
}

void ExamHarness::start_from_home_page(bool reversed) {
    engine.open();
    if (view.page != Page::home) throw std::logic_error("the quiz has no home page");
    view.home_choices.reverse_direction = reversed;
    engine.next();
}

void ExamHarness::answer(const std::string& typed) {
    view.typed = typed;
    engine.next();
}

void ExamHarness::answer_all(const std::function<std::string(const std::string&)>& answer_of) {
    for (int guard = 0; !engine.exam_state().finished; ++guard) {
        if (guard > 1000 || !view.next_visible) throw std::logic_error("the exam does not end");
        answer(answer_of(view.items[Place::question].text));
    }
}

std::vector<std::string> ExamHarness::results_lines() const {
    const std::string bytes = file_bytes(results_file());
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

}  // namespace kz::test
