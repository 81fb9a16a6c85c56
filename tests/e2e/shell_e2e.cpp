// The exam window of the real runner under Wine, driven as a student drives
// it: the road from the welcome page through the home page and the questions
// to the end page and back, the quiz without welcome or home page, quitting
// with and without the quiz's lock, the help with the score so far, the sound
// toggle and the time limit.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/paths.h"
#include "harness/correction_window.h"
#include "harness/exam_window.h"
#include "harness/harness.h"
#include "harness/question_pages.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

bool contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// Waits for the open-answer page to show this question.
bool wait_question(HWND window, const std::wstring& question) {
    return wait_until([&] {
        HWND page = current_page(window);
        return page && GetDlgItem(page, ids::open_answer_page) && shown_text(page, ids::question) == question;
    });
}

// The results record written for one exam, as the results file holds it.
struct RecordLines {
    std::vector<std::string> header;                // lines 1 to 11
    std::vector<std::vector<std::string>> entries;  // 16 lines each
};

// The records of a results file, after its format line.
std::vector<RecordLines> records_of(const std::vector<std::string>& lines) {
    std::vector<RecordLines> records;
    std::size_t at = 1;
    while (at + 11 <= lines.size()) {
        RecordLines record;
        record.header.assign(lines.begin() + static_cast<long>(at), lines.begin() + static_cast<long>(at + 11));
        at += 11;
        const int entries = std::stoi(record.header[10]) + 1;
        for (int i = 0; i < entries && at + 16 <= lines.size(); ++i, at += 16)
            record.entries.emplace_back(lines.begin() + static_cast<long>(at),
                                        lines.begin() + static_cast<long>(at + 16));
        records.push_back(record);
    }
    return records;
}

