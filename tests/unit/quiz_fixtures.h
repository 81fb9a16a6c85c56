#pragma once
// Small quizzes for tests, built through the real writer and container code.
#include <string>

#include "quiz/container.h"
#include "quiz/quiz_model.h"
#include "quiz/quiz_writer.h"

namespace kz::testing {

// A stand-in for the runner: bytes whose marker area is free.
inline std::string fake_runner(std::size_t size = 1024) {
    std::string runner(size, 'R');
    for (std::size_t i = 192; i < 199; ++i) runner[i] = '\0';
    return runner;
}

inline QuizModel two_theme_quiz() {
    QuizModel model;
    model.product_name = "Savanto";
    model.product_version = "2.0.5";
    model.quiz_name = "Capitales d'Europe";
    model.themes.resize(2);
    model.themes[0].name = "Europe de l'Ouest";
    model.themes[0].prompt = "{\\rtf1 Quelle est la capitale ?}";
    model.themes[0].questions = {{"France", "Paris", "", "", "Depuis 987"}, {"Espagne", "Madrid", "", "", ""}};
    model.themes[1].name = "Europe du Nord";
    model.themes[1].questions = {{"Su\xE8" "de", "Stockholm", "Oslo", "Helsinki", ""}};
    return model;
}

inline std::string executable_of(const QuizModel& model, const std::vector<std::string>& blobs = {}) {
    std::vector<std::string> all = blobs;
    all.resize(model.media.size());
    auto built = build_quiz_executable(fake_runner(), model, all);
    return built ? built.value() : std::string();
}

}  // namespace kz::testing
