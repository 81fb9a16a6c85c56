// Multiple-choice exams played through the fake view: the proposals drawn and
// shuffled into the boxes, several right boxes, the author's wrong answers,
// the give-up when no wrong proposal exists, media, replays and the results.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "common/text_helpers.h"
#include "res/string_table.h"
#include "support/exam_harness.h"
#include "support/quiz_builder.h"
#include "support/results_text.h"

namespace kz::test {
namespace {

using Three = std::array<std::string, 3>;

Three box_texts(FakeView& view) {
    return {view.items[Place::box_1].text, view.items[Place::box_2].text, view.items[Place::box_3].text};
}

Three first_three(const std::array<std::string, answer_slots>& slots) { return {slots[0], slots[1], slots[2]}; }

QuizModel choice_quiz(std::vector<ThemeData> themes) {
    return quiz_of_type(ExamType::multiple_choice, std::move(themes));
}

// Two records ask the same question: both rivers are right.
ThemeData rivers() {
    return {"Fleuves", {{"Fleuve", "Seine"}, {"Fleuve", "Loire"}, {"Montagne", "Alpes"}, {"Mer", "Manche"}}};
}

TEST(MultipleChoice, EveryBoxFromARecordWithTheSameQuestionMustBeTicked) {
    struct Row {
        std::array<bool, 3> ticks;
        bool right;
        Three given;
    };
    const Row rows[] = {
        {{true, true, false}, true, {"Seine", "Loire", " "}},
        {{true, false, false}, false, {"Seine", " ", " "}},
        {{false, true, false}, false, {" ", "Loire", " "}},
        {{true, true, true}, false, {"Seine", "Loire", "Alpes"}},
        {{false, false, false}, false, {" ", " ", " "}},
    };
    for (const Row& row : rows) {
        QuizModel quiz = choice_quiz({rivers()});
        quiz.default_training_mode = 1;
        ExamHarness exam(quiz);
        exam.fakes.random.script = {1, 2, 0, 0};  // Loire, Alpes, the boxes in that order
        exam.engine.open();
        ASSERT_EQ(box_texts(exam.view), (Three{"Seine", "Loire", "Alpes"}));
        EXPECT_EQ(exam.view.items[Place::question].text, "Fleuve");

        exam.view.ticks = row.ticks;
        exam.engine.next();
        const QuestionRecord& entry = exam.engine.exam_record().entries.at(0);
        EXPECT_EQ(entry.right, row.right ? 1 : 0);
        EXPECT_EQ(first_three(entry.expected), (Three{"Seine", "Loire", " "}));
        EXPECT_EQ(first_three(entry.given), row.given);
        if (row.right) {
            EXPECT_TRUE(exam.view.corrections.empty());
            continue;
        }
        ASSERT_EQ(exam.view.corrections.size(), 1u);
        EXPECT_EQ(exam.view.corrections[0].request.message, "Il fallait choisir les r\xE9ponses :");
        EXPECT_EQ(exam.view.corrections[0].request.answers, (Three{"Seine", "Loire", ""}));
    }
}

TEST(MultipleChoice, AuthorsWrongAnswersAreProposedInTheNormalDirectionOnly) {
    struct Row {
        const char* why;
        std::string question;
        std::string first_wrong, second_wrong;
        bool reversed;
        std::vector<std::uint32_t> script;
        Three boxes;
        std::vector<std::uint32_t> draws;  // the n of every random draw
    };
    const Row rows[] = {
        {"both written: one draw from the theme, hidden", "France", "Lyon", "Marseille", false,
         {1, 0, 0}, {"Paris", "Lyon", "Marseille"}, {4, 3, 2}},
        {"the second alone", "France", "", "Marseille", false, {1, 0, 0}, {"Paris", "Rome", "Marseille"}, {4, 3, 2}},
        {"the first alone: the second proposal differs from the right answer and from the first shown", "France",
         "Rome", "",
         false, {2, 0, 1, 3, 2, 1}, {"Berlin", "Rome", "Paris"}, {4, 4, 4, 4, 3, 2}},
        {"reversed: none of them", "France", "Lyon", "Marseille", true,
         {1, 2, 1, 0}, {"Italie", "France", "Espagne"}, {4, 4, 3, 2}},
        {"a question that punctuation reduces to nothing is not the author's", "?", "Lyon", "Marseille", false,
         {1, 0, 0}, {"Paris", "Lyon", "Marseille"}, {4, 3, 2}},
    };
    for (const Row& row : rows) {
        QuizModel quiz = choice_quiz({{"Pays",
                                       {{row.question, "Paris", "", row.first_wrong, row.second_wrong},
                                        {"Italie", "Rome"}, {"Espagne", "Madrid"}, {"Allemagne", "Berlin"}}}});
        quiz.use_home_page = 1;
        ExamHarness exam(quiz);
        exam.fakes.random.script.assign(row.script.begin(), row.script.end());
        exam.start_from_home_page(row.reversed);
        EXPECT_EQ(box_texts(exam.view), row.boxes) << row.why;
        EXPECT_EQ(exam.fakes.random.asked_below, row.draws) << row.why;
        EXPECT_EQ(exam.view.prompt, row.reversed ? "De quel pays ?" : "Quelle est la capitale ?") << row.why;

        // Only the question's own answer is right: an author's wrong answer answers nothing.
        const std::string right = row.reversed ? row.question : "Paris";
        for (std::size_t k = 0; k < 3; ++k) exam.view.ticks[k] = row.boxes[k] == right;
        exam.engine.next();
        EXPECT_EQ(exam.engine.exam_state().right, 1u) << row.why;
        const QuestionRecord& entry = exam.engine.exam_record().entries.at(0);
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_EQ(entry.expected[k], row.boxes[k] == right ? right : " ") << row.why << ", box " << k + 1;
    }
}

TEST(MultipleChoice, TheSecondProposalStaysInTheThemeWhenOnlyTheFirstWrongAnswerIsWritten) {
    // The first draw is hidden behind the author's "Lyon"; the second must be
    // an answer of this theme unlike "Paris": another theme's record (whose
    // index lies past this theme's questions) and the question itself are
    // drawn again.
    QuizModel quiz = choice_quiz(
        {{"Pays", {{"France", "Paris", "", "Lyon"}, {"Italie", "Rome"}}}, numbered_theme("Chiffres", 6)});
    ExamHarness exam(quiz);
    exam.fakes.random.script = {1, 7, 0, 1, 0, 0};
    exam.engine.open();
    EXPECT_EQ(box_texts(exam.view), (Three{"Paris", "Lyon", "Rome"}));
    EXPECT_EQ(exam.fakes.random.asked_below, (std::vector<std::uint32_t>{8, 8, 8, 8, 3, 2}));
}

TEST(MultipleChoice, ReplaysAskTheSameQuestionsWithProposalsDrawnAnew) {
    QuizModel quiz = choice_quiz({{"Pays",
                                   {{"France", "Paris", "", "Lyon"},
                                    {"Italie", "Rome"},
                                    {"Espagne", "Madrid", "", "Tol\xE8" "de", "S\xE9ville"},
                                    {"Portugal", "Lisbonne", "", "", "Porto"},
                                    {"Gr\xE8" "ce", "Ath\xE8nes"}}},
                                  numbered_theme("Chiffres", 6)});
    quiz.default_random_order = 1;
    ExamHarness exam(quiz);
    exam.engine.open();

    std::vector<std::string> first_order;
    std::set<std::string> arrangements;
    for (int round = 0; round < 30; ++round) {
        if (round > 0) exam.engine.restart();
        std::vector<std::string> order;
        while (!exam.engine.exam_state().finished) {
            const QuestionRef ref = exam.engine.exam_state().current;
            const Theme& theme = quiz.themes[ref.theme];
            const QuestionEntry& entry = theme.questions[ref.question];
            const Three shown = box_texts(exam.view);
            // Three different texts: the right answer once, the others the
            // theme's answers or the author's.
            std::set<std::string> distinct;
            for (const auto& text : shown) distinct.insert(upper_1252(text));
            EXPECT_EQ(distinct.size(), 3u) << entry.question;
            EXPECT_EQ(std::count(shown.begin(), shown.end(), entry.answer), 1) << entry.question;
            for (const auto& text : shown) {
                const bool of_theme = std::any_of(theme.questions.begin(), theme.questions.end(),
                                                  [&](const QuestionEntry& q) { return q.answer == text; });
                EXPECT_TRUE(of_theme || text == entry.first_wrong || text == entry.second_wrong) << text;
            }
            arrangements.insert(entry.question + "|" + shown[0] + "|" + shown[1] + "|" + shown[2]);
            order.push_back(entry.question);
            for (std::size_t k = 0; k < 3; ++k) exam.view.ticks[k] = shown[k] == entry.answer;
            exam.engine.next();
        }
        EXPECT_EQ(exam.engine.exam_state().right, 10u);
        if (round == 0) first_order = order;
        EXPECT_EQ(order, first_order) << "round " << round;
    }
    EXPECT_GT(arrangements.size(), 2 * first_order.size()) << "proposals and boxes are drawn anew";
}

TEST(MultipleChoice, EndsTheExamAfter1000DrawsWithoutAWrongProposal) {
    struct Row {
        const char* why;
        std::vector<ThemeData> themes;
    };
    const Row rows[] = {
        {"a theme of one question", {{"Seul", {{"Q", "A"}}}, numbered_theme("Autres", 4)}},
        {"the author's wrong answers do not spare the draw",
         {{"Seul", {{"Q", "A", "", "W1", "W2"}}}, numbered_theme("Autres", 4)}},
        {"answers alike but for case",
         {{"Villes", {{"Q1", "Paris"}, {"Q2", "PARIS"}, {"Q3", "paris"}, {"Q4", "Paris"}}}}},
    };
    for (const Row& row : rows) {
        ExamHarness exam(choice_quiz(row.themes));
        exam.engine.open();
        EXPECT_TRUE(exam.engine.exam_state().finished) << row.why;
        EXPECT_EQ(exam.fakes.random.asked_below.size(), 1000u) << row.why;
        EXPECT_EQ(exam.view.page, Page::end) << row.why;
        const auto lines = exam.results_lines();
        ASSERT_EQ(lines.size(), 12u) << row.why;
        EXPECT_EQ(lines[11], "-1") << row.why;
    }
}

TEST(MultipleChoice, NeedsFourQuestionsWithQuestionAndAnswer) {
    struct Row {
        const char* why;
        std::vector<QuestionData> questions;
        bool starts;
    };
    const Row rows[] = {
        {"three questions", {{"Q1", "A1"}, {"Q2", "A2"}, {"Q3", "A3"}}, false},
        {"an answer of formatting only", {{"Q1", "A1"}, {"Q2", "{\\rtf1 }"}, {"Q3", "A3"}, {"Q4", "A4"}}, false},
        {"a question without text", {{"", "A1"}, {"Q2", "A2"}, {"Q3", "A3"}, {"Q4", "A4"}}, false},
        {"media answers count", {{"Q1", media_reference(1)}, {"Q2", "A2"}, {"Q3", "A3"}, {"Q4", "A4"}}, true},
    };
    for (const Row& row : rows) {
        QuizModel quiz = choice_quiz({{"Pays", row.questions}});
        add_media(quiz, 1, media_image, "carte.bmp", "Carte");
        ExamHarness exam(quiz);
        exam.engine.open();
        EXPECT_EQ(exam.engine.exam_state().running, row.starts) << row.why;
        EXPECT_EQ(exam.view.last_message_text() == load_message(str::not_enough_questions), !row.starts) << row.why;
    }
}

TEST(MultipleChoice, MediaOnEitherSideShowImagesAndOnlyTheQuestionPlaysAtOnce) {
    QuizModel quiz = choice_quiz({{"M\xE9" "dias",
                                   {{media_reference(2), media_reference(1)},
                                    {"Q2", media_reference(3)}, {"Q3", "A3"}, {"Q4", "A4"}}}});
    add_media(quiz, 1, media_image, "carte.bmp", "Carte");
    add_media(quiz, 2, media_sound, "cloche.wav", "Cloche");
    add_media(quiz, 3, media_music, "hymne.mid", "Hymne");
    quiz.use_home_page = 1;

    for (const bool reversed : {false, true}) {
        ExamHarness exam(quiz);
        exam.fakes.random.script = {1, 2, 0, 0};
        exam.start_from_home_page(reversed);
        const ShownItem question = exam.view.items[Place::question];
        const ShownItem box_1 = exam.view.items[Place::box_1];
        const ShownItem box_2 = exam.view.items[Place::box_2];
        if (!reversed) {
            EXPECT_EQ(question.kind, ShownItem::Kind::media);
            EXPECT_EQ(exam.view.sounds_played, std::vector<std::filesystem::path>{exam.folder / "Sons" / "cloche.wav"});
            EXPECT_EQ(box_1.kind, ShownItem::Kind::image);
            EXPECT_EQ(box_1.image_file, exam.folder / "Images" / "carte.bmp");
            EXPECT_EQ(box_1.box_width, 70);
            EXPECT_EQ(box_2.kind, ShownItem::Kind::media);
            EXPECT_TRUE(exam.view.music_played.empty()) << "a proposal waits for its play button";
        } else {
            EXPECT_EQ(question.kind, ShownItem::Kind::image);
            EXPECT_EQ(question.box_height, 70);
            EXPECT_EQ(box_1.kind, ShownItem::Kind::media);
            EXPECT_EQ(box_2.text, "Q2");
            EXPECT_TRUE(exam.view.sounds_played.empty()) << "a proposal waits for its play button";
        }
        exam.view.ticks = {true, false, false};
        exam.engine.next();
        const QuestionRecord& entry = exam.engine.exam_record().entries.at(0);
        EXPECT_EQ(entry.right, 1) << reversed;
        EXPECT_EQ(entry.expected[0], reversed ? "<Son : Cloche>" : "<Image : Carte>");
        EXPECT_EQ(entry.question, reversed ? "<Image : Carte>" : "<Son : Cloche>");
    }
}

TEST(MultipleChoice, RecordsAnExamByteForByte) {
    ExamHarness exam(choice_quiz({numbered_theme("Chiffres", 4)}));
    // Question k draws the answers of the next two questions; the boxes keep
    // the slots' order.
    exam.fakes.random.script = {1, 2, 0, 0, 2, 3, 0, 0, 3, 0, 0, 0, 0, 1, 0, 0};
    exam.engine.open();
    const std::array<bool, 3> ticks[] = {{true, false, false}, {true, true, false}, {false, false, false},
                                         {true, false, false}};
    const char* times[] = {"10", "20", "30", "40"};
    for (std::size_t k = 0; k < 4; ++k) {
        exam.fakes.clock.time.second = std::stoi(times[k]);
        exam.view.ticks = ticks[k];
        exam.engine.next();
    }

    const std::string prompt = "Quelle est la capitale ?";
    const std::string expected =
        format_and_header(exam.runner_path(), 0, 50, 3) +
        crlf_lines({"Chiffres", prompt, "Q1"}) + answer_pairs({{"A1", "A1"}}) +
        crlf_lines({"1", "09:07:03", "09:07:10"}) +
        crlf_lines({"Chiffres", prompt, "Q2"}) + answer_pairs({{"A2", "A2"}, {" ", "A3"}}) +
        crlf_lines({"0", "09:07:10", "09:07:20"}) +
        crlf_lines({"Chiffres", prompt, "Q3"}) + answer_pairs({{"A3", " "}}) +
        crlf_lines({"0", "09:07:20", "09:07:30"}) +
        crlf_lines({"Chiffres", prompt, "Q4"}) + answer_pairs({{"A4", "A4"}}) +
        crlf_lines({"1", "09:07:30", "09:07:40"});
    EXPECT_EQ(file_bytes(exam.results_file()), expected);
}

}  // namespace
}  // namespace kz::test
