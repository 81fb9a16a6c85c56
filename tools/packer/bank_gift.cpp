// GIFT, the plain-text question format of learning platforms: questions
// separated by blank lines, each a text with its answers in braces, themes
// named by "$CATEGORY:" lines, "//" comment lines.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "bank_formats.h"

namespace kz::bank {
namespace {

constexpr std::string_view gift_specials = "~=#{}:\\";

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n')) text.remove_suffix(1);
    return text;
}

// The position of the first `what` at or after `from` that no backslash
// escapes, or npos.
std::size_t find_unescaped(std::string_view text, std::string_view what, std::size_t from = 0) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
            continue;
        }
        if (text.compare(i, what.size(), what) == 0) return i;
    }
    return std::string_view::npos;
}

enum class TextFormat { moodle, plain, html, markdown };

// A text of a question: escapes resolved (\n is a line break), in its
// format. Moodle's own format, GIFT's default, is HTML to the platform.
ReadText gift_text(std::string_view raw, TextFormat format) {
    const bool html = format == TextFormat::html || format == TextFormat::moodle;
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\\' && i + 1 < raw.size()) {
            const char next = raw[i + 1];
            if (gift_specials.find(next) != std::string_view::npos) {
                text += next;
                ++i;
                continue;
            }
            if (next == 'n') {
                text += html ? "<br>" : "\n";
                ++i;
                continue;
            }
        }
        // The lines of a question's source are one text.
        text += c == '\n' && format != TextFormat::html ? ' ' : c;
    }
    switch (format) {
    case TextFormat::html:
    case TextFormat::moodle: return html_to_styled(text);
    case TextFormat::markdown: return markdown_to_styled(text);
    case TextFormat::plain: break;
    }
    return plain_to_styled(text);
}

struct Answer {
    char mark = '=';           // '=' right, '~' wrong
    std::optional<double> weight;
    std::string text;          // raw, escapes not resolved
    bool has_feedback = false;
};

class GiftReader {
public:
    GiftReader(std::string_view default_theme, ImportedBank& bank, const BankFiles& beside)
        : bank_(bank), builder_(std::string(default_theme), bank.report), files_{nullptr, &beside} {}

    std::optional<BankError> read(const std::string& text) {
        std::vector<std::string_view> lines;
        for (std::size_t start = 0; start <= text.size();) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string_view line(text.data() + start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines.push_back(line);
            start = end + 1;
        }
        std::string block;
        std::size_t block_line = 0, open_line = 0;
        int depth = 0;
        for (std::size_t n = 0; n < lines.size(); ++n) {
            const std::size_t line = n + 1;
            const std::string_view content = trimmed(lines[n]);
            if (content.starts_with("//")) continue;
            if (depth == 0 && (content.empty() || content.starts_with("$CATEGORY:"))) {
                if (!block.empty()) {
                    if (auto error = question(block, block_line)) return error;
                    block.clear();
                }
                if (!content.empty()) category(content.substr(10), line);
                continue;
            }
            if (block.empty()) block_line = line;
            else block += '\n';
            block += lines[n];
            for (std::size_t i = 0; i < lines[n].size(); ++i) {
                if (lines[n][i] == '\\') {
                    ++i;
                } else if (lines[n][i] == '{') {
                    if (depth++ == 0) open_line = line;
                } else if (lines[n][i] == '}') {
                    if (--depth < 0)
                        return BankError{line, "a } closes no answer list (write \\} for a brace in a text)"};
                }
            }
        }
        if (depth > 0) return BankError{open_line, "the answer list opened on this line by { is not closed by }"};
        if (!block.empty())
            if (auto error = question(block, block_line)) return error;
        return std::nullopt;
    }

    ThemeBuilder& builder() { return builder_; }

private:
    void category(std::string_view path, std::size_t line) {
        theme_ = category_theme(path);
        const auto [known, fresh] = category_paths_.emplace(theme_, std::string(trimmed(path)));
        if (!fresh && known->second != trimmed(path) && noted_.insert(theme_).second)
            bank_.report.add(line, ReportLine::Kind::note,
                             "categories " + quote_text(known->second) + " and " + quote_text(trimmed(path)) +
                                 " both end in " + quote_text(theme_) + ": their questions share that theme");
    }

    void skip(std::size_t line, const std::string& why) { bank_.report.add(line, ReportLine::Kind::skipped, why); }