TEST(ExamWindow, RunsAWholeExamFromTheWelcomePageToTheEndPageAndBack) {
    const fs::path dir = scratch_dir("shell-road");
    const fs::path results = dir / "resultats.dat";
    QuizModel quiz = capitals_quiz(results);
    quiz.default_question_count = 3;
    RunningQuiz run = start_quiz(dir, quiz);
    ASSERT_NE(run.window, nullptr);
    HWND window = run.window;

    // The welcome page: the built-in text with the quiz's name.
    HWND page = wait_page_with(window, ids::welcome_text);
    ASSERT_NE(page, nullptr) << "no welcome page";
    EXPECT_TRUE(contains(shown_text(page, ids::welcome_text), L"Bienvenue !"));
    EXPECT_TRUE(contains(shown_text(page, ids::welcome_text), L"au questionnaire Capitales et fleuves"));
    EXPECT_EQ(window_text(window), L"Examen");
    EXPECT_EQ(item_text(window, ids::title), L"Capitales et fleuves");
    for (const int button : {ids::next, ids::quit, ids::about, ids::help}) {
        EXPECT_TRUE(item_visible(window, button)) << button;
    }
    EXPECT_FALSE(item_visible(window, ids::palette));
    EXPECT_FALSE(item_visible(window, ids::clock));
    EXPECT_TRUE(wait_until([&] { return focused_control(window) == GetDlgItem(window, ids::next); }))
        << "\"Suivant >\" has not the focus";

    // The home page, the name field ready to be typed over.
    ASSERT_TRUE(press(window, ids::next));
    page = wait_page_with(window, ids::home_themes);
    ASSERT_NE(page, nullptr) << "no home page";
    EXPECT_EQ(item_text(page, ids::name), L"Anonyme");
    EXPECT_TRUE(wait_until([&] { return focused_control(window) == GetDlgItem(page, ids::name); }));
    type_text(page, ids::name, wide_text("Élodie"));
    EXPECT_EQ(item_text(page, ids::name), wide_text("Élodie"));
    ASSERT_TRUE(press(window, ids::next));

    // Three questions, in order: right, wrong, right.
    ASSERT_TRUE(wait_question(window, L"France")) << "no first question";
    page = current_page(window);
    EXPECT_EQ(window_text(window), wide_text("Examen - Question n°1/3"));
    EXPECT_EQ(shown_text(page, ids::prompt), L"Quelle est la capitale de ce pays ?");
    EXPECT_TRUE(wait_until([&] { return focused_control(window) == GetDlgItem(page, ids::answer); }))
        << "the answer box has not the focus";
    EXPECT_TRUE(item_visible(window, ids::palette)) << "the special characters are not offered";
    ASSERT_TRUE(answer_question(window, L"paris"));
    ASSERT_TRUE(wait_question(window, L"Italie"));
    EXPECT_EQ(window_text(window), wide_text("Examen - Question n°2/3"));
    ASSERT_TRUE(answer_question(window, L"Milan"));
    ASSERT_TRUE(wait_question(window, wide_text("Écosse")));
    ASSERT_TRUE(answer_question(window, wide_text("Édimbourg")));

    // The end page, with the student's results.
    page = wait_page_with(window, ids::end_text);
    ASSERT_NE(page, nullptr) << "no end page";
    const std::wstring end_text = shown_text(page, ids::end_text);
    EXPECT_TRUE(contains(end_text, wide_text("Réponses justes : 2"))) << end_text;
    EXPECT_TRUE(contains(end_text, wide_text("Réponses fausses : 1"))) << end_text;
    EXPECT_TRUE(contains(end_text, L"Score : 13/20")) << end_text;
    EXPECT_EQ(window_text(window), L"Examen");
    EXPECT_FALSE(item_visible(window, ids::next));
    EXPECT_TRUE(item_visible(window, ids::quit));
    EXPECT_FALSE(item_visible(window, ids::palette));
    for (const int button : {ids::details, ids::home, ids::restart}) {
        EXPECT_TRUE(item_visible(page, button)) << button;
    }
    EXPECT_TRUE(wait_until([&] { return focused_control(window) == GetDlgItem(page, ids::details); }));

    // The record in the author's results file.
    auto records = records_of(file_lines(results));
    ASSERT_EQ(file_lines(results).front(), "1.3");
    ASSERT_EQ(records.size(), 1u);
    const RecordLines& first = records[0];
    EXPECT_EQ(first.header[0], text_1252("Élodie"));
    EXPECT_EQ(first.header[1], "1");  // open answers
    EXPECT_EQ(first.header[2], quiz.quiz_name);
    EXPECT_EQ(fs::path(path_from_cp1252(first.header[3])).filename(), "quiz.exe");
    EXPECT_EQ(first.header[4], "66");
    EXPECT_EQ(first.header[8], "0");   // in order
    EXPECT_EQ(first.header[10], "2");  // the last entry's index
    ASSERT_EQ(first.entries.size(), 3u);
    EXPECT_EQ(first.entries[0][0], text_1252("Capitales d'Europe"));
    EXPECT_EQ(first.entries[0][2], "France");
    EXPECT_EQ(first.entries[0][3], "Paris");  // expected
    EXPECT_EQ(first.entries[0][4], "paris");  // given
    EXPECT_EQ(first.entries[0][13], "1");
    EXPECT_EQ(first.entries[1][4], "Milan");
    EXPECT_EQ(first.entries[1][13], "0");
    EXPECT_EQ(first.entries[2][4], text_1252("Édimbourg"));
    EXPECT_EQ(first.entries[2][13], "1");

    // "Recommencer": the same questions in the same order.
    ASSERT_TRUE(press(page, ids::restart));
    ASSERT_TRUE(wait_question(window, L"France"));
    EXPECT_EQ(window_text(window), wide_text("Examen - Question n°1/3"));
    EXPECT_TRUE(item_visible(window, ids::next));
    ASSERT_TRUE(answer_question(window, L"Paris"));
    ASSERT_TRUE(wait_question(window, L"Italie"));
    ASSERT_TRUE(answer_question(window, L"Rome"));
    ASSERT_TRUE(wait_question(window, wide_text("Écosse")));
    ASSERT_TRUE(answer_question(window, L"Edimbourg"));  // accents do not count in this quiz
    page = wait_page_with(window, ids::end_text);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(contains(shown_text(page, ids::end_text), L"Score : 20/20"));
    records = records_of(file_lines(results));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].header[0], text_1252("Élodie"));
    EXPECT_EQ(records[1].header[4], "100");

    // "Page d'accueil": a new exam from the home page's defaults.
    ASSERT_TRUE(press(page, ids::home));
    page = wait_page_with(window, ids::home_themes);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(item_text(page, ids::name), L"Anonyme");
    EXPECT_EQ(item_text(page, ids::more_options), L"&Plus d'options");
    EXPECT_FALSE(item_visible(page, ids::home_themes));
    EXPECT_TRUE(item_visible(window, ids::next));
    EXPECT_TRUE(item_enabled(window, ids::next));
    EXPECT_TRUE(quit_runner(run));
}

