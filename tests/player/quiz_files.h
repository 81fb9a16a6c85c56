#pragma once
// The files of a player test: a folder of its own, quizzes packed by the real
// packer from readable sources, and the lines of expected results records,
// written by hand in the results file's format (Windows-1252, CR LF).
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kz::test {

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// The quiz of most tests, "Capitales": two themes, "Europe" (France Paris,
// Italie Rome, Espagne Madrid, Allemagne Berlin; France has a comment) and
// "Asie" (Japon Tokyo, Chine Pékin), prompt "Capitale ?", every exam type
// allowed, home page, no welcome page, 3 questions in order, no training
// mode, no time limit, the built-in end page, results in storage mode 0.
// `settings` (setting name and JSON value) replace or add to these;
// "themes" replaces the themes.
using Settings = std::map<std::string, std::string>;
std::string capitals_source(const Settings& settings = {});

// Settings that allow open answers only.
Settings only_open_answers(Settings more = {});

// Writes the source and a stand-in runner into the folder and packs them
// with the packer into `name`; returns the quiz's path. Fails the test when
// the packer refuses the source.
std::filesystem::path pack_quiz(const std::filesystem::path& folder, const std::string& source,
                                const std::string& name = "quiz.exe");

// The answers of the home page for an exam with these options, in the order
// the page asks them: name, "Plus d'options", themes, type, time limit,
// number of questions, order, direction, training mode.
struct HomeAnswers {
    std::string name = "Marie";
    std::string themes = "1";    // numbers, or "tous"
    int type = 1;                // 1 open answer ... 6 scrambled letters
    std::string count = "3";
    bool random_order = false;
    bool training = false;
};
std::string home_answers(const HomeAnswers& answers);

// Lines ended by CR LF, as the results file writes them.
std::string lines(const std::vector<std::string>& texts);

// The header of a record: name, type code, quiz name, runner path, score,
// start date, time-limit flag, time limit, random order, inverted, last
// entry index.
std::string record_header(const std::string& name, int type_code, const std::string& quiz,
                          const std::filesystem::path& runner, int score, const std::string& date,
                          int time_limit_on, int time_limit, int random_order, int inverted, int last_entry);

// One question's entry: theme, prompt, question, then the expected and
// given answers in pairs (up to five; the others stay a blank), right flag,
// start and end times.
std::string record_entry(const std::string& theme, const std::string& prompt, const std::string& question,
                         const std::vector<std::pair<std::string, std::string>>& answers, int right,
                         const std::string& start, const std::string& end);

std::string file_bytes(const std::filesystem::path& file);

// The player's arguments of a reproducible run: the quiz, the results file,
// no sound, a fixed seed and the fake clock (5 December 2026, 09:07:03).
std::vector<std::string> test_arguments(const std::filesystem::path& quiz, const std::filesystem::path& results);

}  // namespace kz::test
