#pragma once
// What the question-bank formats share: a file's bytes read as Unicode text,
// texts with bold, italic, superscript, subscript and line breaks on their way
// into and out of a quiz, and the themes of an imported bank built within the
// quiz's limits.
#include <array>
#include <cstddef>
#include <cstdint>
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

// Characters raised (10³, 1er) or lowered (H₂O) from the line.
enum class Shift { none, superscript, subscript };

struct Span {
    std::string utf8;  // '\n' is a line break
    bool bold = false;
    bool italic = false;
    Shift shift = Shift::none;
};

// A text as the bank formats carry it: runs of characters with bold, italic,
// superscript and subscript, and line breaks.
class StyledText {
public:
    StyledText() = default;
    StyledText(std::string_view plain_utf8) { append(plain_utf8); }  // NOLINT: a plain text is a styled text

    void append(std::string_view utf8, bool bold = false, bool italic = false, Shift shift = Shift::none);
    void line_break() { append("\n"); }

    const std::vector<Span>& spans() const { return spans_; }
    // The text as plain text, line breaks as '\n', written so that raised and
    // lowered characters keep their meaning: a superscript of the digits 1, 2
    // and 3 as the superscript digits Windows-1252 has (10³, m²), an ordinal's
    // or abbreviation's letters as they are (1er, XIXe, Mme), another
    // superscript after "^" (10^-6, x^(n+1)) and a subscript after "_" (H_2O,
    // x_(i+1)), in brackets when it is more than one signed word.
    std::string plain() const;
    bool empty() const;
    bool styled() const;          // some of it is bold or italic
    bool shifted() const;         // some of it is superscript or subscript
    bool has_line_break() const;
    // The same text with its superscripts and subscripts written as plain()
    // writes them, for places that show or compare plain text only.
    StyledText unshifted() const;

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
// formatting is bold, italic, superscript, subscript and paragraphs.
bool is_simple_rich_text(std::string_view stored);

// The text of a stored text with its bold, italic, superscript, subscript and
// line breaks (paragraph ends and line breaks both as '\n'). A character of
// a symbol font is the sign that the font shows for it ("α" for "a").
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

// A picture or sound of a bank, made into a medium of the quiz.
struct BankMedium {
    std::int32_t kind = media_image;
    std::string file_name;  // UTF-8, as the quiz will name it ("coeur.bmp")
    std::string label;      // UTF-8
    std::string origin;     // the bank's name of it ("coeur.png"), for reports
    std::string bytes;      // the bitmap or wave file
    std::string note;       // what its conversion changed, or empty
};

struct BankQuestion {
    StyledText question;
    StyledText answer;
    StyledText first_wrong;
    StyledText second_wrong;
    StyledText comment;
    // A text that is a picture or a sound, by the five texts' order
    // (question, answer, first wrong, second wrong, comment). A question
    // that is a picture or a sound keeps in `question` the words that came
    // with it, its lead, which the quiz shows as its theme's prompt.
    std::array<std::optional<BankMedium>, 5> media;
};

// Puts questions into themes in the order the bank names them. A theme that
// would hold more than 500 questions goes on in "Name (2)", "Name (3)" ...;
// a bank that needs more than 50 themes is refused. Questions that are a
// picture or a sound with a lead go to a theme whose prompt is that lead: the
// bank's theme when its questions share that lead, else "Name (2)"... beside
// it. The media of the questions kept become the quiz's media rows, one for
// each different picture or sound.
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
    // The bytes of the media rows of the quiz that finish() gave, row for row.
    std::vector<std::string> take_media_bytes() { return std::move(media_bytes_); }

private:
    struct Source {
        std::vector<std::size_t> parts;  // indexes into themes_
        std::optional<std::string> prompt, reverse_prompt;
    };
    std::string stored_name(std::string_view theme, std::size_t line);
    std::optional<std::string> stored(const StyledText& text, const char* what, bool answer_side,
                                      std::size_t line);
    std::string unique_name(const std::string& wanted) const;
    // The media id of a medium, a new row unless the same bytes have one.
    std::int32_t media_id(const BankMedium& medium);

    std::string default_theme_;
    BankReport& report_;
    std::vector<Theme> themes_;
    // By the name the bank gives and the lead the questions share (empty
    // for questions without one).
    std::map<std::pair<std::string, std::string>, Source> sources_;
    std::vector<MediaEntry> media_;
    std::vector<std::string> media_bytes_;
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
