#pragma once
// What the question-bank formats share: a file's bytes read as Unicode text,
// texts with bold, italic and line breaks on their way into and out of a quiz,
// and the themes of an imported bank built within the quiz's limits.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bank.h"
#include "quiz/quiz_model.h"

namespace kz::bank {

// ---------------------------------------------------------------------------
// Unicode

// Code points of a UTF-8 text; nothing when it is not valid UTF-8.
std::optional<std::u32string> utf8_code_points(std::string_view utf8);
std::string utf16_to_utf8(std::u16string_view text);

// A bank file as text: UTF-8 (with or without its byte-order mark), UTF-16
// with its mark (spreadsheets' "Unicode text"), else Windows-1252.
struct DecodedFile {
    std::string utf8;      // without byte-order mark, line ends as in the file
    std::string encoding;  // "UTF-8", "UTF-8 with BOM", "UTF-16", "Windows-1252"
};
DecodedFile decode_file(std::string_view bytes);

// ---------------------------------------------------------------------------
// Texts with their styling

struct Span {
    std::string utf8;  // '\n' is a line break
    bool bold = false;
    bool italic = false;
};

// A text as the bank formats carry it: runs of characters with bold and
// italic, and line breaks.
class StyledText {
public:
    StyledText() = default;
    StyledText(std::string_view plain_utf8) { append(plain_utf8); }  // NOLINT: a plain text is a styled text

    void append(std::string_view utf8, bool bold = false, bool italic = false);
    void line_break() { append("\n"); }

    const std::vector<Span>& spans() const { return spans_; }
    // The characters alone, line breaks as '\n'.
    std::string plain() const;
    bool empty() const;
    bool styled() const;          // some of it is bold or italic
    bool has_line_break() const;

    // Blanks and line breaks removed at both ends.
    void trim();
    // Every line break (and the blanks around it) becomes one blank.
    void breaks_to_blanks();

private:
    std::vector<Span> spans_;
};

// A text as a quiz stores it: Windows-1252 plain text when it can be, else
// rich text whose characters outside Windows-1252 are Unicode escapes, so
// that the runner's rich-edit control shows them.
struct StoredText {
    std::string text;
    std::string foreign;  // the characters outside Windows-1252, UTF-8, or empty
};
StoredText to_stored(const StyledText& text);

// Whether a stored rich text is one that to_stored writes: its only
// formatting is bold, italic and paragraphs.
bool is_simple_rich_text(std::string_view stored);

// The text of a stored text with its bold, italic and line breaks (paragraph
// ends and line breaks both as '\n').
StyledText from_stored(std::string_view stored);

// A stored text on its way out of a quiz: a media reference becomes the
// media's file name, anything else its styled text.
struct OutgoingText {
    StyledText text;
    std::optional<std::string> media_note;  // why a media reference became a name
    bool rich = false;                      // a rich text with formatting beyond bold, italic and lines
};
OutgoingText outgoing_text(const QuizModel& quiz, std::string_view stored);

// The theme named by a category path of a learning platform
// ("$course$/top/Géographie/Capitales"): its last part, "//" standing for a
// slash inside a name. Empty for the top category.
std::string category_theme(std::string_view path);

// "« Москва »", cut after 60 characters, for report lines.
std::string quote_text(std::string_view utf8);

// The report lines of a question whose answers a quiz cannot all keep: the
// other accepted answers (the first right one is kept) and the wrong answers
// beyond two, each list quoted as quote_text gives them.
void report_dropped_answers(BankReport& report, std::size_t line, const std::vector<std::string>& other_rights,
                            const std::vector<std::string>& dropped_wrongs);
// The report lines of a theme written as a category of GIFT or Moodle XML
// (`format`): a theme without questions is left out (false), and prompts,
// which neither format has a place for, are not written (at `prompt_line`).
bool report_category_losses(BankReport& report, const Theme& theme, std::string_view name, std::size_t line,
                            std::size_t prompt_line, std::string_view format);
// The items, separated by commas.
std::string joined(const std::vector<std::string>& items);

// ---------------------------------------------------------------------------
// Building the themes of an imported bank

struct BankQuestion {
    StyledText question;
    StyledText answer;
    StyledText first_wrong;
    StyledText second_wrong;
    StyledText comment;
};

// Puts questions into themes in the order the bank names them. A theme that
// would hold more than 500 questions goes on in "Name (2)", "Name (3)" ...;
// a bank that needs more than 50 themes is refused.
class ThemeBuilder {
public:
    ThemeBuilder(std::string default_theme, BankReport& report);

    // Adds a question to the theme of that name (UTF-8; empty: the default
    // theme). Skips it, with a report line, when it has no question text or
    // no answer, or a text too long for the quiz. An error when it would
    // open a 51st theme.
    std::optional<BankError> add(std::string_view theme, BankQuestion question, std::size_t line);
    // The prompts of a theme (CSV's optional columns): the first given wins.
    void set_prompts(std::string_view theme, const StyledText& prompt, const StyledText& reverse_prompt,
                     std::size_t line);

    std::size_t questions() const { return question_count_; }
    QuizModel finish(std::string_view quiz_name);

private:
    struct Source {
        std::vector<std::size_t> parts;  // indexes into themes_
        std::optional<std::string> prompt, reverse_prompt;
    };
    std::string stored_name(std::string_view theme, std::size_t line);
    std::optional<std::string> stored(const StyledText& text, const char* what, bool answer_side,
                                      std::size_t line);
    std::string unique_name(const std::string& wanted) const;

    std::string default_theme_;
    BankReport& report_;
    std::vector<Theme> themes_;
    std::map<std::string, Source> sources_;  // by the name the bank gives
    std::size_t question_count_ = 0;
    bool default_theme_noted_ = false;
};

}  // namespace kz::bank

namespace kz::bank {

// The five texts of a question on their way out of a quiz. Media references
// become file names and rich texts lose what the format cannot hold, each
// with a report line at `line` of the file written. `keeps_style`: the format
// keeps bold, italic and line breaks (Moodle XML's basic HTML).
BankQuestion outgoing_question(const QuizModel& quiz, const QuestionEntry& entry, std::size_t line,
                               bool keeps_style, BankReport& report);

// A theme's name on its way out.
std::string outgoing_name(std::string_view stored);

}  // namespace kz::bank
