#pragma once
// The running exam: stage flags, the question pool and the draw log, the
// counters, the current question, the timers' counts and the score text.
#include <cstdint>
#include <string>
#include <vector>

namespace kz {

// One question of the quiz: its theme and its place in the theme.
struct QuestionRef {
    std::uint32_t theme = 0;
    std::uint32_t question = 0;
    friend bool operator==(const QuestionRef&, const QuestionRef&) = default;
};

// The questions eligible for the exam. Drawing removes entries from
// `remaining`, never from `all`, from which some exam types draw their wrong
// proposals.
struct QuestionPool {
    std::vector<QuestionRef> remaining;
    std::vector<QuestionRef> all;

    void clear() {
        remaining.clear();
        all.clear();
    }
    void add(QuestionRef ref) {
        remaining.push_back(ref);
        all.push_back(ref);
    }
    std::size_t size() const { return all.size(); }
};

struct ExamState {
    // Stages.
    bool home_page = false;       // the home page is used (quiz option, forced on by "Page d'accueil")
    bool welcome_passed = false;  // the next Next starts the exam or shows the home page
    bool running = false;         // question pages are shown
    bool finished = false;        // the current exam has ended
    bool replay = false;          // the exam replays the draw log ("Recommencer")
    bool busy = false;            // a question is being prepared: Next is ignored
    bool muted = false;           // the event sounds are silenced; survives every reset

    QuestionPool pool;
    std::vector<std::uint32_t> draw_log;  // pool position drawn for question k

    std::uint32_t asked = 0;  // questions graded so far in this exam
    std::uint32_t right = 0;
    std::uint32_t wrong = 0;

    // True/false: whether the statement shown is false.
    int statement_false = 0;
    // The time limit is pressing "Suivant >" for the student: a true/false
    // statement then counts as unanswered, whatever was chosen.
    bool time_up = false;

    QuestionRef current;  // the question now asked

    std::int32_t question_seconds = 0;  // seconds elapsed on the current countdown
    std::int32_t elapsed_seconds = 0;   // seconds since the exam started
    std::string score_text;             // "13/20" or "66 %"
};

}  // namespace kz
