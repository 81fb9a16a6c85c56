// The question pages of the real runner under Wine, one test over the pages:
// a whole exam of the page's type answered through its controls, rightly and
// wrongly, with texts, pictures (their preview) and sounds (play and stop) in
// the questions and in the proposed answers; the score on the end page; and
// the results record, which must equal the terminal player's for the same
// draws and the same answers. Each page is photographed at every question.
// The keyboard is checked once, on the multiple-choice page.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness/exam_window.h"
#include "harness/harness.h"
#include "harness/question_pages.h"
#include "media/rich_text.h"
#include "common/cp1252.h"
#include "questions/pot_pourri.h"
#include "quiz/media_table.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t seed = 20261207;

bool contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// The runner, its draws fixed by the seed as the terminal player's are.
RunningQuiz start_seeded(const fs::path& dir, const PagesQuiz& made) {
    SetEnvironmentVariableW(L"KZ_RANDOM_SEED", std::to_wstring(seed).c_str());
    RunningQuiz run = start_quiz(dir, made.quiz, made.blobs);
    SetEnvironmentVariableW(L"KZ_RANDOM_SEED", nullptr);
    return run;
}

// What the place shows, when it is a picture or a sound, works: the preview
// shows the picture at its natural size, play plays this very item.
void check_media(const RunningQuiz& run, HWND page, const PlaceIds& place, const PagesQuiz& made,
                 const std::string& stored, const std::string& where) {
    const MediaEntry* item = media_of_reference(made.quiz, rich_to_plain(stored));
    if (!item) return;
    if (item->kind == media_image) {
        const auto natural = bitmap_size(made.blobs[static_cast<std::size_t>(item - made.quiz.media.data())]);
        ASSERT_TRUE(natural);
        EXPECT_EQ(preview_fault(run, page, place, *natural), "") << where << ": the preview of " << item->label;
    } else {
        EXPECT_TRUE(play_and_stop(page, place, fs::temp_directory_path() / item->file_name))
            << where << ": play did not play " << item->label;
    }
}

class QuestionPages : public testing::TestWithParam<const QuestionPageRow*> {};

TEST_P(QuestionPages, WholeExamIsShownGradedAndRecordedAsTheTerminalPlayerRecordsIt) {
    const QuestionPageRow& row = *GetParam();
    const fs::path dir = scratch_dir(std::string("pages-") + row.file_stem);
    const fs::path results = dir / "resultats.dat";
    PagesQuiz made = pages_quiz(results, row.file_stem);
    allow_only(made.quiz, row.exam_type);
    const QuizModel& quiz = made.quiz;
    RunningQuiz run = start_seeded(dir, made);
    ASSERT_NE(run.window, nullptr);

    // Every question of both themes that the type asks, in order; two of
    // every three answered rightly.
    std::string answers;
    int right = 0, asked = 0;
    const PlainTexts plain(quiz);
    for (std::uint32_t t = 0; t < quiz.themes.size(); ++t) {
        const Theme& theme = quiz.themes[t];
        for (const QuestionEntry& entry : theme.questions) {
            if (!row.asks(entry)) continue;
            const std::string where = "question " + std::to_string(asked + 1);
            ASSERT_TRUE(wait_until([&] { return question_number(run.window) == asked + 1; })) << where;
            HWND page = wait_page_with(run.window, row.page_control);
            ASSERT_NE(page, nullptr) << where << ": not the page of its type";
            EXPECT_EQ(shown_text(page, ids::prompt), look_of(quiz, made.blobs, theme.prompt, 0).text) << where;

            const Shown question = shown_in(page, row.question);
            EXPECT_TRUE(same_look(question, look_of(quiz, made.blobs, entry.question, row.picture_box)))
                << where << " shows " << describe(question);
            if (row.exam_type == 3) {
                // The theme's answers in the engine's order, which the list's
                // own sorting must not change; nothing chosen.
                std::vector<std::wstring> expected;
                for (const std::string& answer : candidate_list(quiz, plain, ExamSettings{}, t))
                    expected.push_back(wide_text(cp1252_to_utf8(answer).c_str()));
                EXPECT_EQ(listed_answers(page), expected) << where;
                EXPECT_EQ(combo_selection(page, ids::pot_pourri_answers), CB_ERR) << where;
            }
            check_media(run, page, row.question, made, entry.question, where);

            // Each proposed answer is an answer of the theme; the question's
            // own answer is right.
            std::vector<bool> right_places;
            for (const PlaceIds& place : row.answer_places) {
                const Shown shown = shown_in(page, place);
                const auto proposed = std::find_if(theme.questions.begin(), theme.questions.end(), [&](auto& other) {
                    return same_look(shown, look_of(quiz, made.blobs, other.answer, row.picture_box));
                });
                ASSERT_NE(proposed, theme.questions.end()) << where << ": a place shows " << describe(shown);
                right_places.push_back(&*proposed == &entry);
                check_media(run, page, place, made, proposed->answer, where);
            }
            const auto painted = [&](const Picture& picture) {
                return picture.shows(pages_colour, GetDlgItem(page, ids::prompt)) &&
                       exam_window_painted(run.window, pages_colour)(picture);
            };
            EXPECT_TRUE(screenshot_when(run.window, painted,
                                        artefacts_dir() / (std::string(row.file_stem) + "-question-" +
                                                           std::to_string(asked + 1) + ".bmp")))
                << where << ": the prompt is not on the page's colour";

            const bool rightly = asked % 3 != 1;
            const auto given = row.answer({page, entry, right_places}, rightly);
            ASSERT_TRUE(given) << where << ": could not be answered";
            answers += given->lines + "\n";
            right += given->right ? 1 : 0;
            ++asked;
            if (!given->moved_on) {
                ASSERT_TRUE(press(run.window, ids::next));
            }
        }
    }

    // The score as the runner computes it: per cent in single precision, /20 truncated.
    const float percent = static_cast<float>(100.0 * right / asked);
    const std::wstring score = L"Score : " + std::to_wstring(static_cast<int>(percent * 0.2f)) + L"/20";
    HWND end = wait_page_with(run.window, ids::end_text);
    ASSERT_NE(end, nullptr) << "no end page";
    const std::wstring end_text = shown_text(end, ids::end_text);
    EXPECT_TRUE(contains(end_text, wide_text("Réponses justes : ") + std::to_wstring(right))) << end_text;
    EXPECT_TRUE(contains(end_text, wide_text("Réponses fausses : ") + std::to_wstring(asked - right))) << end_text;
    EXPECT_TRUE(contains(end_text, score)) << end_text;
    EXPECT_TRUE(screenshot_when(run.window, exam_window_painted(run.window, pages_colour),
                                artefacts_dir() / (std::string(row.file_stem) + "-end.bmp")))
        << "the end page is not in the page's colour";
    EXPECT_TRUE(quit_runner(run));

    // The terminal player, the same draws and the same answers: the same record.
    const fs::path player_results = dir / "terminal.dat";
    EXPECT_EQ(play_in_terminal(run.file, player_results, seed, answers, dir / "terminal.txt"), 0);
    const auto runner_lines = file_lines(results);
    ASSERT_EQ(runner_lines.size(), 1u + 11u + 16u * static_cast<std::size_t>(asked));
    EXPECT_EQ(runner_lines[5], std::to_string(static_cast<int>(percent)));
    std::string differences;
    for (const std::string& difference : record_differences(runner_lines, file_lines(player_results)))
        differences += difference + "\n";
    EXPECT_EQ(differences, "") << "answers given:\n" << answers;
}

