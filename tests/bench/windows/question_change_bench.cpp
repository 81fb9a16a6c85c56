// Time from "Suivant >" to the next question painted, in the real runner
// under Wine or Windows, on the open-answer and multiple-choice pages: on the
// largest quiz the format allows (50 themes of 500 questions, in random
// order) against a small quiz (four questions, exams of three), in the same
// run. Not a test: run it by hand and note the figures.
//
//   question_change_bench.exe [presses per case]
//
// One measure: the press is posted to "Suivant >"; the runner answers the
// window title only once it has graded the answer and prepared the next
// question; then every window of the exam that still has something to paint
// is painted at once (RedrawWindow with RDW_UPDATENOW sends the paint
// messages and waits for them). The time is taken when that returns.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "common/paths.h"
#include "harness/exam_window.h"
#include "harness/harness.h"

namespace {

namespace fs = std::filesystem;
using namespace kz::e2e;
using Clock = std::chrono::steady_clock;

constexpr int open_answer = 0, multiple_choice = 1;
constexpr int next_button = 1002, answer_field = 1011, first_tick = 1010, restart_button = 1022;

void allow_only(kz::QuizModel& quiz, int exam_type) {
    quiz.allow_open_answer = exam_type == open_answer;
    quiz.allow_multiple_choice = exam_type == multiple_choice;
    quiz.allow_true_false = quiz.allow_pot_pourri = quiz.allow_hangman = quiz.allow_scrambled_letters = 0;
}

// An exam that starts at once, without welcome, home page or training mode.
void start_at_once(kz::QuizModel& quiz, int exam_type, int questions, const fs::path& results) {
    allow_only(quiz, exam_type);
    quiz.product_name = "Savanto";
    quiz.show_welcome_page = 0;
    quiz.use_home_page = 0;
    quiz.default_training_mode = 0;
    quiz.default_time_limit_on = 0;
    quiz.default_question_count = questions;
    quiz.results_storage_mode = 1;
    quiz.results_file_path = kz::path_to_cp1252(results);
}

kz::QuizModel small_quiz() {
    kz::QuizModel quiz;
    quiz.quiz_name = "Petit questionnaire";
    kz::Theme theme;
    theme.name = "Capitales";
    theme.prompt = kz::bench::realistic_rtf("Quelle est la capitale de ce pays ?", true);
    for (const auto& [country, city] : {std::pair{"France", "Paris"}, {"Italie", "Rome"}, {"Espagne", "Madrid"},
                                        {"Allemagne", "Berlin"}})
        theme.questions.push_back({kz::bench::realistic_rtf(country), kz::bench::realistic_rtf(city), "", "", ""});
    quiz.themes = {theme};
    return quiz;
}

// Waits until the title shows question `number` (a message the runner
// answers only between two commands); false after the time.
bool wait_title(HWND window, int number, std::chrono::seconds timeout = std::chrono::seconds(30)) {
    const auto deadline = Clock::now() + timeout;
    while (question_number(window) != number)
        if (Clock::now() > deadline) return false;
    return true;
}

// An answer on the page as it stands: a word typed, or the first box ticked.
bool answer(HWND window, int exam_type) {
    HWND page = current_page(window);
    if (!page) return false;
    if (exam_type == open_answer) {
        type_text(page, answer_field, L"Paris");
        return true;
    }
    if (!press(page, first_tick)) return false;
    return wait_until([&] { return button_checked(page, first_tick); }, std::chrono::seconds(5));
}

struct Figures {
    std::vector<double> milliseconds;
    bool failed = false;
};

// `presses` question changes on the quiz's runner, the exam restarted from its
// end page ("Recommencer") when it has no more questions.
Figures measure(const kz::QuizModel& quiz, int presses, const fs::path& dir) {
    Figures figures;
    RunningQuiz run = start_quiz(dir, quiz);
    if (!run.window || !wait_title(run.window, 1, std::chrono::seconds(120))) {
        figures.failed = true;
        return figures;
    }
    const int last = quiz.default_question_count;
    int number = 1;
    while (static_cast<int>(figures.milliseconds.size()) < presses) {
        if (!answer(run.window, quiz.allow_open_answer ? open_answer : multiple_choice)) {
            figures.failed = true;
            break;
        }
        if (number == last) {
            // The last answer: on to the end page and back to the first question.
            press(run.window, next_button);
            HWND end = wait_page_with(run.window, 9741, std::chrono::seconds(10));
            if (!end || !press(end, restart_button) || !wait_title(run.window, 1)) {
                figures.failed = true;
                break;
            }
            number = 1;
            continue;
        }
        Sleep(50);  // the runner idle, as after a student's click
        const auto start = Clock::now();
        PostMessageW(GetDlgItem(run.window, next_button), BM_CLICK, 0, 0);
        if (!wait_title(run.window, number + 1)) {
            figures.failed = true;
            break;
        }
        RedrawWindow(run.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        figures.milliseconds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        ++number;
    }
    run.process->kill();
    return figures;
}

void report(const char* name, Figures figures) {
    if (figures.failed || figures.milliseconds.empty()) {
        std::printf("%-48s failed\n", name);
        return;
    }
    auto& ms = figures.milliseconds;
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[static_cast<std::size_t>(q * static_cast<double>(ms.size() - 1))]; };
    double sum = 0;
    for (double m : ms) sum += m;
    std::printf("%-48s median %7.2f ms  mean %7.2f  p90 %7.2f  min %7.2f  max %7.2f  (%zu presses)\n", name, at(0.5),
                sum / static_cast<double>(ms.size()), at(0.9), ms.front(), ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    const fs::path dir = scratch_dir("question-change-bench");
    const fs::path results = dir / "resultats.dat";

    std::printf("runner: %s\n", runner_path().string().c_str());
    const auto build_start = Clock::now();
    const kz::QuizModel largest = kz::bench::largest_quiz();
    std::printf("largest quiz: %zu themes of %zu questions (made in %.1f s)\n", largest.themes.size(),
                largest.themes[0].questions.size(),
                std::chrono::duration<double>(Clock::now() - build_start).count());

    struct Case {
        const char* name;
        int exam_type;
        bool largest;
    };
    const Case cases[] = {{"open answer, largest quiz (25,000 questions)", open_answer, true},
                          {"open answer, small quiz (3 of 4 questions)", open_answer, false},
                          {"multiple choice, largest quiz (25,000 questions)", multiple_choice, true},
                          {"multiple choice, small quiz (3 of 4 questions)", multiple_choice, false}};
    for (const Case& one : cases) {
        kz::QuizModel quiz = one.largest ? largest : small_quiz();
        start_at_once(quiz, one.exam_type, one.largest ? 400 : 3, results);
        report(one.name, measure(quiz, presses, dir));
    }
    return 0;
}
