// results-report: the class statistics (scores, facility, discrimination,
// wrong answers), the CSV fields, the command line, and whole runs on real
// results files in a temporary folder, damaged ones among them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "class_report.h"
#include "common/cp1252.h"
#include "csv_export.h"
#include "frequent_answers.h"
#include "quiz/byte_source.h"
#include "report_options.h"
#include "report_run.h"
#include "report_text.h"
#include "results/results_file.h"
#include "support/temp_folder.h"

namespace kz::test {
namespace {

using namespace kz::report;

struct Answer {
    std::string question;
    bool right;
    std::string given = "";
    std::string theme = "Capitales";
};

ExamRecord exam(const std::string& student, std::int32_t score, const std::vector<Answer>& answers,
                const std::string& date = "05/12/2026 10:00", const std::string& quiz = "G\xE9ographie",
                std::int32_t type_code = 1) {
    ExamRecord record;
    record.begin("10:00:00");
    record.student_name = student;
    record.type_code = type_code;
    record.quiz_name = quiz;
    record.runner_path = "C:\\Quiz\\geo.exe";
    record.score = score;
    record.start_date = date;
    int second = 0;
    for (const Answer& answer : answers) {
        record.open_entry.expected[0] = "Paris";
        record.open_entry.given[0] = answer.given.empty() ? " " : answer.given;
        record.open_entry.right = answer.right ? 1 : 0;
        second += 7;
        record.close_question_entry("10:00:" + std::string(second < 10 ? "0" : "") + std::to_string(second),
                                    answer.theme, "{\\rtf1 Capitale ?}", answer.question);
    }
    return record;
}

const QuestionStats& question_named(const ClassReport& report, const std::string& question) {
    for (const QuestionStats& q : report.quizzes().front()->questions)
        if (q.question == question) return q;
    throw std::runtime_error("no question " + question);
}

TEST(ClassReport, ScoresGiveMeanMedianSpreadAndMarks) {
    struct Row {
        std::vector<std::int32_t> scores;
        double mean, median, deviation;
        std::vector<std::pair<int, std::uint64_t>> marks;  // mark out of 20, exams
    };
    const Row rows[] = {
        {{50}, 50, 50, 0, {{10, 1}}},
        {{40, 60, 90}, 63.333, 60, 20.548, {{8, 1}, {12, 1}, {18, 1}}},
        {{0, 100, 74, 75}, 62.25, 74.5, 37.419, {{0, 1}, {20, 1}, {14, 1}, {15, 1}}},
        {{-5, 120}, 50, 50, 50, {{0, 1}, {20, 1}}},  // out of range: the nearest end
    };
    for (const Row& row : rows) {
        ScoreDistribution s;
        for (std::int32_t score : row.scores) s.add(score);
        EXPECT_NEAR(s.mean(), row.mean, 0.001);
        EXPECT_NEAR(s.median(), row.median, 0.001);
        EXPECT_NEAR(s.standard_deviation(), row.deviation, 0.001);
        std::array<std::uint64_t, 21> marks{};
        for (const auto& [mark, count] : row.marks) marks[static_cast<std::size_t>(mark)] += count;
        EXPECT_EQ(s.by_marks(), marks);
    }
}

TEST(ClassReport, DiscriminationIsTheCorrelationWithTheRestOfTheExam) {
    // Five exams of three questions; the first question's results against
    // the share of the two others answered right: r = 0.1 / sqrt(0.24 x 0.1).
    const bool results[5][3] = {{1, 1, 1}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}, {1, 0, 1}};
    ClassReport report;
    for (int e = 0; e < 5; ++e) {
        std::vector<Answer> answers;
        for (int q = 0; q < 3; ++q) answers.push_back({"Q" + std::to_string(q + 1), results[e][q]});
        report.add(exam("E" + std::to_string(e), 50, answers));
    }
    const Discrimination first = discrimination(question_named(report, "Q1"));
    ASSERT_EQ(first.kind, Discrimination::Kind::value);
    EXPECT_NEAR(first.value, 0.6455, 0.0001);
    EXPECT_NEAR(question_named(report, "Q1").facility(), 0.6, 1e-9);

