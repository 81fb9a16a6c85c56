// True/false through the real player, in conversation: the test reads the
// statement and judges it rightly, wrongly, or not at all.
#include <gtest/gtest.h>

#include "player_process.h"
#include "quiz_files.h"

namespace kz::test {
namespace {

const std::string at_start = "09:07:03";

// The answer shown under "La réponse est :" on the last page printed.
std::string statement_of(const std::string& page) {
    const std::string mark = "La réponse est :\n  ";
    const std::size_t at = page.rfind(mark);
    EXPECT_NE(at, std::string::npos) << page;
    if (at == std::string::npos) return {};
    const std::size_t start = at + mark.size();
    return page.substr(start, page.find('\n', start) - start);
}

TEST(TrueFalsePlay, StatementsJudgedRightWrongOrNotAtAllAreRecorded) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";
    PlayerConversation player({test_arguments(quiz, results), {}, folder.path()});
    player.answer_lines(home_answers({.type = 3, .count = "4", .training = true}));

    // France: judged rightly, in words.
    const std::string first = player.until_prompt();
    EXPECT_NE(first.find("Qu'en pensez-vous ?\n  1. C'est vrai\n  2. C'est faux\n"), std::string::npos) << first;
    const bool france_true = statement_of(first) == "Paris";
    player.answer(france_true ? "vrai" : "faux");

    // Italie: judged wrongly, by number.
    const bool italie_true = statement_of(player.until_prompt()) == "Rome";
    const bool italie_says_true = !italie_true;
    player.answer(italie_says_true ? "1" : "2");

    // Espagne: no choice.
    const std::string third = player.until_prompt();
    const std::string correction = italie_true ? "Il fallait répondre \"C'est vrai\"." : "Il fallait répondre \"C'est faux\".";
    EXPECT_NE(third.find("[Examen] Réponse fausse !\n" + correction + "\n"), std::string::npos) << third;
    const bool espagne_true = statement_of(third) == "Madrid";
    player.answer("");

    // Allemagne: the choice not made so far (each way is read once at
    // least, whatever the statements drawn), by its letter.
    const bool allemagne_true = statement_of(player.until_prompt()) == "Berlin";
    const bool france_says_true = france_true;
    const bool allemagne_says_true = france_says_true == italie_says_true ? !france_says_true : allemagne_true;
    player.answer(allemagne_says_true ? "v" : "f");
    const bool allemagne_right = allemagne_says_true == allemagne_true;

    player.until_prompt();
    player.answer("4");
    EXPECT_EQ(player.finish().exit_code, 0);

    const auto says = [](bool truth) { return std::string(truth ? "C'est vrai" : "C'est faux"); };
    const std::string expected =
        "1.3\r\n" +
        record_header("Marie", 2, "Capitales", quiz, allemagne_right ? 50 : 25, "05/12/2026 09:07", 0, 30, 0, 0, 3) +
        record_entry("Europe", "Capitale ?", "France", {{says(france_true), says(france_true)}}, 1, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Italie", {{says(italie_true), says(italie_says_true)}}, 0, at_start,
                     at_start) +
        record_entry("Europe", "Capitale ?", "Espagne", {{says(espagne_true), " "}}, 0, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Allemagne", {{says(allemagne_true), says(allemagne_says_true)}},
                     allemagne_right ? 1 : 0, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

}  // namespace
}  // namespace kz::test
