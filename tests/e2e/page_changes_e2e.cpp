// Page changes of the real runner under Wine leave nothing behind: the GDI
// objects that pages and the dialogs over them make (fonts, bitmaps, brushes)
// are all deleted again, however many exams the student takes.
#include <gtest/gtest.h>
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "harness/exam_window.h"
#include "harness/harness.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int rounds = 30;
constexpr int warm_up_rounds = 3;

// One exam from the home page: the options shown, a question with the About
// box and the help opened over it, a picture question, the end page, and back
// to the home page.
bool one_exam(RunningQuiz& run) {
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

    if (!answer_question(run.window, L"Italie")) return false;
    if (!wait_until([&] { return question_number(run.window) == 2; })) return false;
    if (!answer_question(run.window, L"Madrid")) return false;
    page = wait_page_with(run.window, ids::end_text);
    return page && press(page, ids::home);
}

TEST(PageChanges, LeaveTheGdiObjectCountWhereItWas) {
    const fs::path dir = scratch_dir("page-changes");
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.default_question_count = 2;
    quiz.media = {MediaEntry{"drapeau.bmp", "Drapeau", 0, 0, 0, 21}};
    quiz.themes[0].questions = {QuestionEntry{"$@%0 21", "Italie", "", "", ""},
                                QuestionEntry{"Espagne", "Madrid", "", "", ""}};
    quiz.themes.resize(1);
    const auto flag = file_bytes(source_dir() / "samples" / "demo" / "media" / "drapeau.bmp");
    ASSERT_TRUE(flag);
    RunningQuiz run = start_quiz(dir, quiz, {*flag});
    ASSERT_NE(run.window, nullptr);
    ASSERT_TRUE(press(run.window, ids::next));

    std::vector<int> counts;
    for (int round = 0; round < rounds; ++round) {
        ASSERT_TRUE(one_exam(run)) << "round " << round + 1;
        ASSERT_NE(wait_page_with(run.window, ids::home_themes), nullptr);
        Sleep(100);
        const auto count = gdi_object_count(*run.process);
        ASSERT_TRUE(count) << "the GDI objects cannot be counted";
        counts.push_back(*count);
    }
    std::string all;
    for (const int count : counts) all += std::to_string(count) + " ";
    std::cout << "GDI objects after each round: " << all << "\n";
    EXPECT_EQ(counts.back(), counts[warm_up_rounds - 1]) << all;
    EXPECT_TRUE(quit_runner(run));
}

}  // namespace
}  // namespace kz::e2e