    struct Row {
        const char* why;
        int exams;
        bool all_right;
        Discrimination::Kind kind;
    };
    const Row rows[] = {
        {"four exams are not enough", 4, false, Discrimination::Kind::not_enough_data},
        {"every exam answered it right", 6, true, Discrimination::Kind::undefined},
        {"five exams of varied results", 5, false, Discrimination::Kind::value},
    };
    for (const Row& row : rows) {
        ClassReport r;
        for (int e = 0; e < row.exams; ++e)
            r.add(exam("E", 50, {{"Q", row.all_right || e % 2 == 0}, {"Autre", e % 3 == 0}}));
        EXPECT_EQ(discrimination(question_named(r, "Q")).kind, row.kind) << row.why;
    }
}

TEST(ClassReport, ReliabilityIsKr20OverTheExamsOfTheMostCommonLength) {
    // Ten exams of three questions (each place counts as one item), worked
    // out by hand: total variance 0.96, item variances summing to 0.7, so
    // KR-20 = 3/2 x (1 - 0.7/0.96) = 0.40625 and the standard error of
    // measurement sqrt(0.96 x 0.59375) = 0.755 questions of 3: 25.17 %.
    const bool results[10][3] = {{1, 1, 1}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}, {1, 1, 1},
                                 {0, 1, 0}, {1, 0, 1}, {1, 1, 0}, {0, 0, 1}, {1, 1, 1}};
    auto exams_of = [&](int count, bool all_alike) {
        ClassReport report;
        for (int e = 0; e < count; ++e) {
            std::vector<Answer> answers;
            for (int q = 0; q < 3; ++q)
                answers.push_back({"Q" + std::to_string((e + q) % 5), all_alike ? q == 0 : results[e % 10][q]});
            report.add(exam("E" + std::to_string(e), 0, answers));
        }
        // Exams of another length do not count.
        for (int e = 0; e < 3; ++e) report.add(exam("F", 0, {{"Q1", e == 0}, {"Q2", true}}));
        return reliability(report.quizzes().front()->lengths);
    };
    const Reliability r = exams_of(10, false);
    ASSERT_EQ(r.kind, Reliability::Kind::value);
    EXPECT_NEAR(r.kr20, 0.40625, 1e-9);
    EXPECT_NEAR(r.measurement_error, 25.1661, 1e-3);
    EXPECT_EQ(r.questions, 3u);
    EXPECT_EQ(r.exams, 10u);

    struct Row {
        const char* why;
        int exams;
        bool all_alike;
        Reliability::Kind kind;
    };
    const Row rows[] = {
        {"nine exams are too few", 9, false, Reliability::Kind::not_enough_data},
        {"every exam had one right answer", 12, true, Reliability::Kind::undefined},
    };
    for (const Row& row : rows) EXPECT_EQ(exams_of(row.exams, row.all_alike).kind, row.kind) << row.why;
}

TEST(ClassReport, DiscriminationOnFewExamsIsUncertain) {
    struct Row {
        int exams;
        bool uncertain;
    };
    for (const Row& row : {Row{5, true}, Row{29, true}, Row{30, false}, Row{300, false}}) {
        ClassReport report;
        for (int e = 0; e < row.exams; ++e)
            report.add(exam("E", 50, {{"Q", e % 2 == 0}, {"Autre", e % 4 < 2}, {"Trois", e % 3 == 0}}));
        const Discrimination d = discrimination(question_named(report, "Q"));
        ASSERT_EQ(d.kind, Discrimination::Kind::value) << row.exams;
        EXPECT_EQ(d.uncertain(), row.uncertain) << row.exams;
        EXPECT_EQ(d.exams, static_cast<std::uint64_t>(row.exams));
        EXPECT_LT(d.low, d.value);
        EXPECT_GT(d.high, d.value);
    }
    // The interval of the hand-worked example above (r = 0.6455 on five
    // exams): tanh(atanh(r) -/+ 1.96 / sqrt(2)).
    ClassReport report;
    const bool results[5][3] = {{1, 1, 1}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}, {1, 0, 1}};
    for (int e = 0; e < 5; ++e) {
        std::vector<Answer> answers;
        for (int q = 0; q < 3; ++q) answers.push_back({"Q" + std::to_string(q + 1), results[e][q]});
        report.add(exam("E" + std::to_string(e), 50, answers));
    }
    const Discrimination d = discrimination(question_named(report, "Q1"));
    EXPECT_NEAR(d.low, -0.5500, 1e-3);
    EXPECT_NEAR(d.high, 0.9734, 1e-3);
}

TEST(ClassReport, AQuestionIsKnownByItsThemeAndPlainText) {
    ClassReport report;
    report.add(exam("Anna", 50, {{"France", true}, {"{\\rtf1\\ansi \\b France\\b0}", false},
                                 {"France", true, "", "Pays"}}));
    const auto& questions = report.quizzes().front()->questions;
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].theme + "/" + questions[0].question, "Capitales/France");
    EXPECT_EQ(questions[0].asked, 2u);
    EXPECT_EQ(questions[1].theme, "Pays");
}

TEST(ClassReport, WrongAnswersAreCountedAsTheStudentsGaveThem) {
    ClassReport report;
    report.add(exam("A", 0, {{"France", false, "Lyon"}}));
    report.add(exam("B", 0, {{"France", false, " lyon  "}}));
    report.add(exam("C", 0, {{"France", false, ""}}));
    report.add(exam("D", 0, {{"France", false, "Marseille"}}));
    report.add(exam("E", 0, {{"France", false, "Marseille"}}));
    report.add(exam("F", 100, {{"France", true, "Paris"}}));
    report.add(exam("G", 0, {{"France", false, "{\\rtf1 Nice\\par}"}}));
    const auto top = question_named(report, "France").wrong_answers.top(3);
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0].shown, "Lyon");
    EXPECT_EQ(top[0].count, 2u);
    EXPECT_EQ(top[1].shown, "Marseille");
    EXPECT_EQ(top[2].shown, "");  // no answer
    EXPECT_TRUE(top[0].exact);

    // The boxes ticked in a multiple choice are one answer.
    QuestionRecord entry;
    entry.given = {"1789", " ", "{\\rtf1 1792}", " ", " "};
    EXPECT_EQ(given_answer(entry), "1789 + 1792");
}

