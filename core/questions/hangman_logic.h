#pragma once
// The hangman game's rules, apart from any window: the masked answer, the
// test of one typed letter and the tries-left text. The hangman page keeps a
// HangmanState per question, hands each typed letter to uncover_letter, shows
// the new state and acts on the outcome.
#include <string>
#include <string_view>

#include "questions/matcher.h"

namespace kz {

// Every question starts with this many tries; the progress bar's range is 0
// to this number, and the out-of-tries message quotes it.
inline constexpr unsigned hangman_tries = 5;

// The character shown in place of a hidden character of the answer.
inline constexpr char hidden_mark = '#';

struct HangmanState {
    unsigned tries_left = hangman_tries;
    // Every letter accepted for testing in this question, as transformed by
    // the options, in the order tried.
    std::string tried_letters;
    // The expected answer with its still hidden characters shown as '#'.
    std::string masked;
};

enum class LetterOutcome {
    letter_missing,     // nothing typed: message 131, nothing changes
    one_letter_only,    // more than one character: message 132, nothing changes
    already_tried,      // message 133 quoting the letter, nothing changes
    found,              // uncovered at least one place; letters remain hidden
    missed,             // no place uncovered, one try lost, tries remain
    fully_uncovered,    // the last hidden place is uncovered: grade at once
    out_of_tries,       // the last try is lost: message 134, then grade
};

struct LetterResult {
    HangmanState state;
    LetterOutcome outcome = LetterOutcome::letter_missing;
    // The transformed letter, as message 133 quotes it (empty otherwise).
    std::string letter_for_message;
};

// The answer as first shown: every character hidden except spaces and
// punctuation, whatever the quiz's tolerance options.
std::string mask_answer(std::string_view expected);

// The state at the start of a question: all tries, no letter tried, the
// answer masked.
HangmanState start_hangman(std::string_view expected);

// Tries the text typed in the letter box against the plain expected answer
// and uncovers the letter where it stands: every place of the answer whose
// character, transformed the same way, begins with it. The typed text is put
// in capitals with ignore case, and a single character is folded with ignore
// accents (a ligature then becomes two letters and is refused). A letter
// found nowhere costs a try.
LetterResult uncover_letter(std::string_view typed, const HangmanState& state,
                            std::string_view expected, const MatchOptions& options);

// True when no character of the answer is hidden any more.
bool fully_uncovered(std::string_view masked, std::string_view expected);

// "5 essais restants", "1 essai restant", "0 essai restant".
std::string tries_left_text(unsigned tries_left);

// The message box text that goes with the outcome (messages 131 to 134), or
// an empty text when the outcome has no message.
std::string letter_message(const LetterResult& result);

}  // namespace kz
