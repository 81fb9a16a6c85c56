#pragma once
// The exam played in the terminal from start to end: the page now shown is
// printed when it changes, its prompt asks for the next answer, and the
// answer goes to the page or, for a line beginning with ":", to the frame's
// command it names. While the player waits for an answer the exam's timers
// keep running: when the question's time runs out, the engine grades the
// answer given so far (none, since a line not yet sent is no answer) and the
// next page is printed.
#include <cstdint>

#include "end_page.h"
#include "exam_timers.h"
#include "frame_commands.h"
#include "hangman_page.h"
#include "home_page.h"
#include "media_player.h"
#include "multiple_choice_page.h"
#include "open_answer_page.h"
#include "pot_pourri_page.h"
#include "scrambled_letters_page.h"
#include "terminal_clock.h"
#include "true_false_page.h"
#include "welcome_page.h"

namespace kz::term {

class PlayerSession {
public:
    PlayerSession(PlayerContext& context, ExamTimers& timers, TerminalClock& clock, MediaPlayer& media);

    // Runs until the student quits or the input ends.
    void run();

private:
    // No page at all: a quiz without welcome and home page whose exam could
    // not start. Only the frame's commands are left, "Suivant >" among them.
    class BlankPage final : public TerminalPage {
    public:
        using TerminalPage::TerminalPage;
        void show() override {}
        std::string prompt_label() override;
        void take(const std::string& answer) override;
    };

    TerminalPage& current_page();
    // Waits for the page's answer and acts on it. False when the input has ended.
    bool answer_page(TerminalPage& page);
    void deliver_due_ticks();
    void run_command(const Command& command, TerminalPage& page);
    void open_picture(const std::string& argument);
    void play(const std::string& argument);
    void wait_seconds(const std::string& argument);
    void say_input_ended();

    PlayerContext& context_;
    ExamTimers& timers_;
    TerminalClock& clock_;
    MediaPlayer& media_;

    WelcomePage welcome_;
    HomePage home_;
    OpenAnswerPage open_answer_;
    MultipleChoicePage multiple_choice_;
    TrueFalsePage true_false_;
    PotPourriPage pot_pourri_;
    HangmanPage hangman_;
    ScrambledLettersPage scrambled_letters_;
    ExamEndPage end_;
    BlankPage blank_;

    std::uint64_t started_generation_ = ~std::uint64_t{0};
};

}  // namespace kz::term