TEST(FrequentAnswers, KeepsTheFrequentOnesInBoundedSpace) {
    struct Row {
        const char* why;
        std::size_t capacity;
        std::vector<std::string> answers;
        std::vector<std::pair<std::string, std::uint64_t>> top;
        bool exact;
    };
    const Row rows[] = {
        {"few answers: exact counts, ties in order of arrival", 4, {"b", "a", "b", "c", "a", "b"},
         {{"b", 3}, {"a", 2}, {"c", 1}}, true},
        {"more answers than places: the frequent one stays", 2, {"x", "a", "x", "b", "x", "c", "x", "d", "x"},
         {{"x", 5}, {"d", 4}}, false},
    };
    for (const Row& row : rows) {
        FrequentAnswers answers(row.capacity);
        for (const std::string& a : row.answers) answers.add(a, a);
        const auto top = answers.top(3);
        ASSERT_EQ(top.size(), row.top.size()) << row.why;
        for (std::size_t i = 0; i < top.size(); ++i) {
            EXPECT_EQ(top[i].shown, row.top[i].first) << row.why;
            EXPECT_EQ(top[i].count, row.top[i].second) << row.why;
        }
        EXPECT_TRUE(top[0].exact) << row.why;
        EXPECT_EQ(top.back().exact, row.exact) << row.why;
    }
}

TEST(ClassReport, ListsKeepTheMostRecentExamsWhateverTheirOrder) {
    ClassReport report(ReportLimits{2, 2});
    report.add(exam("Anna", 10, {{"France", true}}, "03/12/2026 10:00"));
    report.add(exam("Anna", 20, {{"France", true}}, "05/12/2026 10:00"));
    report.add(exam("anna ", 30, {{"France", true}}, "01/12/2026 10:00"));
    report.add(exam("Anna", 40, {{"France", true}}, "04/12/2026 10:00"));
    const QuizStats& quiz = *report.quizzes().front();
    std::vector<std::int32_t> kept;
    for (const ExamRow* row : quiz.recent.in_order()) kept.push_back(row->score);
    EXPECT_EQ(kept, (std::vector<std::int32_t>{40, 20}));
    EXPECT_EQ(quiz.recent.seen(), 4u);
    EXPECT_EQ(quiz.scores.count(), 4u) << "the statistics count every exam";
    ASSERT_EQ(report.students().size(), 1u) << "names are one student whatever their case and blanks";
    EXPECT_EQ(report.students().front()->exams, 4u);
}

TEST(Csv, FieldsAreQuotedAndNeverTakenForFormulas) {
    struct Row {
        std::string value;
        bool text;
        std::string field;
    };
    const Row rows[] = {
        {"Paris", true, "Paris"},
        {"un; deux", true, "\"un; deux\""},
        {"dit \"oui\"", true, "\"dit \"\"oui\"\"\""},
        {"=HYPERLINK(\"x\")", true, "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+33 6 12", true, "'+33 6 12"},
        {"@SUM(A1)", true, "'@SUM(A1)"},
        {"-5", true, "-5"},
        {"-12,5", true, "-12,5"},
        {"-3", false, "-3"},
    };
    for (const Row& row : rows) EXPECT_EQ(csv_field(row.value, row.text), row.field) << row.value;
}

