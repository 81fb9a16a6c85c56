// Open answers, played by the real player from files of answers.
#include <gtest/gtest.h>

#include "player_process.h"
#include "quiz_files.h"

namespace kz::test {
namespace {

const std::string start_date = "05/12/2026 09:07";
const std::string at_start = "09:07:03";

TEST(OpenAnswerPlay, RecordsRightAndWrongTypedAnswersAsTyped) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 1}) + "paris\nMilan\nMadrid\n4\n");

    EXPECT_EQ(run.exit_code, 0) << run.errors;
    const std::string expected =
        "1.3\r\n" + record_header("Marie", 1, "Capitales", quiz, 66, start_date, 0, 30, 0, 0, 2) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", "paris"}}, 1, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Italie", {{"Rome", "Milan"}}, 0, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Espagne", {{"Madrid", "Madrid"}}, 1, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
    EXPECT_NE(run.output.find("== Examen - Question n°1/3 ==\nCapitale ?\nFrance\n? Votre réponse : paris\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Score : 13/20"), std::string::npos) << run.output;
    // Outside training mode a wrong answer is not corrected.
    EXPECT_EQ(run.output.find("Réponse fausse !"), std::string::npos);
}

TEST(OpenAnswerPlay, TrainingModeCorrectsAWrongAnswerWithTheCommentAndGoesOn) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 1, .count = "2", .training = true}) + "Lyon\nrome\n4\n");

    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.output.find("? Votre réponse : Lyon\n\n[Examen] Réponse fausse !\nLa réponse était :\n  Paris\n"
                              "Commentaires :\n  Sur la Seine.\n\n== Examen - Question n°2/2 =="),
              std::string::npos)
        << run.output;
    const std::string expected =
        "1.3\r\n" + record_header("Marie", 1, "Capitales", quiz, 50, start_date, 0, 30, 0, 0, 1) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", "Lyon"}}, 0, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Italie", {{"Rome", "rome"}}, 1, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

TEST(OpenAnswerPlay, TypedAccentsReachTheRecordInWindows1252AndForeignCharactersAreRefused) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    // "Ωmega" cannot be written in Windows-1252: the answer is asked again.
    const PlayerRun run =
        run_player({test_arguments(quiz, results), {}, folder.path()},
                   home_answers({.name = "Zoé", .themes = "2", .type = 1, .count = "1"}) + "Ωmega\nPékin!\n4\n");

    EXPECT_NE(run.output.find("Ces caractères ne peuvent pas être utilisés dans ce questionnaire : Ω\n"
                              "? Votre réponse : Pékin!\n"),
              std::string::npos)
        << run.output;
    const std::string expected =
        "1.3\r\n" + record_header("Zo\xE9", 1, "Capitales", quiz, 0, start_date, 0, 30, 0, 0, 0) +
        record_entry("Asie", "Capitale ?", "Japon", {{"Tokyo", "P\xE9kin!"}}, 0, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

TEST(OpenAnswerPlay, ADoubledColonTypesAnAnswerThatBeginsWithAColon) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 1, .count = "1"}) + ":inconnue\n::Paris\n4\n");

    EXPECT_NE(run.output.find("Commande inconnue : :inconnue."), std::string::npos) << run.output;
    const std::string expected =
        "1.3\r\n" + record_header("Marie", 1, "Capitales", quiz, 100, start_date, 0, 30, 0, 0, 0) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", ":Paris"}}, 1, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

}  // namespace
}  // namespace kz::test
