// The open-answer page of the real runner under Wine: a question shown as a
// text, a picture (with its preview) or a sound (with play and stop), the
// answer box with the keyboard's Enter, and the page's colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "harness/exam_window.h"
#include "harness/harness.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t flag_id = 21, note_id = 30, song_id = 40;
constexpr COLORREF page_colour = RGB(0xFF, 0xF4, 0xD6);

std::string demo_media(const char* name) {
    return file_bytes(source_dir() / "samples" / "demo" / "media" / name).value_or(std::string());
}

// A quiz of one theme: a flag (picture), a note (sound), a song (music) and
// a plain text question, asked in that order.
QuizModel media_quiz(const fs::path& results, std::vector<std::string>& blobs) {
    QuizModel quiz = capitals_quiz(results);
    quiz.page_colour = static_cast<std::int32_t>(page_colour);
    quiz.show_welcome_page = 0;
    quiz.use_home_page = 0;
    quiz.media = {MediaEntry{"drapeau.bmp", "Drapeau", 0, 0, 0, flag_id},
                  MediaEntry{"la440.wav", "Note", 1, 0, 0, note_id},
                  MediaEntry{"frere_jacques.mid", "Comptine", 2, 0, 0, song_id}};
    blobs = {demo_media("drapeau.bmp"), demo_media("la440.wav"), demo_media("frere_jacques.mid")};
    Theme theme = quiz.themes[0];
    theme.questions = {
        QuestionEntry{"$@%0 21", "Italie", "", "", ""},
        QuestionEntry{"$@%0 30", "la", "", "", ""},
        QuestionEntry{"$@%0 40", text_1252("Frère Jacques"), "", "", ""},
        QuestionEntry{"Espagne", "Madrid", "", "", ""},
    };
    quiz.themes = {theme};
    return quiz;
}

// Waits until the control of the page shows the page's colour on the screen.
bool on_page_colour(HWND main_window, HWND page, int id) {
    return wait_until([&] {
        const auto picture = picture_of(main_window);
        return picture && picture->shows(page_colour, GetDlgItem(page, id));
    });
}

TEST(OpenAnswerPage, ShowsPicturesSoundsAndTextsAndTakesTheAnswer) {
    const fs::path dir = scratch_dir("open-answer");
    const fs::path results = dir / "resultats.dat";
    std::vector<std::string> blobs;
    const QuizModel quiz = media_quiz(results, blobs);
    RunningQuiz run = start_quiz(dir, quiz, blobs);
    ASSERT_NE(run.window, nullptr);

    // The picture: no text, no media buttons; a click shows it in full.
    HWND page = wait_page_with(run.window, ids::open_answer_page);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(wait_until([&] { return item_visible(page, ids::question_image); })) << "no picture";
    EXPECT_FALSE(item_visible(page, ids::question));
    EXPECT_FALSE(item_visible(page, ids::play));
    EXPECT_FALSE(item_visible(page, ids::stop));
    RECT picture = {};
    GetClientRect(GetDlgItem(page, ids::question_image), &picture);
    EXPECT_EQ(picture.right, 90);  // the 90 x 60 flag, within its 90 x 90 box
    EXPECT_EQ(picture.bottom, 60);
    const auto prompt_painted = [&](const Picture& picture) {
        return picture.shows(page_colour, GetDlgItem(page, ids::prompt)) &&
               exam_window_painted(run.window, page_colour)(picture);
    };
    EXPECT_TRUE(screenshot_when(run.window, prompt_painted, artefacts_dir() / "open-answer-picture.bmp"))
        << "the prompt is not on the page's colour";

    click_control(page, ids::question_image);
    HWND preview = run.process->wait_window(L"#32770", 10s, L"Aper\u00E7u de l'image");
    ASSERT_NE(preview, nullptr) << "no preview";
    PostMessageW(preview, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(preview); }));

    // Enter validates the answer, without a line break in it.
    type_text(page, ids::answer, L"Italie");
    press_key(GetDlgItem(page, ids::answer), VK_RETURN);

    // The sound: its play and stop buttons, no picture left over.
    EXPECT_TRUE(wait_until([&] { return item_visible(page, ids::play); })) << "no play button";
    EXPECT_TRUE(item_visible(page, ids::stop));
    EXPECT_FALSE(item_visible(page, ids::question_image));
    EXPECT_FALSE(item_visible(page, ids::question));
    EXPECT_EQ(shown_text(page, ids::answer), L"") << "the answer box was not emptied";
    EXPECT_TRUE(screenshot_when(run.window, prompt_painted, artefacts_dir() / "open-answer-sound.bmp"))
        << "the prompt is not on the page's colour";
    ASSERT_TRUE(press(page, ids::play));
    ASSERT_TRUE(press(page, ids::stop));
    ASSERT_TRUE(answer_question(run.window, L"La"));

    // The music, then a text.
    EXPECT_TRUE(wait_until([&] { return question_number(run.window) == 3; }));
    EXPECT_TRUE(item_visible(page, ids::play));
    ASSERT_TRUE(press(page, ids::play));
    ASSERT_TRUE(answer_question(run.window, L"frere jacques"));
    EXPECT_TRUE(wait_until([&] { return item_visible(page, ids::question); }));
    EXPECT_EQ(shown_text(page, ids::question), L"Espagne");
    EXPECT_FALSE(item_visible(page, ids::play));
    EXPECT_FALSE(item_visible(page, ids::question_image));
    EXPECT_TRUE(on_page_colour(run.window, page, ids::question)) << "the question is not on the page's colour";
    ASSERT_TRUE(answer_question(run.window, L"Madrid"));
    ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr);

    // What the results file says of each question.
    const auto lines = file_lines(results);
    ASSERT_EQ(lines.size(), 1u + 11u + 4u * 16u);
    const auto entry = [&](int k) { return lines.begin() + 12 + 16 * k; };
    EXPECT_EQ(entry(0)[2], "<Image : Drapeau>");
    EXPECT_EQ(entry(0)[4], "Italie");
    EXPECT_EQ(entry(1)[2], "<Son : Note>");
    EXPECT_EQ(entry(2)[2], "<Musique : Comptine>");
    EXPECT_EQ(entry(2)[4], "frere jacques");
    EXPECT_EQ(entry(3)[4], "Madrid");
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(entry(k)[13], "1") << "question " << k + 1;
    }
    EXPECT_TRUE(quit_runner(run));
}

TEST(OpenAnswerPage, KeepsTheAnswerToOneLineOfTheLengthGraded) {
    const fs::path dir = scratch_dir("open-answer-long");
    const fs::path results = dir / "resultats.dat";
    QuizModel quiz = capitals_quiz(results);
    quiz.show_welcome_page = 0;
    quiz.use_home_page = 0;
    quiz.default_question_count = 1;
    RunningQuiz run = start_quiz(dir, quiz);
    HWND page = wait_page_with(run.window, ids::open_answer_page);
    ASSERT_NE(page, nullptr);
    type_text(page, ids::answer, std::wstring(1100, L'a'));
    EXPECT_EQ(shown_text(page, ids::answer).size(), 1023u);
    ASSERT_TRUE(press(run.window, ids::next));
    ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr);
    const auto lines = file_lines(results);
    ASSERT_GE(lines.size(), 12u + 5u);
    EXPECT_EQ(lines[12 + 4], std::string(1023, 'a'));
    EXPECT_TRUE(quit_runner(run));
}

}  // namespace
}  // namespace kz::e2e
