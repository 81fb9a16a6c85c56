#pragma once
// The terminal as the pages use it: lines of Windows-1252 text printed in
// UTF-8, and prompts. A prompt is one line that begins with "? " and ends
// with " : ", so that a script (or a screen reader) knows when an answer is
// expected; the answer is one line. When the answers do not come from a
// person at a terminal, each answer is printed after its prompt, so that the
// output reads like the session it was.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "line_input.h"
#include "terminal_text.h"

namespace kz::term {

class Console {
public:
    explicit Console(LineInput& input) : input_(input) {}

    // Prints Windows-1252 text, made printable (see printable()).
    void print(std::string_view text);
    // Prints the text and ends the line.
    void line(std::string_view text = {});
    // Prints a text as shown (a quiz text with all its characters) and ends the line.
    void line(const ShownText& text);
    // Ends the line the cursor stands on, if any (after a prompt left unanswered).
    void end_line();
    // A path as the system names it, without the control characters that a
    // path (an author's results file) may hold and that could drive the terminal.
    void print_path(const std::filesystem::path& path);

    // Shows the prompt "? label : " and leaves the cursor after it.
    void prompt(std::string_view label);

    // Takes a line read after a prompt: prints it when the answers do not come
    // from a terminal, and turns it into Windows-1252. Nothing when the line
    // holds characters that Windows-1252 lacks (the student is told).
    std::optional<std::string> accept(std::string_view utf8_line);

    // A modal question: prompt, then the first line that can be taken.
    // Nothing at the end of the input. Timers do not run meanwhile, as behind
    // a message box.
    std::optional<std::string> ask(std::string_view label);

    LineInput& input() { return input_; }

    // True when something was printed since the last prompt, so that the
    // prompt must be shown again before the student answers.
    bool printed_since_prompt() const { return printed_since_prompt_; }

private:
    void write(std::string_view utf8);

    LineInput& input_;
    bool at_line_start_ = true;
    bool printed_since_prompt_ = false;
};

}  // namespace kz::term