TEST(ReportOptions, ReadsTheCommandLine) {
    const auto parsed = parse_report_options(
        {"kz.dat", "autre.dat", "-o", "r.html", "--csv=out", "--quiz", "Quiz d\xC3\xA9" "couverte", "--since",
         "2026-03-02", "--until", "17/3/2026", "--limit", "0", "--no-progress", "--first"});
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const ReportOptions& o = parsed.value();
    EXPECT_EQ(o.inputs.size(), 2u);
    EXPECT_EQ(o.output, "r.html");
    EXPECT_EQ(o.csv_folder, std::filesystem::path("out"));
    EXPECT_EQ(o.quizzes, std::vector<std::string>{"quiz d\xE9" "couverte"});
    EXPECT_EQ(o.since, 202603020000);
    EXPECT_EQ(o.until, 202603172359);
    for (std::size_t limit : {o.limits.exams_per_quiz, o.limits.exams_per_student, o.limits.quizzes,
                              o.limits.questions_per_quiz, o.limits.students})
        EXPECT_EQ(limit, 0u) << "--limit bounds every list";
    EXPECT_FALSE(o.progress);
    EXPECT_TRUE(o.first);

    struct Row {
        std::vector<std::string> arguments;
        std::string error;
    };
    const Row rows[] = {
        {{}, "indiquez au moins un fichier de résultats"},
        {{"kz.dat", "--csv"}, "l'option --csv attend une valeur"},
        {{"kz.dat", "--couleur"}, "option inconnue : --couleur"},
        {{"kz.dat", "--since", "2026-13-01"}, "date illisible pour --since : 2026-13-01 (AAAA-MM-JJ ou JJ/MM/AAAA)"},
        {{"kz.dat", "--since", "2026-03-05", "--until", "2026-03-04"}, "la date de --since est après celle de --until"},
        {{"kz.dat", "--limit", "dix"}, "nombre illisible pour --limit : dix"},
        {{"kz.dat", "--quiz", "\xE2\x82\xAC\xE2\x98\x83"}, "nom de questionnaire impossible : \xE2\x82\xAC\xE2\x98\x83"},
    };
    for (const Row& row : rows) {
        const auto failed = parse_report_options(row.arguments);
        ASSERT_FALSE(failed.ok()) << row.error;
        EXPECT_EQ(failed.error(), row.error);
    }
    EXPECT_TRUE(parse_report_options({"--help"}).value().help);
}

TEST(ReportText, DurationsAndDatesReadAsInFrench) {
    const std::pair<int, std::string> durations[] = {{0, "0 s"}, {45, "45 s"}, {65, "1 min 05 s"}, {3720, "1 h 02 min"}};
    for (const auto& [seconds, text] : durations) EXPECT_EQ(duration_text(seconds), text);
    const std::pair<std::string, std::optional<std::int64_t>> days[] = {
        {"2026-03-02", 202603020000}, {"2/3/2026", 202603020000}, {"02/03/2026", 202603020000},
        {"2026-3-2", std::nullopt},   {"32/01/2026", std::nullopt}, {"hier", std::nullopt}};
    for (const auto& [text, key] : days) EXPECT_EQ(day_key(text), key) << text;
    EXPECT_EQ(french_decimal(-0.001, 2), "0,00");
    EXPECT_EQ(html_escaped("<b>\"l'\x01&\xC2\x85"), "&lt;b&gt;&quot;l&#39; &amp; ");
}

// A whole run of the tool on files of a temporary folder.
struct ToolRun {
    TempFolder folder;
    std::ostringstream out, err;
    int code = -1;

    std::filesystem::path file(const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(write_whole_file(folder / name, bytes));
        return folder / name;
    }
    void operator()(std::vector<std::string> arguments, bool terminal = false) {
        code = run_results_report(arguments, out, err, terminal);
    }
    std::string page() { return file_bytes(folder / "rapport.html"); }
};

std::string results_file(const std::vector<ExamRecord>& records) {
    std::string bytes(results_format_line);
    for (const ExamRecord& r : records) bytes += format_record(r);
    return bytes;
}

TEST(ResultsReport, DamagedRecordsAreWarnedAboutAndTheWholeOnesReported) {
    ToolRun run;
    const std::string anna = format_record(exam("Anna", 100, {{"France", true}, {"Italie", true}}));
    const std::string bruno = format_record(exam("Bruno", 50, {{"France", true}, {"Italie", false, "Milan"}}));
    const std::string chloe = format_record(exam("Chlo\xE9", 0, {{"France", false, "Lyon"}, {"Italie", false}}));
    const std::string head(results_format_line);
    const auto file = run.file("kz.dat", head + anna + bruno.substr(0, 100) + "\r\n" + chloe);
    run({file.string(), "-o", (run.folder / "rapport.html").string()});

    EXPECT_EQ(run.code, report_done) << run.err.str();
    const std::string offset = std::to_string(head.size() + anna.size());
    EXPECT_NE(run.err.str().find(file.string() + ", octet " + offset + " : 102 octets ignorés ("), std::string::npos)
        << run.err.str();
    const std::string page = run.page();
    EXPECT_NE(page.find("data-stat=\"exams\">2<"), std::string::npos);
    EXPECT_NE(page.find("Chloé"), std::string::npos);
    EXPECT_EQ(page.find("Bruno"), std::string::npos);
    EXPECT_NE(page.find("<ul class=\"warnings\">\n<li>" + file.string() + ", octet " + offset), std::string::npos);
    EXPECT_NE(run.out.str().find("2 examens, 2 élèves, 1 questionnaire ; 1 passage ignoré"), std::string::npos);
}

