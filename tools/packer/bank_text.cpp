#include "bank_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/cp1252.h"
#include "common/text_helpers.h"
#include "media/rich_text.h"
#include "quiz/media_table.h"
#include "quiz_source.h"

namespace kz::bank {
namespace {

// The rich text that to_stored writes: one paragraph style, Arial at 11
// points like the runner's plain texts, one fallback character after every
// Unicode escape.
constexpr std::string_view simple_rich_start =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\\uc1\\pard\\f0\\fs22 ";

constexpr std::size_t max_theme_name_length = 200;

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The characters of a UTF-8 text, with bytes that are not UTF-8 read as
// Windows-1252 (a text that mixes both stays readable).
std::u32string lenient_code_points(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = utf8_sequence(utf8, i, cp);
        if (length == 0) {
            out += cp1252_to_unicode(static_cast<unsigned char>(utf8[i++]));
        } else {
            out += cp;
            i += length;
        }
    }
    return out;
}

std::string u32_to_utf8(std::u32string_view text) {
    std::string out;
    for (const char32_t cp : text) append_utf8(out, cp);
    return out;
}

// One character in a rich text: escaped when RTF gives it a meaning, as a
// Windows-1252 byte when it has one, else as Unicode escapes (two for a
// character beyond the 16-bit range), each with "?" as its fallback.
void append_rtf_character(std::string& rtf, char32_t cp) {
    if (cp == '\\' || cp == '{' || cp == '}') {
        rtf += '\\';
        rtf += static_cast<char>(cp);
    } else if (cp == '\n') {
        rtf += "\\par ";
    } else if (cp == '\t') {
        rtf += "\\tab ";
    } else if (cp >= 0x20 && cp < 0x80) {
        rtf += static_cast<char>(cp);
    } else if (const auto byte = unicode_to_cp1252(cp); byte && *byte >= 0x80) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned>(*byte));
        rtf += hex;
    } else if (cp >= 0x20) {
        const auto unit = [&](char16_t u) { rtf += "\\u" + std::to_string(static_cast<std::int16_t>(u)) + "?"; };
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            unit(static_cast<char16_t>(0xD800 + (v >> 10)));
            unit(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            unit(static_cast<char16_t>(cp));
        }
    }
}


// Superscript letters that end an ordinal or an abbreviation, read as plain
// letters: 1er, 2e, XIXe siècle, Mme, Mlle, n° written no, 2nd, 3rd.
bool is_abbreviation_ending(std::string_view utf8) {
    static constexpr std::string_view endings[] = {"e",  "er", "re",  "ère", "ème", "eme", "es",  "ers", "res",
                                                   "me", "mes", "lle", "lles", "d",  "de", "nd",  "nde", "o",
                                                   "st", "th", "rd"};
    return std::find(std::begin(endings), std::end(endings), utf8) != std::end(endings);
}

// One word, perhaps signed: what "^" or "_" takes without brackets.
bool is_signed_word(std::u32string_view cps) {
    if (!cps.empty() && (cps.front() == '-' || cps.front() == '+' || cps.front() == U'\u2212')) cps.remove_prefix(1);
    if (cps.empty()) return false;
    return std::all_of(cps.begin(), cps.end(), [](char32_t cp) {
        return (cp >= '0' && cp <= '9') || (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z') || cp >= 0xC0;
    });
}

std::string shifted_as_plain(const std::string& run, Shift shift) {
    const std::u32string cps = lenient_code_points(run);
    if (std::all_of(cps.begin(), cps.end(), [](char32_t cp) { return cp == ' ' || cp == '\t' || cp == '\n'; }))
        return run;
    if (shift == Shift::superscript) {
        if (std::all_of(cps.begin(), cps.end(), [](char32_t cp) { return cp >= '1' && cp <= '3'; })) {
            std::string digits;
            for (const char32_t cp : cps) append_utf8(digits, cp == '1' ? U'\u00B9' : cp == '2' ? U'\u00B2' : U'\u00B3');
            return digits;
        }
        if (is_abbreviation_ending(run)) return run;
    }
    const std::string mark = shift == Shift::superscript ? "^" : "_";
    return is_signed_word(cps) ? mark + run : mark + "(" + run + ")";
}
}  // namespace

