#include "support/quiz_builder.h"

namespace kz::test {

QuizModel open_answer_quiz(std::vector<ThemeData> themes) {
    QuizModel model;
    model.quiz_name = "G\xE9ographie";
    model.allow_multiple_choice = 0;
    model.allow_true_false = 0;
    model.allow_pot_pourri = 0;
    model.allow_hangman = 0;
    model.allow_scrambled_letters = 0;
    model.show_welcome_page = 0;
    model.use_home_page = 0;
    model.default_random_order = 0;
    model.default_question_count = 10;
    model.default_time_limit_on = 0;
    model.default_training_mode = 0;
    model.show_end_page = 1;
    model.media_embedded = 0;
    model.results_storage_mode = 1;
    for (auto& data : themes) {
        Theme theme;
        theme.name = data.name;
        theme.prompt = "Quelle est la capitale ?";
        theme.reverse_prompt = "De quel pays ?";
        for (auto& q : data.questions) {
            QuestionEntry entry;
            entry.question = q.question;
            entry.answer = q.answer;
            entry.comment = q.comment;
            entry.first_wrong = q.first_wrong;
            entry.second_wrong = q.second_wrong;
            theme.questions.push_back(entry);
        }
        model.themes.push_back(std::move(theme));
    }
    return model;
}

QuizModel quiz_of_type(ExamType type, std::vector<ThemeData> themes) {
    QuizModel model = open_answer_quiz(std::move(themes));
    std::int32_t* allowed[exam_type_count] = {&model.allow_open_answer,  &model.allow_multiple_choice,
                                              &model.allow_true_false,   &model.allow_pot_pourri,
                                              &model.allow_hangman,      &model.allow_scrambled_letters};
    for (int i = 0; i < exam_type_count; ++i) *allowed[i] = i == static_cast<int>(type) ? 1 : 0;
    return model;
}

ThemeData numbered_theme(std::string name, int n, int first) {
    ThemeData theme{std::move(name), {}};
    for (int i = first; i < first + n; ++i)
        theme.questions.push_back({"Q" + std::to_string(i), "A" + std::to_string(i)});
    return theme;
}

std::string media_reference(int id) { return "$@%0 " + std::to_string(id); }

void add_media(QuizModel& model, int id, int kind, std::string file_name, std::string label) {
    MediaEntry entry;
    entry.id = id;
    entry.kind = kind;
    entry.file_name = std::move(file_name);
    entry.label = std::move(label);
    model.media.push_back(std::move(entry));
}

}  // namespace kz::test
