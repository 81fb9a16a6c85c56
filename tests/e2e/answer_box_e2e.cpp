// The answer box of the pages where the student types the answer (open
// answer, scrambled letters) under Wine: Tab leaves the box without getting
// into the answer, the box takes no more than the characters graded, and
// Enter grades the answer without a line break in it.
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>

#include "harness/exam_window.h"
#include "harness/harness.h"
#include "harness/question_pages.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::size_t graded_length = 1023;

struct AnswerBoxRow {
    const char* name;
    int exam_type;
    int page_control;  // a control that only this page has
};

const AnswerBoxRow answer_box_rows[] = {
    {"OpenAnswer", 0, ids::open_answer_page},
    {"ScrambledLetters", 5, ids::scrambled_letters},
};

void PrintTo(const AnswerBoxRow& row, std::ostream* out) { *out << row.name; }

class AnswerBox : public testing::TestWithParam<AnswerBoxRow> {};

TEST_P(AnswerBox, TabLeavesTheBoxTheBoxTakesTheGradedLengthAndEnterGradesOneLine) {
    const AnswerBoxRow& row = GetParam();
    const fs::path dir = scratch_dir(std::string("answer-box-") + row.name);
    const fs::path results = dir / "resultats.dat";
    QuizModel quiz = capitals_quiz(results);
    allow_only(quiz, row.exam_type);
    quiz.show_welcome_page = 0;
    quiz.use_home_page = 0;
    quiz.default_question_count = 1;
    RunningQuiz run = start_quiz(dir, quiz);
    ASSERT_NE(run.window, nullptr);
    HWND page = wait_page_with(run.window, row.page_control);
    ASSERT_NE(page, nullptr);
    HWND box = GetDlgItem(page, ids::answer);
    ASSERT_TRUE(wait_until([&] { return focused_control(run.window) == box; })) << "the answer box has not the focus";

    type_text(page, ids::answer, L"Paris");
    press_key(box, VK_TAB);
    EXPECT_TRUE(wait_until([&] { return focused_control(run.window) != box; }, 3s)) << "Tab stays in the box";
    EXPECT_EQ(shown_text(page, ids::answer), L"Paris");

    type_text(page, ids::answer, std::wstring(1100, L'a'));
    const std::wstring kept = L"Paris" + std::wstring(graded_length - 5, L'a');
    EXPECT_EQ(shown_text(page, ids::answer), kept);

    press_key(box, VK_RETURN);
    ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr) << "Enter is not \"Suivant >\"";
    const auto lines = file_lines(results);
    ASSERT_GE(lines.size(), 12u + 5u);
    EXPECT_EQ(lines[12 + 4], as_1252(kept));
    EXPECT_TRUE(quit_runner(run));
}

INSTANTIATE_TEST_SUITE_P(RealRunner, AnswerBox, testing::ValuesIn(answer_box_rows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kz::e2e
