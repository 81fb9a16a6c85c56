// The special-characters palette of the real runner under Wine: opened from
// the palette icon over an open-answer page and over the hangman page, its
// categories, insertions into the answer box and the letter test, a time
// limit running out while it is open, and the GDI objects it leaves.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <iostream>
#include <string>
#include <vector>

#include "harness/exam_window.h"
#include "harness/harness.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

namespace palette_ids {
inline constexpr int category = 1012, characters = 777, insert = IDOK, close = IDCANCEL;
}
namespace hangman_ids {
inline constexpr int mask = 1056, letter = 1069, test = 1068, tries_text = 1055;
}

// The capitals quiz asked at once, in order, as open answers or as hangman.
QuizModel quiz_of(const fs::path& dir, bool hangman) {
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.show_welcome_page = quiz.use_home_page = 0;
    quiz.default_question_count = 2;
    if (hangman) {
        quiz.allow_open_answer = 0;
        quiz.allow_hangman = 1;
    }
    return quiz;
}

HWND open_palette(const RunningQuiz& run) {
    if (!wait_until([&] { return item_visible(run.window, ids::palette); })) return nullptr;
    click_control(run.window, ids::palette);
    return run.process->wait_window(L"#32770", 10s, wide_text("Caractères spéciaux"));
}

int entry_count(HWND palette) {
    return static_cast<int>(SendDlgItemMessageW(palette, palette_ids::characters, LB_GETCOUNT, 0, 0));
}

std::wstring entry_text(HWND palette, int entry) {
    wchar_t text[8] = {};
    SendDlgItemMessageW(palette, palette_ids::characters, LB_GETTEXT, static_cast<WPARAM>(entry),
                        reinterpret_cast<LPARAM>(text));
    return text;
}

// Chooses a category and waits for its list.
bool choose_category(HWND palette, int category, int entries) {
    choose_combo_entry(palette, palette_ids::category, category);
    return wait_until([&] { return entry_count(palette) == entries; });
}

