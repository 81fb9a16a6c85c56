// Page changes of the real runner under Wine leave nothing behind: the GDI
// objects that pages and the dialogs over them make (fonts, bitmaps, brushes,
// the pictures of questions and proposed answers) are all deleted again,
// however many exams of any type the student takes.
#include <gtest/gtest.h>
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "harness/exam_window.h"
#include "harness/harness.h"
#include "harness/question_pages.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int rounds = 30;
// Wine makes a few objects of its own once and keeps them, at the first
// exams, sometimes as late as the fourth (the same number every run); a leak
// of one object per exam still adds twenty after the warm-up.
constexpr int warm_up_rounds = 10;

// One exam from the home page: the options shown, a question with the About
// box and the help opened over it, a picture question, the end page, and back
// to the home page. The answers are wrong: they need not be known.
bool one_exam(RunningQuiz& run, const QuestionPageRow& row, const Theme& theme) {
    HWND page = wait_page_with(run.window, ids::home_themes);
    if (!page || !press(page, ids::more_options)) return false;
    if (!wait_until([&] { return item_visible(page, ids::home_themes); })) return false;
    if (!press(run.window, ids::next)) return false;
    if (!wait_until([&] { return question_number(run.window) == 1; })) return false;

    if (!press(run.window, ids::about)) return false;
    HWND about = run.process->wait_window(L"#32770", 10s, L"\u00C0 propos du questionnaire");
    if (!about || !press(about, IDOK) || !wait_until([&] { return !IsWindow(about); })) return false;
    if (!press(run.window, ids::help)) return false;
    HWND help = run.process->wait_window(L"#32770", 10s, L"Aide");
    if (!help || !press(help, IDOK) || !wait_until([&] { return !IsWindow(help); })) return false;

    std::vector<const QuestionEntry*> asked;
    for (const QuestionEntry& entry : theme.questions)
        if (row.asks(entry)) asked.push_back(&entry);
    for (int question = 0; question < 2; ++question) {
        if (!wait_until([&] { return question_number(run.window) == question + 1; })) return false;
        page = wait_page_with(run.window, row.page_control);
        const std::vector<bool> none_right(row.answer_places.size(), false);
        if (!page) return false;
        const auto given = row.answer({page, *asked[static_cast<std::size_t>(question)], none_right}, false);
        if (!given || (!given->moved_on && !press(run.window, ids::next))) return false;
    }
    page = wait_page_with(run.window, ids::end_text);
    return page && press(page, ids::home);
}

class PageChanges : public testing::TestWithParam<const QuestionPageRow*> {};

// Exams of the page's type whose two questions show a picture or a sound: the
// map of France as a question, then the flag as an answer on the pages that
// propose answers, or the nursery rhyme as a question on the word games'.
TEST_P(PageChanges, LeaveTheGdiObjectCountWhereItWas) {
    const QuestionPageRow& row = *GetParam();
    const fs::path dir = scratch_dir(std::string("page-changes-") + row.file_stem);
    PagesQuiz made = pages_quiz(dir / "resultats.dat", std::string("page-changes-") + row.file_stem);
    made.quiz.use_home_page = 1;
    made.quiz.default_question_count = 2;
    made.quiz.themes.erase(made.quiz.themes.begin());  // the pictures and sounds only
    allow_only(made.quiz, row.exam_type);
    RunningQuiz run = start_quiz(dir, made.quiz, made.blobs);
    ASSERT_NE(run.window, nullptr);

    // Wine's cache of window device contexts grows now and then, when more
    // of them happen to be in use at once (three objects each: the context,
    // its region, its bitmap): those are left aside, and the cache must stay
    // small. Everything else must come back to its count.
    std::vector<int> counts, contexts;
    for (int round = 0; round < rounds; ++round) {
        ASSERT_TRUE(one_exam(run, row, made.quiz.themes[0])) << "round " << round + 1;
        ASSERT_NE(wait_page_with(run.window, ids::home_themes), nullptr);
        const auto count = settled_count([&] { return gdi_object_count(*run.process); });
        const auto cached = device_context_count(*run.process);
        ASSERT_TRUE(count && cached) << "the GDI objects cannot be counted";
        counts.push_back(*count - 3 * *cached);
        contexts.push_back(*cached);
    }
    std::string all;
    for (std::size_t round = 0; round < counts.size(); ++round)
        all += std::to_string(counts[round]) + "+" + std::to_string(contexts[round]) + " ";
    std::cout << "GDI objects other than device contexts + device contexts, after each round: " << all << "\n";
    EXPECT_EQ(counts.back(), counts[warm_up_rounds - 1]) << all;
    EXPECT_LT(contexts.back() - contexts[warm_up_rounds - 1], rounds / 4) << all;
    EXPECT_TRUE(quit_runner(run));
}

INSTANTIATE_TEST_SUITE_P(RealRunner, PageChanges,
                         testing::Values(&open_answer_row(), &multiple_choice_row(), &true_false_row(),
                                         &pot_pourri_row(), &hangman_row(), &scrambled_letters_row()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace kz::e2e
