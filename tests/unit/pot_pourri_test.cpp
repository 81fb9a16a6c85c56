// Pot-pourri exams played through the fake view: the list of the theme's
// answers, the grading of the entry chosen, media, replays and the results.
#include <gtest/gtest.h>

#include "media/rich_text.h"
#include "questions/pot_pourri.h"
#include "res/string_table.h"
#include "support/exam_harness.h"
#include "support/quiz_builder.h"
#include "support/results_text.h"

namespace kz::test {
namespace {

using Entries = std::vector<std::string>;

QuizModel list_quiz(std::vector<ThemeData> themes) { return quiz_of_type(ExamType::pot_pourri, std::move(themes)); }

// A theme whose questions have the given answers.
ThemeData theme_of_answers(const Entries& answers) {
    ThemeData theme{"Fruits", {}};
    for (std::size_t k = 0; k < answers.size(); ++k) theme.questions.push_back({"Q" + std::to_string(k + 1), answers[k]});
    return theme;
}

TEST(PotPourri, ListsEachAnswerOfTheThemeOnceInAlphabeticalOrder) {
    struct Row {
        Entries answers;
        Entries listed;
    };
    const Row rows[] = {
        {{"cerise", "Banane", "abricot"}, {"abricot", "Banane", "cerise"}},
        {{"Paris", "PARIS"}, {"Paris"}},
        {{"PARIS", "Paris", "paris"}, {"PARIS"}},
        {{"Lyon", "", media_reference(1), "{\\rtf1 }", "Lyon"}, {"Lyon"}},
        {{"\xE9t\xE9", "Etang", "eau", "zoo"}, {"eau", "Etang", "\xE9t\xE9", "zoo"}},
        {{"{\\rtf1\\ansi No\\'ebl}", "Noel"}, {"Noel", "No\xEBl"}},
    };
    for (const Row& row : rows) {
        QuizModel quiz = list_quiz({theme_of_answers(row.answers)});
        add_media(quiz, 1, media_image, "pomme.bmp", "Pomme");
        ExamHarness exam(quiz);
        exam.engine.open();
        EXPECT_EQ(exam.view.candidates, row.listed) << row.answers[0];
        EXPECT_EQ(exam.view.selection, std::nullopt) << "nothing is selected";
    }
}

// A front end that can show what Windows-1252 lacks shows each entry as the
// first answer of the theme that gives it, in the exam's direction.
TEST(PotPourri, EachEntryComesFromTheFirstAnswerGivingIt) {
    const std::string greek = "{\\rtf1\\ansi \\u945?\\u946?}";
    const std::string bold = "{\\rtf1\\ansi Par\\b is\\b0}";
    const QuizModel quiz = list_quiz({{"Villes", {{"Q1", greek}, {"Q2", bold}, {"Paris", "Paris"}}}});
    const Entries entries = {rich_to_plain(greek), "Paris", "Rome"};  // "a\xDF", as Windows-1252 comes nearest
    for (const bool reversed : {false, true}) {
        ExamSettings settings;
        settings.reverse_direction = reversed;
        const auto sources = candidate_sources(quiz, settings, {0, 2}, entries);
        ASSERT_EQ(sources.size(), 3u);
        if (reversed) {
            EXPECT_EQ(sources[0], nullptr) << "no question is written in Greek";
            ASSERT_NE(sources[1], nullptr);
            EXPECT_EQ(sources[1], &quiz.themes[0].questions[2].question);
        } else {
            ASSERT_NE(sources[0], nullptr);
            EXPECT_EQ(*sources[0], greek);
            ASSERT_NE(sources[1], nullptr);
            EXPECT_EQ(*sources[1], bold) << "the first answer giving the entry, not a later one";
        }
        EXPECT_EQ(sources[2], nullptr) << "an entry that no answer gives";
    }
}

TEST(PotPourri, GradesTheEntryChosenWithTheQuizTolerances) {
    struct Row {
        const char* why;
        Entries answers;
        bool ignore_case, ignore_accents;
        std::vector<std::optional<std::string>> chosen;  // one per question, in order
        std::vector<int> right;
        std::vector<std::string> given;
    };
    const Row rows[] = {
        {"case counts: the second form can never be right", {"Paris", "PARIS"}, false, false,
         {"Paris", "Paris"}, {1, 0}, {"Paris", "Paris"}},
        {"case ignored: both are right", {"Paris", "PARIS"}, true, false, {"Paris", "Paris"}, {1, 1},
         {"Paris", "Paris"}},
        {"accents ignored", {"No\xEBl", "Noel"}, false, true, {"Noel", "No\xEBl"}, {1, 1}, {"Noel", "No\xEBl"}},
        {"nothing chosen, or a text that the list does not hold", {"Paris", "Rome"}, true, true,
         {std::nullopt, "Pariss"}, {0, 0}, {"", ""}},
    };
    for (const Row& row : rows) {
        QuizModel quiz = list_quiz({theme_of_answers(row.answers)});
        quiz.ignore_case = row.ignore_case;
        quiz.ignore_accents = row.ignore_accents;
        quiz.default_training_mode = 1;
        ExamHarness exam(quiz);
        exam.engine.open();
        for (const auto& choice : row.chosen) {
            exam.view.selection = choice;
            exam.engine.next();
        }
        const auto& entries = exam.engine.exam_record().entries;
        ASSERT_EQ(entries.size(), row.chosen.size()) << row.why;
        for (std::size_t k = 0; k < entries.size(); ++k) {
            EXPECT_EQ(entries[k].right, row.right[k]) << row.why << ", question " << k + 1;
            EXPECT_EQ(entries[k].expected[0], row.answers[k]) << row.why;
            EXPECT_EQ(entries[k].given[0], row.given[k]) << row.why;
        }
        const auto wrong = static_cast<std::size_t>(std::count(row.right.begin(), row.right.end(), 0));
        ASSERT_EQ(exam.view.corrections.size(), wrong) << row.why;
        for (const auto& shown : exam.view.corrections) EXPECT_EQ(shown.request.message, load_message(str::answer_was));
    }
}

TEST(PotPourri, MediaQuestionsShowAndMediaAnswersAreNeverListed) {
    QuizModel quiz = list_quiz({{"Pays",
                                 {{"France", "Paris"}, {media_reference(1), "Rome"}, {"Espagne", media_reference(2)},
                                  {media_reference(2), "Berne"}}}});
    add_media(quiz, 1, media_image, "italie.bmp", "Italie");
    add_media(quiz, 2, media_sound, "hymne.wav", "Hymne");
    quiz.use_home_page = 1;

    ExamHarness normal(quiz);
    normal.start_from_home_page(false);
    EXPECT_EQ(normal.view.candidates, (Entries{"Berne", "Paris", "Rome"}));
    normal.view.selection = "Paris";
    normal.engine.next();
    EXPECT_EQ(normal.view.items[Place::question].kind, ShownItem::Kind::image);
    EXPECT_EQ(normal.view.items[Place::question].box_width, 100);
    normal.view.selection = "Rome";
    normal.engine.next();
    EXPECT_EQ(normal.view.items[Place::question].kind, ShownItem::Kind::media);
    EXPECT_EQ(normal.view.sounds_played.size(), 1u) << "the question's sound plays at once";
    EXPECT_EQ(normal.engine.exam_settings().question_count, 3u) << "a media answer is never asked";

    // Reversed, the questions are the answers: a media question is expected,
    // stands in no list and can only be answered wrong.
    ExamHarness reversed(quiz);
    reversed.start_from_home_page(true);
    EXPECT_EQ(reversed.view.prompt, "De quel pays ?");
    EXPECT_EQ(reversed.view.candidates, (Entries{"Espagne", "France"}));
    reversed.view.selection = "France";
    reversed.engine.next();
    EXPECT_EQ(reversed.view.items[Place::question].text, "Rome");
    reversed.view.selection = "Espagne";
    reversed.engine.next();
    const auto& entries = reversed.engine.exam_record().entries;
    EXPECT_EQ(entries.at(0).right, 1);
    EXPECT_EQ(entries.at(1).right, 0);
    EXPECT_EQ(entries.at(1).expected[0], "<Image : Italie>");
}

TEST(PotPourri, ReplaysAskTheSameQuestionsWithTheSameLists) {
    QuizModel quiz = list_quiz({theme_of_answers({"cerise", "Banane", "abricot", "poire", "Pomme"}),
                                {"L\xE9gumes", {{"Orange", "Carotte"}, {"Vert", "Poireau"}}}});
    quiz.default_random_order = 1;
    ExamHarness exam(quiz);
    std::vector<Entries> lists;
    exam.view.on_show_item = [&](Place, const ShownItem&) { lists.push_back(exam.view.candidates); };
    exam.engine.open();
    while (!exam.engine.exam_state().finished) exam.engine.next();
    const auto first_questions = exam.view.questions_shown;
    const auto first_lists = lists;

    exam.view.questions_shown.clear();
    lists.clear();
    exam.engine.restart();
    while (!exam.engine.exam_state().finished) exam.engine.next();
    EXPECT_EQ(exam.view.questions_shown, first_questions);
    EXPECT_EQ(lists, first_lists);
}

TEST(PotPourri, RecordsAnExamByteForByte) {
    ExamHarness exam(list_quiz({{"Capitales", {{"France", "Paris"}, {"Italie", "Rome"}}}}));
    exam.engine.open();
    exam.fakes.clock.time.second = 10;
    exam.view.selection = "Paris";
    exam.engine.next();
    exam.fakes.clock.time.second = 20;
    exam.engine.next();

    const std::string prompt = "Quelle est la capitale ?";
    const std::string expected =
        format_and_header(exam.runner_path(), 3, 50, 1) +
        crlf_lines({"Capitales", prompt, "France"}) + answer_pairs({{"Paris", "Paris"}}) +
        crlf_lines({"1", "09:07:03", "09:07:10"}) +
        crlf_lines({"Capitales", prompt, "Italie"}) + answer_pairs({{"Rome", ""}}) +
        crlf_lines({"0", "09:07:10", "09:07:20"});
    EXPECT_EQ(file_bytes(exam.results_file()), expected);
}

}  // namespace
}  // namespace kz::test