void select_entry(HWND palette, int entry) {
    SendDlgItemMessageW(palette, palette_ids::characters, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
}

TEST(Palette, OpensOnSymbolsAndInsertsIntoTheOpenAnswerStayingOpen) {
    const fs::path dir = scratch_dir("palette-open-answer");
    RunningQuiz run = start_quiz(dir, quiz_of(dir, false));
    ASSERT_NE(run.window, nullptr);
    HWND page = wait_page_with(run.window, ids::answer);
    ASSERT_NE(page, nullptr);
    HWND palette = open_palette(run);
    ASSERT_NE(palette, nullptr) << "no palette";

    EXPECT_EQ(combo_selection(palette, palette_ids::category), 3);
    EXPECT_EQ(combo_entry_text(palette, palette_ids::category, 3), L"Symboles");
    ASSERT_EQ(entry_count(palette), 19);
    EXPECT_EQ(entry_text(palette, 0), L"\u20AC");

    // "&Insérer" with nothing selected inserts nothing. The click and the
    // choice of a category are both posted to the palette's thread, which
    // handles them in turn: once the category's list is there, the click has
    // been handled.
    ASSERT_TRUE(press(palette, palette_ids::insert));
    ASSERT_TRUE(choose_category(palette, 0, 61));
    EXPECT_EQ(shown_text(page, ids::answer), L"");
    EXPECT_EQ(item_text(palette, palette_ids::close), L"&Annuler");

    const struct {
        int category;
        const char* name;
        int entries;
    } categories[] = {{0, "international", 61}, {1, "mathematiques", 46}, {2, "grecque", 52}, {4, "cartes", 4},
                      {3, "symboles", 19}};
    for (const auto& shown : categories) {
        ASSERT_TRUE(choose_category(palette, shown.category, shown.entries)) << shown.name;
        // The characters written in the list, in black.
        EXPECT_TRUE(screenshot_when(palette, showing(RGB(0, 0, 0), GetDlgItem(palette, palette_ids::characters)),
                                    artefacts_dir() / (std::string("palette-") + shown.name + ".bmp")))
            << shown.name << ": no character written in the list";
    }

    // The e with acute accent of "International" goes to the caret; the
    // palette stays open for more, its button 2 now "&Fermer".
    type_text(page, ids::answer, L"caf");
    ASSERT_TRUE(choose_category(palette, 0, 61));
    select_entry(palette, 17);
    EXPECT_EQ(entry_text(palette, 17), L"\u00E9");
    ASSERT_TRUE(press(palette, palette_ids::insert));
    EXPECT_TRUE(wait_until([&] { return shown_text(page, ids::answer) == L"caf\u00E9"; }))
        << "the answer box holds " << std::string(shown_text(page, ids::answer).size(), '?');
    EXPECT_TRUE(wait_until([&] { return item_text(palette, palette_ids::close) == L"&Fermer"; }));
    EXPECT_TRUE(IsWindowVisible(palette));
    ASSERT_TRUE(press(palette, palette_ids::close));
    EXPECT_TRUE(wait_until([&] { return !IsWindow(palette); }));
    EXPECT_TRUE(quit_runner(run));
}

TEST(Palette, OnTheHangmanPageTestsTheInsertedCharacterAsALetterAndCloses) {
    const fs::path dir = scratch_dir("palette-hangman");
    RunningQuiz run = start_quiz(dir, quiz_of(dir, true));
    ASSERT_NE(run.window, nullptr);
    HWND page = wait_page_with(run.window, hangman_ids::letter);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(item_text(page, hangman_ids::mask), L"#####");
    HWND palette = open_palette(run);
    ASSERT_NE(palette, nullptr) << "no palette";

    // The Greek small alpha is the byte of the letter a in the Symbol font.
    ASSERT_TRUE(choose_category(palette, 2, 52));
    select_entry(palette, 1);
    ASSERT_TRUE(press(palette, palette_ids::insert));
    EXPECT_TRUE(wait_until([&] { return !IsWindow(palette); })) << "the palette stays open";
    EXPECT_TRUE(wait_until([&] { return item_text(page, hangman_ids::mask) == L"#a###"; }));
    EXPECT_EQ(item_text(page, hangman_ids::tries_text), L"5 essais restants");
    EXPECT_EQ(shown_text(page, hangman_ids::letter), L"");
    EXPECT_TRUE(no_message_box(*run.process));
    EXPECT_TRUE(quit_runner(run));
}

TEST(Palette, AfterTheTimeLimitMovedToTheNextQuestionInsertsNothingAndTestsNothing) {
    const fs::path dir = scratch_dir("palette-time-up");
    QuizModel quiz = quiz_of(dir, true);
    quiz.default_time_limit_on = 1;
    quiz.default_time_limit = 2;
    RunningQuiz run = start_quiz(dir, quiz);
    ASSERT_NE(run.window, nullptr);
    HWND page = wait_page_with(run.window, hangman_ids::letter);
    ASSERT_NE(page, nullptr);
    HWND palette = open_palette(run);
    ASSERT_NE(palette, nullptr) << "no palette";

    // The first question's time runs out under the open palette.
    ASSERT_TRUE(wait_until([&] { return question_number(run.window) == 2; }, 6s));
    ASSERT_TRUE(wait_until([&] { return item_text(page, hangman_ids::mask) == L"####"; }));  // Rome
    ASSERT_TRUE(IsWindow(palette));
    ASSERT_TRUE(choose_category(palette, 2, 52));
    select_entry(palette, 1);
    ASSERT_TRUE(press(palette, palette_ids::insert));
    // The palette decides in the handling of the click, and closes there:
    // once it is gone, whatever it did is done.
    EXPECT_TRUE(wait_until([&] { return !IsWindow(palette); })) << "the palette of the gone question stays";
    EXPECT_EQ(shown_text(page, hangman_ids::letter), L"") << "inserted into the new question";
    EXPECT_EQ(item_text(page, hangman_ids::tries_text), L"5 essais restants") << "a letter was tested";
    EXPECT_EQ(item_text(page, hangman_ids::mask), L"####");
    EXPECT_TRUE(no_message_box(*run.process));
    EXPECT_TRUE(quit_runner(run));
}

TEST(Palette, LeavesTheGdiObjectCountWhereItWas) {
    const fs::path dir = scratch_dir("palette-gdi");
    RunningQuiz run = start_quiz(dir, quiz_of(dir, false));
    ASSERT_NE(run.window, nullptr);
    ASSERT_NE(wait_page_with(run.window, ids::answer), nullptr);
    constexpr int rounds = 30;
    std::vector<int> counts;
    for (int round = 0; round < rounds; ++round) {
        HWND palette = open_palette(run);
        ASSERT_NE(palette, nullptr) << "round " << round + 1;
        ASSERT_TRUE(choose_category(palette, round % 5, std::array{61, 46, 52, 19, 4}[round % 5]));
        ASSERT_TRUE(press(palette, palette_ids::close));
        ASSERT_TRUE(wait_until([&] { return !IsWindow(palette); }));
        const auto count = settled_count([&] { return gdi_object_count(*run.process); });
        ASSERT_TRUE(count) << "the GDI objects cannot be counted";
        counts.push_back(*count);
    }
    std::string all;
    for (const int count : counts) all += std::to_string(count) + " ";
    std::cout << "GDI objects after each palette: " << all << "\n";
    EXPECT_EQ(counts.back(), counts[4]) << all;
    EXPECT_TRUE(quit_runner(run));
}

}  // namespace
}  // namespace kz::e2e
