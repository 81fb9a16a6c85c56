// What a learning platform receives of an exam: its gradebook's values and
// one interaction per question, from the exam's record.
#include <gtest/gtest.h>

#include <map>

#include "engine/scorm_report.h"

namespace kz {
namespace {

TEST(ScormReport, TakesTheStudentsNameAsThePlatformWritesIt) {
    const std::pair<const char*, const char*> rows[] = {
        {"Dupont, Marie", "Marie Dupont"}, {"  Dupont ,  Marie  ", "Marie Dupont"}, {"Marie Dupont", "Marie Dupont"},
        {"Dupont,", "Dupont"},             {", Marie", "Marie"},                    {"", ""},
    };
    for (const auto& [platform, shown] : rows) EXPECT_EQ(name_from_platform(platform), shown) << platform;
}

TEST(ScormReport, WritesTimespansWithAtLeastTwoDigitsOfHours) {
    const std::pair<std::int64_t, const char*> rows[] = {
        {0, "00:00:00"}, {59, "00:00:59"}, {3725, "01:02:05"}, {360000, "100:00:00"}, {-4, "00:00:00"},
        {100000000, "9999:46:40"},
    };
    for (const auto& [seconds, text] : rows) EXPECT_EQ(scorm_timespan(seconds), text) << seconds;
}

QuestionRecord entry(std::string theme, std::string question, std::array<std::string, 5> expected,
                     std::array<std::string, 5> given, int right, std::string start, std::string end) {
    QuestionRecord record;
    record.theme_name = std::move(theme);
    record.question = std::move(question);
    record.expected = std::move(expected);
    record.given = std::move(given);
    record.right = right;
    record.start_time = std::move(start);
    record.end_time = std::move(end);
    return record;
}

std::map<std::string, std::string> as_map(const std::vector<ScormValue>& values) {
    std::map<std::string, std::string> map;
    for (const auto& value : values) map[value.element] = value.value;
    return map;
}

// The gradebook's status: passed or failed against the platform's mastery
// score, completed without one.
TEST(ScormReport, GivesTheScoreAndTheStatusAgainstTheMasteryScore) {
    ExamRecord record;
    record.score = 66;
    const std::pair<std::optional<int>, const char*> rows[] = {
        {std::nullopt, "completed"}, {66, "passed"}, {50, "passed"}, {67, "failed"}};
    for (const auto& [mastery, status] : rows) {
        const auto values = scorm_values({record, ExamType::open_answer, 125, mastery, 0});
        ASSERT_GE(values.size(), 5u);
        EXPECT_EQ(values[0], (ScormValue{"cmi.core.score.raw", "66"}));
        EXPECT_EQ(values[3], (ScormValue{"cmi.core.lesson_status", status}));
        EXPECT_EQ(values[4], (ScormValue{"cmi.core.session_time", "00:02:05"}));
    }
}

// One interaction per question, numbered after those the platform holds,
// in the response form of each exam type.
TEST(ScormReport, ReportsEachQuestionAsAnInteraction) {
    const std::string blank = " ";
    ExamRecord typed;
    typed.entries = {entry("G\xE9ographie", "{\\rtf1 Capitale de l'\\'c9gypte ?}", {"Le Caire", blank, blank, blank, blank},
                           {std::string(300, 'x'), blank, blank, blank, blank}, 0, "23:59:50", "00:00:10")};
    auto values = as_map(scorm_values({typed, ExamType::open_answer, 20, std::nullopt, 3}));
    EXPECT_EQ(values["cmi.interactions.3.id"].substr(0, 31), "Geographie_Capitale_de_l_Egypte");
    EXPECT_EQ(values["cmi.interactions.3.id"].size(), 31u + 9u);
    EXPECT_EQ(values["cmi.interactions.3.type"], "fill-in");
    EXPECT_EQ(values["cmi.interactions.3.student_response"], std::string(255, 'x'));
    EXPECT_EQ(values["cmi.interactions.3.correct_responses.0.pattern"], "Le Caire");
    EXPECT_EQ(values["cmi.interactions.3.result"], "wrong");
    EXPECT_EQ(values["cmi.interactions.3.time"], "23:59:50");
    EXPECT_EQ(values["cmi.interactions.3.latency"], "00:00:20");

    ExamRecord choices;
    choices.entries = {entry("Europe", "France", {"Paris", blank, "Lut\xE8" "ce", blank, blank}, {"Paris", "Lyon", blank, blank, blank},
                             0, "10:00:00", "10:00:04")};
    values = as_map(scorm_values({choices, ExamType::multiple_choice, 4, std::nullopt, 0}));
    EXPECT_EQ(values["cmi.interactions.0.type"], "choice");
    EXPECT_EQ(values["cmi.interactions.0.student_response"], "Paris, Lyon");
    EXPECT_EQ(values["cmi.interactions.0.correct_responses.0.pattern"], "Paris, Lut\xE8" "ce");

    ExamRecord statements;
    statements.entries = {entry("Europe", "France", {"C'est faux", blank, blank, blank, blank},
                                {"C'est vrai", blank, blank, blank, blank}, 0, "10:00:00", "10:00:04"),
                          entry("Europe", "Italie", {"C'est vrai", blank, blank, blank, blank},
                                {blank, blank, blank, blank, blank}, 0, "10:00:04", "10:00:09")};
    values = as_map(scorm_values({statements, ExamType::true_false, 9, std::nullopt, 0}));
    EXPECT_EQ(values["cmi.interactions.0.type"], "true-false");
    EXPECT_EQ(values["cmi.interactions.0.student_response"], "t");
    EXPECT_EQ(values["cmi.interactions.0.correct_responses.0.pattern"], "f");
    EXPECT_EQ(values["cmi.interactions.1.student_response"], "");
    EXPECT_NE(values["cmi.interactions.0.id"], values["cmi.interactions.1.id"]);
}

}  // namespace
}  // namespace kz
