// The home page of the real runner under Wine: the name, the options shown by
// "&Plus d'options", the theme list with its check boxes and its menu, the
// rules that enable "Suivant >", the refused anonymous names, and the choices
// that reach the exam.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "harness/exam_window.h"
#include "harness/harness.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int option_controls[] = {ids::home_themes, ids::themes_label, ids::type_label,  ids::type,
                                   ids::time_limit_on, ids::time_limit, ids::count_label, ids::count,
                                   ids::order_label,   ids::random_order, ids::fixed_order, ids::invert,
                                   ids::training};

// The entries of the theme list's menu.
constexpr int tick_all = 0, untick_all = 1, invert_ticks = 2;

// The home page of a running quiz, reached from its welcome page.
HWND open_home_page(RunningQuiz& run) {
    if (!run.window || !wait_page_with(run.window, ids::welcome_text)) return nullptr;
    if (!press(run.window, ids::next)) return nullptr;
    return wait_page_with(run.window, ids::home_themes);
}

// Replaces a field's text as the student does: everything selected, then typed over.
void retype(HWND page, int id, const std::wstring& text) {
    SendMessageW(GetDlgItem(page, id), EM_SETSEL, 0, -1);
    if (text.empty()) {
        SendMessageW(GetDlgItem(page, id), WM_CHAR, VK_BACK, 1);
    } else {
        type_text(page, id, text);
    }
}

bool next_enabled(const RunningQuiz& run) { return item_enabled(run.window, ids::next); }

bool wait_next_enabled(const RunningQuiz& run, bool enabled) {
    return wait_until([&] { return next_enabled(run) == enabled; }, 3s);
}

bool all_ticked(HWND list, bool ticked) {
    for (int i = 0; i < list_item_count(list); ++i)
        if (list_item_checked(list, i) != ticked) return false;
    return true;
}

bool choose_from_theme_menu(const RunningQuiz& run, HWND page, int entry) {
    HWND list = GetDlgItem(page, ids::home_themes);
    return right_click_list_item(*run.process, list, 0) && choose_popup_menu_entry(*run.process, entry);
}

TEST(HomePage, OpensCollapsedWithTheQuizDefaults) {
    const fs::path dir = scratch_dir("home-defaults");
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.default_question_count = 7;
    quiz.default_time_limit = 45;
    quiz.default_time_limit_on = 1;
    quiz.default_inverted = 1;
    quiz.default_training_mode = 1;
    RunningQuiz run = start_quiz(dir, quiz);
    HWND page = open_home_page(run);
    ASSERT_NE(page, nullptr);

    EXPECT_EQ(item_text(page, ids::name_label), L"&Votre pr\u00E9nom ou pseudo :");
    EXPECT_EQ(item_text(page, ids::name), L"Anonyme");
    EXPECT_EQ(item_text(page, ids::more_options), L"&Plus d'options");
    for (const int id : option_controls) {
        EXPECT_FALSE(item_visible(page, id)) << id;
    }
    EXPECT_TRUE(next_enabled(run));

    ASSERT_TRUE(press(page, ids::more_options));
    EXPECT_TRUE(wait_until([&] { return item_text(page, ids::more_options) == L"&Moins d'options"; }));
    for (const int id : option_controls) {
        EXPECT_TRUE(item_visible(page, id)) << id;
        EXPECT_TRUE(item_enabled(page, id)) << id;
    }
    EXPECT_EQ(item_text(page, ids::count), L"7");
    EXPECT_EQ(item_text(page, ids::time_limit), L"45");
    EXPECT_TRUE(button_checked(page, ids::time_limit_on));
    EXPECT_TRUE(button_checked(page, ids::fixed_order));
    EXPECT_FALSE(button_checked(page, ids::random_order));
    EXPECT_TRUE(button_checked(page, ids::invert));
    EXPECT_TRUE(button_checked(page, ids::training));
    // Only open answers are allowed: their entry is the only one, chosen.
    EXPECT_EQ(combo_selection(page, ids::type), 0);
    EXPECT_EQ(combo_entry_text(page, ids::type, 0), L"Savanto");
    HWND list = GetDlgItem(page, ids::home_themes);
    ASSERT_EQ(list_item_count(list), 2);
    EXPECT_EQ(list_item_text(*run.process, list, 0), L"Capitales d'Europe");
    EXPECT_EQ(list_item_text(*run.process, list, 1), L"Fleuves");
    EXPECT_TRUE(all_ticked(list, true));

    ASSERT_TRUE(press(page, ids::more_options));
    EXPECT_TRUE(wait_until([&] { return item_text(page, ids::more_options) == L"&Plus d'options"; }));
    for (const int id : option_controls) {
        EXPECT_FALSE(item_visible(page, id)) << id;
    }
    EXPECT_TRUE(quit_runner(run));
}

