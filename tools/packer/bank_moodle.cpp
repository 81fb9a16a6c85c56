// Moodle XML: <quiz> holding <question type="..."> elements, categories among
// them. Read with the pugixml library where the build has it; written by hand,
// every text escaped.
#include <algorithm>
#include <cstdlib>
#include <map>

#include "bank_formats.h"

#ifdef KZ_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

namespace kz::bank {
namespace {

#ifdef KZ_HAVE_PUGIXML

// A text in the format Moodle gives it.
StyledText formatted_text(std::string_view text, std::string_view format, int& pictures) {
    if (format == "plain_text") {
        StyledText plain(text);
        plain.trim();
        return plain;
    }
    if (format == "markdown") return markdown_to_styled(text);
    if (format == "html") return html_to_styled(text, pictures);
    // moodle_auto_format: HTML where line ends are line breaks.
    std::string html;
    for (const char c : text) {
        if (c == '\n')
            html += "<br>";
        else if (c != '\r')
            html += c;
    }
    return html_to_styled(html, pictures);
}

// The line of a byte offset, from the offsets of the line ends.
class LineIndex {
public:
    explicit LineIndex(std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n') ends_.push_back(i);
    }
    std::size_t line_of(std::ptrdiff_t offset) const {
        if (offset < 0) return 0;
        return static_cast<std::size_t>(std::lower_bound(ends_.begin(), ends_.end(), static_cast<std::size_t>(offset)) -
                                        ends_.begin()) + 1;
    }

private:
    std::vector<std::size_t> ends_;
};

// All the character data of an element's <text> child (plain and CDATA parts).
std::string text_of(const pugi::xml_node& holder) {
    std::string text;
    for (const pugi::xml_node part : holder.child("text").children())
        if (part.type() == pugi::node_pcdata || part.type() == pugi::node_cdata) text += part.value();
    return text;
}

StyledText text_in(const pugi::xml_node& holder, int& pictures) {
    if (!holder) return {};
    const char* format = holder.attribute("format").as_string("moodle_auto_format");
    return formatted_text(text_of(holder), format, pictures);
}

struct MoodleAnswer {
    double fraction = 0;
    StyledText text;
    bool has_feedback = false;
};

std::string percent(double fraction) {
    char text[32];
    std::snprintf(text, sizeof text, "%g%%", fraction);
    return text;
}

#endif

// Characters that XML reserves, escaped; a text with markup goes in CDATA.
std::string xml_text(const std::string& text) {
    if (text.find_first_of("<&") != std::string::npos && text.find("]]>") == std::string::npos)
        return "<![CDATA[" + text + "]]>";
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace

Result<ImportedBank, BankError> import_moodle_xml(std::string_view bytes, std::string_view default_theme) {
    using R = Result<ImportedBank, BankError>;
#ifndef KZ_HAVE_PUGIXML
    (void)bytes, (void)default_theme;
    return R::failure({0, "this packer was built without an XML library and cannot read Moodle XML; use the "
                          "packer of the Linux build, or export the bank from the learning platform as GIFT"});
#else
    ImportedBank bank;
    const DecodedFile file = decode_file(bytes);
    bank.report.reading = "encoding: " + file.encoding;
    const LineIndex lines(file.utf8);
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(file.utf8.data(), file.utf8.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) return R::failure({lines.line_of(parsed.offset), std::string("not well-formed XML: ") + parsed.description()});
    const pugi::xml_node quiz = document.child("quiz");
    if (!quiz) return R::failure({1, "no <quiz> element: this is not a Moodle XML question bank"});

    ThemeBuilder builder{std::string(default_theme), bank.report};
    std::string theme;
    for (const pugi::xml_node question : quiz.children("question")) {
        const std::size_t line = lines.line_of(question.offset_debug());
        const std::string type = question.attribute("type").as_string();
        const auto skip = [&](const std::string& why) { bank.report.add(line, ReportLine::Kind::skipped, why); };
        if (type == "category") {
            theme = category_theme(text_of(question.child("category")));
            continue;
        }
        if (type == "description") {
            skip("a description (a text without answers) has no counterpart in a quiz");
            continue;
        }
        if (type != "shortanswer" && type != "multichoice") {
            static const std::map<std::string, std::string> names = {
                {"truefalse", "a true/false question"}, {"matching", "a matching question"},
                {"numerical", "a numerical question"},  {"essay", "an essay question"},
                {"cloze", "an embedded-answers (cloze) question"}, {"calculated", "a calculated question"},
                {"random", "a random question"}};
            const auto name = names.find(type);
            skip((name != names.end() ? name->second : "a question of type \"" + type + "\"") +
                 " has no counterpart in a quiz");
            continue;
        }
        std::string single = question.child_value("single");
        single.erase(std::remove_if(single.begin(), single.end(), [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }),
                     single.end());
        if (type == "multichoice" && (single == "false" || single == "0")) {
            skip("a multiple-choice question with several right answers has no counterpart in a quiz");
            continue;
        }

        int pictures = 0;
        std::vector<MoodleAnswer> answers;
        for (const pugi::xml_node node : question.children("answer")) {
            MoodleAnswer answer;
            answer.fraction = std::strtod(node.attribute("fraction").as_string("0"), nullptr);
            answer.text = text_in(node, pictures);
            answer.has_feedback = !text_in(node.child("feedback"), pictures).empty();
            answers.push_back(std::move(answer));
        }
        const auto best = std::max_element(answers.begin(), answers.end(), [](const MoodleAnswer& a, const MoodleAnswer& b) {
            return a.fraction < b.fraction;
        });
        if (best == answers.end() || best->fraction <= 0) {
            skip("no right answer (no answer is worth any mark)");
            continue;
        }

        BankQuestion q;
        q.question = text_in(question.child("questiontext"), pictures);
        q.comment = text_in(question.child("generalfeedback"), pictures);
        q.answer = best->text;
        if (best->fraction < 100)
            bank.report.add(line, ReportLine::Kind::changed,
                            "no answer is worth full marks: the best one (" + percent(best->fraction) + ") is the right answer");
        std::vector<std::string> other_rights, dropped_wrongs, partly_right;
        std::vector<const MoodleAnswer*> wrongs;
        for (const auto& answer : answers) {
            if (&answer == &*best) continue;
            if (type == "shortanswer") {
                if (answer.fraction > 0) other_rights.push_back(quote_text(answer.text.plain()));
                continue;
            }
            if (answer.fraction > 0) partly_right.push_back(quote_text(answer.text.plain()) + " (" + percent(answer.fraction) + ")");
            if (wrongs.size() < 2)
                wrongs.push_back(&answer);
            else
                dropped_wrongs.push_back(quote_text(answer.text.plain()));
        }
        if (!wrongs.empty()) q.first_wrong = wrongs[0]->text;
        if (wrongs.size() > 1) q.second_wrong = wrongs[1]->text;
        report_dropped_answers(bank.report, line, other_rights, {});
        if (!partly_right.empty())
            bank.report.add(line, ReportLine::Kind::changed,
                            "partly right answers are kept as wrong answers: " + joined(partly_right));
        report_dropped_answers(bank.report, line, {}, dropped_wrongs);
        if (std::any_of(answers.begin(), answers.end(), [](const MoodleAnswer& a) { return a.has_feedback; }))
            bank.report.add(line, ReportLine::Kind::changed,
                            "the answers' own feedback is dropped (only the general feedback becomes the comment)");
        if (pictures > 0) bank.report.add(line, ReportLine::Kind::changed, "pictures in the texts are dropped");
        if (auto error = builder.add(theme, std::move(q), line)) return R::failure(*error);
    }
    bank.model = builder.finish(default_theme);
    return bank;
#endif
}

ExportedBank export_moodle_xml(const QuizModel& quiz) {
    ExportedBank bank;
    bank.report.reading = "encoding: UTF-8; texts as basic HTML";
    std::string& out = bank.bytes;
    std::size_t line = 1;
    const auto put = [&](const std::string& text) {
        out += text;
        out += "\n";
        line += 1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    };
    const auto html_element = [&](const char* element, const std::string& html, const char* indent) {
        put(std::string(indent) + "<" + element + " format=\"html\">");
        put(std::string(indent) + "  <text>" + xml_text(html) + "</text>");
        put(std::string(indent) + "</" + element + ">");
    };
    put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    put("<quiz>");
    for (const Theme& theme : quiz.themes) {
        const std::string name = outgoing_name(theme.name);
        if (!report_category_losses(bank.report, theme, name, line, line, "Moodle XML")) continue;
        std::string path;
        for (const char c : name) path += c == '/' ? std::string("//") : std::string(1, c);
        put("  <question type=\"category\">");
        put("    <category>");
        put("      <text>" + xml_text("$course$/top/" + path) + "</text>");
        put("    </category>");
        put("  </question>");
        std::size_t number = 0;
        for (const QuestionEntry& entry : theme.questions) {
            const std::size_t question_line = line;
            const BankQuestion q = outgoing_question(quiz, entry, question_line, true, bank.report);
            const bool choice = !q.first_wrong.empty() || !q.second_wrong.empty();
            put(std::string("  <question type=\"") + (choice ? "multichoice" : "shortanswer") + "\">");
            put("    <name>");
            put("      <text>" + xml_text(name + " " + std::to_string(++number)) + "</text>");
            put("    </name>");
            html_element("questiontext", styled_to_html(q.question), "    ");
            html_element("generalfeedback", styled_to_html(q.comment), "    ");
            put("    <defaultgrade>1</defaultgrade>");
            if (choice) {
                put("    <single>true</single>");
                put("    <shuffleanswers>true</shuffleanswers>");
                put("    <answernumbering>abc</answernumbering>");
                for (const auto& [text, fraction] : {std::pair{&q.answer, "100"}, std::pair{&q.first_wrong, "0"},
                                                     std::pair{&q.second_wrong, "0"}}) {
                    if (text->empty()) continue;
                    put(std::string("    <answer fraction=\"") + fraction + "\" format=\"html\">");
                    put("      <text>" + xml_text(styled_to_html(*text)) + "</text>");
                    put("    </answer>");
                }
            } else {
                // A short answer is compared with what the student types:
                // plain text.
                put("    <usecase>0</usecase>");
                put("    <answer fraction=\"100\" format=\"plain_text\">");
                put("      <text>" + xml_text(q.answer.plain()) + "</text>");
                put("    </answer>");
            }
            put("  </question>");
        }
    }
    put("</quiz>");
    return bank;
}

}  // namespace kz::bank