// What the reader had to make out (a file saved as UTF-8 or UTF-16, a record glued onto
// a cut line) is reported as the runners wrote it, with a warning that names
// the file.
TEST(ResultsReport, WarnsOfFilesReadOtherwiseThanTheRunnersWriteThem) {
    const std::string head(results_format_line);
    const std::string chloe = format_record(exam("Chlo\xE9", 50, {{"France", false, "Lyon"}}));
    ExamRecord cut = exam("Bruno", 0, {{"France", false, "la mer"}});
    const std::string bruno = format_record(cut);
    const std::string glued = bruno.substr(0, bruno.find("la mer") + 6) +
                              format_record(exam("Jean Dupont", 100, {{"France", true}}));
    std::string utf16 = "\xFF\xFE";  // little-endian, as Notepad saves "Unicode"
    for (const char16_t unit : cp1252_to_utf16(head + chloe))
        utf16 += std::string{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    struct Row {
        const char* file_is;
        std::string bytes;
        std::vector<std::string> on_page;      // UTF-8
        std::vector<std::string> not_on_page;  // UTF-8
        std::string warning;
    };
    const Row rows[] = {
        {"saved as UTF-8 with a byte order mark", "\xEF\xBB\xBF" + cp1252_to_utf8(head + chloe), {"Chloé", "Géographie"},
         {"Ã"}, "kz.dat : enregistré en UTF-8 (sans doute par un éditeur de texte), avec la marque d'ordre des octets"},
        {"saved as UTF-8, then appended to", cp1252_to_utf8(head + chloe) + format_record(exam("No\xEBl", 0, {})),
         {"data-stat=\"exams\">2<", "Noël"}, {"Ã"},
         "kz.dat : enregistré en UTF-8 (sans doute par un éditeur de texte) à partir de l'octet 5 : 2 lignes lues en "
         "UTF-8"},
        {"saved as UTF-16", utf16, {"Chloé", "Géographie", "enregistré en UTF-16, lu comme tel"}, {"Ã"},
         "kz.dat : enregistré en UTF-16 (le « Unicode » d'un éditeur de texte ou d'un tableur) ; lu comme tel"},
        {"a record glued onto a cut line", head + glued, {"Jean Dupont"}, {"la mer Jean", "la merJean"},
         "un examen commence au milieu d'une ligne, à la suite d'un enregistrement interrompu (« …la mer ») ; "
         "élève : « Jean Dupont » (nom deviné d'après les majuscules, à vérifier)"},
    };
    for (const Row& row : rows) {
        ToolRun run;
        const auto file = run.file("kz.dat", row.bytes);
        run({file.string(), "-o", (run.folder / "rapport.html").string()});
        EXPECT_EQ(run.code, report_done) << row.file_is;
        const std::string page = run.page();
        for (const std::string& text : row.on_page) EXPECT_NE(page.find(text), std::string::npos) << row.file_is << ": " << text;
        for (const std::string& text : row.not_on_page) EXPECT_EQ(page.find(text), std::string::npos) << row.file_is << ": " << text;
        EXPECT_NE(run.err.str().find(row.warning), std::string::npos) << row.file_is << "\n" << run.err.str();
        EXPECT_NE(page.find(html_escaped(row.warning.substr(row.warning.find(" : ") + 3))), std::string::npos) << row.file_is;
    }
}

TEST(ResultsReport, AFileOfAnotherFormatIsRefusedAndTheOthersReported) {
    struct Row {
        std::vector<std::string> files;  // contents
        int code;
        bool page;
        std::string message;
    };
    const std::string good = results_file({exam("Anna", 100, {{"France", true}})});
    const Row rows[] = {
        {{"1.2\r\n", good}, report_failed, true, "f0.dat : fichier de résultats au format 1.2, plus ancien"},
        {{"2.0\r\n"}, report_failed, false, "f0.dat : fichier de résultats au format 2.0, plus récent"},
        {{"\x89PNG\r\n"}, report_failed, false, "f0.dat : ce n'est pas un fichier de résultats"},
        {{"", good}, report_done, true, ""},
    };
    for (const Row& row : rows) {
        ToolRun run;
        std::vector<std::string> arguments;
        for (std::size_t i = 0; i < row.files.size(); ++i)
            arguments.push_back(run.file("f" + std::to_string(i) + ".dat", row.files[i]).string());
        arguments.push_back("--output=" + (run.folder / "rapport.html").string());
        run(arguments);
        EXPECT_EQ(run.code, row.code) << row.message;
        EXPECT_EQ(std::filesystem::exists(run.folder / "rapport.html"), row.page) << row.message;
        if (row.message.empty()) {
            EXPECT_EQ(run.err.str(), "");
        } else {
            EXPECT_NE(run.err.str().find(row.message), std::string::npos) << run.err.str();
        }
    }
}

TEST(ResultsReport, NeverWritesOverAResultsFile) {
    ToolRun run;
    const std::string bytes = results_file({exam("Anna", 100, {{"France", true}})});
    const auto file = run.file("examens.csv", bytes);
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{file.string(), "-o", file.string()},
          std::vector<std::string>{file.string(), "-o", (run.folder / "rapport.html").string(), "--csv",
                                   run.folder.path().string()}}) {
        run(arguments);
        EXPECT_EQ(run.code, report_bad_usage);
        EXPECT_EQ(file_bytes(file), bytes);
        EXPECT_FALSE(std::filesystem::exists(run.folder / "rapport.html"));
        EXPECT_NE(run.err.str().find("est un des fichiers de résultats lus"), std::string::npos) << run.err.str();
    }
}

