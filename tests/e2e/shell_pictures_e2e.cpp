// Pictures of the real runner's exam window under Wine, for a quiz that sets
// its own colours, logo and banner: each page and dialog as the student sees
// it, kept in the artefacts folder to be looked at.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "harness/exam_window.h"
#include "harness/harness.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t logo_id = 1, banner_id = 2;

std::string demo_media(const char* name) {
    return file_bytes(source_dir() / "samples" / "demo" / "media" / name).value_or(std::string());
}

constexpr COLORREF window_colour = RGB(0xDD, 0xEE, 0xDD), page_colour = RGB(0xFF, 0xFB, 0xEE),
                   title_band_colour = RGB(0x1E, 0x5B, 0x3A);
constexpr int about_quiz_name = 1044;  // in navy

// Keeps the picture of the exam window once it shows the quiz's colours: the
// window's, and the page's on the current page.
void keep_picture(HWND window, const char* name) {
    const auto in_quiz_colours = [window](const Picture& picture) {
        return picture.shows(window_colour) && exam_window_painted(window, page_colour)(picture);
    };
    EXPECT_TRUE(screenshot_when(window, in_quiz_colours, artefacts_dir() / name))
        << name << ": not in the quiz's colours";
}

// Keeps the picture of a dialog once the control shows this colour.
void keep_picture(HWND dialog, const char* name, COLORREF colour, int id) {
    EXPECT_TRUE(screenshot_when(dialog, showing(colour, GetDlgItem(dialog, id)), artefacts_dir() / name))
        << name << ": the control " << id << " is not painted";
}

TEST(ExamWindowPictures, EveryPageInTheQuizsOwnColours) {
    const fs::path dir = scratch_dir("shell-pictures");
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.quiz_name = text_1252("Géographie de l'Europe");
    quiz.title_band_colour = static_cast<std::int32_t>(title_band_colour);
    quiz.window_colour = static_cast<std::int32_t>(window_colour);
    quiz.page_colour = static_cast<std::int32_t>(page_colour);
    quiz.title_text_colour = static_cast<std::int32_t>(RGB(0xFF, 0xFF, 0xFF));
    quiz.text_colour = static_cast<std::int32_t>(RGB(0x5A, 0x2D, 0x0C));
    quiz.allow_multiple_choice = quiz.allow_true_false = 1;
    quiz.default_question_count = 2;
    quiz.show_logo = 1;
    quiz.logo_media_id = logo_id;
    quiz.show_banner = 1;
    quiz.banner_media_id = banner_id;
    quiz.media = {MediaEntry{"logo.bmp", "Logo", 0, 0, 0, logo_id},
                  MediaEntry{"banniere.bmp", text_1252("Bannière"), 0, 0, 0, banner_id}};
    RunningQuiz run = start_quiz(dir, quiz, {demo_media("logo.bmp"), demo_media("banniere.bmp")});
    ASSERT_NE(run.window, nullptr);
    HWND window = run.window;

    ASSERT_NE(wait_page_with(window, ids::welcome_text), nullptr);
    EXPECT_TRUE(item_visible(window, ids::banner));
    EXPECT_FALSE(item_visible(window, ids::title));
    keep_picture(window, "shell-welcome.bmp");

    ASSERT_TRUE(press(window, ids::next));
    HWND page = wait_page_with(window, ids::home_themes);
    ASSERT_NE(page, nullptr);
    keep_picture(window, "shell-home.bmp");
    ASSERT_TRUE(press(page, ids::more_options));
    ASSERT_TRUE(wait_until([&] { return item_visible(page, ids::home_themes); }));
    choose_combo_entry(page, ids::type, 0);
    keep_picture(window, "shell-home-options.bmp");

    ASSERT_TRUE(press(window, ids::next));
    page = wait_page_with(window, ids::open_answer_page);
    ASSERT_NE(page, nullptr);
    type_text(page, ids::answer, L"Paris");
    keep_picture(window, "shell-question.bmp");
    ASSERT_TRUE(press(window, ids::next));
    ASSERT_TRUE(wait_until([&] { return question_number(window) == 2; }));

    ASSERT_TRUE(press(window, ids::help));
    HWND help = run.process->wait_window(L"#32770", 10s, L"Aide");
    ASSERT_NE(help, nullptr);
    keep_picture(help, "shell-help.bmp", RGB(0, 0, 0), ids::help_text);
    press(help, IDOK);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(help); }));

    ASSERT_TRUE(answer_question(window, L"Madrid"));
    page = wait_page_with(window, ids::end_text);
    ASSERT_NE(page, nullptr);
    keep_picture(window, "shell-end.bmp");

    ASSERT_TRUE(press(window, ids::about));
    HWND about = run.process->wait_window(L"#32770", 10s, L"\u00C0 propos du questionnaire");
    ASSERT_NE(about, nullptr);
    keep_picture(about, "shell-about.bmp", RGB(0, 0, 128), about_quiz_name);
    press(about, IDOK);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(about); }));
    EXPECT_TRUE(quit_runner(run));
}

}  // namespace
}  // namespace kz::e2e