TEST(HomePage, SecondAllowedExamTypeIsPreselected) {
    const fs::path dir = scratch_dir("home-types");
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.allow_multiple_choice = 1;
    quiz.allow_hangman = 1;
    RunningQuiz run = start_quiz(dir, quiz);
    HWND page = open_home_page(run);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(combo_entry_text(page, ids::type, 0), L"Savanto");
    EXPECT_EQ(combo_entry_text(page, ids::type, 1), L"Questions \u00E0 choix multiples (QCM)");
    EXPECT_EQ(combo_entry_text(page, ids::type, 2), L"Le jeu du Pendu");
    EXPECT_EQ(combo_selection(page, ids::type), 1);
    EXPECT_TRUE(quit_runner(run));
}

TEST(HomePage, QuizDecidesWhatTheStudentMayChange) {
    const fs::path dir = scratch_dir("home-locked-options");
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.may_choose_themes = quiz.may_change_question_count = quiz.may_choose_order = 0;
    quiz.may_invert_direction = quiz.may_change_time_limit = quiz.may_choose_exam_type = 0;
    quiz.may_choose_training_mode = 0;
    RunningQuiz run = start_quiz(dir, quiz);
    HWND page = open_home_page(run);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(press(page, ids::more_options));
    ASSERT_TRUE(wait_until([&] { return item_visible(page, ids::home_themes); }));
    for (const int id : {ids::home_themes, ids::count, ids::count_label, ids::order_label, ids::random_order,
                         ids::fixed_order, ids::invert, ids::time_limit, ids::time_limit_on, ids::type,
                         ids::type_label, ids::training}) {
        EXPECT_FALSE(item_enabled(page, id)) << id;
    }
    EXPECT_TRUE(item_enabled(page, ids::name));
    EXPECT_TRUE(quit_runner(run));

    // Without "&Plus d'options", only the name can be changed.
    quiz.show_more_options = 0;
    RunningQuiz plain = start_quiz(scratch_dir("home-no-options"), quiz);
    page = open_home_page(plain);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(item_visible(page, ids::more_options));
    for (const int id : option_controls) {
        EXPECT_FALSE(item_visible(page, id)) << id;
    }
    EXPECT_TRUE(item_visible(page, ids::name));
    EXPECT_TRUE(quit_runner(plain));
}