TEST(ResultsReport, WhatStudentsTypedNeverBecomesMarkup) {
    ToolRun run;
    const auto file = run.file("kz.dat", results_file({exam("<script>alert(1)</script>", 0,
                                                            {{"France", false, "\"><img src=x onerror=alert(1)>"}}, "05/12/2026 10:00",
                                                            "Quiz & <b>co</b>")}));
    run({file.string(), "-o", (run.folder / "rapport.html").string()});
    const std::string page = run.page();
    EXPECT_EQ(run.code, report_done);
    std::size_t scripts = 0;
    for (std::size_t at = 0; (at = page.find("<script", at)) != std::string::npos; ++at) ++scripts;
    EXPECT_EQ(scripts, 1u) << "only the page's own sorting script";
    EXPECT_EQ(page.find("<img"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page.find("Quiz &amp; &lt;b&gt;co&lt;/b&gt;"), std::string::npos);
    EXPECT_EQ(page.find("://"), std::string::npos) << "nothing is fetched from anywhere";
}

TEST(ResultsReport, ChosenQuizzesAndDatesAndTheCsvFiles) {
    ToolRun run;
    const auto file = run.file(
        "kz.dat", results_file({exam("Anna", 100, {{"France", true}, {"Italie", true}}, "01/03/2026 09:00"),
                                exam("Bruno", 50, {{"France", true}, {"Italie", false, "=1+1"}}, "02/03/2026 09:00"),
                                exam("Chlo\xE9", 0, {{"France", false}}, "02/03/2026 10:00", "Histoire"),
                                exam("David", 0, {{"France", false}}, "03/03/2026 10:00")}));
    run({file.string(), "-o", (run.folder / "rapport.html").string(), "--quiz", "g\xC3\xA9ographie", "--since",
         "2026-03-02", "--csv", (run.folder / "csv").string()});
    EXPECT_EQ(run.code, report_done) << run.err.str();
    EXPECT_NE(run.page().find("data-stat=\"exams\">2<"), std::string::npos);

    const std::string exams = file_bytes(run.folder / "csv" / "examens.csv");
    const std::string entries = file_bytes(run.folder / "csv" / "questions.csv");
    EXPECT_EQ(exams.substr(0, 3), "\xEF\xBB\xBF");
    const auto lines = [](const std::string& text) {
        std::vector<std::string> out;
        std::size_t from = 3;
        for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
            out.push_back(text.substr(from, end - from));
        return out;
    };
    const auto exam_rows = lines(exams);
    ASSERT_EQ(exam_rows.size(), 3u);
    EXPECT_EQ(exam_rows[0].substr(0, 40), "Fichier;Octet;Élève;Questionnaire;Date");
    EXPECT_EQ(exam_rows[1].substr(exam_rows[1].find(";Bruno;")),
              ";Bruno;Géographie;02/03/2026 09:00;Réponse libre;2;1;50;10;14;non;0;dans l'ordre;normal");
    const auto entry_rows = lines(entries);
    ASSERT_EQ(entry_rows.size(), 4u);
    EXPECT_EQ(entry_rows[2].substr(entry_rows[2].find(";2;Capitales;")),
              ";2;Capitales;Capitale ?;Italie;Paris;'=1+1;0;10:00:07;10:00:14;7");
}

// Rows of a table of the page (its <tbody> rows), by the table's class and
// the order of tables of that class.
std::size_t rows_of(const std::string& page, const std::string& table_class, std::size_t nth = 0) {
    std::size_t at = 0;
    for (std::size_t i = 0; i <= nth; ++i) {
        at = page.find("<table class=\"sortable " + table_class + "\">", at);
        if (at == std::string::npos) return 0;
        ++at;
    }
    const std::size_t end = page.find("</table>", at);
    std::size_t rows = 0;
    for (std::size_t r = page.find("<tbody>", at); (r = page.find("<tr>", r + 1)) < end;) ++rows;
    return rows;
}

std::size_t count_of(const std::string& page, const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = 0; (at = page.find(text, at)) != std::string::npos; at += text.size()) ++count;
    return count;
}