INSTANTIATE_TEST_SUITE_P(RealRunner, QuestionPages,
                         testing::Values(&multiple_choice_row(), &true_false_row(), &pot_pourri_row(), &hangman_row(),
                                         &scrambled_letters_row()),
                         [](const auto& info) { return std::string(info.param->name); });

// The keyboard on the multiple-choice page: Tab goes from box to box, Space
// ticks the box, Enter is "Suivant >".
TEST(MultipleChoicePage, TabMovesThroughTheBoxesSpaceTicksAndEnterIsNext) {
    const fs::path dir = scratch_dir("multiple-choice-keys");
    const fs::path results = dir / "resultats.dat";
    PagesQuiz made = pages_quiz(results, "multiple-choice-keys");
    allow_only(made.quiz, multiple_choice_row().exam_type);
    made.quiz.default_question_count = 1;
    RunningQuiz run = start_seeded(dir, made);
    ASSERT_NE(run.window, nullptr);
    HWND page = wait_page_with(run.window, ids::choice_ticks[1]);
    ASSERT_NE(page, nullptr);
    HWND next = GetDlgItem(run.window, ids::next);
    ASSERT_TRUE(wait_until([&] { return focused_control(run.window) == next; })) << "\"Suivant >\" has not the focus";

    // From "Suivant >", Tab reaches the first box, then the second, then the third.
    std::vector<HWND> visited;
    for (int presses = 0; presses < 8; ++presses) {
        HWND before = focused_control(run.window);
        press_key(before, VK_TAB);
        ASSERT_TRUE(wait_until([&] { return focused_control(run.window) != before; }, 3s)) << "Tab does nothing";
        visited.push_back(focused_control(run.window));
        if (visited.back() == GetDlgItem(page, ids::choice_ticks[2])) break;
    }
    const auto first = std::find(visited.begin(), visited.end(), GetDlgItem(page, ids::choice_ticks[0]));
    ASSERT_NE(first, visited.end()) << "Tab never reaches the first box";
    ASSERT_EQ(visited.end() - first, 3) << "Tab goes elsewhere between the boxes";
    EXPECT_EQ(first[1], GetDlgItem(page, ids::choice_ticks[1]));
    EXPECT_EQ(first[2], GetDlgItem(page, ids::choice_ticks[2]));

    // Space ticks the third box and Enter grades it.
    press_key(focused_control(run.window), VK_SPACE);
    EXPECT_TRUE(wait_until([&] { return button_checked(page, ids::choice_ticks[2]); }, 3s)) << "Space ticks nothing";
    EXPECT_FALSE(button_checked(page, ids::choice_ticks[0]));
    EXPECT_FALSE(button_checked(page, ids::choice_ticks[1]));
    const std::wstring third = shown_text(page, ids::choice_boxes[2].text);
    press_key(focused_control(run.window), VK_RETURN);
    ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr) << "Enter is not \"Suivant >\"";
    const auto lines = file_lines(results);
    ASSERT_EQ(lines.size(), 1u + 11u + 16u);
    // Given answers are the second of each pair: boxes 1 and 2 nothing, box 3 its text.
    EXPECT_EQ(lines[12 + 4], " ");
    EXPECT_EQ(lines[12 + 6], " ");
    EXPECT_EQ(lines[12 + 8], as_1252(third));
    EXPECT_TRUE(quit_runner(run));
}

}  // namespace
}  // namespace kz::e2e
