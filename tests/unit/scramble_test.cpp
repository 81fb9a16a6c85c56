// The scrambled-letters game: each word shuffled in place, spaces kept, every
// order of a word equally likely, and the give-up of a failing generator.
#include "questions/scramble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kz {
namespace {

// Plays back the given draws, then repeats the last one forever; counts them.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<std::uint32_t> draws) : draws_(std::move(draws)) {}
    std::uint32_t below(std::uint32_t) override {
        const auto value = draws_[std::min(count_, draws_.size() - 1)];
        ++count_;
        return value;
    }
    std::size_t count() const { return count_; }

private:
    std::vector<std::uint32_t> draws_;
    std::size_t count_ = 0;
};

std::string sorted(std::string text) {
    std::sort(text.begin(), text.end());
    return text;
}

TEST(ScrambleWord, PutsEachCharacterAtTheFirstFreePlaceDrawn) {
    const struct {
        std::string word;
        std::vector<std::uint32_t> draws;
        std::string shuffled;
    } rows[] = {
        {"abc", {2, 0, 0, 2, 1}, "bca"},  // c draws the taken 0 and 2, then 1
        {"ab", {1, 0}, "ba"},
        {"abcd", {0, 1, 2, 3}, "abcd"},  // a lucky draw leaves the word as it was
    };
    for (const auto& row : rows) {
        ScriptedRandom random(row.draws);
        EXPECT_EQ(scramble_word(row.word, random), row.shuffled) << row.word;
    }
}

TEST(ScrambleWord, GivesUpAfterFiveThousandFruitlessDrawsAndKeepsTheWord) {
    ScriptedRandom stuck({1, 0, 0});  // the third letter never finds place 2
    EXPECT_EQ(scramble_word("abc", stuck), "abc");
    EXPECT_EQ(stuck.count(), 2u + 5000u);
}

TEST(ScrambleWord, AlwaysGivesAPermutationOfTheWord) {
    DefaultRandom random(11);
    const std::vector<std::string> words = {
        "", "a", "aa", "Eiffel", "l'\xE9t\xE9", "peut-\xEAtre", "\x9C\xDF\xFF",
        std::string(255, 'x') + "y", std::string(1000, 'z') + "abc"};
    for (const auto& word : words) {
        for (int i = 0; i < 200; ++i) {
            const std::string shuffled = scramble_word(word, random);
            ASSERT_EQ(sorted(shuffled), sorted(word)) << word.substr(0, 20);
        }
    }
}

TEST(ScrambleWord, DrawsEveryOrderOfFourLettersWithEqualChance) {
    DefaultRandom random(2024);
    std::map<std::string, int> seen;
    const int trials = 24000;
    for (int i = 0; i < trials; ++i) ++seen[scramble_word("abcd", random)];
    ASSERT_EQ(seen.size(), 24u);  // all 4! orders
    const double expected = trials / 24.0;
    double chi_square = 0;
    for (const auto& [order, count] : seen) chi_square += (count - expected) * (count - expected) / expected;
    // 23 degrees of freedom: 70 lies far beyond any plausible fluctuation
    // (p < 1e-6) yet well below what a biased shuffle produces.
    EXPECT_LT(chi_square, 70.0);
}

TEST(ScrambleWord, ShufflesTheApostropheWithTheLetters) {
    DefaultRandom random(3);
    std::set<std::size_t> places;
    for (int i = 0; i < 200; ++i) places.insert(scramble_word("l'\xE9t\xE9", random).find('\''));
    EXPECT_EQ(places.size(), 5u);
}

TEST(LettersLine, ShufflesEachWordAndKeepsEverySpaceInPlace) {
    DefaultRandom random(17);
    const std::vector<std::string> answers = {
        "a", "aa b", "a  b", " la tour Eiffel ", "  New   York", "l'\xE9t\xE9 est chaud", "", " ",
        "Rome"};
    for (const auto& answer : answers) {
        for (int i = 0; i < 100; ++i) {
            const std::string line = letters_line(answer, random);
            ASSERT_EQ(line.size(), answer.size()) << answer;
            std::size_t start = 0;
            for (std::size_t k = 0; k <= answer.size(); ++k) {
                if (k < answer.size() && answer[k] != ' ') continue;
                if (k < answer.size()) {
                    ASSERT_EQ(line[k], ' ') << answer;
                }
                ASSERT_EQ(sorted(line.substr(start, k - start)), sorted(answer.substr(start, k - start)))
                    << answer;
                start = k + 1;
            }
        }
    }
    EXPECT_EQ(letters_line("a", random), "a");
    EXPECT_EQ(letters_line("aa b", random), "aa b");
    EXPECT_EQ(letters_line("a  b", random), "a  b");
}

}  // namespace
}  // namespace kz
