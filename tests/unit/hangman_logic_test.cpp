// The hangman game's rules: the masked answer, letter after letter through
// whole questions, and the texts the page shows.
#include "questions/hangman_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kz {
namespace {

constexpr MatchOptions strict{};
constexpr MatchOptions case_only{true, false, false, false};
constexpr MatchOptions accents_only{false, true, false, false};
constexpr MatchOptions case_and_accents{true, true, false, false};

using O = LetterOutcome;

TEST(MaskAnswer, HidesEverythingButSpacesAndPunctuation) {
    const struct {
        std::string answer;
        std::string masked;
    } rows[] = {
        {"New York", "### ####"},
        {"l'\xE9t\xE9", "#'###"},
        {"C'est-\xE0-dire !", "#'###-#-#### !"},
        {"1+1=2", "#####"},
        {"\xAB" "\x9C" "uvre\xBB", "\xAB#####\xBB"},
        {"a  b", "#  #"},
        {"", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(mask_answer(row.answer), row.masked) << row.answer;
}

struct Step {
    std::string typed;
    LetterOutcome outcome;
    std::string masked;
    unsigned tries_left;
    std::string letter_for_message = {};
};

struct GameRow {
    const char* name;
    MatchOptions options;
    std::string answer;
    std::vector<Step> steps;
};

TEST(UncoverLetter, PlaysWholeQuestionsLetterByLetter) {
    const GameRow rows[] = {
        {"lower case does not uncover a capital",
         strict, "Paris", {{"p", O::missed, "#####", 4}, {"P", O::found, "P####", 4}}},
        {"ignore case uncovers the capital and refuses it later",
         case_only, "Paris",
         {{"p", O::found, "P####", 5}, {"P", O::already_tried, "P####", 5, "P"}}},
        {"an unaccented letter uncovers every accented form",
         accents_only, "\xE9l\xE8ve \xEAtre",
         {{"e", O::found, "\xE9#\xE8#e \xEA##e", 5},
          {"\xE9", O::already_tried, "\xE9#\xE8#e \xEA##e", 5, "e"}}},
        {"with ignore case the capitals are uncovered too",
         case_and_accents, "\xC9t\xE9",
         {{"\xE9", O::found, "\xC9#\xE9", 5}, {"t", O::fully_uncovered, "\xC9t\xE9", 5}}},
        {"o uncovers the ligature", accents_only, "\x9Cuf",
         {{"o", O::found, "\x9C##", 5}, {"e", O::missed, "\x9C##", 4}}},
        {"typed ligatures fold to two letters", case_and_accents, "\x9Cuf",
         {{"\x8C", O::one_letter_only, "###", 5},
          {"\x9C", O::one_letter_only, "###", 5},
          {"\xC6", O::one_letter_only, "###", 5},
          {"\xDF", O::one_letter_only, "###", 5}}},
        {"without ignore accents a ligature is one letter", strict, "\x9Cuf",
         {{"\x9C", O::found, "\x9C##", 5}}},
        {"s uncovers sharp s under ignore case and accents", case_and_accents, "Stra\xDF" "e",
         {{"s", O::found, "S###\xDF#", 5}}},
        {"nothing typed or two letters cost no try", strict, "Paris",
         {{"", O::letter_missing, "#####", 5}, {"ar", O::one_letter_only, "#####", 5}}},
        {"a space in the answer counts as found", strict, "New York",
         {{" ", O::found, "### ####", 5}}},
        {"a space absent from the answer costs a try", strict, "Paris",
         {{" ", O::missed, "#####", 4}}},
        {"the fifth miss ends the question", strict, "Paris",
         {{"x", O::missed, "#####", 4},
          {"y", O::missed, "#####", 3},
          {"a", O::found, "#a###", 3},
          {"z", O::missed, "#a###", 2},
          {"w", O::missed, "#a###", 1},
          {"q", O::out_of_tries, "#a###", 0}}},
        {"the last letter uncovers the whole answer", case_only, "New York",
         {{"n", O::found, "N## ####", 5},
          {"e", O::found, "Ne# ####", 5},
          {"w", O::found, "New ####", 5},
          {"y", O::found, "New Y###", 5},
          {"o", O::found, "New Yo##", 5},
          {"r", O::found, "New Yor#", 5},
          {"k", O::fully_uncovered, "New York", 5}}},
        {"an empty answer has nothing to find", strict, "", {{"a", O::missed, "", 4}}},
    };
    for (const auto& row : rows) {
        HangmanState state = start_hangman(row.answer);
        for (std::size_t i = 0; i < row.steps.size(); ++i) {
            const Step& step = row.steps[i];
            const LetterResult result = uncover_letter(step.typed, state, row.answer, row.options);
            const std::string where = std::string(row.name) + ", step " + std::to_string(i + 1);
            EXPECT_EQ(result.outcome, step.outcome) << where;
            EXPECT_EQ(result.state.masked, step.masked) << where;
            EXPECT_EQ(result.state.tries_left, step.tries_left) << where;
            EXPECT_EQ(result.letter_for_message, step.letter_for_message) << where;
            state = result.state;
        }
    }
}

TEST(UncoverLetter, RecordsTriedLettersAsTransformedAndOnlyWhenAccepted) {
    HangmanState state = start_hangman("\xC9t\xE9");
    for (const char* typed : {"\xE9", "", "ab", "x", "E"})
        state = uncover_letter(typed, state, "\xC9t\xE9", case_and_accents).state;
    EXPECT_EQ(state.tried_letters, "EX");
}

TEST(UncoverLetter, NeverCountsTriesBelowZero) {
    HangmanState state = start_hangman("Paris");
    state.tries_left = 0;
    const LetterResult result = uncover_letter("x", state, "Paris", strict);
    EXPECT_EQ(result.outcome, O::out_of_tries);
    EXPECT_EQ(result.state.tries_left, 0u);
}

TEST(TriesLeftText, AgreesWithTheNumber) {
    const std::pair<unsigned, std::string> rows[] = {
        {5, "5 essais restants"}, {2, "2 essais restants"}, {1, "1 essai restant"},
        {0, "0 essai restant"}};
    for (const auto& [tries, text] : rows) EXPECT_EQ(tries_left_text(tries), text);
}

TEST(LetterMessage, QuotesTheLetterOrTheNumberOfTries) {
    const struct {
        LetterOutcome outcome;
        std::string letter;
        std::string message;
    } rows[] = {
        {O::letter_missing, "", "Vous devez taper une lettre \xE0 essayer dans le cadre appropri\xE9 !"},
        {O::one_letter_only, "", "Vous devez taper qu'une lettre \xE0 essayer \xE0 la fois !"},
        {O::already_tried, "P", "La lettre P a d\xE9j\xE0 \xE9t\xE9 essay\xE9" "e !"},
        {O::out_of_tries, "",
         "D\xE9sol\xE9, vous n'avez pas pu trouver la r\xE9ponse apr\xE8s les 5 essais qu'il vous "
         "\xE9tait donn\xE9s."},
        {O::found, "", ""},
        {O::missed, "", ""},
        {O::fully_uncovered, "", ""},
    };
    for (const auto& row : rows) {
        const LetterResult result{{}, row.outcome, row.letter};
        EXPECT_EQ(letter_message(result), row.message);
    }
}

}  // namespace
}  // namespace kz