// ---------------------------------------------------------------------------
// Unicode

std::optional<std::u32string> utf8_code_points(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = utf8_sequence(utf8, i, cp);
        if (length == 0) return std::nullopt;
        out += cp;
        i += length;
    }
    return out;
}

std::string utf16_to_utf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        append_utf8(out, cp);
    }
    return out;
}

DecodedFile decode_file(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        const std::string_view rest = bytes.substr(3);
        if (utf8_code_points(rest)) return {std::string(rest), "UTF-8 with BOM"};
        return {u32_to_utf8(lenient_code_points(rest)), "UTF-8 with BOM, with bytes that UTF-8 lacks read as Windows-1252"};
    }
    const bool little = bytes.starts_with("\xFF\xFE");
    if (little || bytes.starts_with("\xFE\xFF")) {
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
            units += static_cast<char16_t>(little ? a | (b << 8) : (a << 8) | b);
        }
        return {utf16_to_utf8(units), "UTF-16"};
    }
    if (utf8_code_points(bytes)) return {std::string(bytes), "UTF-8"};
    // A UTF-8 file with a few stray bytes (text pasted from elsewhere) stays
    // UTF-8; a file without any UTF-8 sequence is Windows-1252.
    std::size_t sequences = 0, strays = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const std::size_t length = utf8_sequence(bytes, i, cp);
        if (length > 1) ++sequences;
        if (length == 0) ++strays;
        i += length == 0 ? 1 : length;
    }
    if (sequences > strays)
        return {u32_to_utf8(lenient_code_points(bytes)),
                "UTF-8, with " + std::to_string(strays) + (strays == 1 ? " byte" : " bytes") +
                    " that UTF-8 lacks read as Windows-1252"};
    return {cp1252_to_utf8(bytes), "Windows-1252"};
}

// ---------------------------------------------------------------------------
// Texts with their styling

void StyledText::append(std::string_view utf8, bool bold, bool italic, Shift shift) {
    std::string clean;
    clean.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r') {
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
            clean += '\n';
        } else if (c == '\n' || c == '\t' || static_cast<unsigned char>(c) >= 0x20) {
            clean += c;
        } else if (c == '\v' || c == '\f') {
            clean += '\n';
        }
        // Other control characters cannot be stored in a quiz's text.
    }
    if (clean.empty()) return;
    if (!spans_.empty() && spans_.back().bold == bold && spans_.back().italic == italic && spans_.back().shift == shift)
        spans_.back().utf8 += clean;
    else
        spans_.push_back({std::move(clean), bold, italic, shift});
}

std::string StyledText::plain() const {
    std::string out;
    for (const auto& span : unshifted().spans_) out += span.utf8;
    return out;
}

bool StyledText::shifted() const {
    return std::any_of(spans_.begin(), spans_.end(), [](const Span& span) { return span.shift != Shift::none; });
}

StyledText StyledText::unshifted() const {
    StyledText out;
    for (std::size_t k = 0; k < spans_.size();) {
        const Span& first = spans_[k];
        if (first.shift == Shift::none) {
            out.append(first.utf8, first.bold, first.italic);
            ++k;
            continue;
        }
        // A raised or lowered run is written as a whole, even where its
        // bold or italic changes: "10^-6", not "10^-^6".
        std::string run;
        for (; k < spans_.size() && spans_[k].shift == first.shift; ++k) run += spans_[k].utf8;
        out.append(shifted_as_plain(run, first.shift), first.bold, first.italic);
    }
    return out;
}

bool StyledText::empty() const {
    return std::all_of(spans_.begin(), spans_.end(), [](const Span& span) {
        return std::all_of(span.utf8.begin(), span.utf8.end(), is_blank);
    });
}