TEST(HomePage, NextFollowsTheFieldTheStudentChangedLast) {
    const fs::path dir = scratch_dir("home-next");
    RunningQuiz run = start_quiz(dir, capitals_quiz(dir / "resultats.dat"));
    HWND page = open_home_page(run);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(press(page, ids::more_options));
    ASSERT_TRUE(wait_until([&] { return item_visible(page, ids::home_themes); }));
    HWND list = GetDlgItem(page, ids::home_themes);

    // Every theme unticked from the list's menu: no Next.
    ASSERT_TRUE(choose_from_theme_menu(run, page, untick_all)) << "no theme menu";
    EXPECT_TRUE(wait_until([&] { return all_ticked(list, false); })) << "the themes are still ticked";
    EXPECT_TRUE(wait_next_enabled(run, false));

    // A name typed afterwards enables it again, and the start is refused.
    retype(page, ids::name, L"L\u00E9a");
    EXPECT_TRUE(wait_next_enabled(run, true));
    ASSERT_TRUE(press(run.window, ids::next));
    HWND box = wait_message_box(*run.process);
    ASSERT_NE(box, nullptr) << "a start without theme was not refused";
    EXPECT_EQ(message_box_content(box).caption, L"Examen");
    EXPECT_EQ(message_box_content(box).text, message(2008));
    press(box, IDOK);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(box); }));
    EXPECT_EQ(current_page(run.window), page) << "the home page did not stay";

    // The menu's other two commands.
    ASSERT_TRUE(choose_from_theme_menu(run, page, tick_all));
    EXPECT_TRUE(wait_until([&] { return all_ticked(list, true); }));
    EXPECT_TRUE(wait_next_enabled(run, true));
    ASSERT_TRUE(choose_from_theme_menu(run, page, invert_ticks));
    EXPECT_TRUE(wait_until([&] { return all_ticked(list, false); }));
    EXPECT_TRUE(wait_next_enabled(run, false));

    // One theme ticked by its check box.
    ASSERT_TRUE(click_list_check_box(*run.process, list, 1));
    EXPECT_TRUE(wait_until([&] { return list_item_checked(list, 1); })) << "the check box did not tick";
    EXPECT_FALSE(list_item_checked(list, 0));
    EXPECT_TRUE(wait_next_enabled(run, true));
    ASSERT_TRUE(choose_from_theme_menu(run, page, invert_ticks));
    EXPECT_TRUE(wait_until([&] { return list_item_checked(list, 0) && !list_item_checked(list, 1); }));

    // The number of questions.
    struct Row {
        const wchar_t* typed;
        bool next;
    };
    for (const Row row : {Row{L"abc", false}, Row{L"-5", true}, Row{L"0", false}, Row{L"12", true},
                          Row{L"", false}, Row{L"-5", true}}) {
        SCOPED_TRACE(testing::Message() << "typed \"" << std::string(row.typed, row.typed + wcslen(row.typed))
                                        << "\"");
        retype(page, ids::count, row.typed);
        EXPECT_TRUE(wait_next_enabled(run, row.next));
    }

    // -5 asks for as many questions as the ticked themes hold.
    ASSERT_TRUE(press(run.window, ids::next));
    EXPECT_TRUE(wait_page_with(run.window, ids::open_answer_page));
    EXPECT_TRUE(wait_until([&] { return window_text(run.window) == L"Examen - Question n\u00B01/3"; }))
        << "title: " << std::string(window_text(run.window).begin(), window_text(run.window).end());
    EXPECT_TRUE(quit_runner(run));
}

TEST(HomePage, EmptyNameDisablesNext) {
    const fs::path dir = scratch_dir("home-empty-name");
    RunningQuiz run = start_quiz(dir, capitals_quiz(dir / "resultats.dat"));
    HWND page = open_home_page(run);
    ASSERT_NE(page, nullptr);
    retype(page, ids::name, L"");
    EXPECT_TRUE(wait_next_enabled(run, false));
    EXPECT_EQ(item_text(page, ids::name), L"");
    type_text(page, ids::name, L"Z");
    EXPECT_TRUE(wait_next_enabled(run, true));
    EXPECT_TRUE(quit_runner(run));
}

struct NameCase {
    const wchar_t* name;
    bool refused;
};

// Test logs show the name as typed, quoted so that a trailing space shows.
void PrintTo(const NameCase& c, std::ostream* out) {
    *out << '"';
    for (const wchar_t* p = c.name; *p; ++p) *out << static_cast<char>(*p);
    *out << '"';
}

class AnonymousNames : public testing::TestWithParam<NameCase> {};

