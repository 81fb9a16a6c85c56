// Scrambled-letters exams played through the fake view: the letters line, the
// grading of the typed answer, media, replays and the results.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "res/string_table.h"
#include "support/exam_harness.h"
#include "support/quiz_builder.h"
#include "support/results_text.h"

namespace kz::test {
namespace {

QuizModel scramble_quiz(std::vector<ThemeData> themes) {
    return quiz_of_type(ExamType::scrambled_letters, std::move(themes));
}

// The words of a text, cut at every space (empty words between two spaces).
std::vector<std::string> words_of(const std::string& text) {
    std::vector<std::string> words(1);
    for (const char ch : text) {
        if (ch == ' ') {
            words.emplace_back();
        } else {
            words.back() += ch;
        }
    }
    return words;
}

TEST(ScrambledLetters, ShufflesTheLettersOfEachWordAndKeepsEverySpace) {
    const std::vector<std::string> answers = {"la tour Eiffel", "a  b", "l'\xE9t\xE9", " Mont Saint-Michel ",
                                              std::string(300, 'x') + " abc"};
    ThemeData theme{"Mots", {}};
    for (const auto& answer : answers) theme.questions.push_back({"Q", answer});
    ExamHarness exam(scramble_quiz({theme}));
    exam.engine.open();
    for (const auto& answer : answers) {
        EXPECT_EQ(exam.view.palette_target, PaletteTarget::answer_field);
        EXPECT_EQ(exam.view.focused, Focus::answer_field);
        const auto shown = words_of(exam.view.letters_line);
        const auto expected = words_of(answer);
        ASSERT_EQ(shown.size(), expected.size()) << answer;
        for (std::size_t w = 0; w < shown.size(); ++w)
            EXPECT_TRUE(std::is_permutation(shown[w].begin(), shown[w].end(), expected[w].begin(), expected[w].end()))
                << answer << ": " << exam.view.letters_line;
        exam.answer(answer);
    }
    EXPECT_EQ(exam.engine.exam_state().right, answers.size());
}

TEST(ScrambledLetters, EachCharacterTakesARandomFreePlace) {
    ExamHarness exam(scramble_quiz({{"Mots", {{"Q", "abc de"}}}}));
    // a takes place 2; b draws 2, taken, then 1; c takes 0; then d takes 1 and e 0.
    exam.fakes.random.script = {2, 2, 1, 0, 1, 0};
    exam.engine.open();
    EXPECT_EQ(exam.view.letters_line, "cba ed");
}

TEST(ScrambledLetters, GradesTheTypedAnswerWithoutRegardToTheLettersLine) {
    struct Row {
        std::string typed;
        bool right;
    };
    QuizModel quiz = scramble_quiz({{"Villes", {{"France", "Paris"}, {"Monument", "la tour Eiffel"}}}});
    quiz.default_training_mode = 1;
    const Row rows[] = {{"Paris", true}, {"PARIS", true}, {"", false}, {"Pari", false}};
    for (const Row& row : rows) {
        ExamHarness exam(quiz);
        exam.engine.open();
        exam.answer(row.typed);
        const QuestionRecord& entry = exam.engine.exam_record().entries.at(0);
        EXPECT_EQ(entry.right, row.right ? 1 : 0) << row.typed;
        EXPECT_EQ(entry.expected[0], "Paris");
        EXPECT_EQ(entry.given[0], row.typed);
        EXPECT_EQ(exam.view.corrections.size(), row.right ? 0u : 1u) << row.typed;
    }
    ExamHarness exam(quiz);
    // "Paris" keeps its order; "la tour Eiffel" becomes "al otru leffiE".
    exam.fakes.random.script = {0, 1, 2, 3, 4, 1, 0, 1, 0, 3, 2, 5, 4, 3, 2, 1, 0};
    exam.engine.open();
    EXPECT_EQ(exam.view.letters_line, "Paris") << "a shuffle may leave a word as it was";
    exam.answer("Paris");
    ASSERT_EQ(exam.view.letters_line, "al otru leffiE");
    exam.answer(exam.view.letters_line);
    EXPECT_EQ(exam.engine.exam_state().right, 1u) << "typing the letters line itself is wrong";
}

TEST(ScrambledLetters, MediaQuestionsShowButMediaAnswersNeverEnterThePool) {
    QuizModel quiz = scramble_quiz(
        {{"Pays", {{"France", "Paris"}, {"Italie", media_reference(1)}, {media_reference(1), "Rome"}}}});
    add_media(quiz, 1, media_image, "carte.bmp", "Carte");
    quiz.use_home_page = 1;
    for (const bool reversed : {false, true}) {
        ExamHarness exam(quiz);
        exam.start_from_home_page(reversed);
        EXPECT_EQ(exam.view.prompt, reversed ? "De quel pays ?" : "Quelle est la capitale ?");
        exam.answer("faux");
        if (!reversed) {
            EXPECT_EQ(exam.view.items[Place::question].kind, ShownItem::Kind::image);
            EXPECT_EQ(exam.view.items[Place::question].box_width, 90);
            const std::string rome = "Rome";
            EXPECT_TRUE(std::is_permutation(exam.view.letters_line.begin(), exam.view.letters_line.end(),
                                            rome.begin(), rome.end()));
            exam.answer("faux");
        }
        EXPECT_TRUE(exam.engine.exam_state().finished) << reversed;
        const std::vector<std::string> asked =
            reversed ? std::vector<std::string>{"Paris"} : std::vector<std::string>{"France", media_reference(1)};
        EXPECT_EQ(exam.view.questions_shown, asked);
    }
}

TEST(ScrambledLetters, ReplaysAskTheSameQuestionsWithLettersShuffledAnew) {
    ThemeData theme{"Mots", {}};
    for (int k = 0; k < 6; ++k) theme.questions.push_back({"Q" + std::to_string(k), "abcdefgh" + std::to_string(k)});
    QuizModel quiz = scramble_quiz({theme});
    quiz.default_random_order = 1;
    ExamHarness exam(quiz);
    std::vector<std::string> first_lines;
    exam.engine.open();
    while (!exam.engine.exam_state().finished) {
        first_lines.push_back(exam.view.letters_line);
        exam.answer("");
    }
    const auto first = exam.view.questions_shown;
    exam.view.questions_shown.clear();
    exam.engine.restart();
    std::vector<std::string> lines;
    while (!exam.engine.exam_state().finished) {
        lines.push_back(exam.view.letters_line);
        exam.answer("");
    }
    EXPECT_EQ(exam.view.questions_shown, first);
    EXPECT_NE(lines, first_lines);
}

TEST(ScrambledLetters, RecordsAnExamByteForByte) {
    ExamHarness exam(scramble_quiz({{"Villes", {{"France", "Paris"}, {"Italie", "Rome"}}}}));
    exam.engine.open();
    exam.fakes.clock.time.second = 10;
    exam.answer("paris");
    exam.fakes.clock.time.second = 20;
    exam.answer("Roma");

    const std::string prompt = "Quelle est la capitale ?";
    const std::string expected =
        format_and_header(exam.runner_path(), 5, 50, 1) +
        crlf_lines({"Villes", prompt, "France"}) + answer_pairs({{"Paris", "paris"}}) +
        crlf_lines({"1", "09:07:03", "09:07:10"}) +
        crlf_lines({"Villes", prompt, "Italie"}) + answer_pairs({{"Rome", "Roma"}}) +
        crlf_lines({"0", "09:07:10", "09:07:20"});
    EXPECT_EQ(file_bytes(exam.results_file()), expected);
}

}  // namespace
}  // namespace kz::test
