// Multiple choice through the real player, in conversation: the test reads
// the three proposals as printed and ticks them by their numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "player_process.h"
#include "quiz_files.h"

namespace kz::test {
namespace {

const std::string at_start = "09:07:03";

// France carries the author's own wrong answers.
const std::string europe_with_wrong_answers = R"([
  { "name": "Europe", "prompt": "Capitale ?", "reverse_prompt": "Pays ?",
    "questions": [
      { "question": "France", "answer": "Paris", "first_wrong": "Lyon", "second_wrong": "Marseille" },
      { "question": "Italie", "answer": "Rome" },
      { "question": "Espagne", "answer": "Madrid" },
      { "question": "Allemagne", "answer": "Berlin" } ] } ])";

// The three proposals of the last question page printed, in box order.
std::array<std::string, 3> proposals_of(const std::string& page) {
    std::array<std::string, 3> shown;
    std::size_t at = page.rfind("Votre réponse :\n");
    EXPECT_NE(at, std::string::npos) << page;
    for (int k = 0; k < 3 && at != std::string::npos; ++k) {
        const std::string mark = "  " + std::to_string(k + 1) + ". [ ] ";
        at = page.find(mark, at);
        if (at == std::string::npos) break;
        at += mark.size();
        shown[k] = page.substr(at, page.find('\n', at) - at);
    }
    return shown;
}

std::size_t box_of(const std::array<std::string, 3>& proposals, const std::string& text) {
    return static_cast<std::size_t>(std::find(proposals.begin(), proposals.end(), text) - proposals.begin());
}

// The answer pairs of a record entry: expected where the box is right, given
// where it is ticked; the others keep their blank.
std::vector<std::pair<std::string, std::string>> box_answers(const std::array<std::string, 3>& proposals,
                                                             const std::string& right,
                                                             const std::array<bool, 3>& ticked) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t k = 0; k < 3; ++k)
        pairs.emplace_back(proposals[k] == right ? proposals[k] : " ", ticked[k] ? proposals[k] : " ");
    return pairs;
}

TEST(MultipleChoicePlay, TickedBoxesAreGradedAndRecordedBoxByBox) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source({{"themes", europe_with_wrong_answers}}));
    const auto results = folder / "kz.dat";
    PlayerConversation player({test_arguments(quiz, results), {}, folder.path()});
    player.answer_lines(home_answers({.type = 2, .training = true}));

    // France: the author's wrong answers stand beside the right one; ticked right.
    const auto france = proposals_of(player.until_prompt());
    auto sorted = france;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::array<std::string, 3>{"Lyon", "Marseille", "Paris"}));
    const std::size_t paris = box_of(france, "Paris");
    player.answer(std::to_string(paris + 1));

    // Italie: a wrong box ticked.
    const auto italie = proposals_of(player.until_prompt());
    const std::size_t rome = box_of(italie, "Rome");
    ASSERT_LT(rome, 3u);
    const std::size_t not_rome = rome == 0 ? 1 : 0;
    player.answer(std::to_string(not_rome + 1));

    // Espagne: the right box and a wrong one, separated by a comma.
    const std::string third_page = player.until_prompt();
    EXPECT_NE(third_page.find("[Examen] Réponse fausse !\nIl fallait choisir les réponses :\n  Rome\n\n"),
              std::string::npos)
        << third_page;
    const auto espagne = proposals_of(third_page);
    const std::size_t madrid = box_of(espagne, "Madrid");
    ASSERT_LT(madrid, 3u);
    const std::size_t not_madrid = madrid == 2 ? 1 : 2;
    player.answer(std::to_string(madrid + 1) + "," + std::to_string(not_madrid + 1));

    EXPECT_NE(player.until_prompt().find("Score : 6/20"), std::string::npos);
    player.answer("4");
    EXPECT_EQ(player.finish().exit_code, 0);

    std::array<bool, 3> ticked_france{}, ticked_italie{}, ticked_espagne{};
    ticked_france[paris] = true;
    ticked_italie[not_rome] = true;
    ticked_espagne[madrid] = ticked_espagne[not_madrid] = true;
    const std::string expected =
        "1.3\r\n" + record_header("Marie", 0, "Capitales", quiz, 33, "05/12/2026 09:07", 0, 30, 0, 0, 2) +
        record_entry("Europe", "Capitale ?", "France", box_answers(france, "Paris", ticked_france), 1, at_start,
                     at_start) +
        record_entry("Europe", "Capitale ?", "Italie", box_answers(italie, "Rome", ticked_italie), 0, at_start,
                     at_start) +
        record_entry("Europe", "Capitale ?", "Espagne", box_answers(espagne, "Madrid", ticked_espagne), 0,
                     at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

TEST(MultipleChoicePlay, AnAnswerThatNamesNoBoxIsAskedAgain) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 2, .count = "1"}) + "4\n1 trois\n\n4\n");

    const std::string refusal = "Tapez les numéros des réponses à cocher (1, 2 ou 3), séparés par des espaces.\n";
    EXPECT_NE(run.output.find("? Votre réponse : 4\n" + refusal + "? Votre réponse : 1 trois\n" + refusal +
                              "? Votre réponse : \n"),
              std::string::npos)
        << run.output;
    // No box ticked: wrong, and nothing given (the given answers are the
    // second line of each pair, from the 16th line on).
    std::vector<std::string> record;
    const std::string file = file_bytes(results);
    for (std::size_t start = 0, end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2)
        record.push_back(file.substr(start, end - start));
    ASSERT_EQ(record.size(), 1u + 11 + 16);
    // The first question, France: its answer is expected in one box of three.
    const std::vector<std::string> expected{record[15], record[17], record[19]};
    EXPECT_EQ(std::count(expected.begin(), expected.end(), "Paris"), 1);
    EXPECT_EQ(std::count(expected.begin(), expected.end(), " "), 2);
    for (std::size_t given : {16, 18, 20, 22, 24}) EXPECT_EQ(record[given], " ");
    EXPECT_EQ(record[25], "0");
}

}  // namespace
}  // namespace kz::test