bool StyledText::styled() const {
    return std::any_of(spans_.begin(), spans_.end(), [](const Span& span) {
        return (span.bold || span.italic) && !std::all_of(span.utf8.begin(), span.utf8.end(), is_blank);
    });
}

bool StyledText::has_line_break() const {
    return std::any_of(spans_.begin(), spans_.end(),
                       [](const Span& span) { return span.utf8.find('\n') != std::string::npos; });
}

void StyledText::trim() {
    while (!spans_.empty()) {
        std::string& text = spans_.front().utf8;
        const auto first = std::find_if_not(text.begin(), text.end(), is_blank);
        text.erase(text.begin(), first);
        if (!text.empty()) break;
        spans_.erase(spans_.begin());
    }
    while (!spans_.empty()) {
        std::string& text = spans_.back().utf8;
        while (!text.empty() && is_blank(text.back())) text.pop_back();
        if (!text.empty()) break;
        spans_.pop_back();
    }
}

void StyledText::breaks_to_blanks() {
    for (auto& span : spans_) {
        std::string out;
        for (std::size_t i = 0; i < span.utf8.size(); ++i) {
            if (span.utf8[i] != '\n') {
                out += span.utf8[i];
                continue;
            }
            while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
            out += ' ';
            while (i + 1 < span.utf8.size() && is_blank(span.utf8[i + 1])) ++i;
        }
        span.utf8 = std::move(out);
    }
}

StoredText to_stored(const StyledText& text) {
    StoredText stored;
    std::u32string foreign;
    std::string narrow;
    for (const auto& span : text.spans())
        for (const char32_t cp : lenient_code_points(span.utf8)) {
            if (const auto byte = unicode_to_cp1252(cp))
                narrow += static_cast<char>(*byte);
            else if (foreign.find(cp) == std::u32string::npos)
                foreign += cp;
        }
    for (std::size_t i = 0; i < foreign.size() && i < 12; ++i) {
        if (i > 0) stored.foreign += " ";
        append_utf8(stored.foreign, foreign[i]);
    }
    if (foreign.size() > 12) stored.foreign += " …";

    if (foreign.empty() && !text.styled() && !text.shifted() && !text.has_line_break()) {
        stored.text = std::move(narrow);
        return stored;
    }
    std::string rtf(simple_rich_start);
    bool bold = false, italic = false;
    Shift shift = Shift::none;
    for (const auto& span : text.spans()) {
        if (span.bold != bold) rtf += span.bold ? "\\b " : "\\b0 ";
        if (span.italic != italic) rtf += span.italic ? "\\i " : "\\i0 ";
        if (span.shift != shift)
            rtf += span.shift == Shift::superscript ? "\\super " : span.shift == Shift::subscript ? "\\sub " : "\\nosupersub ";
        bold = span.bold, italic = span.italic, shift = span.shift;
        for (const char32_t cp : lenient_code_points(span.utf8)) append_rtf_character(rtf, cp);
    }
    rtf += "}";
    stored.text = std::move(rtf);
    return stored;
}

bool is_simple_rich_text(std::string_view stored) { return stored.starts_with(simple_rich_start); }

