// True/false exams played through the fake view: true and false statements,
// the foreign answer, unanswered and timed-out questions, media, replays and
// the results.
#include <gtest/gtest.h>

#include "res/string_table.h"
#include "support/exam_harness.h"
#include "support/quiz_builder.h"
#include "support/results_text.h"

namespace kz::test {
namespace {

constexpr std::optional<TrueFalseChoice> no_choice;
constexpr auto vrai = TrueFalseChoice::says_true;
constexpr auto faux = TrueFalseChoice::says_false;
const std::string says_true = "C'est vrai";
const std::string says_false = "C'est faux";

QuizModel statement_quiz(std::vector<ThemeData> themes) {
    return quiz_of_type(ExamType::true_false, std::move(themes));
}

ThemeData capitals() { return {"Capitales", {{"France", "Paris"}, {"Italie", "Rome"}, {"Espagne", "Madrid"}}}; }

// Chooses for the student, or leaves both buttons unchosen, and presses Next.
void answer(ExamHarness& exam, std::optional<TrueFalseChoice> choice) {
    exam.view.choice = choice;
    exam.engine.next();
}

TEST(TrueFalse, GradesTheChoiceAgainstTheStatementShown) {
    struct Row {
        std::vector<std::uint32_t> script;  // true or false, then the foreign answer's draws
        std::string statement;
        std::optional<TrueFalseChoice> choice;
        bool right;
        int correction;  // string number, 0 when right
        std::string expected, given;
    };
    const Row rows[] = {
        {{0}, "Paris", vrai, true, 0, says_true, says_true},
        {{0}, "Paris", faux, false, str::should_say_true, says_true, says_false},
        {{0}, "Paris", no_choice, false, str::should_say_true, says_true, " "},
        {{1, 0, 1}, "Rome", faux, true, 0, says_false, says_false},
        {{1, 1}, "Rome", vrai, false, str::should_say_false, says_false, says_true},
        {{1, 2}, "Madrid", no_choice, false, str::should_say_false, says_false, " "},
    };
    for (const Row& row : rows) {
        QuizModel quiz = statement_quiz({capitals()});
        quiz.default_training_mode = 1;
        ExamHarness exam(quiz);
        exam.fakes.random.script.assign(row.script.begin(), row.script.end());
        exam.engine.open();
        EXPECT_EQ(exam.view.items[Place::question].text, "France");
        EXPECT_EQ(exam.view.items[Place::statement].text, row.statement);
        EXPECT_EQ(exam.engine.exam_state().statement_false, row.script[0]);

        answer(exam, row.choice);
        const QuestionRecord& entry = exam.engine.exam_record().entries.at(0);
        EXPECT_EQ(entry.right, row.right ? 1 : 0) << row.statement << " " << row.given;
        EXPECT_EQ(entry.expected[0], row.expected);
        EXPECT_EQ(entry.given[0], row.given);
        ASSERT_EQ(exam.view.corrections.size(), row.right ? 0u : 1u);
        if (row.right) continue;
        EXPECT_EQ(exam.view.corrections[0].request.message, load_message(row.correction));
        EXPECT_EQ(exam.view.corrections[0].request.answers, (std::array<std::string, 3>{"", "", ""}));
    }
    EXPECT_EQ(load_message(str::should_say_true), "Il fallait r\xE9pondre \"C'est vrai\".");
    EXPECT_EQ(load_message(str::should_say_false), "Il fallait r\xE9pondre \"C'est faux\".");
}

TEST(TrueFalse, ATimedOutQuestionIsWrongWhateverWasChosen) {
    for (const std::uint32_t statement_false : {0u, 1u}) {
        QuizModel quiz = statement_quiz({capitals()});
        quiz.default_time_limit_on = 1;
        quiz.default_time_limit = 2;
        ExamHarness exam(quiz);
        exam.fakes.random.script = {statement_false, 1};
        exam.engine.open();
        exam.view.choice = statement_false == 1 ? faux : vrai;  // the right choice, too late
        exam.engine.countdown_tick();
        exam.engine.countdown_tick();
        EXPECT_EQ(exam.engine.exam_state().wrong, 1u) << statement_false;
        EXPECT_EQ(exam.engine.exam_record().entries.at(0).given[0], " ") << "no answer was given";
        EXPECT_EQ(std::count(exam.view.events.begin(), exam.view.events.end(), "read choice"), 0)
            << "the choice is not even asked for";
        EXPECT_EQ(exam.view.choice, no_choice) << "the next question starts unchosen";
        answer(exam, exam.engine.exam_state().statement_false == 1 ? faux : vrai);
        EXPECT_EQ(exam.engine.exam_state().right, 1u) << "the next question reads its choice again";
    }
}

TEST(TrueFalse, AForeignAnswerDiffersInItsTextAndComesFromTheSameTheme) {
    struct Row {
        const char* why;
        std::vector<ThemeData> themes;
        std::vector<std::uint32_t> script;
        bool ends;
        std::string statement;
    };
    const Row rows[] = {
        {"a full stop is enough, case is not",
         {{"Villes", {{"Q1", "Paris"}, {"Q2", "PARIS"}, {"Q3", "Paris."}}}}, {1, 1, 0, 2}, false, "Paris."},
        {"every answer alike but for case",
         {{"Villes", {{"Q1", "Paris"}, {"Q2", "PARIS"}, {"Q3", "paris"}}}}, {1}, true, ""},
        {"another theme's answers are not taken",
         {{"Villes", {{"Q1", "Paris"}, {"Q2", "Paris"}}}, {"Autres", {{"Q3", "Rome"}, {"Q4", "Madrid"}}}},
         {1}, true, ""},
    };
    for (const Row& row : rows) {
        ExamHarness exam(statement_quiz(row.themes));
        exam.fakes.random.script.assign(row.script.begin(), row.script.end());
        exam.engine.open();
        EXPECT_EQ(exam.engine.exam_state().finished, row.ends) << row.why;
        if (row.ends) {
            EXPECT_EQ(exam.fakes.random.asked_below.size(), 1u + 1000u) << row.why;
            EXPECT_EQ(exam.results_lines().at(11), "-1") << row.why;
        } else {
            EXPECT_EQ(exam.view.items[Place::statement].text, row.statement) << row.why;
        }
    }
}

TEST(TrueFalse, OnlyThemesOfTwoQuestionsOrMoreGiveStatements) {
    struct Row {
        const char* why;
        std::vector<ThemeData> themes;
        std::vector<std::string> asked;  // empty: the exam does not start
    };
    const Row rows[] = {
        {"two themes of one question", {{"Un", {{"Q1", "A1"}}}, {"Deux", {{"Q2", "A2"}}}}, {}},
        {"one question of two without answer", {{"Deux", {{"Q1", "A1"}, {"Q2", ""}}}}, {}},
        {"a theme of two", {{"Deux", {{"Q1", "A1"}, {"Q2", "A2"}}}}, {"Q1", "Q2"}},
        {"the single question is left out",
         {{"Un", {{"Q0", "A0"}}}, {"Deux", {{"Q1", "A1"}, {"Q2", "A2"}}}}, {"Q1", "Q2"}},
    };
    for (const Row& row : rows) {
        ExamHarness exam(statement_quiz(row.themes));
        exam.engine.open();
        EXPECT_EQ(exam.engine.exam_state().running, !row.asked.empty()) << row.why;
        if (row.asked.empty()) {
            EXPECT_EQ(exam.view.last_message_text(), load_message(str::not_enough_questions)) << row.why;
            continue;
        }
        while (!exam.engine.exam_state().finished) answer(exam, vrai);
        EXPECT_EQ(exam.view.questions_shown, row.asked) << row.why;
    }
}

TEST(TrueFalse, MediaOnEitherSideShowAndOnlyTheQuestionPlaysAtOnce) {
    QuizModel quiz = statement_quiz(
        {{"Pays", {{"France", media_reference(1)}, {media_reference(2), "Rome"}, {"Espagne", "Madrid"}}}});
    add_media(quiz, 1, media_image, "carte.bmp", "Carte");
    add_media(quiz, 2, media_sound, "hymne.wav", "Hymne");
    quiz.use_home_page = 1;
    const auto sound = [](ExamHarness& exam) { return exam.folder / "Sons" / "hymne.wav"; };

    ExamHarness normal(quiz);
    normal.fakes.random.script = {0, 0};  // two true statements
    normal.start_from_home_page(false);
    EXPECT_EQ(normal.view.items[Place::question].text, "France");
    EXPECT_EQ(normal.view.items[Place::statement].kind, ShownItem::Kind::image);
    EXPECT_EQ(normal.view.items[Place::statement].box_width, 80);
    answer(normal, vrai);
    EXPECT_EQ(normal.view.items[Place::question].kind, ShownItem::Kind::media);
    EXPECT_EQ(normal.view.sounds_played, std::vector<std::filesystem::path>{sound(normal)});

    ExamHarness reversed(quiz);
    reversed.fakes.random.script = {0, 0, 1, 0};  // true, true, then false with the first answer
    reversed.start_from_home_page(true);
    EXPECT_EQ(reversed.view.prompt, "De quel pays ?");
    EXPECT_EQ(reversed.view.items[Place::question].kind, ShownItem::Kind::image);
    EXPECT_EQ(reversed.view.items[Place::question].box_height, 80);
    EXPECT_EQ(reversed.view.items[Place::statement].text, "France");
    answer(reversed, vrai);
    EXPECT_EQ(reversed.view.items[Place::question].text, "Rome");
    EXPECT_EQ(reversed.view.items[Place::statement].kind, ShownItem::Kind::media);
    EXPECT_TRUE(reversed.view.sounds_played.empty()) << "the statement waits for its play button";
    answer(reversed, vrai);
    EXPECT_EQ(reversed.view.items[Place::question].text, "Madrid");
    EXPECT_EQ(reversed.view.items[Place::statement].text, "France");
    answer(reversed, faux);
    EXPECT_EQ(reversed.engine.exam_state().right, 3u);
    EXPECT_EQ(reversed.engine.exam_record().entries.at(0).question, "<Image : Carte>");
}

TEST(TrueFalse, ReplaysAskTheSameQuestionsWithStatementsDrawnAnew) {
    QuizModel quiz = statement_quiz({capitals(), {"Fleuves", {{"Paris", "Seine"}, {"Lyon", "Rh\xF4ne"}}}});
    quiz.default_random_order = 1;
    ExamHarness exam(quiz);
    exam.engine.open();
    while (!exam.engine.exam_state().finished) answer(exam, vrai);
    const auto first = exam.view.questions_shown;

    for (int round = 0; round < 3; ++round) {
        exam.view.questions_shown.clear();
        exam.fakes.random.asked_below.clear();
        exam.engine.restart();
        while (!exam.engine.exam_state().finished) answer(exam, vrai);
        EXPECT_EQ(exam.view.questions_shown, first);
        EXPECT_EQ(std::count(exam.fakes.random.asked_below.begin(), exam.fakes.random.asked_below.end(), 2u), 5)
            << "one true-or-false draw per question";
    }
}

TEST(TrueFalse, RecordsAnExamByteForByte) {
    ExamHarness exam(statement_quiz({capitals()}));
    exam.fakes.random.script = {0, 1, 0, 0};  // true; false with "Paris"; true
    exam.engine.open();
    exam.fakes.clock.time.second = 10;
    answer(exam, vrai);
    exam.fakes.clock.time.second = 20;
    answer(exam, vrai);
    exam.fakes.clock.time.second = 30;
    answer(exam, no_choice);

    const std::string prompt = "Quelle est la capitale ?";
    const std::string expected =
        format_and_header(exam.runner_path(), 2, 33, 2) +
        crlf_lines({"Capitales", prompt, "France"}) + answer_pairs({{says_true, says_true}}) +
        crlf_lines({"1", "09:07:03", "09:07:10"}) +
        crlf_lines({"Capitales", prompt, "Italie"}) + answer_pairs({{says_false, says_true}}) +
        crlf_lines({"0", "09:07:10", "09:07:20"}) +
        crlf_lines({"Capitales", prompt, "Espagne"}) + answer_pairs({{says_true, " "}}) +
        crlf_lines({"0", "09:07:20", "09:07:30"});
    EXPECT_EQ(file_bytes(exam.results_file()), expected);
}

}  // namespace
}  // namespace kz::test