TEST(ExamWindow, QuizWithoutWelcomeOrHomePageStartsAtOnceAsAnonyme) {
    const fs::path dir = scratch_dir("shell-at-once");
    const fs::path results = dir / "resultats.dat";
    QuizModel quiz = capitals_quiz(results);
    quiz.show_welcome_page = 0;
    quiz.use_home_page = 0;
    quiz.default_question_count = 2;
    RunningQuiz run = start_quiz(dir, quiz);
    ASSERT_NE(run.window, nullptr);

    ASSERT_TRUE(wait_question(run.window, L"France")) << "the exam did not start at once";
    EXPECT_EQ(window_text(run.window), wide_text("Examen - Question n°1/2"));
    ASSERT_TRUE(answer_question(run.window, L"Paris"));
    ASSERT_TRUE(wait_question(run.window, L"Italie"));
    ASSERT_TRUE(answer_question(run.window, L"Rome"));
    ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr);

    const auto records = records_of(file_lines(results));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].header[0], "Anonyme");
    EXPECT_EQ(records[0].entries.size(), 2u);
    EXPECT_TRUE(quit_runner(run));
}

TEST(ExamWindow, QuizWithoutWelcomeOrHomePageTriesTheRefusedStartAgainOnNext) {
    const fs::path dir = scratch_dir("shell-refused-at-once");
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.show_welcome_page = 0;
    quiz.use_home_page = 0;
    // Multiple choice needs four questions; the capitals alone are three.
    quiz.allow_open_answer = 0;
    quiz.allow_multiple_choice = 1;
    quiz.themes.resize(1);
    RunningQuiz run = start_quiz(dir, quiz);
    ASSERT_NE(run.window, nullptr);

    // Refused as the window opens, then at each of two presses of "Suivant >".
    for (int refusal = 0; refusal < 3; ++refusal) {
        SCOPED_TRACE(refusal);
        if (refusal > 0) {
            ASSERT_TRUE(press(run.window, ids::next)) << "\"Suivant >\" is not offered";
        }
        HWND box = wait_message_box(*run.process);
        ASSERT_NE(box, nullptr) << "no refusal";
        EXPECT_EQ(message_box_content(box).text, message(2008));
        press(box, IDOK);
        ASSERT_TRUE(wait_until([&] { return !IsWindow(box); }));
        EXPECT_EQ(current_page(run.window), nullptr);
    }
    EXPECT_TRUE(quit_runner(run));
}

