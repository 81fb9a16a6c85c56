#include "quiz/quiz_writer.h"

#include "quiz/container.h"
#include "quiz/stream_fields.h"
#include "quiz/stream_reader.h"

namespace kz {
namespace {

class Writer {
public:
    bool line(std::string_view text, const std::string& what) {
        if (text.size() > max_line_length) return fail(what + " is longer than 29999 bytes");
        if (text.find_first_of(std::string_view("\r\0", 2)) != std::string_view::npos)
            return fail(what + " holds a CR or NUL byte");
        out_.append(text);
        out_ += "\r\n";
        return true;
    }
    void number(std::int32_t value) { put_u32(out_, static_cast<std::uint32_t>(value)); }
    bool fail(std::string message) {
        error_ = std::move(message);
        return false;
    }
    std::string out_;
    std::string error_;
};

}  // namespace

Result<std::string, std::string> write_stream(const QuizModel& model) {
    using R = Result<std::string, std::string>;
    if (model.themes.size() > static_cast<std::size_t>(max_themes))
        return R::failure("a quiz holds at most 50 themes");

    Writer w;
    for (const auto& field : stream_fields()) {
        switch (field.kind) {
        case FieldKind::line:
            if (!w.line(model.*field.text, field.name)) return R::failure(w.error_);
            break;
        case FieldKind::scrambled: {
            const auto stored = scramble_line(model.*field.text);
            if (!stored)
                return R::failure(std::string(field.name) +
                                  " may hold printable ASCII characters only");
            if ((model.*field.text).size() > max_name_length)
                return R::failure(std::string(field.name) + " is longer than 259 characters");
            if (!w.line(*stored, field.name)) return R::failure(w.error_);
            break;
        }
        case FieldKind::number: w.number(model.*field.number); break;
        case FieldKind::theme_count: w.number(static_cast<std::int32_t>(model.themes.size()) - 1); break;
        case FieldKind::media_count: w.number(static_cast<std::int32_t>(model.media.size())); break;
        }
    }

    for (std::size_t t = 0; t < model.themes.size(); ++t) {
        const auto& theme = model.themes[t];
        const std::string where = "theme " + std::to_string(t + 1);
        if (theme.questions.size() > static_cast<std::size_t>(max_questions_per_theme))
            return R::failure(where + " holds more than 500 questions");
        if (!w.line(theme.name, where + " name") || !w.line(theme.prompt, where + " prompt") ||
            !w.line(theme.reverse_prompt, where + " reverse prompt") ||
            !w.line(std::to_string(theme.questions.size()), where + " count"))
            return R::failure(w.error_);
        for (std::size_t i = 0; i < theme.questions.size(); ++i) {
            const auto& q = theme.questions[i];
            const std::string at = where + " question " + std::to_string(i + 1);
            if (!w.line(q.question, at + " text") || !w.line(q.answer, at + " answer") ||
                !w.line(q.first_wrong, at + " first wrong answer") ||
                !w.line(q.second_wrong, at + " second wrong answer") ||
                !w.line(q.comment, at + " comment"))
                return R::failure(w.error_);
        }
    }

    for (std::size_t r = 0; r < model.media.size(); ++r) {
        const auto& row = model.media[r];
        const std::string where = "media row " + std::to_string(r + 1);
        if (row.file_name.size() > max_name_length)
            return R::failure(where + " file name is longer than 259 characters");
        if (!w.line(row.file_name, where + " file name") || !w.line(row.label, where + " label"))
            return R::failure(w.error_);
        w.number(row.kind);
        w.number(static_cast<std::int32_t>(row.blob_offset));
        w.number(static_cast<std::int32_t>(row.blob_size));
        w.number(row.id);
    }
    return std::move(w.out_);
}

}  // namespace kz