TEST_P(AnonymousNames, AreRefusedWhenTheQuizAsks) {
    const NameCase& row = GetParam();
    const fs::path dir = scratch_dir("home-anonymous");
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.refuse_anonymous = 1;
    RunningQuiz run = start_quiz(dir, quiz);
    HWND page = open_home_page(run);
    ASSERT_NE(page, nullptr);
    retype(page, ids::name, row.name);
    ASSERT_TRUE(press(run.window, ids::next));
    if (row.refused) {
        HWND box = wait_message_box(*run.process);
        ASSERT_NE(box, nullptr) << "the name was not refused";
        EXPECT_EQ(message_box_content(box).caption, L"Savanto");
        EXPECT_EQ(message_box_content(box).text, message(138));
        press(box, IDOK);
        EXPECT_TRUE(wait_until([&] { return !IsWindow(box); }));
        EXPECT_EQ(current_page(run.window), page);
        EXPECT_TRUE(wait_until([&] { return focused_control(run.window) == GetDlgItem(page, ids::name); }))
            << "the name field has not the focus";
    } else {
        EXPECT_NE(wait_page_with(run.window, ids::open_answer_page), nullptr) << "the exam did not start";
        EXPECT_TRUE(no_message_box(*run.process, 300ms));
    }
    EXPECT_TRUE(quit_runner(run));
}

INSTANTIATE_TEST_SUITE_P(RealRunner, AnonymousNames,
                         testing::Values(NameCase{L"Anonyme", true}, NameCase{L"anonyme", true},
                                         NameCase{L"ANONYME", true}, NameCase{L"Anonyme ", false},
                                         NameCase{L"Anonymette", false}),
                         [](const testing::TestParamInfo<NameCase>& info) {
                             return std::string(info.param.refused ? "Refused_" : "Accepted_") +
                                    std::to_string(info.index);
                         });

TEST(HomePage, ChoicesReachTheExam) {
    const fs::path dir = scratch_dir("home-choices");
    const fs::path results = dir / "resultats.dat";
    RunningQuiz run = start_quiz(dir, capitals_quiz(results));
    HWND page = open_home_page(run);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(press(page, ids::more_options));
    ASSERT_TRUE(wait_until([&] { return item_visible(page, ids::home_themes); }));

    retype(page, ids::name, L"Th\u00E9o");
    ASSERT_TRUE(click_list_check_box(*run.process, GetDlgItem(page, ids::home_themes), 1));  // not the rivers
    ASSERT_TRUE(wait_until([&] { return !list_item_checked(GetDlgItem(page, ids::home_themes), 1); }));
    ASSERT_TRUE(press(page, ids::invert));
    ASSERT_TRUE(press(page, ids::time_limit_on));
    retype(page, ids::time_limit, L"60");
    retype(page, ids::count, L"2");
    ASSERT_TRUE(wait_until([&] { return button_checked(page, ids::invert) && button_checked(page, ids::time_limit_on); }));
    ASSERT_TRUE(press(run.window, ids::next));

    // The answer side is asked under the reverse prompt, with the time limit.
    HWND question = wait_page_with(run.window, ids::open_answer_page);
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(wait_until([&] { return shown_text(question, ids::question) == L"Paris"; }));
    EXPECT_EQ(shown_text(question, ids::prompt), L"De quel pays est-ce la capitale ?");
    EXPECT_EQ(window_text(run.window), L"Examen - Question n\u00B01/2");
    EXPECT_EQ(item_text(run.window, ids::countdown), L"60 secondes");
    ASSERT_TRUE(answer_question(run.window, L"France"));
    EXPECT_TRUE(wait_until([&] { return shown_text(question, ids::question) == L"Rome"; }));
    ASSERT_TRUE(answer_question(run.window, L"Italie"));
    ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr);

    const auto lines = file_lines(results);
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(lines[1], text_1252("Théo"));
    EXPECT_EQ(lines[7], "1");   // time limit on
    EXPECT_EQ(lines[8], "60");  // seconds
    EXPECT_EQ(lines[9], "0");   // in order
    EXPECT_EQ(lines[10], "1");  // inverted
    EXPECT_EQ(lines[11], "1");  // two entries
    EXPECT_TRUE(quit_runner(run));
}

}  // namespace
}  // namespace kz::e2e
