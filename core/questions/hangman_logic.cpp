#include "questions/hangman_logic.h"

#include "common/text_helpers.h"
#include "res/string_table.h"

namespace kz {
namespace {

// The message text with its first occurrence of the placeholder replaced.
std::string fill_in(std::string text, std::string_view placeholder, std::string_view value) {
    const auto at = text.find(placeholder);
    if (at != std::string::npos) text.replace(at, placeholder.size(), value);
    return text;
}

}  // namespace

std::string mask_answer(std::string_view expected) {
    std::string masked(expected);
    for (char& c : masked)
        if (!strip_punctuation(std::string_view(&c, 1)).empty()) c = hidden_mark;
    return masked;
}

HangmanState start_hangman(std::string_view expected) {
    return {hangman_tries, {}, mask_answer(expected)};
}

bool fully_uncovered(std::string_view masked, std::string_view expected) {
    return upper_1252(masked) == upper_1252(expected);
}

LetterResult uncover_letter(std::string_view typed, const HangmanState& state,
                            std::string_view expected, const MatchOptions& options) {
    LetterResult result{state, LetterOutcome::letter_missing, {}};
    if (typed.empty()) return result;
    if (typed.size() > 1) {
        result.outcome = LetterOutcome::one_letter_only;
        return result;
    }
    // Capitals and folding as the options ask; a folded ligature is two
    // letters and cannot be tested as one.
    const std::string letter = letter_form(typed.front(), options);
    if (letter.size() > 1) {
        result.outcome = LetterOutcome::one_letter_only;
        return result;
    }
    if (state.tried_letters.find(letter.front()) != std::string::npos) {
        result.outcome = LetterOutcome::already_tried;
        result.letter_for_message = letter;
        return result;
    }

    HangmanState& next = result.state;
    next.tried_letters += letter;
    bool found = false;
    for (std::size_t i = 0; i < expected.size() && i < next.masked.size(); ++i) {
        if (letter_form(expected[i], options).front() == letter.front()) {
            next.masked[i] = expected[i];
            found = true;
        }
    }

    if (found) {
        result.outcome = fully_uncovered(next.masked, expected) ? LetterOutcome::fully_uncovered
                                                                : LetterOutcome::found;
        return result;
    }
    // A test after the last try (the page should have moved on) loses nothing
    // more: the count stays at zero instead of wrapping round.
    if (next.tries_left > 0) --next.tries_left;
    result.outcome = next.tries_left > 0 ? LetterOutcome::missed : LetterOutcome::out_of_tries;
    return result;
}

std::string tries_left_text(unsigned tries_left) {
    const char* plural = tries_left >= 2 ? "s" : "";
    return std::to_string(tries_left) + " essai" + plural + " restant" + plural;
}

std::string letter_message(const LetterResult& result) {
    switch (result.outcome) {
    case LetterOutcome::letter_missing:
        return load_message(str::letter_missing);
    case LetterOutcome::one_letter_only:
        return load_message(str::one_letter_only);
    case LetterOutcome::already_tried:
        return fill_in(load_message(str::letter_already_tried), "%s", result.letter_for_message);
    case LetterOutcome::out_of_tries:
        return fill_in(load_message(str::hangman_lost), "%i", std::to_string(hangman_tries));
    case LetterOutcome::found:
    case LetterOutcome::missed:
    case LetterOutcome::fully_uncovered:
        return {};
    }
    return {};
}

}  // namespace kz