// The ways of closing the window that quitting-locked refuses.
void try_every_way_of_closing(const RunningQuiz& run, const char* where) {
    SCOPED_TRACE(where);
    EXPECT_FALSE(item_visible(run.window, ids::quit));
    PostMessageW(run.window, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
    press_alt_f4(run.window);
    PostMessageW(run.window, WM_COMMAND, IDCANCEL, 0);  // Escape
    PostMessageW(run.window, WM_COMMAND, MAKEWPARAM(ids::quit, BN_CLICKED), 0);
    EXPECT_TRUE(no_message_box(*run.process)) << "quitting asked a question";
    EXPECT_FALSE(run.process->exit_code().has_value()) << "the window closed";
    EXPECT_TRUE(IsWindowVisible(run.window));
}

TEST(ExamWindow, QuittingLockedKeepsTheWindowOpenUntilTheEndPage) {
    const fs::path dir = scratch_dir("shell-locked");
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.quitting_locked = 1;
    quiz.default_question_count = 1;
    RunningQuiz run = start_quiz(dir, quiz);
    ASSERT_NE(run.window, nullptr);

    ASSERT_NE(wait_page_with(run.window, ids::welcome_text), nullptr);
    try_every_way_of_closing(run, "welcome page");
    ASSERT_TRUE(press(run.window, ids::next));
    ASSERT_NE(wait_page_with(run.window, ids::home_themes), nullptr);
    try_every_way_of_closing(run, "home page");
    ASSERT_TRUE(press(run.window, ids::next));
    ASSERT_TRUE(wait_question(run.window, L"France"));
    try_every_way_of_closing(run, "question");
    ASSERT_TRUE(answer_question(run.window, L"Paris"));

    // The end page: "Quitter" is back, until a new exam starts. The engine
    // shows the page first and then the button.
    HWND page = wait_page_with(run.window, ids::end_text);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(wait_until([&] { return item_visible(run.window, ids::quit); }));
    ASSERT_TRUE(press(page, ids::restart));
    ASSERT_TRUE(wait_question(run.window, L"France"));
    try_every_way_of_closing(run, "question of the replay");
    ASSERT_TRUE(answer_question(run.window, L"Paris"));
    page = wait_page_with(run.window, ids::end_text);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(press(page, ids::home));
    ASSERT_NE(wait_page_with(run.window, ids::home_themes), nullptr);
    try_every_way_of_closing(run, "home page after the end page");
    ASSERT_TRUE(press(run.window, ids::next));
    ASSERT_TRUE(wait_question(run.window, L"France"));
    ASSERT_TRUE(answer_question(run.window, L"Paris"));
    ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr);

    // After the exam, the close box quits without a question.
    PostMessageW(run.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(run.process->wait_exit(10s));
    EXPECT_EQ(run.process->exit_code(), 0u);
}

TEST(ExamWindow, QuittingBeforeTheEndAsksFirst) {
    const fs::path dir = scratch_dir("shell-quit");
    RunningQuiz run = start_quiz(dir, capitals_quiz(dir / "resultats.dat"));
    ASSERT_NE(run.window, nullptr);
    ASSERT_NE(wait_page_with(run.window, ids::welcome_text), nullptr);

    struct Way {
        const char* name;
        std::function<void()> act;
    };
    const Way ways[] = {
        {"Quitter", [&] { press(run.window, ids::quit); }},
        {"close box", [&] { PostMessageW(run.window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Alt+F4", [&] { press_alt_f4(run.window); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        way.act();
        HWND box = wait_message_box(*run.process);
        ASSERT_NE(box, nullptr) << "no question";
        const auto content = message_box_content(box);
        EXPECT_EQ(content.caption, L"Quitter");
        EXPECT_EQ(content.text, message(104));
        EXPECT_EQ(GetWindow(box, GW_OWNER), run.window);
        ASSERT_TRUE(press(box, IDNO));
        EXPECT_TRUE(wait_until([&] { return !IsWindow(box); }));
        EXPECT_FALSE(run.process->wait_exit(300ms)) << "\"Non\" closed the window";
    }
    press(run.window, ids::quit);
    HWND box = wait_message_box(*run.process);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(press(box, IDYES));
    EXPECT_TRUE(run.process->wait_exit(10s));
    EXPECT_EQ(run.process->exit_code(), 0u);
}

TEST(ExamWindow, HelpShowsTheScoreSoFar) {
    const fs::path dir = scratch_dir("shell-help");
    RunningQuiz run = start_quiz(dir, capitals_quiz(dir / "resultats.dat"));
    ASSERT_NE(run.window, nullptr);
    ASSERT_TRUE(press(run.window, ids::next));
    ASSERT_NE(wait_page_with(run.window, ids::home_themes), nullptr);
    ASSERT_TRUE(press(run.window, ids::next));
    ASSERT_TRUE(wait_question(run.window, L"France"));
    ASSERT_TRUE(answer_question(run.window, L"Paris"));
    ASSERT_TRUE(wait_question(run.window, L"Italie"));

    ASSERT_TRUE(press(run.window, ids::help));
    HWND help = run.process->wait_window(L"#32770", 10s, L"Aide");
    ASSERT_NE(help, nullptr) << "no help";
    EXPECT_EQ(GetWindow(help, GW_OWNER), run.window);
    EXPECT_FALSE(IsWindowEnabled(run.window)) << "the help is not modal";
    const std::wstring text = shown_text(help, ids::help_text);
    EXPECT_TRUE(contains(text, L"Aide de Capitales et fleuves")) << text;
    EXPECT_TRUE(contains(text, L"Score : 20/20 (1 justes, 0 fausses)")) << text;
    EXPECT_EQ(item_text(help, IDOK), L"&Fermer");
    ASSERT_TRUE(press(help, IDOK));
    EXPECT_TRUE(wait_until([&] { return !IsWindow(help); }));
    EXPECT_TRUE(wait_until([&] { return IsWindowEnabled(run.window) != FALSE; }));

    // Read again at each opening: one wrong answer later.
    ASSERT_TRUE(answer_question(run.window, L"Madrid"));
    ASSERT_TRUE(wait_question(run.window, wide_text("Écosse")));
    ASSERT_TRUE(press(run.window, ids::help));
    help = run.process->wait_window(L"#32770", 10s, L"Aide");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(contains(shown_text(help, ids::help_text), L"Score : 10/20 (1 justes, 1 fausses)"));
    PostMessageW(help, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(help); }));
    EXPECT_TRUE(quit_runner(run));
}

TEST(ExamWindow, HelpButtonIsHiddenWhenTheQuizHasNoHelp) {
    const fs::path dir = scratch_dir("shell-no-help");
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.hide_help = 1;
    RunningQuiz run = start_quiz(dir, quiz);
    ASSERT_NE(run.window, nullptr);
    ASSERT_NE(wait_page_with(run.window, ids::welcome_text), nullptr);
    EXPECT_FALSE(item_visible(run.window, ids::help));
    EXPECT_TRUE(item_visible(run.window, ids::about));
    EXPECT_TRUE(quit_runner(run));
}

// The colours of a control's pixels on the screen.
std::vector<COLORREF> pixels_of(HWND dialog, int id) {
    const auto picture = picture_of(dialog);
    return picture ? picture->pixels_of(GetDlgItem(dialog, id)) : std::vector<COLORREF>();
}

// True when the control shows more than one colour: something is drawn on it.
bool drawn(HWND dialog, int id) {
    const auto pixels = pixels_of(dialog, id);
    return std::adjacent_find(pixels.begin(), pixels.end(), std::not_equal_to<>()) != pixels.end();
}

TEST(ExamWindow, SoundIconShowsWhetherTheSoundIsOn) {
    const fs::path dir = scratch_dir("shell-sound");
    RunningQuiz run = start_quiz(dir, capitals_quiz(dir / "resultats.dat"));
    ASSERT_NE(run.window, nullptr);
    ASSERT_NE(wait_page_with(run.window, ids::welcome_text), nullptr);
    ASSERT_TRUE(wait_until([&] { return drawn(run.window, ids::sound); })) << "no sound icon";
    const auto sound_on = pixels_of(run.window, ids::sound);

    click_control(run.window, ids::sound);
    EXPECT_TRUE(wait_until([&] { return pixels_of(run.window, ids::sound) != sound_on; }))
        << "the icon did not change when muting";
    const auto muted = pixels_of(run.window, ids::sound);
    // Muting survives a page change.
    ASSERT_TRUE(press(run.window, ids::next));
    HWND home = wait_page_with(run.window, ids::home_themes);
    ASSERT_NE(home, nullptr);
    // Once the new page's labels are painted, so is the icon, had it changed.
    ASSERT_TRUE(wait_until([&] {
        const auto picture = picture_of(run.window);
        return picture && picture->shows(RGB(0, 0, 0), home);
    })) << "the home page is not painted";
    EXPECT_EQ(pixels_of(run.window, ids::sound), muted);

    click_control(run.window, ids::sound);
    EXPECT_TRUE(wait_until([&] { return pixels_of(run.window, ids::sound) == sound_on; }))
        << "the icon did not come back when the sound came back";
    EXPECT_TRUE(quit_runner(run));
}

TEST(ExamWindow, TimeLimitCountsDownAndMovesOnWhenTimeIsUp) {
    const fs::path dir = scratch_dir("shell-time");
    const fs::path results = dir / "resultats.dat";
    QuizModel quiz = capitals_quiz(results);
    quiz.default_time_limit_on = 1;
    quiz.default_time_limit = 2;
    quiz.default_training_mode = 1;
    quiz.default_question_count = 2;
    RunningQuiz run = start_quiz(dir, quiz);
    ASSERT_NE(run.window, nullptr);
    ASSERT_TRUE(press(run.window, ids::next));
    ASSERT_NE(wait_page_with(run.window, ids::home_themes), nullptr);
    ASSERT_TRUE(press(run.window, ids::next));
    ASSERT_TRUE(wait_question(run.window, L"France"));
    EXPECT_TRUE(item_visible(run.window, ids::clock));
    EXPECT_TRUE(item_visible(run.window, ids::countdown));
    EXPECT_EQ(item_text(run.window, ids::countdown), L"2 secondes");
    EXPECT_TRUE(wait_until([&] { return item_text(run.window, ids::countdown) == L"1 seconde"; }, 3s));

    // In training mode the student is told, then shown the right answer.
    HWND box = wait_message_box(*run.process, 5s);
    ASSERT_NE(box, nullptr) << "no time-up message";
    EXPECT_EQ(message_box_content(box).text, message(2017));
    EXPECT_EQ(message_box_content(box).caption, L"Examen");
    EXPECT_EQ(item_text(run.window, ids::countdown), wide_text("Temps écoulé !"));
    press(box, IDOK);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(box); }));
    HWND correction = wait_correction(*run.process, 5s);
    ASSERT_NE(correction, nullptr) << "no correction";
    EXPECT_EQ(item_text(correction, correction_ids::message), wide_text("La réponse était :"));
    EXPECT_EQ(shown_text(correction, correction_ids::places[0].text), L"Paris");
    ASSERT_TRUE(press(correction, IDOK));

    ASSERT_TRUE(wait_question(run.window, L"Italie"));
    EXPECT_EQ(item_text(run.window, ids::countdown), L"2 secondes");
    ASSERT_TRUE(answer_question(run.window, L"Rome"));
    ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr);
    EXPECT_FALSE(item_visible(run.window, ids::clock));
    EXPECT_FALSE(item_visible(run.window, ids::countdown));

    const auto records = records_of(file_lines(results));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].header[6], "1");  // time limit on
    EXPECT_EQ(records[0].header[7], "2");
    ASSERT_EQ(records[0].entries.size(), 2u);
    EXPECT_EQ(records[0].entries[0][13], "0");  // time ran out
    EXPECT_EQ(records[0].entries[1][13], "1");
    EXPECT_TRUE(quit_runner(run));
}

