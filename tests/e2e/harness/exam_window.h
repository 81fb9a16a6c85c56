#pragma once
// The exam window of a quiz under test: small quizzes built for one test, the
// runner started on them, and the student's usual moves (answering, quitting).
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "harness/harness.h"
#include "quiz/quiz_model.h"

namespace kz::e2e {

// Control and page numbers of the runner, as the student meets them.
namespace ids {
inline constexpr int about = 1000, quit = 1001, next = 1002, title = 1004, help = 1014, clock = 1018,
                     sound = 1019, palette = 1021, banner = 1041, logo = 1044, countdown = 6137;
// Pages, each found by a control that only it has.
inline constexpr int welcome_text = 1019;  // welcome page (446)
inline constexpr int home_themes = 777;    // home page (107)
inline constexpr int end_text = 9741;      // end page (102)
inline constexpr int open_answer_page = 1028;  // open-answer page (106): its question picture
inline constexpr int answer = 1011, prompt = 1012, question = 1013, play = 1026, stop = 1027, question_image = 1028;
// Home page.
inline constexpr int name_label = 1020, name = 1005, more_options = 1009, themes_label = 1021, type_label = 1022,
                     type = 1007, time_limit_on = 1010, time_limit = 1026, count_label = 1016, count = 1025,
                     order_label = 1017, random_order = 1011, fixed_order = 1012, invert = 1013, training = 1027;
// End page.
inline constexpr int details = 1020, home = 1021, restart = 1022;
// Help and About.
inline constexpr int help_text = 1014;
}  // namespace ids

// Two themes of a few questions each, open answers only, questions in order,
// with a welcome page and a home page, and the results written to
// `results_file` (storage mode 1).
QuizModel capitals_quiz(const std::filesystem::path& results_file);

// The capitals quiz's questions in order and their right answers, as shown.
struct QuestionAndAnswer {
    std::wstring question;
    std::wstring answer;
};
std::vector<QuestionAndAnswer> capitals_questions();

struct RunningQuiz {
    std::optional<Process> process;
    HWND window = nullptr;  // the main exam window
    std::filesystem::path file;
};

// Writes the quiz into the test's scratch folder and starts it; the window is
// none when it did not open.
RunningQuiz start_quiz(const std::filesystem::path& dir, const QuizModel& quiz,
                       const std::vector<std::string>& blobs = {});

// The plain text shown by a rich-text control or any control.
std::wstring shown_text(HWND page, int id);

// Types the answer into the open-answer page's box and presses "Suivant >".
// False when the page was not an open-answer page.
bool answer_question(HWND main_window, const std::wstring& typed);

// Quits the runner from any page: "Quitter", then "Oui" if the exam asks.
bool quit_runner(RunningQuiz& quiz);

// A check for screenshot_when of the exam window: the current page painted in
// the page's colour and the frame's "Quitter" button written, which is
// painted last.
std::function<bool(const Picture&)> exam_window_painted(HWND main_window, COLORREF page_colour);

// The number that the main window's title shows for the current question
// ("Examen - Question n°2/3" gives 2), 0 when none.
int question_number(HWND main_window);

}  // namespace kz::e2e
