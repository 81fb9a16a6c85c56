#pragma once
// Rich text (RTF, as the rich-edit control writes it) to plain text: exactly the
// text that the rich-edit control holds for the same document, in
// Windows-1252. Every comparison of the exam is made on plain text.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quiz/quiz_model.h"

namespace kz {

// A text not beginning with "{\rtf" is returned unchanged.
std::string rich_to_plain(std::string_view text);

// rich_to_plain(text).empty(), without building the plain text: the
// questions' pools ask only this of most texts.
bool plain_text_is_empty(std::string_view text);

// A stretch of a rich text's characters in one bold and italic state.
struct StyledRun {
    std::u16string text;
    bool bold = false;
    bool italic = false;
};

// The characters of a rich text as the control holds them, in Unicode, before
// the system's code page narrows them: character for character the text of
// rich_to_plain (a paragraph ends with '\r', a line break is '\v'), with the
// characters that Windows-1252 lacks kept, cut into runs of one bold and
// italic state. A text not beginning with "{\rtf" is one plain run. Used
// where texts leave the system (question banks), never for comparisons.
std::vector<StyledRun> rich_to_runs(std::string_view text);

enum class QuestionText { question, answer, first_wrong, second_wrong, comment };

namespace rtf {
class HeaderMemo;
}

// The plain form of every question text of a quiz, each converted once, on
// first use, and kept for the life of the model. The model must outlive it.
// A question that the model does not hold has an empty text. The header that
// the texts of a quiz repeat is read once, not in every text.
class PlainTexts {
public:
    explicit PlainTexts(const QuizModel& model);
    ~PlainTexts();
    PlainTexts(const PlainTexts&) = delete;
    PlainTexts& operator=(const PlainTexts&) = delete;
    const std::string& of(std::size_t theme, std::size_t question, QuestionText which) const;
    // of(...).empty(), kept apart when the text itself is not needed.
    bool is_empty(std::size_t theme, std::size_t question, QuestionText which) const;

private:
    struct Slot {
        std::optional<std::string> text;
        std::optional<bool> empty;  // known before the text when only this was asked
    };
    Slot* slot(std::size_t theme, std::size_t question, QuestionText which) const;

    const QuizModel& model_;
    mutable std::vector<std::vector<Slot>> cache_;  // [theme][question * 5 + text]
    std::unique_ptr<rtf::HeaderMemo> headers_;
};

}  // namespace kz