StyledText from_stored(std::string_view stored) {
    if (!stored.starts_with("{\\rtf")) return StyledText(cp1252_to_utf8(stored));
    // The rich text is read through its HTML form, the one reading of the
    // core that tells raised and lowered characters: paragraphs <p>, line
    // breaks <br> (a paragraph's last <br> only keeps an empty line's
    // height), <span style> runs and character references.
    const std::string html = rich_to_html(stored);
    StyledText text;
    bool bold = false, italic = false;
    Shift shift = Shift::none;
    std::string run;  // characters of the current look, not yet appended
    const auto flush = [&] {
        text.append(run, bold, italic, shift);
        run.clear();
    };
    bool first_paragraph = true;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] == '<') {
            flush();
            const std::size_t end = html.find('>', i);
            if (end == std::string::npos) break;
            const std::string_view tag(html.data() + i, end + 1 - i);
            i = end + 1;
            if (tag.starts_with("<p")) {
                if (!first_paragraph) text.line_break();
                first_paragraph = false;
            } else if (tag == "<br>") {
                if (html.compare(i, 4, "</p>") != 0) text.line_break();
            } else if (tag.starts_with("<span")) {
                bold = tag.find("font-weight:bold") != std::string_view::npos;
                italic = tag.find("font-style:italic") != std::string_view::npos;
                shift = tag.find("vertical-align:super") != std::string_view::npos ? Shift::superscript
                        : tag.find("vertical-align:sub") != std::string_view::npos ? Shift::subscript
                                                                                   : Shift::none;
            } else if (tag == "</span>") {
                bold = italic = false;
                shift = Shift::none;
            }
            continue;
        }
        if (html[i] != '&') {
            run += html[i++];
            continue;
        }
        const std::size_t semicolon = html.find(';', i);
        if (semicolon == std::string::npos) break;
        const std::string_view name(html.data() + i + 1, semicolon - i - 1);
        if (name == "lt") run += '<';
        else if (name == "gt") run += '>';
        else if (name == "amp") run += '&';
        else if (name == "quot") run += '"';
        else if (name.starts_with("#"))
            append_utf8(run, static_cast<char32_t>(std::strtoul(std::string(name.substr(1)).c_str(), nullptr, 10)));
        i = semicolon + 1;
    }
    flush();
    return text;
}

OutgoingText outgoing_text(const QuizModel& quiz, std::string_view stored) {
    OutgoingText out;
    if (const auto id = media_reference_id(stored)) {
        if (const MediaEntry* row = media_of_id(quiz, *id); row && !row->file_name.empty()) {
            out.text = StyledText(cp1252_to_utf8(row->file_name));
            static constexpr const char* kinds[] = {"image", "sound", "music"};
            const std::string kind = row->kind >= 0 && row->kind <= 2 ? kinds[row->kind] : "media item";
            out.media_note = "the " + kind + " " + quote_text(cp1252_to_utf8(row->label)) + " (media id " +
                             std::to_string(*id) + ") written as its file name " +
                             quote_text(cp1252_to_utf8(row->file_name));
        } else {
            out.text = StyledText(cp1252_to_utf8(stored));
            out.media_note = "refers to media id " + std::to_string(*id) +
                             ", which no media row names: written as the reference itself";
        }
        return out;
    }
    out.text = from_stored(stored);
    out.rich = stored.starts_with("{\\rtf") && !is_simple_rich_text(stored);
    return out;
}

std::string category_theme(std::string_view path) {
    const auto trim = [](std::string text) {
        StyledText styled(text);
        styled.trim();
        return styled.plain();
    };
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '/') {
            if (i + 1 < path.size() && path[i + 1] == '/') {
                parts.back() += '/';
                ++i;
            } else {
                parts.emplace_back();
            }
            continue;
        }
        parts.back() += path[i];
    }
    for (auto& part : parts) part = trim(part);
    // "$course$", "$system$" ... name the context; "top" is the context's root.
    std::size_t first = 0;
    if (parts[0].size() >= 2 && parts[0].front() == '$' && parts[0].back() == '$') ++first;
    if (first < parts.size() && parts[first] == "top") ++first;
    while (parts.size() > first && parts.back().empty()) parts.pop_back();
    return parts.size() > first ? parts.back() : std::string();
}

std::string quote_text(std::string_view utf8) {
    std::u32string cps = lenient_code_points(utf8);
    for (auto& cp : cps)
        if (cp == '\n') cp = ' ';
    std::string out = "\"";
    if (cps.size() > 60) {
        out += u32_to_utf8(cps.substr(0, 57));
        out += "…";
    } else {
        out += u32_to_utf8(cps);
    }
    return out + "\"";
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : ", ") + item;
    return out;
}

