#pragma once
// The commands that stand for the window's buttons and icons, typed at any
// prompt: a line that begins with ":" (":aide", ":quitter" ...). An answer
// that itself begins with ":" is typed with the colon doubled ("::)" answers
// ":)"). No answer of the quiz is ever taken for a command.
#include <optional>
#include <string>
#include <string_view>

namespace kz::term {

enum class CommandKind {
    help,        // ":aide" — the "Aide" button
    about,       // ":apropos" — the "À propos..." button
    sound,       // ":son" — the sound icon: mutes or restores the event sounds
    next,        // ":suivant" — the "Suivant >" button
    quit,        // ":quitter" — the "Quitter" button
    page,        // ":page" — shows the page again
    view,        // ":voir N" — opens picture N
    play,        // ":jouer N" — plays sound or music N
    stop,        // ":stop" — stops sound and music
    time,        // ":temps" — the time left on the question
    site,        // ":site" — opens the web site of the About box
    commands,    // ":commandes" or ":?" — lists the commands
    wait,        // ":attendre N" — with the fake clock only: N seconds pass
    unknown,
};

struct Command {
    CommandKind kind = CommandKind::unknown;
    std::string word;      // as typed, without the colon
    std::string argument;  // what follows the word, trimmed
};

// A typed line (Windows-1252) is either a command or an answer.
struct TypedLine {
    std::optional<Command> command;
    std::string answer;  // when it is no command: the answer, a doubled colon made single
};

TypedLine read_typed_line(std::string_view line);

// The list of commands, as ":commandes" prints it (Windows-1252); the
// fake-clock command is listed only when that clock runs.
std::string command_list(bool with_fake_clock);

}  // namespace kz::term