TEST(ExamWindow, AboutBoxKeepsItsLookWhenTheTimeRunsOutBehindIt) {
    const fs::path dir = scratch_dir("shell-about-time");
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.default_time_limit_on = 1;
    quiz.default_time_limit = 2;
    quiz.default_question_count = 1;
    RunningQuiz run = start_quiz(dir, quiz);
    ASSERT_NE(run.window, nullptr);
    ASSERT_TRUE(press(run.window, ids::next));
    ASSERT_NE(wait_page_with(run.window, ids::home_themes), nullptr);
    ASSERT_TRUE(press(run.window, ids::next));
    ASSERT_TRUE(wait_question(run.window, L"France"));

    ASSERT_TRUE(press(run.window, ids::about));
    HWND about = run.process->wait_window(L"#32770", 10s, L"\u00C0 propos du questionnaire");
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(wait_until([&] {
        const auto picture = picture_of(about);
        return picture && picture->shows(RGB(0, 0, 128), GetDlgItem(about, 1044)) &&
               picture->shows(RGB(0, 0, 255), GetDlgItem(about, 1050));
    })) << "the About box is not painted";
    const auto name_before = pixels_of(about, 1044);
    const auto link_before = pixels_of(about, 1050);

    // The last question's time runs out: the end page replaces it.
    ASSERT_NE(wait_page_with(run.window, ids::end_text, 6s), nullptr);
    RedrawWindow(about, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(wait_until([&] { return pixels_of(about, 1044) == name_before; }, 3s))
        << "the quiz's name lost its font";
    EXPECT_TRUE(wait_until([&] { return pixels_of(about, 1050) == link_before; }, 3s))
        << "the link lost its font";
    press(about, IDOK);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(about); }));
    EXPECT_TRUE(quit_runner(run));
}