void report_dropped_answers(BankReport& report, std::size_t line, const std::vector<std::string>& other_rights,
                            const std::vector<std::string>& dropped_wrongs) {
    if (!other_rights.empty())
        report.add(line, ReportLine::Kind::changed,
                   "the first right answer is kept; the other accepted " +
                       std::string(other_rights.size() == 1 ? "answer is" : "answers are") +
                       " dropped: " + joined(other_rights));
    if (!dropped_wrongs.empty())
        report.add(line, ReportLine::Kind::changed, "a quiz keeps two wrong answers; dropped: " + joined(dropped_wrongs));
}

bool report_category_losses(BankReport& report, const Theme& theme, std::string_view name, std::size_t line,
                            std::size_t prompt_line, std::string_view format) {
    if (theme.questions.empty()) {
        report.add(line, ReportLine::Kind::skipped,
                   "theme " + quote_text(name) + " holds no question: a category without questions is not kept");
        return false;
    }
    if (!theme.prompt.empty() || !theme.reverse_prompt.empty())
        report.add(prompt_line, ReportLine::Kind::changed,
                   "the prompts of theme " + quote_text(name) + " are not written: " + std::string(format) +
                       " has no place for them");
    return true;
}

// ---------------------------------------------------------------------------
// Building the themes of an imported bank

ThemeBuilder::ThemeBuilder(std::string default_theme, BankReport& report)
    : default_theme_(std::move(default_theme)), report_(report) {
    if (StyledText(default_theme_).empty()) default_theme_ = "Questions";
}

std::string ThemeBuilder::unique_name(const std::string& wanted) const {
    const auto taken = [&](const std::string& name) {
        return std::any_of(themes_.begin(), themes_.end(), [&](const Theme& t) { return t.name == name; });
    };
    if (!taken(wanted)) return wanted;
    for (int n = 2;; ++n)
        if (const std::string name = wanted + " (" + std::to_string(n) + ")"; !taken(name)) return name;
}

// A theme's name is plain Windows-1252 text: a character the code page lacks
// is replaced by the form the runner would show (its closest Western letter,
// or "?"), and the report says so.
std::string ThemeBuilder::stored_name(std::string_view theme, std::size_t line) {
    StyledText text = StyledText(theme).unshifted();
    text.breaks_to_blanks();
    text.trim();
    const StoredText stored = to_stored(text);
    std::string name = stored.text;
    if (!stored.foreign.empty()) {
        name = rich_to_plain(stored.text);
        report_.add(line, ReportLine::Kind::changed,
                    "theme name " + quote_text(text.plain()) + " has characters outside Windows-1252 (" +
                        stored.foreign + "), which a theme name cannot hold: named " +
                        quote_text(cp1252_to_utf8(name)));
    }
    // A name is shown on one line of the home page's list.
    if (name.size() > max_theme_name_length) {
        name.resize(max_theme_name_length);
        report_.add(line, ReportLine::Kind::changed,
                    "theme name " + quote_text(text.plain()) + " is cut to its first " +
                        std::to_string(max_theme_name_length) + " characters");
    }
    return name;
}

std::optional<std::string> ThemeBuilder::stored(const StyledText& given, const char* what, bool answer_side,
                                                 std::size_t line) {
    StyledText text = given;
    text.trim();
    if (answer_side && text.has_line_break()) {
        text.breaks_to_blanks();
        report_.add(line, ReportLine::Kind::changed,
                    std::string(what) + ": line breaks replaced by blanks (an answer is typed on one line)");
    }
    // An answer is typed, listed and compared as plain text, where "10" with
    // a raised "3" would read "103".
    if (answer_side && text.shifted()) {
        text = text.unshifted();
        report_.add(line, ReportLine::Kind::changed,
                    std::string(what) + ": superscript and subscript written in plain text, " + quote_text(text.plain()) +
                        " (an answer is typed and compared as plain text)");
    }
    StoredText stored = to_stored(text);
    if (!stored.foreign.empty()) {
        std::string note = std::string(what) + " " + quote_text(text.plain()) + ": characters outside Windows-1252 (" +
                           stored.foreign + ") written as rich text with Unicode escapes";
        if (answer_side)
            note += "; the runner compares answers in Windows-1252, where this one reads " +
                    quote_text(cp1252_to_utf8(rich_to_plain(stored.text))) +
                    ": fine for multiple choice, not for typed answers";
        report_.add(line, ReportLine::Kind::changed, note);
    }
    if (stored.text.size() > max_line_length) {
        report_.add(line, ReportLine::Kind::skipped,
                    std::string(what) + " is " + std::to_string(stored.text.size()) +
                        " bytes long as the quiz stores it; a text holds at most 29999");
        return std::nullopt;
    }
    if (const auto id = media_reference_id(stored.text))
        report_.add(line, ReportLine::Kind::note,
                    std::string(what) + " refers to media id " + std::to_string(*id) +
                        ": add that media row to the quiz's source");
    return std::move(stored.text);
}

