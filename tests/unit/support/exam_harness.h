#pragma once
// A whole exam without a window: the quiz, the fake view and platform, media
// found beside a runner in a temporary folder, the results file in that
// folder, and the engine over them.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/exam_engine.h"
#include "quiz/media_extractor.h"
#include "support/fake_platform.h"
#include "support/fake_view.h"
#include "support/temp_folder.h"

namespace kz::test {

// Exam-type rules that a test scripts, to drive the engine's hooks the way
// the other exam types do (a choice read from the exam state, an automatic
// Next, a question that cannot be built). Questions come from the open pool.
struct ScriptedRules final : ExamTypeRules {
    Page page_shown = Page::true_false;
    std::function<bool(ExamContext&)> prepare_step;            // default: draw and show the question
    std::function<Verdict(ExamContext&)> grade_step;           // default: right
    std::function<void(ExamContext&, std::string_view)> letter_step;

    Page page() const override { return page_shown; }
    bool build_pool(ExamContext& exam) override;
    bool prepare(ExamContext& exam) override;
    Verdict grade(ExamContext& exam) override;
    void test_letter(ExamContext& exam, std::string_view typed) override;
};

class ExamHarness {
public:
    explicit ExamHarness(QuizModel quiz);
    // Every exam type is played by copies of `rules`.
    ExamHarness(QuizModel quiz, const ScriptedRules& rules);

    TempFolder folder;
    QuizModel model;
    FakeView view;
    FakePlatform fakes;
    MediaExtractor media;
    std::unique_ptr<ExamEngine> engine_owner;
    ExamEngine& engine;

    std::filesystem::path results_file() const { return folder / "kz.dat"; }
    std::filesystem::path runner_path() const { return folder / "quiz.exe"; }

    // Answers each question shown with `answer(question text)` and presses
    // Next, until the exam has ended.
    void answer_all(const std::function<std::string(const std::string&)>& answer);
    // Opens the window on the home page (the quiz must use one) and starts
    // the exam with its preset choices, in the direction asked.
    void start_from_home_page(bool reversed);
    // Types the answer and presses Next.
    void answer(const std::string& typed);

    // The lines of the results file without their CR LF.
    std::vector<std::string> results_lines() const;

private:
    ExamHarness(QuizModel quiz, ExamEngine::RulesFactory rules);
};

}  // namespace kz::test
