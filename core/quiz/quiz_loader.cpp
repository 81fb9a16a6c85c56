#include "quiz/quiz_loader.h"

#include "quiz/stream_fields.h"
#include "quiz/stream_reader.h"

namespace kz {
namespace {

// The smallest media row: two empty lines and four numbers.
constexpr std::uint64_t smallest_media_row = 2 + 2 + 4 * 4;

class Loader {
public:
    Loader(const ByteSource& file, std::uint64_t cursor) : reader_(file, cursor) {}

    Result<QuizModel, LoadError> run() {
        QuizModel model;
        int theme_count_minus_one = -1;
        int media_count = 0;
        for (const auto& field : stream_fields()) {
            switch (field.kind) {
            case FieldKind::line:
                if (!line(model.*field.text)) return fail();
                break;
            case FieldKind::scrambled: {
                std::string stored;
                if (!line(stored)) return fail();
                model.*field.text = unscramble_line(stored);
                if ((model.*field.text).size() > max_name_length)
                    return Result<QuizModel, LoadError>::failure(LoadError::scrambled_too_long);
                break;
            }
            case FieldKind::number:
                if (!number(model.*field.number)) return fail();
                break;
            case FieldKind::theme_count:
                if (!number(theme_count_minus_one)) return fail();
                if (theme_count_minus_one < -1 || theme_count_minus_one > max_themes - 1)
                    return Result<QuizModel, LoadError>::failure(LoadError::bad_theme_count);
                break;
            case FieldKind::media_count:
                if (!number(media_count)) return fail();
                // Checked against the file once the themes are read (below);
                // negative counts are refused at once.
                if (media_count < 0)
                    return Result<QuizModel, LoadError>::failure(LoadError::bad_media_count);
                break;
            }
        }

        model.themes.resize(static_cast<std::size_t>(theme_count_minus_one + 1));
        for (auto& theme : model.themes) {
            std::string count_line;
            if (!line(theme.name) || !line(theme.prompt) || !line(theme.reverse_prompt) ||
                !line(count_line))
                return fail();
            const long long count = parse_count_line(count_line);
            if (count < 0 || count > max_questions_per_theme)
                return Result<QuizModel, LoadError>::failure(LoadError::bad_question_count);
            theme.questions.resize(static_cast<std::size_t>(count));
            for (auto& q : theme.questions) {
                if (!line(q.question) || !line(q.answer) || !line(q.first_wrong) ||
                    !line(q.second_wrong) || !line(q.comment))
                    return fail();
            }
        }

        if (static_cast<std::uint64_t>(media_count) > reader_.remaining() / smallest_media_row)
            return Result<QuizModel, LoadError>::failure(LoadError::bad_media_count);
        model.media.resize(static_cast<std::size_t>(media_count));
        for (auto& row : model.media) {
            std::int32_t offset = 0, size = 0;
            if (!line(row.file_name) || !line(row.label) || !number(row.kind) || !number(offset) ||
                !number(size) || !number(row.id))
                return fail();
            if (row.file_name.size() > max_name_length)
                return Result<QuizModel, LoadError>::failure(LoadError::name_too_long);
            row.blob_offset = static_cast<std::uint32_t>(offset);
            row.blob_size = static_cast<std::uint32_t>(size);
        }
        return model;
    }

private:
    bool line(std::string& out) {
        auto text = reader_.read_line();
        if (!text) {
            error_ = LoadError::unreadable_line;
            return false;
        }
        out = std::move(*text);
        return true;
    }
    bool number(std::int32_t& out) {
        auto value = reader_.read_number();
        if (!value) {
            error_ = LoadError::truncated_number;
            return false;
        }
        out = *value;
        return true;
    }
    Result<QuizModel, LoadError> fail() { return Result<QuizModel, LoadError>::failure(error_); }

    StreamReader reader_;
    LoadError error_ = LoadError::unreadable_line;
};

}  // namespace

const char* describe(LoadError error) {
    switch (error) {
    case LoadError::unreadable_line: return "a line cannot be read (no CR, NUL byte, or end of file)";
    case LoadError::truncated_number: return "the stream ends inside a number";
    case LoadError::bad_theme_count: return "the theme count is out of range";
    case LoadError::bad_question_count: return "a question count is out of range";
    case LoadError::bad_media_count: return "the media count is out of range";
    case LoadError::name_too_long: return "a media file name is longer than 259 characters";
    case LoadError::scrambled_too_long: return "a scrambled field is longer than 259 characters";
    }
    return "unknown error";
}

long long parse_count_line(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value < 1'000'000'000LL) value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

Result<QuizModel, LoadError> load_quiz(const ByteSource& file, const ContainerInfo& container) {
    return Loader(file, container.stream_offset).run();
}

}  // namespace kz