TEST(ResultsReport, EveryListOfThePageHoldsAtMostTheLimitAndTheFiguresCountAll) {
    // Three quizzes (5, 4 and 3 exams), four students, five questions.
    std::vector<ExamRecord> records;
    const char* quizzes[] = {"Alpha", "Alpha", "Alpha", "Alpha", "Alpha", "Beta", "Beta", "Beta", "Beta",
                             "Gamma", "Gamma", "Gamma"};
    for (int e = 0; e < 12; ++e) {
        std::vector<Answer> answers;
        for (int q = 0; q < 5; ++q) answers.push_back({"Q" + std::to_string(q), (e + q) % 3 != 0});
        records.push_back(exam("Élève " + std::to_string(e % 4), 60, answers,
                               "0" + std::to_string(1 + e % 9) + "/03/2026 1" + std::to_string(e % 10) + ":00",
                               quizzes[e]));
    }
    struct Row {
        std::string limit;
        std::size_t quizzes, exams_of_alpha, questions, students, exams_of_a_student;
        std::size_t limited_notes;
    };
    const Row rows[] = {
        {"2", 2, 2, 2, 2, 2, 1 + 2 * 2 + 1 + 2},
        {"0", 3, 5, 5, 4, 3, 0},
        {"100", 3, 5, 5, 4, 3, 0},
    };
    for (const Row& row : rows) {
        ToolRun run;
        run({run.file("kz.dat", results_file(records)).string(), "-o", (run.folder / "rapport.html").string(),
             "--limit", row.limit});
        ASSERT_EQ(run.code, report_done) << run.err.str();
        const std::string page = run.page();
        EXPECT_EQ(count_of(page, "<section class=\"quiz\""), row.quizzes) << row.limit;
        EXPECT_EQ(rows_of(page, "exams"), row.exams_of_alpha) << row.limit;
        EXPECT_EQ(rows_of(page, "questions"), row.questions) << row.limit;
        EXPECT_EQ(rows_of(page, "students"), row.students) << row.limit;
        EXPECT_EQ(count_of(page, "<details class=\"student\""), row.students) << row.limit;
        EXPECT_EQ(count_of(page, "<details class=\"student\" id=\"eleve-0\" open"), 0u) << "folded";
        EXPECT_EQ(rows_of(page, "exams", row.quizzes), row.exams_of_a_student) << row.limit;
        EXPECT_EQ(count_of(page, "class=\"note limited\""), row.limited_notes) << row.limit;
        EXPECT_NE(page.find("12 examens de 4 élèves dans 3 questionnaires"), std::string::npos) << row.limit;
        EXPECT_NE(page.find("data-stat=\"exams\">5<"), std::string::npos) << "Alpha's figures count all its exams";
    }
}

TEST(ResultsReport, IdenticalRecordsAreCountedOnce) {
    const std::string anna = format_record(exam("Anna", 100, {{"France", true}}, "01/03/2026 09:00"));
    const std::string bruno = format_record(exam("Bruno", 0, {{"France", false}}, "01/03/2026 09:05"));
    const std::string chloe = format_record(exam("Chlo\xE9", 50, {{"France", false}}, "02/03/2026 09:00"));
    const std::string head(results_format_line);
    struct Row {
        const char* files_are;
        std::vector<std::string> files;  // contents; "=0": the first file's name again
        std::uint64_t exams;
        std::string warning;
    };
    const Row rows[] = {
        {"one file given twice", {head + anna + bruno, "=0"}, 2, "f0.dat : même fichier que {dir}f0.dat"},
        {"a copy beside the file", {head + anna + bruno, head + anna + bruno + chloe}, 3,
         "f1.dat : 2 examens déjà lus dans {dir}f0.dat (enregistrements identiques), comptés une seule fois"},
        {"a file holding its records twice", {head + anna + bruno + anna}, 2,
         "f0.dat : 1 examen déjà lu dans ce même fichier (enregistrements identiques), compté une seule fois"},
        {"a copy saved as UTF-8 by an editor", {head + chloe, cp1252_to_utf8(head + chloe)}, 1,
         "f1.dat : 1 examen déjà lu dans {dir}f0.dat"},
        {"the same student at the same minute, another answer",
         {head + anna, head + format_record(exam("Anna", 0, {{"France", false}}, "01/03/2026 09:00"))}, 2, ""},
    };
    for (const Row& row : rows) {
        ToolRun run;
        std::vector<std::string> arguments;
        for (std::size_t i = 0; i < row.files.size(); ++i) {
            arguments.push_back(row.files[i] == "=0" ? arguments[0]
                                                     : run.file("f" + std::to_string(i) + ".dat", row.files[i]).string());
        }
        arguments.insert(arguments.end(), {"-o", (run.folder / "rapport.html").string()});
        run(arguments);
        ASSERT_EQ(run.code, report_done) << row.files_are;
        EXPECT_NE(run.page().find("data-stat=\"exams\">" + std::to_string(row.exams) + "<"), std::string::npos)
            << row.files_are;
        const std::string err = run.err.str();
        std::string warning = row.warning;
        if (const auto dir = warning.find("{dir}"); dir != std::string::npos)
            warning.replace(dir, 5, (run.folder / "").string());
        if (row.warning.empty()) {
            EXPECT_EQ(err, "") << row.files_are;
        } else {
            EXPECT_NE(err.find(warning), std::string::npos) << row.files_are << "\n" << err;
        }
    }
}

