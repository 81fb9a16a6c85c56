// The results data file on real files: the record's bytes, the format check,
// the choice of another file, the storage modes and runners appending at the
// same moment.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <thread>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "quiz/byte_source.h"
#include "res/string_table.h"
#include "results/results_recorder.h"
#include "stress/appended_records.h"
#include "support/exam_harness.h"
#include "support/quiz_builder.h"

namespace kz::test {
namespace {

const std::string blank_pairs = std::string(" \r\n").append(" \r\n").append(" \r\n").append(" \r\n")
                                    .append(" \r\n").append(" \r\n").append(" \r\n").append(" \r\n");

TEST(ResultsFile, AnExamOfThreeQuestionsIsRecordedByteForByte) {
    ExamHarness exam(open_answer_quiz(
        {{"Capitales", {{"France", "Paris"}, {"Italie", "Rome"}, {"Espagne", "Madrid"}}}}));
    exam.engine.open();
    exam.fakes.clock.time = {2026, 12, 5, 9, 7, 15};
    exam.answer("Paris");
    exam.fakes.clock.time = {2026, 12, 5, 9, 7, 40};
    exam.answer("Milan\r\nou Rome");
    exam.fakes.clock.time = {2026, 12, 5, 9, 8, 2};
    exam.answer("madrid");

    const std::string expected =
        "1.3\r\n"
        "Anonyme\r\n1\r\nG\xE9ographie\r\n" + exam.runner_path().string() + "\r\n66\r\n05/12/2026 09:07\r\n"
        "0\r\n30\r\n0\r\n0\r\n2\r\n"
        "Capitales\r\nQuelle est la capitale ?\r\nFrance\r\nParis\r\nParis\r\n" + blank_pairs +
        "1\r\n09:07:03\r\n09:07:15\r\n"
        "Capitales\r\nQuelle est la capitale ?\r\nItalie\r\nRome\r\nMilan  ou Rome\r\n" + blank_pairs +
        "0\r\n09:07:15\r\n09:07:40\r\n"
        "Capitales\r\nQuelle est la capitale ?\r\nEspagne\r\nMadrid\r\nmadrid\r\n" + blank_pairs +
        "1\r\n09:07:40\r\n09:08:02\r\n";
    EXPECT_EQ(file_bytes(exam.results_file()), expected);
    // Format line, 11 header lines, then per entry: theme, prompt, question,
    // ten answers, right, start and end time.
    EXPECT_EQ(exam.results_lines().size(), 1u + 11u + 3u * 16u);
    EXPECT_FALSE(std::filesystem::exists(exam.folder / "kz.dat.lock"));
}

ExamRecord record_of(std::string student, std::size_t entries) {
    ExamRecord record;
    record.begin("10:00:00");
    record.student_name = std::move(student);
    for (std::size_t k = 0; k < entries; ++k) record.close_question_entry("10:00:0" + std::to_string(k + 1), "T", "P", "Q");
    return record;
}

TEST(ResultsFile, AnExamWithNothingGradedWritesMinusOneAndNoEntry) {
    const std::string bytes = format_record(record_of("Marie", 0));
    EXPECT_EQ(bytes, "Marie\r\n0\r\n\r\n\r\n0\r\n\r\n0\r\n0\r\n0\r\n0\r\n-1\r\n");
}

TEST(ResultsFile, EveryValueStaysOnOneLineAndIsWrittenWhole) {
    ExamRecord record = record_of("Line\nBreak", 1);
    record.entries[0].prompt = "{\\rtf1 " + std::string(3000, 'p') + "\\par\r\n}";
    record.entries[0].given[0] = std::string("a\0b", 3);
    const std::string bytes = format_record(record);
    EXPECT_EQ(bytes.substr(0, 12), "Line Break\r\n");
    EXPECT_NE(bytes.find("{\\rtf1 " + std::string(3000, 'p') + "\\par  }\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\na b\r\n"), std::string::npos);
    std::size_t lines = 0;
    for (std::size_t i = 0; (i = bytes.find("\r\n", i)) != std::string::npos; i += 2) ++lines;
    EXPECT_EQ(lines, 11u + 16u);
}

struct Recording {
    TempFolder folder;
    QuizModel model = open_answer_quiz({});
    FakePlatform fakes;
    FakeView messages;
    ResultsRecorder recorder{model, fakes.platform, messages, AppendPatience{std::chrono::milliseconds(100)}};
    std::filesystem::path file = folder / "kz.dat";