std::int32_t ThemeBuilder::media_id(const BankMedium& medium) {
    for (std::size_t r = 0; r < media_.size(); ++r)
        if (media_[r].kind == medium.kind && media_bytes_[r] == medium.bytes) return media_[r].id;
    // A file name is plain Windows-1252 and unique in the quiz, compared
    // without case as Windows compares names.
    const auto narrow = [](const std::string& utf8) {
        std::string text = rich_to_plain(to_stored(StyledText(utf8).unshifted()).text);
        for (char& c : text)
            if (static_cast<unsigned char>(c) < 32 || std::string_view("/\\:<>\"|?*").find(c) != std::string_view::npos)
                c = '_';
        return text;
    };
    std::string name = narrow(medium.file_name);
    const std::string extension = medium.kind == media_image ? ".bmp" : ".wav";
    std::string stem = name.size() > extension.size() ? name.substr(0, name.size() - extension.size()) : "";
    if (stem.size() > 200) stem.resize(200);
    if (!is_safe_media_name(stem + extension)) stem = medium.kind == media_image ? "image" : "son";
    const auto taken = [&](const std::string& candidate) {
        return std::any_of(media_.begin(), media_.end(),
                           [&](const MediaEntry& row) { return lower_1252(row.file_name) == lower_1252(candidate); });
    };
    name = stem + extension;
    for (int n = 2; taken(name); ++n) name = stem + "_" + std::to_string(n) + extension;
    MediaEntry row;
    row.file_name = name;
    row.label = narrow(medium.label.empty() ? medium.origin : medium.label);
    if (row.label.size() > 200) row.label.resize(200);
    row.kind = medium.kind;
    row.id = static_cast<std::int32_t>(media_.size()) + 1;
    media_.push_back(std::move(row));
    media_bytes_.push_back(medium.bytes);
    return media_.back().id;
}

