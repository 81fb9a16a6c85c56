// Hangman through the real player, from a file of answers: one letter per
// line, the game's messages, the word as uncovered graded at each end.
#include <gtest/gtest.h>

#include "player_process.h"
#include "quiz_files.h"

namespace kz::test {
namespace {

const std::string at_start = "09:07:03";

TEST(HangmanPlay, UncoveredLostAndAbandonedWordsAreGradedAsShown) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    // Paris found letter by letter; Rome lost after five misses and three
    // refused tries; Madrid left with ":suivant" after two letters.
    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 5}) + "p\na\nr\ni\ns\n" + "\nab\nx\nx\ny\nz\nw\nv\n" +
                                         "m\na\n:suivant\n4\n");

    const std::string& out = run.output;
    EXPECT_NE(out.find("France\n  #####\n5 essais restants\n"), std::string::npos) << out;
    EXPECT_NE(out.find("? Lettre que vous souhaitez essayer : p\n  P####\n5 essais restants\n"), std::string::npos);
    // The word found is shown before the next question.
    EXPECT_NE(out.find("? Lettre que vous souhaitez essayer : s\n  Paris\n5 essais restants\n\n== Examen - Question n°2/3 =="),
              std::string::npos);
    EXPECT_NE(out.find("? Lettre que vous souhaitez essayer : \n\n[Examen] Vous devez taper une lettre à essayer dans "
                       "le cadre approprié !\n"),
              std::string::npos);
    EXPECT_NE(out.find("[Examen] Vous devez taper qu'une lettre à essayer à la fois !\n"), std::string::npos);
    EXPECT_NE(out.find("? Lettre que vous souhaitez essayer : x\n\n[Examen] La lettre X a déjà été essayée !\n"),
              std::string::npos);
    EXPECT_NE(out.find("  ####\n1 essai restant\n? Lettre que vous souhaitez essayer : v\n  ####\n0 essai restant\n\n"
                       "[Examen] Désolé, vous n'avez pas pu trouver la réponse après les 5 essais qu'il vous était "
                       "donnés.\n"),
              std::string::npos);
    const std::string expected =
        "1.3\r\n" + record_header("Marie", 4, "Capitales", quiz, 33, "05/12/2026 09:07", 0, 30, 0, 0, 2) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Italie", {{"Rome", "####"}}, 0, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Espagne", {{"Madrid", "Ma####"}}, 0, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

}  // namespace
}  // namespace kz::test