    Recording() {
        model.results_file_path = file.string();
        fakes.folders.temporary = folder.path();
    }
};

TEST(ResultsFile, ChecksTheFormatOfAnExistingFile) {
    struct Row {
        std::optional<std::string> before;  // nothing: no file
        int message;                        // 0: recorded
        std::string after_prefix;           // the file before the record, once recorded
    };
    const Row rows[] = {
        {std::nullopt, 0, "1.3\r\n"},
        {"", 0, "1.3\r\n"},
        {"1.3\r\nearlier\r\n", 0, "1.3\r\nearlier\r\n"},
        {"1x3\r\n", 0, "1x3\r\n"},
        {"1.3", 0, "1.3\r\n"},
        {"1.2\r\n", str::data_file_too_old, ""},
        {"1", str::data_file_too_old, ""},
        {"1.4\r\n", str::data_file_too_new, ""},
        {"2.0\r\n", str::data_file_too_new, ""},
    };
    const std::string record = format_record(record_of("Marie", 1));
    for (const Row& row : rows) {
        Recording r;
        if (row.before) { ASSERT_TRUE(write_whole_file(r.file, *row.before)); }
        const auto written = r.recorder.record_results(record_of("Marie", 1));
        const std::string label = row.before.value_or("(none)");
        if (row.message == 0) {
            EXPECT_EQ(written, r.file) << label;
            EXPECT_TRUE(r.messages.messages.empty()) << label;
            EXPECT_EQ(file_bytes(r.file), row.after_prefix + record) << label;
            continue;
        }
        EXPECT_EQ(written, std::nullopt) << label;
        EXPECT_EQ(file_bytes(r.file), *row.before) << label << ": the file is left as it was";
        ASSERT_EQ(r.messages.messages.size(), 1u) << label;
        const Message& message = r.messages.messages[0];
        EXPECT_EQ(message.text, load_message(row.message)) << label;
        EXPECT_EQ(message.caption, "Savanto");
        EXPECT_EQ(message.buttons, MessageButtons::yes_no);
        EXPECT_FALSE(message.owned_by_main_window);
    }
}

TEST(ResultsFile, AnotherFileChosenServesThisRecordOnly) {
    Recording r;
    ASSERT_TRUE(write_whole_file(r.file, "1.2\r\n"));
    const auto other = r.folder / "autre.dat";
    r.messages.message_answers = {MessageAnswer::yes};
    r.fakes.file_dialog.choices = {other};
    EXPECT_EQ(r.recorder.record_results(record_of("Marie", 1)), other);
    EXPECT_EQ(file_bytes(other), "1.3\r\n" + format_record(record_of("Marie", 1)));
    EXPECT_EQ(file_bytes(r.file), "1.2\r\n");

    r.messages.messages.clear();
    EXPECT_EQ(r.recorder.record_results(record_of("Paul", 1)), std::nullopt);
    ASSERT_EQ(r.messages.messages.size(), 1u);
    EXPECT_EQ(r.messages.messages[0].text, load_message(str::data_file_too_old)) << "back to the quiz's file";
}

TEST(ResultsFile, ACancelledChoiceAsksAgainUntilTheStudentGivesUp) {
    Recording r;
    ASSERT_TRUE(write_whole_file(r.file, "2.0\r\n"));
    r.messages.message_answers = {MessageAnswer::yes, MessageAnswer::yes, MessageAnswer::no};
    EXPECT_EQ(r.recorder.record_results(record_of("Marie", 1)), std::nullopt);
    EXPECT_EQ(r.fakes.file_dialog.opened, 2);
    ASSERT_EQ(r.messages.messages.size(), 3u);
    EXPECT_EQ(r.messages.messages[0].text, load_message(str::data_file_too_new));
    EXPECT_EQ(r.messages.messages[1].text, load_message(str::data_file_unreachable));
    EXPECT_EQ(r.messages.messages[1].caption, "Examen");
    EXPECT_TRUE(r.messages.messages[1].owned_by_main_window);
}

TEST(ResultsFile, AFileThatCannotBeWrittenIsNotLostSilently) {
    struct Row {
        const char* why;
        std::filesystem::path (*where)(const TempFolder&);
    };
    const Row rows[] = {
        {"a folder in its place", [](const TempFolder& f) { std::filesystem::create_directory(f / "kz.dat"); return f / "kz.dat"; }},
        {"a missing folder", [](const TempFolder& f) { return f / "absent" / "kz.dat"; }},
        {"no path", [](const TempFolder&) { return std::filesystem::path(); }},
    };
    for (const Row& row : rows) {
        Recording r;
        r.model.results_file_path = row.where(r.folder).string();
        const auto rescue = r.folder / "secours.dat";
        r.messages.message_answers = {MessageAnswer::yes};
        r.fakes.file_dialog.choices = {rescue};
        EXPECT_EQ(r.recorder.record_results(record_of("Marie", 2)), rescue) << row.why;
        ASSERT_EQ(r.messages.messages.size(), 1u) << row.why;
        EXPECT_EQ(r.messages.messages[0].text, load_message(str::data_file_unreachable)) << row.why;
        EXPECT_EQ(file_bytes(rescue), "1.3\r\n" + format_record(record_of("Marie", 2))) << row.why;
    }
}

TEST(ResultsFile, StorageModeZeroTakesTheRegistryPathOrTheWindowsDrive) {
    struct Row {
        std::optional<std::string> stored;
        bool registry_writable;
        std::string path;
        std::optional<std::string> stored_after;
    };
    const Row rows[] = {
        {std::nullopt, true, "D:\\kz.dat", "D:\\kz.dat"},
        {"", true, "D:\\kz.dat", "D:\\kz.dat"},
        {"X", true, "D:\\kz.dat", "D:\\kz.dat"},
        {std::nullopt, false, "D:\\kz.dat", std::nullopt},
        {"E:\\Bilanor\\notes.dat", true, "E:\\Bilanor\\notes.dat", "E:\\Bilanor\\notes.dat"},
    };
    const std::string name = FakeRegistry::name("Software\\Ondalys\\Bilanor", "Chemin");
    for (const Row& row : rows) {
        Recording r;
        r.model.results_storage_mode = 0;
        r.fakes.folders.windows = "D:\\WINDOWS";
        if (row.stored) r.fakes.registry.values[name] = *row.stored;
        r.fakes.registry.writable = row.registry_writable;
        EXPECT_EQ(r.recorder.location(), std::filesystem::path(row.path));
        const auto found = r.fakes.registry.values.find(name);
        EXPECT_EQ(found == r.fakes.registry.values.end() ? std::nullopt : std::optional(found->second),
                  row.stored_after);
    }
}

TEST(ResultsFile, StorageModeTwoWritesANewFileAndMailsIt) {
    for (bool accepted : {true, false}) {
        Recording r;
        r.model.results_storage_mode = 2;
        r.model.mail_recipient = "prof@ecole.fr";
        r.model.mail_profile = "Profil";
        r.fakes.clock.time = {2026, 12, 5, 9, 7, 59};
        r.fakes.mail.accepts = accepted;
        const auto file = r.folder / "result051220260907.dat";
        EXPECT_EQ(mailed_results_name(r.fakes.clock.time), "result051220260907.dat");
        EXPECT_EQ(r.recorder.record_results(record_of("Marie", 1)), file);
        EXPECT_EQ(file_bytes(file), "1.3\r\n" + format_record(record_of("Marie", 1)));
        ASSERT_EQ(r.fakes.mail.sent.size(), 1u);
        EXPECT_EQ(r.fakes.mail.sent[0].subject, "G\xE9ographie");
        EXPECT_EQ(r.fakes.mail.sent[0].recipient, "prof@ecole.fr");
        EXPECT_EQ(r.fakes.mail.sent[0].profile, "Profil");
        EXPECT_EQ(r.fakes.mail.sent[0].attachment, file);
        EXPECT_EQ(r.messages.last_message_text() == load_message(str::mail_failed), !accepted);
    }
}

bool wait_for(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// A runner of the stress runs, started as a process of its own.
pid_t start_appender(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), KZ_RESULTS_APPENDER);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

bool exited_cleanly(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ResultsFile, ARunnerKilledWhileHoldingTheLockDelaysTheNextOneByLessThanASecond) {
    TempFolder folder;
    const auto file = folder / "kz.dat";
    // The lock folder of earlier runners, left behind: nothing looks at it now.
    std::filesystem::create_directory(folder / "kz.dat.lock");

    const pid_t holder = start_appender({"--hold", file.string()});
    ASSERT_GT(holder, 0);
    ASSERT_TRUE(wait_for([&] { return std::filesystem::exists(folder / "kz.dat.held"); }));
    const std::string half = file_bytes(file);
    EXPECT_EQ(append_record(file, "x\r\n", AppendPatience{std::chrono::milliseconds(300)}),
              AppendOutcome::unreachable);
    EXPECT_EQ(file_bytes(file), half) << "nothing is written while another runner holds the file";

    ASSERT_EQ(kill(holder, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(holder, &status, 0), holder);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(append_record(file, stress::stress_record(1, 0)), AppendOutcome::appended);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, std::chrono::seconds(1));
    EXPECT_EQ(file_bytes(file), half + "\r\n" + stress::stress_record(1, 0))
        << "the record starts on a line of its own after the one cut short";
    EXPECT_TRUE(std::filesystem::is_directory(folder / "kz.dat.lock"));
}

TEST(ResultsFile, FortyRunnersAppendingAtOnceLeaveTwoThousandWholeRecords) {
    TempFolder folder;
    const auto file = folder / "kz.dat";
    constexpr int runners = 40;
    constexpr int records = 50;
    std::vector<pid_t> children;
    for (int r = 0; r < runners; ++r) {
        children.push_back(start_appender({file.string(), std::to_string(r), std::to_string(records)}));
        ASSERT_GT(children.back(), 0);
    }
    int failed = 0;
    for (pid_t child : children) failed += exited_cleanly(child) ? 0 : 1;
    EXPECT_EQ(failed, 0) << "runners with an append refused";

    const stress::RecordCount count = stress::count_whole_records(file_bytes(file));
    EXPECT_EQ(count.fault, "");
    EXPECT_EQ(count.whole, std::size_t{runners * records});
    long longest = 0;
    for (int r = 0; r < runners; ++r)
        longest = std::max(longest, std::stol("0" + file_bytes(folder / ("kz.dat." + std::to_string(r) + ".wait"))));
    std::printf("%zu whole records from %d runners; longest wait for one append: %ld ms\n", count.whole, runners,
                longest);
}

TEST(ResultsFile, TwoRunnersAppendingAtOnceKeepEveryRecordWhole) {
    TempFolder folder;
    const auto file = folder / "kz.dat";
    constexpr int per_runner = 500;
    // A long prompt makes each record several kilobytes, written while the
    // other runner writes too.
    const std::string prompt = "{\\rtf1 " + std::string(6000, 'p') + "}";
    auto record_bytes = [&](char runner, int k) {
        ExamRecord record = record_of(std::string("Runner ") + runner + " " + std::to_string(k), 1);
        record.entries[0].prompt = prompt;
        return format_record(record);
    };

    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            int failures = 0;
            for (int k = 0; k < per_runner; ++k)
                if (append_record(file, record_bytes(static_cast<char>('A' + c), k)) != AppendOutcome::appended)
                    ++failures;
            _exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "every append succeeded";
    }

    const std::string bytes = file_bytes(file);
    ASSERT_TRUE(bytes.starts_with("1.3\r\n"));
    std::set<std::string> seen;
    std::size_t at = 5;
    while (at < bytes.size()) {
        const std::size_t name_end = bytes.find("\r\n", at);
        ASSERT_NE(name_end, std::string::npos);
        const std::string name = bytes.substr(at, name_end - at);
        ASSERT_TRUE(name.starts_with("Runner ")) << "a record begins at byte " << at;
        const char runner = name[7];
        const int k = std::stoi(name.substr(9));
        const std::string expected = record_bytes(runner, k);
        ASSERT_EQ(bytes.compare(at, expected.size(), expected), 0) << name << " is whole";
        EXPECT_TRUE(seen.insert(name).second) << name << " is written once";
        at += expected.size();
    }
    EXPECT_EQ(seen.size(), 2u * per_runner);
    EXPECT_FALSE(std::filesystem::exists(folder / "kz.dat.lock"));
}

}  // namespace
}  // namespace kz::test