std::optional<BankError> ThemeBuilder::add(std::string_view theme, BankQuestion q, std::size_t line) {
    if (q.question.empty() && !q.media[0]) {
        report_.add(line, ReportLine::Kind::skipped, "no question text");
        return std::nullopt;
    }
    if (q.answer.empty() && !q.media[1]) {
        report_.add(line, ReportLine::Kind::skipped,
                    "no answer to " + quote_text(q.media[0] ? q.media[0]->origin : q.question.plain()));
        return std::nullopt;
    }
    if ((!q.second_wrong.empty() || q.media[3]) && q.first_wrong.empty() && !q.media[2]) {
        std::swap(q.first_wrong, q.second_wrong);
        std::swap(q.media[2], q.media[3]);
        report_.add(line, ReportLine::Kind::changed, "a second wrong answer without a first: it becomes the first");
    }

    QuestionEntry entry;
    struct Field {
        const StyledText& text;
        std::string QuestionEntry::*member;
        const char* what;
        bool answer_side;
    };
    const Field fields[] = {
        {q.question, &QuestionEntry::question, "question", false},
        {q.answer, &QuestionEntry::answer, "answer", true},
        {q.first_wrong, &QuestionEntry::first_wrong, "first wrong answer", true},
        {q.second_wrong, &QuestionEntry::second_wrong, "second wrong answer", true},
        {q.comment, &QuestionEntry::comment, "comment", false},
    };
    std::string lead;  // the stored lead of a question that is a picture or a sound
    for (std::size_t k = 0; k < 5; ++k) {
        const Field& field = fields[k];
        if (q.media[k] && (k != 0 || field.text.empty())) continue;
        auto text = stored(field.text, q.media[k] ? "lead" : field.what, field.answer_side, line);
        if (!text) return std::nullopt;
        (q.media[k] ? lead : entry.*field.member) = std::move(*text);
    }

    std::string key(theme);
    if (StyledText(key).empty()) {
        key = default_theme_;
        if (!default_theme_noted_) {
            default_theme_noted_ = true;
            report_.add(line, ReportLine::Kind::note,
                        "no theme named: questions go to the theme " + quote_text(default_theme_));
        }
    }
    // A question with a lead needs a theme whose prompt is that lead; when
    // none is left, it shows its picture or sound alone.
    const auto opens_theme = [&](const Source& source) {
        return source.parts.empty() ||
               themes_[source.parts.back()].questions.size() >= static_cast<std::size_t>(max_questions_per_theme);
    };
    if (!lead.empty() && opens_theme(sources_[{key, lead}]) && themes_.size() >= static_cast<std::size_t>(max_themes)) {
        report_.add(line, ReportLine::Kind::changed,
                    "question: its lead " + quote_text(from_stored(lead).plain()) +
                        " would be the prompt of a 51st theme: it is dropped, and the question shows its " +
                        (q.media[0]->kind == media_image ? "picture" : "sound") + " alone");
        lead.clear();
    }
    Source& source = sources_[{key, lead}];
    if (opens_theme(source)) {
        if (themes_.size() >= static_cast<std::size_t>(max_themes))
            return BankError{line, "this question would open a 51st theme (" + quote_text(key) +
                                       "); a quiz holds at most 50 themes of at most 500 questions: "
                                       "split the bank into several files"};
        Theme part;
        const std::string base = source.parts.empty() ? stored_name(key, line) : themes_[source.parts.front()].name;
        part.name = unique_name(source.parts.empty() ? base : base + " (" + std::to_string(source.parts.size() + 1) + ")");
        const bool shares_bank_name = std::any_of(sources_.begin(), sources_.end(), [&](const auto& other) {
            return other.first.first == key && &other.second != &source && !other.second.parts.empty();
        });
        if (!source.parts.empty())
            report_.add(line, ReportLine::Kind::changed,
                        "theme " + quote_text(cp1252_to_utf8(base)) +
                            " already holds 500 questions, the most a theme can hold: this question and the "
                            "theme's next ones go to " + quote_text(cp1252_to_utf8(part.name)));
        else if (part.name != base && shares_bank_name)
            report_.add(line, ReportLine::Kind::changed,
                        "questions of theme " + quote_text(cp1252_to_utf8(base)) +
                            (lead.empty() ? std::string(" without a lead")
                                          : " shown as a picture or sound with the lead " +
                                                quote_text(from_stored(lead).plain())) +
                            " go to theme " + quote_text(cp1252_to_utf8(part.name)) +
                            " (a theme's prompt is shown above every one of its questions)");
        else if (part.name != base)
            report_.add(line, ReportLine::Kind::changed,
                        "another theme is already named " + quote_text(cp1252_to_utf8(base)) + ": this one is named " +
                            quote_text(cp1252_to_utf8(part.name)));
        if (!lead.empty()) source.prompt = lead;
        source.parts.push_back(themes_.size());
        themes_.push_back(std::move(part));
    }

    // The question is kept: its pictures and sounds become media rows.
    for (std::size_t k = 0; k < 5; ++k) {
        if (!q.media[k]) continue;
        const BankMedium& medium = *q.media[k];
        const std::int32_t id = media_id(medium);
        entry.*fields[k].member = media_reference_text(id);
        const MediaEntry& row = media_[static_cast<std::size_t>(id - 1)];
        std::string what = std::string(fields[k].what) + ": the " + (medium.kind == media_image ? "picture " : "sound ") +
                           quote_text(medium.origin) + " is taken in as " +
                           quote_text(cp1252_to_utf8(row.file_name)) + " (media id " + std::to_string(id) + ")";
        if (!medium.note.empty()) what += ", " + medium.note;
        if (k == 0 && !lead.empty())
            what += "; its lead " + quote_text(from_stored(lead).plain()) + " is the prompt of theme " +
                    quote_text(cp1252_to_utf8(themes_[source.parts.back()].name));
        report_.add(line, ReportLine::Kind::changed, what);
    }
    themes_[source.parts.back()].questions.push_back(std::move(entry));
    ++question_count_;
    return std::nullopt;
}

