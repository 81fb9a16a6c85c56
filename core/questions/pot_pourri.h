#pragma once
// Pot-pourri: the student picks the answer from a list of the answers of
// every question of the theme; the choice is graded with the tolerant matcher.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "questions/exam_type_rules.h"

namespace kz {

// The list offered for a question of the theme: the distinct plain answer
// sides of its questions (two answers are the same when they are equal in
// capitals, and the first in question order is the one listed), without empty
// answers and media items, in alphabetical order regardless of case and
// accents.
std::vector<std::string> candidate_list(const QuizModel& model, const PlainTexts& plain,
                                        const ExamSettings& settings, std::uint32_t theme);

// The answers as stored of the entries of a question's list, in the list's
// order: an entry is the plain text of the first answer of the theme that
// has it, and that answer's rich text holds the characters Windows-1252
// lacks, which a front end able to show them shows. Null for an entry that
// no answer of the theme gives.
std::vector<const std::string*> candidate_sources(const QuizModel& model, const ExamSettings& settings,
                                                  QuestionRef current, const std::vector<std::string>& entries);

// Draws the next question and shows it with its list, nothing selected.
// Returns the list; nothing when the pool is empty.
std::optional<std::vector<std::string>> prepare_potpourri(ExamContext& exam);

class PotPourri final : public ExamTypeRules {
public:
    Page page() const override { return Page::pot_pourri; }
    bool build_pool(ExamContext& exam) override;
    bool prepare(ExamContext& exam) override;
    Verdict grade(ExamContext& exam) override;

private:
    std::vector<std::string> candidates_;
};

}  // namespace kz
