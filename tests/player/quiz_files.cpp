#include "quiz_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>

namespace kz::test {

TestFolder::TestFolder() {
    std::random_device entropy;
    path_ = std::filesystem::temp_directory_path() /
            ("kz-player-test-" + std::to_string(entropy()) + std::to_string(entropy()));
    std::filesystem::create_directories(path_);
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string capitals_source(const Settings& settings) {
    Settings all = {
        {"product_name", R"("Savanto")"},
        {"product_version", R"("2.0.5")"},
        {"quiz_name", R"("Capitales")"},
        {"author", R"("Équipe des tests")"},
        {"comment", R"("Un questionnaire de test.")"},
        {"show_welcome_page", "0"},
        {"use_home_page", "1"},
        {"default_question_count", "3"},
        {"default_random_order", "0"},
        {"default_training_mode", "0"},
        {"default_time_limit_on", "0"},
        {"default_time_limit", "30"},
        {"show_end_page", "1"},
        {"custom_end_text", "0"},
        {"results_storage_mode", "0"},
        {"ignore_case", "1"},
        {"ignore_accents", "1"},
        {"ignore_punctuation", "1"},
        {"ignore_articles", "1"},
    };
    all["themes"] = R"([
    { "name": "Europe", "prompt": "Capitale ?", "reverse_prompt": "Pays ?",
      "questions": [
        { "question": "France", "answer": "Paris", "comment": "Sur la Seine." },
        { "question": "Italie", "answer": "Rome" },
        { "question": "Espagne", "answer": "Madrid" },
        { "question": "Allemagne", "answer": "Berlin" } ] },
    { "name": "Asie", "prompt": "Capitale ?", "reverse_prompt": "Pays ?",
      "questions": [
        { "question": "Japon", "answer": "Tokyo" },
        { "question": "Chine", "answer": "Pékin" } ] }
  ])";
    for (const auto& [name, value] : settings) all[name] = value;
    std::string source = "{\n";
    for (const auto& [name, value] : all) {
        if (name != "themes") source += "  \"" + name + "\": " + value + ",\n";
    }
    return source + "  \"themes\": " + all["themes"] + "\n}\n";
}

Settings only_open_answers(Settings more) {
    for (const char* type : {"allow_multiple_choice", "allow_true_false", "allow_pot_pourri", "allow_hangman",
                             "allow_scrambled_letters"})
        more[type] = "0";
    return more;
}

std::filesystem::path pack_quiz(const std::filesystem::path& folder, const std::string& source,
                                const std::string& name) {
    const auto source_file = folder / (name + ".json");
    std::ofstream(source_file, std::ios::binary) << source;
    // Any bytes serve as the runner as long as the marker's place is free.
    const auto runner = folder / "runner.bin";
    std::string runner_bytes(1024, '\0');
    runner_bytes[0] = 'M';
    runner_bytes[1] = 'Z';
    std::ofstream(runner, std::ios::binary) << runner_bytes;
    const auto quiz = folder / name;
    const std::string command = std::string("'") + KZ_PACKER_PATH + "' build '" + source_file.string() +
                                "' --runner '" + runner.string() + "' -o '" + quiz.string() + "' > '" +
                                (folder / "packer.log").string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << file_bytes(folder / "packer.log");
    return quiz;
}

std::string home_answers(const HomeAnswers& answers) {
    return answers.name + "\n" + "o\n" + answers.themes + "\n" + std::to_string(answers.type) + "\n" + "n\n" +
           answers.count + "\n" + (answers.random_order ? "1\n" : "2\n") + "n\n" +
           (answers.training ? "o\n" : "n\n");
}

std::string lines(const std::vector<std::string>& texts) {
    std::string out;
    for (const auto& text : texts) out += text + "\r\n";
    return out;
}

std::string record_header(const std::string& name, int type_code, const std::string& quiz,
                          const std::filesystem::path& runner, int score, const std::string& date,
                          int time_limit_on, int time_limit, int random_order, int inverted, int last_entry) {
    return lines({name, std::to_string(type_code), quiz, runner.string(), std::to_string(score), date,
                  std::to_string(time_limit_on), std::to_string(time_limit), std::to_string(random_order),
                  std::to_string(inverted), std::to_string(last_entry)});
}

std::string record_entry(const std::string& theme, const std::string& prompt, const std::string& question,
                         const std::vector<std::pair<std::string, std::string>>& answers, int right,
                         const std::string& start, const std::string& end) {
    std::vector<std::string> texts{theme, prompt, question};
    for (std::size_t k = 0; k < 5; ++k) {
        texts.push_back(k < answers.size() ? answers[k].first : " ");
        texts.push_back(k < answers.size() ? answers[k].second : " ");
    }
    texts.push_back(std::to_string(right));
    texts.push_back(start);
    texts.push_back(end);
    return lines(texts);
}

std::string file_bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> test_arguments(const std::filesystem::path& quiz, const std::filesystem::path& results) {
    return {quiz.string(), "--results", results.string(), "--no-sound", "--seed=7", "--clock=fake"};
}

}  // namespace kz::test
