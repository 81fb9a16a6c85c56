// Pot-pourri through the real player, from a file of answers: the theme's
// answers are listed in alphabetical order and chosen by their numbers.
#include <gtest/gtest.h>

#include "player_process.h"
#include "quiz_files.h"

namespace kz::test {
namespace {

const std::string at_start = "09:07:03";

TEST(PotPourriPlay, ChosenEntriesAreGradedAndNoChoiceIsWrong) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 4, .training = true}) + "3\n9\n1\n\n4\n");

    EXPECT_NE(run.output.find("France\nVotre réponse :\n  1. Berlin\n  2. Madrid\n  3. Paris\n  4. Rome\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("? Votre réponse : 9\nTapez un numéro de la liste, de 1 à 4, ou rien pour ne pas "
                              "choisir.\n? Votre réponse : 1\n\n[Examen] Réponse fausse !\nLa réponse était :\n  Rome\n"),
              std::string::npos);
    const std::string expected =
        "1.3\r\n" + record_header("Marie", 3, "Capitales", quiz, 33, "05/12/2026 09:07", 0, 30, 0, 0, 2) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Italie", {{"Rome", "Berlin"}}, 0, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Espagne", {{"Madrid", ""}}, 0, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

}  // namespace
}  // namespace kz::test
