#include "media/rich_text.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "common/cp1252.h"
#include "media/rtf_reader.h"

namespace kz {
namespace {

const std::string& stored_text(const QuestionEntry& entry, QuestionText which) {
    switch (which) {
    case QuestionText::question:
        return entry.question;
    case QuestionText::answer:
        return entry.answer;
    case QuestionText::first_wrong:
        return entry.first_wrong;
    case QuestionText::second_wrong:
        return entry.second_wrong;
    case QuestionText::comment:
        break;
    }
    return entry.comment;
}

constexpr std::size_t texts_per_question = 5;

// The characters of a document cut into runs of one bold and italic state.
class RunCollector final : public rtf::TextSink {
public:
    void put(char16_t unit, const rtf::CharacterLook& look, const rtf::ParagraphLook&) override {
        if (runs.empty() || runs.back().bold != look.bold || runs.back().italic != look.italic)
            runs.push_back({{}, look.bold, look.italic});
        runs.back().text += unit;
    }
    void end(const rtf::ParagraphLook&, bool last_mark_dropped) override {
        if (!last_mark_dropped) return;
        runs.back().text.pop_back();
        if (runs.back().text.empty()) runs.pop_back();
    }

    std::vector<StyledRun> runs;
};

}  // namespace

std::string narrow_typed_character(char32_t code_point) {
    if (code_point > 0xFFFF) return "??";
    return std::string(1, static_cast<char>(rtf::ansi_form(static_cast<char16_t>(code_point))));
}

std::string rich_to_plain(std::string_view text) {
    if (!text.starts_with("{\\rtf")) return std::string(text);
    return rtf::read_rich_text(text);
}

std::vector<StyledRun> rich_to_runs(std::string_view text) {
    if (!text.starts_with("{\\rtf")) {
        if (text.empty()) return {};
        return {{cp1252_to_utf16(text), false, false}};
    }
    RunCollector runs;
    rtf::read_rich_text(text, &runs);
    return std::move(runs.runs);
}

bool plain_text_is_empty(std::string_view text) {
    if (!text.starts_with("{\\rtf")) return text.empty();
    return rtf::rich_text_is_empty(text);
}

PlainTexts::PlainTexts(const QuizModel& model)
    : model_(model), cache_(model.themes.size()), headers_(std::make_unique<rtf::HeaderMemo>()) {}

PlainTexts::~PlainTexts() = default;

PlainTexts::Slot* PlainTexts::slot(std::size_t theme, std::size_t question, QuestionText which) const {
    const auto index = static_cast<std::size_t>(which);
    if (theme >= model_.themes.size() || theme >= cache_.size() || index >= texts_per_question) return nullptr;
    const auto& questions = model_.themes[theme].questions;
    if (question >= questions.size()) return nullptr;
    auto& slots = cache_[theme];
    if (slots.size() < questions.size() * texts_per_question) slots.resize(questions.size() * texts_per_question);
    return &slots[question * texts_per_question + index];
}

const std::string& PlainTexts::of(std::size_t theme, std::size_t question, QuestionText which) const {
    static const std::string no_text;
    Slot* found = slot(theme, question, which);
    if (!found) return no_text;
    if (!found->text) {
        const std::string& stored = stored_text(model_.themes[theme].questions[question], which);
        found->text = stored.starts_with("{\\rtf") ? rtf::read_rich_text(stored, *headers_) : stored;
    }
    return *found->text;
}

bool PlainTexts::is_empty(std::size_t theme, std::size_t question, QuestionText which) const {
    Slot* found = slot(theme, question, which);
    if (!found) return true;
    if (found->text) return found->text->empty();
    if (!found->empty) {
        const std::string& stored = stored_text(model_.themes[theme].questions[question], which);
        found->empty = stored.starts_with("{\\rtf") ? rtf::rich_text_is_empty(stored, headers_.get()) : stored.empty();
    }
    return *found->empty;
}

}  // namespace kz
