#pragma once
// A page of the exam in the terminal: it prints what the page shows, names
// the answer it expects next (the prompt), and acts on the student's answer
// through the engine, as the page's buttons and fields do in the window.
#include <optional>
#include <string>

#include "console.h"
#include "engine/exam_engine.h"
#include "media_menu.h"
#include "quiz/quiz_model.h"
#include "terminal_view.h"

namespace kz::term {

// What every page reaches.
struct PlayerContext {
    const QuizModel& model;
    Console& console;
    TerminalView& view;
    ExamEngine& engine;
    MediaMenu& menu;
    bool quit_requested = false;  // the window may close
    // The results file that the quiz named and the player would not write
    // to (Windows-1252, as the quiz holds it); the record went to the
    // student's own results file instead.
    std::optional<std::string> refused_author_file;
};

class TerminalPage {
public:
    explicit TerminalPage(PlayerContext& context) : context_(context) {}
    virtual ~TerminalPage() = default;
    TerminalPage(const TerminalPage&) = delete;
    TerminalPage& operator=(const TerminalPage&) = delete;

    // A new page or a new question: the page's own progress starts afresh.
    virtual void start() {}
    // Prints the whole page.
    virtual void show() = 0;
    // Prints what changed on the page since it was printed (the hangman's word).
    virtual void show_change() {}
    // The label of the prompt for the next answer.
    virtual std::string prompt_label() = 0;
    // Acts on an answer (a line that is no command).
    virtual void take(const std::string& answer) = 0;
    // "Suivant >" without an answer (":suivant").
    virtual void press_next();

protected:
    PlayerContext& context_;
};

// "== text ==", a page's first line, after an empty line.
void show_page_header(Console& console, const std::string& text);

}  // namespace kz::term