// The exam type preselected on the home page (the second the quiz allows,
// multiple choice) runs on its own page: the question, the theme's answers
// proposed in three unticked boxes, and on to the end page.
TEST(ExamWindow, ExamTypeChosenOnTheHomePageRunsOnItsOwnPage) {
    const fs::path dir = scratch_dir("shell-own-page");
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.allow_multiple_choice = 1;  // preselected on the home page
    quiz.default_question_count = 2;
    RunningQuiz run = start_quiz(dir, quiz);
    ASSERT_NE(run.window, nullptr);
    ASSERT_TRUE(press(run.window, ids::next));
    ASSERT_NE(wait_page_with(run.window, ids::home_themes), nullptr);
    ASSERT_TRUE(press(run.window, ids::next));
    HWND page = wait_page_with(run.window, ids::choice_ticks[1]);
    ASSERT_NE(page, nullptr) << "no multiple-choice page";
    EXPECT_EQ(shown_text(page, ids::prompt), L"Quelle est la capitale de ce pays ?");
    EXPECT_EQ(shown_text(page, ids::question), L"France");
    EXPECT_EQ(window_text(run.window), wide_text("Examen - Question n°1/2"));
    std::vector<std::wstring> proposals;
    for (int box = 0; box < 3; ++box) {
        proposals.push_back(shown_text(page, ids::choice_boxes[box].text));
        EXPECT_FALSE(button_checked(page, ids::choice_ticks[box])) << "box " << box + 1;
    }
    std::sort(proposals.begin(), proposals.end());
    EXPECT_EQ(proposals, (std::vector<std::wstring>{L"Paris", L"Rome", wide_text("Édimbourg")}));
    ASSERT_TRUE(press(run.window, ids::next));
    EXPECT_TRUE(wait_until([&] { return shown_text(page, ids::question) == L"Italie"; }));
    ASSERT_TRUE(press(run.window, ids::next));
    EXPECT_NE(wait_page_with(run.window, ids::end_text), nullptr);
    EXPECT_TRUE(quit_runner(run));
}

}  // namespace
}  // namespace kz::e2e
