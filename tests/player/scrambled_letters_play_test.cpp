// Scrambled letters through the real player, from a file of answers.
#include <gtest/gtest.h>

#include <algorithm>

#include "player_process.h"
#include "quiz_files.h"

namespace kz::test {
namespace {

const std::string at_start = "09:07:03";

// The letters line printed under "Réponse proposée :" after a question.
std::string letters_after(const std::string& output, const std::string& question) {
    const std::string mark = question + "\nRéponse proposée :\n  ";
    const std::size_t at = output.find(mark);
    if (at == std::string::npos) return {};
    const std::size_t start = at + mark.size();
    return output.substr(start, output.find('\n', start) - start);
}

std::string sorted(std::string text) {
    std::sort(text.begin(), text.end());
    return text;
}

TEST(ScrambledLettersPlay, TheLettersAreTheAnswersAndTheTypedAnswerIsGraded) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 6, .training = true}) + "Paris\nRmoe\nmadrid\n4\n");

    for (const auto& [question, answer] : {std::pair{"France", "Paris"}, {"Italie", "Rome"}, {"Espagne", "Madrid"}}) {
        SCOPED_TRACE(question);
        EXPECT_EQ(sorted(letters_after(run.output, question)), sorted(answer)) << run.output;
    }
    EXPECT_NE(run.output.find("? Votre réponse : Rmoe\n\n[Examen] Réponse fausse !\nLa réponse était :\n  Rome\n"),
              std::string::npos);
    const std::string expected =
        "1.3\r\n" + record_header("Marie", 5, "Capitales", quiz, 66, "05/12/2026 09:07", 0, 30, 0, 0, 2) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Italie", {{"Rome", "Rmoe"}}, 0, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Espagne", {{"Madrid", "madrid"}}, 1, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

}  // namespace
}  // namespace kz::test
