// The welcome, help and end texts with their placeholders.
#include <gtest/gtest.h>

#include "engine/text_templates.h"
#include "exam/home_form.h"
#include "res/string_table.h"

namespace kz {
namespace {

TemplateValues sample_values() {
    TemplateValues values;
    values.quiz_name = "G\xE9ographie";
    values.exam_type = ExamType::scrambled_letters;
    values.student_name = "Marie";
    values.right = 7;
    values.wrong = 3;
    values.asked = 10;
    values.time_limit = 30;
    values.elapsed_seconds = 3725;
    values.score_text = "14/20";
    return values;
}

TEST(ExpandTemplate, ReplacesEveryPlaceholderByItsValue) {
    struct Row {
        std::string text;
        std::string expanded;
    };
    const Row rows[] = {
        {"[NOMQUIZ]", "G\xE9ographie"},
        {"[TYPEQUIZ]", "Lettres M\xE9lang\xE9""es"},
        {"[NOMELEVE]", "Marie"},
        {"[JUSTES] / [FAUSSES] / [NOMBREQUESTIONS]", "7 / 3 / 10"},
        {"[TEMPSLIMITE] s", "30 s"},
        {"[TEMPSPASSE]", "1 h 2 min 5 s"},
        {"Bienvenue au questionnaire %s", "Bienvenue au questionnaire G\xE9ographie"},
        {"[SCORE] puis [SCORE]", "14/20 puis 14/20"},
        {"[score] [SCORE", "[score] [SCORE"},
        {"", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(expand_template(row.text, sample_values()), row.expanded) << row.text;
}

TEST(ExpandTemplate, NamesEachExamTypeAsTheTemplatesDo) {
    const std::pair<ExamType, std::string> rows[] = {
        {ExamType::open_answer, "Savanto"},        {ExamType::multiple_choice, "QCM"},
        {ExamType::true_false, "Vrai/Faux"},       {ExamType::pot_pourri, "Pot Pourri"},
        {ExamType::hangman, "Jeu du Pendu"},       {ExamType::scrambled_letters, "Lettres M\xE9lang\xE9""es"},
    };
    for (const auto& [type, name] : rows) EXPECT_EQ(template_type_name(type), name);
}

TEST(ExpandTemplate, InsertedValuesAreNeverExpandedAgain) {
    const std::string names[] = {"[SCORE]", "[NOMELEVE]", "%s", "[NOM[NOMELEVE]QUIZ]", "[[NOMELEVE]]"};
    for (const std::string& name : names) {
        TemplateValues values = sample_values();
        values.student_name = name;
        EXPECT_EQ(expand_template("Bravo [NOMELEVE] !", values), "Bravo " + name + " !") << name;
    }
    TemplateValues values = sample_values();
    values.quiz_name = "[NOMQUIZ]";
    EXPECT_EQ(expand_template("[NOMQUIZ] %s", values), "[NOMQUIZ] [NOMQUIZ]");
}

TEST(ExpandTemplate, ValuesInARichTextShowAsTyped) {
    TemplateValues values = sample_values();
    values.student_name = "a{b}\\par c";
    EXPECT_EQ(expand_template("{\\rtf1 [NOMELEVE]}", values), "{\\rtf1 a\\{b\\}\\\\par c}");
    EXPECT_EQ(expand_template("plain [NOMELEVE]", values), "plain a{b}\\par c");
}

TEST(ExpandTemplate, TheBuiltInWelcomeTextNamesTheQuizInBlue) {
    const std::string text = expand_template(load_message(str::welcome_text), sample_values());
    EXPECT_NE(text.find("au questionnaire \\cf1 G\xE9ographie\\cf0\\par"), std::string::npos);
    EXPECT_EQ(text.find("%s"), std::string::npos);
}

TEST(ExpandTemplate, TheBuiltInEndTextShowsTheResults) {
    EXPECT_EQ(built_in_end_text.size(), 1044u);
    const std::string text = expand_template(built_in_end_text, sample_values());
    EXPECT_NE(text.find("R\\'e9ponses justes : \\cf1\\b 7\\cf0"), std::string::npos);
    EXPECT_NE(text.find("R\\'e9ponses fausses : \\cf2\\b 3\\cf0"), std::string::npos);
    EXPECT_NE(text.find("Score : 14/20\\b0"), std::string::npos);
    EXPECT_TRUE(text.starts_with("{\\rtf1"));
    EXPECT_TRUE(text.ends_with("\\par}"));
}

TEST(ExpandTemplate, LongTextsAreNeverCut) {
    const std::string text = "{\\rtf1 " + std::string(20000, 'x') + " [SCORE]}";
    const std::string expanded = expand_template(text, sample_values());
    EXPECT_EQ(expanded, "{\\rtf1 " + std::string(20000, 'x') + " 14/20}");
}

TEST(ExpandTemplate, TimeSpentShowsHoursMinutesAndSeconds) {
    const std::pair<int, std::string> rows[] = {
        {-4, "1 s"}, {0, "1 s"}, {1, "1 s"}, {59, "59 s"}, {60, "1 min "}, {120, "2 min "},
        {3725, "1 h 2 min 5 s"}, {7200, "2 h "}, {3601, "1 h 1 s"},
    };
    for (const auto& [seconds, text] : rows) EXPECT_EQ(elapsed_text(seconds), text) << seconds;
}

TEST(HomeForm, TypedNumbersAreReadAsTheirLeadingDigits) {
    const std::pair<std::string, std::int32_t> rows[] = {
        {"12", 12},         {"-5", -5},           {"  +7x", 7},          {"abc", 0},
        {"", 0},            {"0", 0},             {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},        {std::string(19, '0') + "5", 0},
        {std::string(18, '0') + "5", 5},
    };
    for (const auto& [text, value] : rows) EXPECT_EQ(typed_number(text), value) << text;
}

}  // namespace
}  // namespace kz