TEST(ResultsReport, FirstCountsEachStudentsFirstExamOfEachQuiz) {
    // Two files, the later one read first: Anna's first Géographie exam is
    // in the second file; Bruno replays at the same minute.
    ToolRun run;
    const auto later = run.file(
        "later.dat", results_file({exam("Anna", 100, {{"France", true}}, "03/03/2026 09:00"),
                                   exam("Anna", 90, {{"France", true}}, "01/03/2026 09:00", "Histoire"),
                                   exam("Bruno", 0, {{"France", false}}, "02/03/2026 09:00"),
                                   exam("Bruno", 100, {{"France", true}}, "02/03/2026 09:00")}));
    const auto earlier = run.file("earlier.dat", results_file({exam("anna", 20, {{"France", false}}, "01/03/2026 08:00")}));
    run({later.string(), earlier.string(), "--first", "-o", (run.folder / "rapport.html").string(), "--csv",
         (run.folder / "csv").string()});
    ASSERT_EQ(run.code, report_done) << run.err.str();
    const std::string page = run.page();
    EXPECT_NE(page.find("3 examens de 2 élèves dans 2 questionnaires"), std::string::npos);
    EXPECT_NE(page.find("Seul le premier examen de chaque élève à chaque questionnaire est compté."), std::string::npos);
    EXPECT_NE(page.find("2 examens rejoués laissés de côté (--first)"), std::string::npos);
    const std::string exams = file_bytes(run.folder / "csv" / "examens.csv");
    EXPECT_EQ(count_of(exams, "\r\n"), 4u) << exams;
    EXPECT_NE(exams.find(";anna;Géographie;01/03/2026 08:00;"), std::string::npos) << exams;
    EXPECT_NE(exams.find(";Bruno;Géographie;02/03/2026 09:00;Réponse libre;1;0;0;"), std::string::npos) << exams;
}

TEST(ResultsReport, TheQuestionsStatisticsAndTheStudentsAsCsv) {
    ToolRun run;
    std::vector<ExamRecord> records;
    for (int e = 0; e < 6; ++e)
        records.push_back(exam(e % 2 ? "Anna" : "Bruno", e % 2 ? 100 : 0,
                               {{"France", e % 2 == 1, e % 2 ? "" : "Lyon"}, {"Italie", e % 3 == 0, "Milan; ou Rome"}},
                               "0" + std::to_string(e + 1) + "/03/2026 09:00"));
    run({run.file("kz.dat", results_file(records)).string(), "-o", (run.folder / "rapport.html").string(), "--csv",
         (run.folder / "csv").string(), "--limit", "1"});
    ASSERT_EQ(run.code, report_done) << run.err.str();
    EXPECT_NE(run.out.str().find("statistiques-questions.csv, "), std::string::npos) << run.out.str();
    const std::string questions = file_bytes(run.folder / "csv" / "statistiques-questions.csv");
    EXPECT_EQ(questions.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(questions.find("\r\nGéographie;Capitales;France;6;3;50,0;0,000;6;oui;-0,812;0,812;Lyon;3;;;;;Réponse libre\r\n"),
              std::string::npos) << questions;
    EXPECT_NE(questions.find("\r\nGéographie;Capitales;Italie;6;2;33,3;"), std::string::npos) << questions;
    EXPECT_NE(questions.find(";\"Milan; ou Rome\";4;"), std::string::npos) << questions;
    const std::string students = file_bytes(run.folder / "csv" / "eleves.csv");
    EXPECT_NE(students.find("\r\nAnna;3;100,0;20,0;02/03/2026;06/03/2026 09:00;20\r\nBruno;3;0,0;0,0;01/03/2026;05/03/2026 09:00;0\r\n"),
              std::string::npos) << students;
}

TEST(ResultsReport, AProgressBarOnlyAtATerminalAndForLargeInput) {
    std::string bytes(results_format_line);
    // Distinct exams: identical ones would be counted once, with a warning.
    for (int n = 0; bytes.size() < progress_threshold; ++n)
        bytes += format_record(exam("Anna " + std::to_string(n), 100, {{std::string(4000, 'q'), true}}));
    for (bool terminal : {false, true}) {
        ToolRun run;
        const auto file = run.file("kz.dat", bytes);
        run({file.string(), "-o", (run.folder / "rapport.html").string()}, terminal);
        EXPECT_EQ(run.code, report_done);
        const std::string err = run.err.str();
        EXPECT_EQ(err.find("\rLecture des résultats [") != std::string::npos, terminal) << err.substr(0, 200);
        if (terminal) {
            EXPECT_NE(err.find("[##############################] 100,0 %"), std::string::npos);
            EXPECT_EQ(err.back(), '\r') << "the bar is cleared at the end";
        }
    }
    ToolRun small;
    small({small.file("kz.dat", results_file({exam("Anna", 100, {{"France", true}})})).string(), "-o",
           (small.folder / "rapport.html").string()},
          true);
    EXPECT_EQ(small.err.str(), "") << "no bar for a small file";
}

}  // namespace
}  // namespace kz::test