void ThemeBuilder::set_prompts(std::string_view theme, const StyledText& prompt, const StyledText& reverse_prompt,
                               std::size_t line) {
    Source& source = sources_[{StyledText(theme).empty() ? default_theme_ : std::string(theme), std::string()}];
    const auto keep = [&](const StyledText& text, const char* what, std::optional<std::string>& slot) {
        if (text.empty()) return;
        auto value = stored(text, what, false, line);
        if (!value) return;
        if (!slot)
            slot = std::move(value);
        else if (*slot != *value)
            report_.add(line, ReportLine::Kind::changed,
                        std::string(what) + " " + quote_text(text.plain()) + " differs from the theme's first one, which is kept");
    };
    keep(prompt, "prompt", source.prompt);
    keep(reverse_prompt, "reverse prompt", source.reverse_prompt);
}

QuizModel ThemeBuilder::finish(std::string_view quiz_name) {
    QuizModel quiz;
    StyledText name(quiz_name);
    name.breaks_to_blanks();
    name.trim();
    quiz.quiz_name = rich_to_plain(to_stored(name).text);
    for (auto& [key, source] : sources_)
        for (const std::size_t part : source.parts) {
            if (source.prompt) themes_[part].prompt = *source.prompt;
            if (source.reverse_prompt) themes_[part].reverse_prompt = *source.reverse_prompt;
        }
    quiz.themes = std::move(themes_);
    quiz.media = std::move(media_);
    return quiz;
}

}  // namespace kz::bank

namespace kz::bank {

BankQuestion outgoing_question(const QuizModel& quiz, const QuestionEntry& entry, std::size_t line,
                               bool keeps_style, BankReport& report) {
    BankQuestion out;
    const std::pair<const std::string&, StyledText*> texts[] = {
        {entry.question, &out.question},         {entry.answer, &out.answer},
        {entry.first_wrong, &out.first_wrong},   {entry.second_wrong, &out.second_wrong},
        {entry.comment, &out.comment}};
    static constexpr const char* names[] = {"question", "answer", "first wrong answer", "second wrong answer",
                                            "comment"};
    for (std::size_t k = 0; k < 5; ++k) {
        OutgoingText text = outgoing_text(quiz, texts[k].first);
        if (text.media_note) report.add(line, ReportLine::Kind::changed, std::string(names[k]) + ": " + *text.media_note);
        if (text.rich)
            report.add(line, ReportLine::Kind::changed,
                       std::string(names[k]) + ": rich text written as " +
                           (keeps_style ? "basic HTML (bold, italic and line breaks kept; fonts, sizes and colours lost)"
                                        : "plain text (its formatting is lost)"));
        else if (!keeps_style && text.text.styled())
            report.add(line, ReportLine::Kind::changed,
                       std::string(names[k]) + ": rich text written as plain text (bold and italic are lost)");
        if (!keeps_style && text.text.shifted())
            report.add(line, ReportLine::Kind::changed,
                       std::string(names[k]) + ": superscript and subscript written in plain text, " +
                           quote_text(text.text.plain()));
        *texts[k].second = std::move(text.text);
    }
    return out;
}

std::string outgoing_name(std::string_view stored) { return from_stored(stored).plain(); }

}  // namespace kz::bank
