// Writes the quizzes of the web player's benchmark as quiz files: the
// largest quiz the format allows and a quiz of three questions made the same
// way, both opening on their first open-answer question (no welcome or home
// page), as the engine's benchmark starts its exams.
#include <cstdio>
#include <string>

#include "bench_support.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"

namespace {

bool write_quiz(kz::QuizModel model, const char* path) {
    model.show_welcome_page = 0;
    model.use_home_page = 0;
    model.allow_multiple_choice = model.allow_true_false = model.allow_pot_pourri = 0;
    model.allow_hangman = model.allow_scrambled_letters = 0;
    const auto built = kz::build_quiz_executable(std::string(256, '\0'), std::move(model), {});
    return built && kz::write_whole_file(path, built.value());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_bench_quizzes <largest.exe> <small.exe>\n");
        return 2;
    }
    kz::QuizModel largest = kz::bench::largest_quiz();
    kz::QuizModel small = largest;
    small.quiz_name = "Trois questions";
    small.themes.resize(1);
    small.themes[0].questions.resize(3);
    return write_quiz(std::move(largest), argv[1]) && write_quiz(std::move(small), argv[2]) ? 0 : 1;
}