    std::optional<BankError> question(std::string_view block, std::size_t line) {
        std::size_t pos = 0;
        const auto skip_blanks = [&] {
            while (pos < block.size() && (block[pos] == ' ' || block[pos] == '\t' || block[pos] == '\n')) ++pos;
        };
        skip_blanks();
        if (block.compare(pos, 2, "::") == 0) {
            const std::size_t end = find_unescaped(block, "::", pos + 2);
            if (end == std::string_view::npos)
                return BankError{line, "the question's title opened by :: is not closed by ::"};
            pos = end + 2;
            skip_blanks();
        }
        TextFormat format = TextFormat::moodle;
        if (pos < block.size() && block[pos] == '[') {
            const std::size_t end = block.find(']', pos);
            const std::string_view word = end == std::string_view::npos ? "" : block.substr(pos + 1, end - pos - 1);
            const std::pair<std::string_view, TextFormat> formats[] = {{"html", TextFormat::html},
                                                                       {"moodle", TextFormat::moodle},
                                                                       {"plain", TextFormat::plain},
                                                                       {"markdown", TextFormat::markdown}};
            for (const auto& [name, value] : formats)
                if (word == name) format = value, pos = end + 1;
        }
        const std::string_view body = block.substr(pos);
        const std::size_t open = find_unescaped(body, "{");
        if (open == std::string_view::npos) {
            skip(line, "a description (a text without answers) has no counterpart in a quiz");
            return std::nullopt;
        }
        const std::size_t close = find_unescaped(body, "}", open + 1);
        const std::string_view head = body.substr(0, open);
        const std::string_view list = body.substr(open + 1, close - open - 1);
        const std::string_view tail = body.substr(close + 1);
        if (find_unescaped(tail, "{") != std::string_view::npos) {
            skip(line, "a question with several answer lists has no counterpart in a quiz");
            return std::nullopt;
        }

        // The general feedback, after "####", becomes the comment.
        std::string_view answers_part = list;
        std::string_view feedback;
        if (const std::size_t hashes = find_unescaped(list, "####"); hashes != std::string_view::npos) {
            answers_part = list.substr(0, hashes);
            feedback = list.substr(hashes + 4);
        }
        const std::string_view kind = trimmed(answers_part);
        std::string upper;
        for (const char c : kind.substr(0, kind.find('#'))) upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        while (!upper.empty() && upper.back() == ' ') upper.pop_back();
        if (kind.empty()) {
            skip(line, "an essay question (an empty answer list) has no counterpart in a quiz");
            return std::nullopt;
        }
        if (kind.front() == '#') {
            skip(line, "a numerical question has no counterpart in a quiz");
            return std::nullopt;
        }
        if (upper == "T" || upper == "F" || upper == "TRUE" || upper == "FALSE") {
            skip(line, "a true/false question has no counterpart in a quiz (a statement has no answer to type or choose)");
            return std::nullopt;
        }

        std::vector<Answer> answers;
        std::size_t i = 0;
        while (i < kind.size() && kind[i] != '=' && kind[i] != '~') ++i;
        if (!trimmed(kind.substr(0, i)).empty()) {
            skip(line, "an answer list whose answers are not marked by = or ~");
            return std::nullopt;
        }
        while (i < kind.size()) {
            Answer answer;
            answer.mark = kind[i++];
            std::size_t end = i;
            while (end < kind.size() && kind[end] != '=' && kind[end] != '~') end += kind[end] == '\\' ? 2 : 1;
            end = std::min(end, kind.size());
            std::string_view item = kind.substr(i, end - i);
            i = end;
            const std::string_view lead = trimmed(item);
            if (lead.starts_with("%")) {
                const std::size_t percent = lead.find('%', 1);
                if (percent != std::string_view::npos) {
                    answer.weight = std::strtod(std::string(lead.substr(1, percent - 1)).c_str(), nullptr);
                    item = lead.substr(percent + 1);
                }
            }
            if (const std::size_t hash = find_unescaped(item, "#"); hash != std::string_view::npos) {
                answer.has_feedback = !trimmed(item.substr(hash + 1)).empty();
                item = item.substr(0, hash);
            }
            answer.text = std::string(item);
            answers.push_back(std::move(answer));
        }

        const auto is_right = [](const Answer& a) { return a.mark == '='; };
        const bool has_wrong = std::any_of(answers.begin(), answers.end(), [](const Answer& a) { return a.mark == '~'; });
        if (!has_wrong && std::any_of(answers.begin(), answers.end(),
                                      [](const Answer& a) { return a.text.find("->") != std::string::npos; })) {
            skip(line, "a matching question has no counterpart in a quiz");
            return std::nullopt;
        }
        // The right answer: the first marked "=", else one marked "~%100%".
        auto right = std::find_if(answers.begin(), answers.end(), is_right);
        if (right == answers.end())
            right = std::find_if(answers.begin(), answers.end(), [](const Answer& a) { return a.weight && *a.weight >= 100; });
        if (right == answers.end()) {
            const bool several = std::any_of(answers.begin(), answers.end(),
                                             [](const Answer& a) { return a.weight && *a.weight > 0; });
            skip(line, several ? "a question with several right answers (weighted ~%n%) has no counterpart in a quiz"
                               : "no right answer (no answer marked =)");
            return std::nullopt;
        }

        // A list of right answers alone is a short answer, whose "*" stands
        // for any text on the platform; the first answer that is more than
        // wildcards is kept.
        const bool short_answer = !has_wrong;
        std::vector<std::string> wildcard_only;
        if (short_answer) {
            for (const auto& answer : answers) {
                bool wildcards = false;
                if (answer.mark == '=' && StyledText(without_wildcards(answer.text, wildcards)).empty() && wildcards)
                    wildcard_only.push_back(quote_text(trimmed(answer.text)));
            }
            const auto typed = std::find_if(answers.begin(), answers.end(), [](const Answer& a) {
                bool wildcards = false;
                return a.mark == '=' && !StyledText(without_wildcards(a.text, wildcards)).empty();
            });
            if (typed != answers.end()) {
                right = typed;
            } else if (!wildcard_only.empty()) {
                skip(line, "every right answer is only \"*\", which accepts any text: a quiz has no such answer");
                return std::nullopt;
            }
        }

        TextLosses losses;
        BankQuestion q;
        std::string right_text = right->text;
        bool wildcards = false;
        if (short_answer) right_text = without_wildcards(right->text, wildcards);
        // The platform compares a short answer with what the student types,
        // as written: Moodle's own format, HTML elsewhere, is not applied.
        const TextFormat answer_format = short_answer && format == TextFormat::moodle ? TextFormat::plain : format;
        ReadText answer_text = gift_text(right_text, answer_format);
        q.media[1] = take_medium(answer_text, files_, false, !short_answer);
        q.answer = losses.keep(std::move(answer_text), "answer");
        if (wildcards) report_wildcards(bank_.report, line, trimmed(right->text), q.answer);
        if (!wildcard_only.empty())
            bank_.report.add(line, ReportLine::Kind::changed,
                             "a right answer that is only \"*\" accepts any text, which a quiz cannot: dropped (" +
                                 joined(wildcard_only) + ")");
        std::vector<std::string> other_rights, dropped_wrongs;
        std::vector<const Answer*> wrongs;
        for (const auto& answer : answers) {
            if (&answer == &*right) continue;
            bool ignored = false;
            if (answer.mark == '=' && short_answer && StyledText(without_wildcards(answer.text, ignored)).empty())
                continue;
            if (answer.mark == '=' || (answer.weight && *answer.weight >= 100))
                other_rights.push_back(quote_text(gift_text(answer.text, answer_format).text.plain()));
            else if (wrongs.size() < 2)
                wrongs.push_back(&answer);
            else
                dropped_wrongs.push_back(quote_text(gift_text(answer.text, format).text.plain()));
        }
        const char* wrong_names[] = {"first wrong answer", "second wrong answer"};
        StyledText* wrong_texts[] = {&q.first_wrong, &q.second_wrong};
        for (std::size_t w = 0; w < wrongs.size(); ++w) {
            ReadText wrong = gift_text(wrongs[w]->text, format);
            q.media[2 + w] = take_medium(wrong, files_, false, true);
            *wrong_texts[w] = losses.keep(std::move(wrong), wrong_names[w]);
        }
        ReadText comment = gift_text(feedback, format);
        q.media[4] = take_medium(comment, files_, false, true);
        q.comment = losses.keep(std::move(comment), "comment");

        std::string head_text(head);
        if (!trimmed(tail).empty()) {
            head_text = std::string(trimmed(head)) + " _____ " + std::string(trimmed(tail));
            bank_.report.add(line, ReportLine::Kind::changed,
                             "a missing-word question: the place of the answer is shown as _____");
        }
        ReadText asked = gift_text(head_text, format);
        q.media[0] = take_medium(asked, files_, true, true);
        q.question = losses.keep(std::move(asked), "question");

        report_dropped_answers(bank_.report, line, other_rights, dropped_wrongs);
        if (std::any_of(wrongs.begin(), wrongs.end(), [](const Answer* a) { return a->weight && *a->weight > 0; }))
            bank_.report.add(line, ReportLine::Kind::changed,
                             "a partly right answer (~%n%) is kept as a wrong answer");
        if (std::any_of(answers.begin(), answers.end(), [](const Answer& a) { return a.has_feedback; }))
            bank_.report.add(line, ReportLine::Kind::changed,
                             "the answers' own feedback is dropped (only the general feedback after #### becomes the comment)");
        losses.report(bank_.report, line, "a GIFT file holds no files, only the platform's addresses of them");
        return builder_.add(theme_, std::move(q), line);
    }

