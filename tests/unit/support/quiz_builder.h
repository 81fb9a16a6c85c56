#pragma once
// Small quizzes for tests, written in plain text (a plain text is its own
// plain form), with media rows where a test needs them.
#include <string>
#include <vector>

#include "exam/exam_settings.h"
#include "quiz/quiz_model.h"

namespace kz::test {

struct QuestionData {
    std::string question;
    std::string answer;
    std::string comment = {};
    std::string first_wrong = {};  // the author's wrong answers (multiple choice)
    std::string second_wrong = {};
};

struct ThemeData {
    std::string name;
    std::vector<QuestionData> questions;
};

// A quiz of the given themes that allows only open answers and goes straight
// to the first question: no welcome page, no home page, questions in order,
// 10 questions asked, no time limit, no training mode, the end page shown,
// media in files beside the runner.
QuizModel open_answer_quiz(std::vector<ThemeData> themes);

// The same quiz allowing only the given exam type, which therefore runs
// without a choice.
QuizModel quiz_of_type(ExamType type, std::vector<ThemeData> themes);

// A theme of n questions "Q1".."Qn" whose answers are "A1".."An".
ThemeData numbered_theme(std::string name, int n, int first = 1);

// "$@%0 <id>", the reference to a media item.
std::string media_reference(int id);

// Adds a media row (kind 0 image, 1 sound, 2 music).
void add_media(QuizModel& model, int id, int kind, std::string file_name, std::string label);

}  // namespace kz::test
