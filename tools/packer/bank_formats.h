#pragma once
// The readers and writers of each question-bank format, and the HTML and
// Markdown of the texts that GIFT and Moodle XML carry.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "bank.h"
#include "bank_text.h"

namespace kz::bank {

Result<ImportedBank, BankError> import_csv(std::string_view bytes, std::string_view default_theme);
Result<ImportedBank, BankError> import_gift(std::string_view bytes, std::string_view default_theme,
                                            const BankFiles& beside);
Result<ImportedBank, BankError> import_moodle_xml(std::string_view bytes, std::string_view default_theme,
                                                  const BankFiles& beside);

ExportedBank export_csv(const QuizModel& quiz);
ExportedBank export_gift(const QuizModel& quiz);
ExportedBank export_moodle_xml(const QuizModel& quiz);

// A picture, sound or video that a text of a learning platform shows, or a
// file it links to.
struct TextMedium {
    enum class Kind { picture, sound, video, file };
    Kind kind = Kind::file;
    std::string source;  // the address as written (src, href), entities decoded, UTF-8
    std::string alt;     // a picture's alternative text
    std::string why;     // why the quiz does not take it in, when the reader knows better than its kind
};
// "@@PLUGINFILE@@/images/c%C5%93ur.png": the platform's file "images/cœur.png".
inline constexpr std::string_view platform_file_prefix = "@@PLUGINFILE@@/";
// The path of a platform's file from its address (%xx decoded, no query), or
// nothing when the address is not one.
std::optional<std::string> platform_file_path(std::string_view source);
// A relative address of a hand-written bank ("images/c%C5%93ur.png"): the
// path of a file beside the bank (%xx decoded, no query), or nothing for an
// address of the platform, of another site, written inside the text, or one
// that leaves the bank's folder ("../x.png", "/x.png", "C:x.png").
std::optional<std::string> local_file_path(std::string_view source);
// What an address names, told from its extension (a page of a video site,
// in an <iframe>, is a video).
TextMedium::Kind medium_kind(std::string_view source);
// "the picture", "the sound", "the video", "the file".
std::string medium_word(TextMedium::Kind kind);
// The name that reports give a medium: its file's name, else its address.
std::string medium_name(const TextMedium& medium);

// A text of a bank as read: its characters and styles, and what the text
// shows that a text of a quiz cannot hold.
struct ReadText {
    StyledText text;
    std::vector<TextMedium> media;
    std::vector<std::string> unknown_entities;  // "&name;", kept as written
};

// What an HTML text shows: its characters with bold (b, strong), italic (i,
// em), superscript (sup), subscript (sub) and line breaks (br, and the ends
// of paragraphs, blocks and list items); blanks collapsed as a browser does;
// entities decoded; scripts, styles and comments dropped. Pictures (img),
// sounds and videos (audio, video, a link to a sound or video file, which the
// platform shows as a player) and embedded pages (iframe, object, embed) are
// taken out of the text into `media`; a link to another file of the
// platform keeps its words. An address of the platform's files left in the
// text is taken out too.
ReadText html_to_styled(std::string_view html);
// Markdown's emphasis (**bold**, __bold__, *italic*, _italic_), the HTML
// tags of superscript and subscript, and pictures ![alt](address) and links
// [words](address) as HTML's img and a; the rest of the text as it is
// written.
ReadText markdown_to_styled(std::string_view markdown);
// A plain text, with the addresses of the platform's files taken out.
ReadText plain_to_styled(std::string_view plain);
// The entities written in a text ("&name;"), each once: in a plain text of an
// XML file, entities that the XML file did not define.
std::vector<std::string> written_entities(std::string_view text);
// The report lines of a question whose texts showed media that the quiz does
// not take in: one a medium, each naming it and the text it was in.
void report_dropped_media(BankReport& report, std::size_t line, std::string_view text_name,
                          const std::vector<TextMedium>& media, std::string_view why);
// The report line of entities that no table defines, kept as written.
void report_unknown_entities(BankReport& report, std::size_t line, const std::vector<std::string>& entities);

// What the texts of one question lose on their way in: the media they show
// and the entities no table defines, reported once the question is read.
class TextLosses {
public:
    // The text itself; its media and unknown entities are kept for report().
    StyledText keep(ReadText read, std::string_view text_name);
    // `no_file`: why a medium of the platform's files is not taken in.
    void report(BankReport& report, std::size_t line, std::string_view no_file) const;

private:
    std::vector<std::pair<std::string, std::vector<TextMedium>>> media_;  // by the text's name
    std::vector<std::string> entities_;
};

// Where the pictures and sounds of a bank's texts are found.
struct MediumFiles {
    // The files a text carries (Moodle XML), in base64, by their path in the
    // platform ("images/coeur.png").
    const std::map<std::string, std::string_view>* platform = nullptr;
    const BankFiles* beside = nullptr;  // the files beside the bank
};

// What a text of a question becomes: its words, or the picture or sound it
// shows when it shows one and nothing else (for a question, with a few words
// of lead when `may_have_lead`). The media it does not become stay in `read`
// with why, for the report.
std::optional<BankMedium> take_medium(ReadText& read, const MediumFiles& files, bool may_have_lead, bool may_be_medium);

// A short answer of a learning platform, where "*" stands for any text (and
// "\*" is an asterisk): the text the student types, without wildcards.
// `wildcards` tells whether it had any.
std::string without_wildcards(std::string_view answer, bool& wildcards);
// A short answer written for a learning platform: its asterisks escaped.
std::string escaped_asterisks(std::string_view answer);
// The report line of a short answer whose wildcards were taken out.
void report_wildcards(BankReport& report, std::size_t line, std::string_view written, const StyledText& kept);
// Basic HTML: characters escaped, <b>, <i>, <sup>, <sub> and <br>.
std::string styled_to_html(const StyledText& text);

}  // namespace kz::bank
