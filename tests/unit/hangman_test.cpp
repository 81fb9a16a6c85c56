// Hangman exams played through the fake view: the masked answer, letters that
// uncover, cost a try or are refused, the automatic grading after the last
// letter or the last try, media, replays and the results.
#include <gtest/gtest.h>

#include "res/string_table.h"
#include "support/exam_harness.h"
#include "support/quiz_builder.h"
#include "support/results_text.h"

namespace kz::test {
namespace {

using Letters = std::vector<std::string>;

const std::string lost_message =
    "D\xE9sol\xE9, vous n'avez pas pu trouver la r\xE9ponse apr\xE8s les 5 essais qu'il vous \xE9tait donn\xE9s.";

QuizModel hangman_quiz(std::vector<ThemeData> themes) { return quiz_of_type(ExamType::hangman, std::move(themes)); }

QuizModel cities() {
    return hangman_quiz({{"Villes", {{"France", "Paris"}, {"Grande pomme", "New York"}, {"Italie", "Rome"}}}});
}

QuizModel one_answer(std::string answer, bool ignore_case = true, bool ignore_accents = true) {
    QuizModel quiz = hangman_quiz({{"Mots", {{"Q1", std::move(answer)}, {"Q2", "Rome"}}}});
    quiz.ignore_case = ignore_case;
    quiz.ignore_accents = ignore_accents;
    return quiz;
}

void type_letters(ExamHarness& exam, const Letters& letters) {
    for (const std::string& letter : letters) exam.engine.test_letter(letter);
}

TEST(Hangman, ShowsTheAnswerMaskedWithFiveTries) {
    ExamHarness exam(cities());
    exam.engine.open();
    EXPECT_EQ(exam.view.page, Page::hangman);
    EXPECT_EQ(exam.view.masked_answer, "#####");
    EXPECT_EQ(exam.view.tries_left, 5);
    EXPECT_EQ(exam.view.tries_left_text, "5 essais restants");
    EXPECT_EQ(exam.view.palette_target, PaletteTarget::letter_box);
    EXPECT_EQ(exam.view.focused, Focus::letter_box);
    exam.engine.next();
    EXPECT_EQ(exam.view.masked_answer, "### ####") << "the space is shown from the start";
}

TEST(Hangman, LettersUncoverTheAnswerCostATryOrAreRefused) {
    struct Row {
        const char* why;
        std::string answer;
        bool ignore_case, ignore_accents;
        Letters letters;
        std::string masked;
        int tries_left;
        std::string message;  // the last message box, if any
    };
    const std::string tried_p = "La lettre P a d\xE9j\xE0 \xE9t\xE9 essay\xE9" "e !";
    const std::string tried_e = "La lettre e a d\xE9j\xE0 \xE9t\xE9 essay\xE9" "e !";
    const Row rows[] = {
        {"case ignored: p uncovers P", "Paris", true, true, {"p"}, "P####", 5, ""},
        {"case counts: p costs a try", "Paris", false, false, {"p"}, "#####", 4, ""},
        {"case counts: P uncovers P", "Paris", false, false, {"p", "P"}, "P####", 4, ""},
        {"case ignored: P after p was tried", "Paris", true, true, {"p", "P"}, "P####", 5, tried_p},
        {"accents ignored: \xE9 after e was tried", "\xE9t\xE9", false, true, {"e", "\xE9"}, "\xE9#\xE9", 5, tried_e},
        {"a space is found at no cost", "New York", true, true, {" "}, "### ####", 5, ""},
        {"nothing typed", "Paris", true, true, {""}, "#####", 5, load_message(str::letter_missing)},
        {"two letters", "Paris", true, true, {"ab"}, "#####", 5, load_message(str::one_letter_only)},
        {"a ligature folds to two letters", "Paris", true, true, {"\x8C"}, "#####", 5,
         load_message(str::one_letter_only)},
    };
    for (const Row& row : rows) {
        ExamHarness exam(one_answer(row.answer, row.ignore_case, row.ignore_accents));
        exam.engine.open();
        type_letters(exam, row.letters);
        EXPECT_EQ(exam.view.masked_answer, row.masked) << row.why;
        EXPECT_EQ(exam.view.tries_left, row.tries_left) << row.why;
        EXPECT_EQ(exam.view.last_message_text(), row.message) << row.why;
        if (!row.message.empty()) {
            EXPECT_EQ(exam.view.messages.back().caption, "Examen");
            EXPECT_EQ(exam.view.messages.back().icon, MessageIcon::warning);
        }
        EXPECT_EQ(exam.view.focused, Focus::letter_box) << row.why;
        EXPECT_EQ(exam.engine.exam_state().asked, 0u) << row.why;
    }
}

TEST(Hangman, TheFifthMissShowsMessage134AndGradesTheQuestion) {
    QuizModel quiz = cities();
    quiz.default_training_mode = 1;
    ExamHarness exam(quiz);
    exam.engine.open();
    std::vector<std::string> tries;
    for (const char* letter : {"z", "q", "w", "x", "v"}) {
        EXPECT_TRUE(exam.view.messages.empty());
        exam.engine.test_letter(letter);
        tries.push_back(exam.view.tries_left_text);
    }
    EXPECT_EQ(tries.back(), "5 essais restants") << "the next question is shown";
    tries.pop_back();
    EXPECT_EQ(tries, (std::vector<std::string>{"4 essais restants", "3 essais restants", "2 essais restants",
                                               "1 essai restant"}));

    ASSERT_EQ(exam.view.messages.size(), 1u);
    EXPECT_EQ(exam.view.messages[0].text, lost_message);
    EXPECT_EQ(exam.view.messages[0].caption, "Examen");
    const auto& events = exam.view.events;
    const auto at = [&](const std::string& event) { return std::find(events.begin(), events.end(), event); };
    EXPECT_LT(at("tries 0 essai restant"), at("message " + lost_message));
    EXPECT_LT(at("message " + lost_message), at("correction La r\xE9ponse \xE9tait :"));

    EXPECT_EQ(exam.engine.exam_state().wrong, 1u);
    EXPECT_EQ(exam.view.corrections.at(0).request.answers, (std::array<std::string, 3>{"Paris", "", ""}));
    EXPECT_EQ(exam.engine.exam_record().entries.at(0).given[0], "#####");
    EXPECT_EQ(exam.view.masked_answer, "### ####");
}

TEST(Hangman, GradesTheWordAsUncovered) {
    struct Row {
        const char* why;
        std::string answer;
        Letters letters;
        bool press_next;
        bool right;
        std::string given;
    };
    const Row rows[] = {
        {"the last letter grades at once", "Paris", {"p", "a", "r", "i", "s"}, false, true, "Paris"},
        {"Next with letters hidden", "Paris", {"a"}, true, false, "#a###"},
        {"Next at once", "Paris", {}, true, false, "#####"},
        {"only an article hidden, punctuation and articles ignored", "la Seine", {"s", "e", "i", "n"}, true, true,
         "## Seine"},
    };
    for (const Row& row : rows) {
        ExamHarness exam(one_answer(row.answer));
        exam.engine.open();
        type_letters(exam, row.letters);
        EXPECT_EQ(exam.engine.exam_state().asked, row.press_next ? 0u : 1u) << row.why;
        if (row.press_next) exam.engine.next();
        const QuestionRecord& entry = exam.engine.exam_record().entries.at(0);
        EXPECT_EQ(entry.right, row.right ? 1 : 0) << row.why;
        EXPECT_EQ(entry.expected[0], row.answer) << row.why;
        EXPECT_EQ(entry.given[0], row.given) << row.why;
        EXPECT_EQ(exam.view.questions_shown.back(), "Q2") << row.why;
    }
}

TEST(Hangman, TimeRunningOutDuringTheLastMessageGradesTheQuestionOnce) {
    QuizModel quiz = cities();
    quiz.default_time_limit_on = 1;
    quiz.default_time_limit = 5;
    ExamHarness exam(quiz);
    exam.view.on_message = [&](const Message& message) {
        if (message.text != lost_message) return;
        for (int k = 0; k < 5; ++k) exam.engine.countdown_tick();
    };
    exam.engine.open();
    type_letters(exam, {"z", "q", "w", "x", "v"});
    EXPECT_EQ(exam.engine.exam_state().asked, 1u);
    EXPECT_EQ(exam.view.masked_answer, "### ####");
    EXPECT_EQ(exam.view.tries_left, 5);
}

TEST(Hangman, MediaQuestionsShowButMediaAnswersNeverEnterThePool) {
    struct Row {
        const char* why;
        bool reversed;
        std::vector<std::string> asked;
    };
    const Row rows[] = {
        {"normal: an answer that is a picture is left out", false, {"France", media_reference(2), media_reference(1)}},
        {"reversed: a question that is a sound or a picture is left out", true, {"Paris"}},
    };
    QuizModel quiz = hangman_quiz({{"Pays",
                                    {{"France", "Paris"}, {"Italie", media_reference(1)}, {media_reference(2), "Berne"},
                                     {media_reference(1), "Rome"}}}});
    add_media(quiz, 1, media_image, "carte.bmp", "Carte");
    add_media(quiz, 2, media_sound, "hymne.wav", "Hymne");
    quiz.use_home_page = 1;
    for (const Row& row : rows) {
        ExamHarness exam(quiz);
        std::vector<ShownItem> questions;
        exam.view.on_show_item = [&](Place place, const ShownItem& item) {
            if (place == Place::question) questions.push_back(item);
        };
        exam.start_from_home_page(row.reversed);
        while (!exam.engine.exam_state().finished) exam.engine.next();
        EXPECT_EQ(exam.view.questions_shown, row.asked) << row.why;
        EXPECT_EQ(exam.view.prompt, row.reversed ? "De quel pays ?" : "Quelle est la capitale ?") << row.why;
        if (row.reversed) continue;
        EXPECT_EQ(questions.at(1).kind, ShownItem::Kind::media);
        EXPECT_EQ(exam.view.sounds_played.size(), 1u) << "the question's sound plays at once";
        EXPECT_EQ(questions.at(2).kind, ShownItem::Kind::image);
        EXPECT_EQ(questions.at(2).box_width, 90);
    }

    QuizModel pictures = hangman_quiz({{"Cartes", {{"Q1", media_reference(1)}}}});
    add_media(pictures, 1, media_image, "carte.bmp", "Carte");
    ExamHarness refused(pictures);
    refused.engine.open();
    EXPECT_FALSE(refused.engine.exam_state().running);
    EXPECT_EQ(refused.view.last_message_text(), load_message(str::not_enough_questions));
}

TEST(Hangman, ReplaysAskTheSameQuestionsWithAllTries) {
    QuizModel quiz = cities();
    quiz.default_random_order = 1;
    ExamHarness exam(quiz);
    exam.engine.open();
    while (!exam.engine.exam_state().finished) {
        type_letters(exam, {"z", "q"});
        exam.engine.next();
    }
    const auto first = exam.view.questions_shown;
    exam.view.questions_shown.clear();
    exam.engine.restart();
    EXPECT_EQ(exam.view.tries_left, 5);
    EXPECT_EQ(exam.view.masked_answer.find_first_not_of("# "), std::string::npos);
    while (!exam.engine.exam_state().finished) exam.engine.next();
    EXPECT_EQ(exam.view.questions_shown, first);
}

TEST(Hangman, RecordsAnExamByteForByte) {
    ExamHarness exam(hangman_quiz({{"Villes", {{"France", "Paris"}, {"Grande pomme", "New York"}}}}));
    exam.engine.open();
    exam.fakes.clock.time.second = 10;
    type_letters(exam, {"p", "a", "r", "i", "s"});
    exam.fakes.clock.time.second = 20;
    type_letters(exam, {"n"});
    exam.engine.next();

    const std::string prompt = "Quelle est la capitale ?";
    const std::string expected =
        format_and_header(exam.runner_path(), 4, 50, 1) +
        crlf_lines({"Villes", prompt, "France"}) + answer_pairs({{"Paris", "Paris"}}) +
        crlf_lines({"1", "09:07:03", "09:07:10"}) +
        crlf_lines({"Villes", prompt, "Grande pomme"}) + answer_pairs({{"New York", "N## ####"}}) +
        crlf_lines({"0", "09:07:10", "09:07:20"});
    EXPECT_EQ(file_bytes(exam.results_file()), expected);
}

}  // namespace
}  // namespace kz::test