    ImportedBank& bank_;
    ThemeBuilder builder_;
    MediumFiles files_;
    std::string theme_;
    std::map<std::string, std::string> category_paths_;  // theme -> first category path
    std::set<std::string> noted_;
};

// A text in GIFT: the special characters escaped, line breaks as \n.
std::string gift_escaped(std::string_view utf8) {
    std::string out;
    for (const char c : utf8) {
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        if (gift_specials.find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

// A text in Moodle's own format, GIFT's default, which the platform reads as
// HTML: the characters HTML gives a meaning to written as entities, then
// GIFT's special characters escaped. An opening "[" would name a format
// and an opening "%" a mark, so they are entities too.
std::string gift_html(std::string_view utf8, bool answer) {
    std::string html;
    for (const char c : utf8) {
        switch (c) {
        case '&': html += "&amp;"; break;
        case '<': html += "&lt;"; break;
        case '>': html += "&gt;"; break;
        default: html += c;
        }
    }
    if (html.starts_with("[")) html.replace(0, 1, "&#91;");
    if (answer && html.starts_with("%")) html.replace(0, 1, "&#37;");
    return gift_escaped(html);
}

// Why GIFT cannot hold a short answer, or nothing: the platform compares it
// as written, so no entity can stand for what GIFT would read otherwise.
std::optional<std::string> unholdable_short_answer(std::string_view answer) {
    if (answer.find("->") != std::string_view::npos)
        return "GIFT reads \"->\" in a list of right answers as the pair of a matching question";
    if (answer.starts_with("%") && answer.find('%', 1) != std::string_view::npos)
        return "GIFT reads an answer that begins with \"%n%\" as a mark of n per cent";
    return std::nullopt;
}

}  // namespace

Result<ImportedBank, BankError> import_gift(std::string_view bytes, std::string_view default_theme,
                                            const BankFiles& beside) {
    using R = Result<ImportedBank, BankError>;
    ImportedBank bank;
    const DecodedFile file = decode_file(bytes);
    bank.report.reading = "encoding: " + file.encoding;
    GiftReader reader(default_theme, bank, beside);
    if (auto error = reader.read(file.utf8)) return R::failure(*error);
    bank.model = reader.builder().finish(default_theme);
    bank.media_bytes = reader.builder().take_media_bytes();
    return bank;
}

ExportedBank export_gift(const QuizModel& quiz) {
    ExportedBank bank;
    bank.report.reading = "encoding: UTF-8";
    std::string& out = bank.bytes;
    std::size_t line = 1;
    const auto put_line = [&](const std::string& text) {
        out += text;
        out += "\r\n";
        ++line;
    };
    put_line("// " + from_stored(quiz.quiz_name).plain() + ": themes and questions of the quiz, in GIFT");
    for (const Theme& theme : quiz.themes) {
        const std::string name = outgoing_name(theme.name);
        if (!report_category_losses(bank.report, theme, name, line, line + 1, "GIFT")) continue;
        put_line("");
        std::string path;
        for (const char c : name) path += c == '/' ? std::string("//") : std::string(1, c);
        put_line("$CATEGORY: " + path);
        std::size_t number = 0;
        for (const QuestionEntry& entry : theme.questions) {
            const std::size_t question_line = line + 1;
            BankReport question_report;
            const BankQuestion q = outgoing_question(quiz, entry, question_line, false, question_report);
            const bool choice = !q.first_wrong.empty() || !q.second_wrong.empty();
            const std::string answer = q.answer.plain();
            if (const auto why = choice ? std::nullopt : unholdable_short_answer(answer)) {
                bank.report.add(line, ReportLine::Kind::skipped,
                                "question " + quote_text(q.question.plain()) + ": its answer " + quote_text(answer) +
                                    " cannot be written in GIFT (" + *why + "); CSV and Moodle XML hold it");
                continue;
            }
            bank.report.lines.insert(bank.report.lines.end(), question_report.lines.begin(), question_report.lines.end());
            put_line("");
            put_line("::" + gift_escaped(name + " " + std::to_string(++number)) + ":: " +
                     gift_html(q.question.plain(), false) + " {");
            // A short answer is compared as written, where "*" stands for any
            // text; the answers of a multiple choice are shown as HTML.
            put_line("\t=" + (choice ? gift_html(answer, true) : escaped_asterisks(gift_escaped(answer))));
            if (!q.first_wrong.empty()) put_line("\t~" + gift_html(q.first_wrong.plain(), true));
            if (!q.second_wrong.empty()) {
                if (q.first_wrong.empty())
                    bank.report.add(question_line, ReportLine::Kind::changed,
                                    "a second wrong answer without a first is written as the only wrong answer");
                put_line("\t~" + gift_html(q.second_wrong.plain(), true));
            }
            if (!q.comment.empty()) put_line("\t####" + gift_html(q.comment.plain(), false));
            put_line("}");
        }
    }
    return bank;
}

}  // namespace kz::bank
