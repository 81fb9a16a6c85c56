#include "console.h"

#include "standard_streams.h"
#include "system_programs.h"
#include "terminal_text.h"

namespace kz::term {

void Console::write(std::string_view utf8) {
    if (utf8.empty()) return;
    write_output(utf8);
    at_line_start_ = utf8.back() == '\n';
    printed_since_prompt_ = true;
}

void Console::print(std::string_view text) { write(printable(text)); }

void Console::line(std::string_view text) {
    write(printable(text) + "\n");
}

void Console::line(const ShownText& text) { write(text.utf8() + "\n"); }

void Console::end_line() {
    if (!at_line_start_) write("\n");
}

void Console::print_path(const std::filesystem::path& path) { write(printable_utf8(utf8_of_path(path))); }

void Console::prompt(std::string_view label) {
    // A prompt always stands at the start of a line of its own.
    std::string text = at_line_start_ ? "" : "\n";
    text += "? " + printable(label) + " : ";
    write(text);
    printed_since_prompt_ = false;
}

std::optional<std::string> Console::accept(std::string_view utf8_line) {
    const DecodedLine decoded = decode_line(utf8_line);
    if (input_.from_terminal()) {
        at_line_start_ = true;  // the terminal has echoed the line and its end
    } else {
        // The answer, shown as the student would have seen it typed.
        line(decoded.shown);
    }
    if (!decoded.text) {
        // The refused characters are quoted as typed: none of them is a
        // control character, all of which Windows-1252 holds.
        write(printable(cp(u8"Ces caractères ne peuvent pas être utilisés dans ce questionnaire : ")) +
              decoded.refused + "\n");
        return std::nullopt;
    }
    return decoded.text;
}

std::optional<std::string> Console::ask(std::string_view label) {
    for (;;) {
        prompt(label);
        const LineInput::Event event = input_.wait(std::nullopt);
        if (event.kind != LineInput::Event::Kind::line) {
            end_line();
            return std::nullopt;
        }
        if (auto text = accept(event.text)) return text;
    }
}

}  // namespace kz::term
