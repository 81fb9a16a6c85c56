#pragma once
// The tolerant answer matcher: one comparison for every typed and chosen
// answer, with the quiz's four tolerances (case, accents, punctuation,
// articles).
#include <string>
#include <string_view>

#include "quiz/quiz_model.h"

namespace kz {

struct MatchOptions {
    bool ignore_case = false;
    bool ignore_accents = false;
    bool ignore_punctuation = false;
    bool ignore_articles = false;

    static MatchOptions of(const QuizModel& model) {
        return {model.ignore_case != 0, model.ignore_accents != 0, model.ignore_punctuation != 0,
                model.ignore_articles != 0};
    }
};

// True when the two texts say the same thing under the options. Changes both
// texts in place: capitals with ignore case; the article-free word sequence
// with ignore articles (unless nothing would remain). Callers that need the
// texts as they were pass copies.
bool match_answer(std::string& first, std::string& second, const MatchOptions& options);

// One character folded to its unaccented form: one or two characters.
std::string fold_accent(char ch);
// Empty when the text (one or two characters) occurs in the punctuation set.
std::string strip_punctuation(std::string_view text);
// Empty when the word is a stop word (article, possessive, demonstrative).
std::string drop_stop_word(std::string_view word);

// The form in which one character takes part in a comparison under the
// options: capitals with ignore case, unaccented with ignore accents (one or
// two characters). With both on, the folded form is in capitals too, so that
// "ß" compares as "SS" like every other letter compares as its capital.
// The hangman game transforms typed letters and answer letters with it.
std::string letter_form(char ch, const MatchOptions& options);

}  // namespace kz
