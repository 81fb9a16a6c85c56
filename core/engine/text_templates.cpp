#include "engine/text_templates.h"

#include <array>

namespace kz {

const std::string_view built_in_end_text =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fprq2 Arial;}{\\f1\\fswiss"
    "\\fprq2\\fcharset0 Arial;}{\\f2\\froman\\fprq2\\fcharset2 Symbol;}{\\f3\\fnil\\fcharset0 Times New "
    "Roman;}}{\\colortbl ;\\red0\\green128\\blue0;\\red128\\green0\\blue0;}\\viewkind4\\uc1\\pard\\qc\\b"
    "\\f0\\fs44 Fin de l'examen\\par\\pard\\b0\\fs18\\par\\f1 L'examen est maintenant termin\\'e9.\\f0\\par"
    "\\par\\pard\\fi-360\\li720\\f2\\'b7\\tab\\f0 Cliquez sur le bouton \\b Quitter\\b0  pour fermer "
    "l'examen.\\par\\f2\\'b7\\tab\\f0 Cliquez sur le bouton \\b Recommencer\\b0\\f1  pour relancer "
    "l'examen avec les m\\'eames questions.\\f0\\par\\f2\\'b7\\tab\\f0 Cliquez sur le bouton \\b Page "
    "d'accueil\\b0\\f1  pour relancer l'examen avec des options et questions diff\\'e9rentes.\\f0\\par"
    "\\pard\\qc\\f3\\fs20 _____________________________________________________\\par\\pard\\par\\f1 "
    "Voici vos r\\'e9sultats :\\f3\\par\\par\\pard\\fi-284\\li568\\f2\\fs18\\'b7\\tab\\f1 R\\'e9ponses "
    "justes : \\cf1\\b [JUSTES]\\cf0\\b0\\par\\f2\\'b7\\tab\\f1 R\\'e9ponses fausses : \\cf2\\b [FAUSSES]"
    "\\cf0\\b0\\par\\f2\\'b7\\tab\\b\\f1\\fs36 Score : [SCORE]\\b0\\fs18\\par\\par\\f3\\fs20\\par}";

namespace {

enum class Placeholder {
    quiz_name,
    exam_type,
    student_name,
    right,
    wrong,
    asked,
    time_limit,
    elapsed,
    quiz_name_format,
    score,
};

struct Mark {
    std::string_view text;
    Placeholder placeholder;
};

constexpr std::array<Mark, 10> marks = {{
    {"[NOMQUIZ]", Placeholder::quiz_name},
    {"[TYPEQUIZ]", Placeholder::exam_type},
    {"[NOMELEVE]", Placeholder::student_name},
    {"[JUSTES]", Placeholder::right},
    {"[FAUSSES]", Placeholder::wrong},
    {"[NOMBREQUESTIONS]", Placeholder::asked},
    {"[TEMPSLIMITE]", Placeholder::time_limit},
    {"[TEMPSPASSE]", Placeholder::elapsed},
    {"%s", Placeholder::quiz_name_format},
    {"[SCORE]", Placeholder::score},
}};

std::string value_of(Placeholder placeholder, const TemplateValues& values) {
    switch (placeholder) {
    case Placeholder::quiz_name:
    case Placeholder::quiz_name_format: return values.quiz_name;
    case Placeholder::exam_type: return template_type_name(values.exam_type);
    case Placeholder::student_name: return values.student_name;
    case Placeholder::right: return std::to_string(values.right);
    case Placeholder::wrong: return std::to_string(values.wrong);
    case Placeholder::asked: return std::to_string(values.asked);
    case Placeholder::time_limit: return std::to_string(values.time_limit);
    case Placeholder::elapsed: return elapsed_text(values.elapsed_seconds);
    case Placeholder::score: return values.score_text;
    }
    return {};
}

// A value put into a rich text shows as typed: the characters that the rich
// text reads as markup are escaped, and a line break becomes a blank.
std::string escaped_for_rich_text(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (c == '\r' || c == '\n') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string template_type_name(ExamType type) {
    switch (type) {
    case ExamType::open_answer: return "Savanto";
    case ExamType::multiple_choice: return "QCM";
    case ExamType::true_false: return "Vrai/Faux";
    case ExamType::pot_pourri: return "Pot Pourri";
    case ExamType::hangman: return "Jeu du Pendu";
    case ExamType::scrambled_letters: return "Lettres M\xE9lang\xE9""es";
    }
    return {};
}

std::string elapsed_text(std::int32_t seconds) {
    const std::int32_t e = seconds > 0 ? seconds : 1;
    std::string out;
    if (e / 3600) out += std::to_string(e / 3600) + " h ";
    if (e % 3600 / 60) out += std::to_string(e % 3600 / 60) + " min ";
    if (e % 60) out += std::to_string(e % 60) + " s";
    return out.empty() ? "1 s" : out;
}

std::string expand_template(std::string_view text, const TemplateValues& values) {
    const bool rich = text.starts_with("{\\rtf");
    std::string out;
    out.reserve(text.size() + 64);
    std::size_t i = 0;
    while (i < text.size()) {
        const Mark* found = nullptr;
        if (text[i] == '[' || text[i] == '%') {
            for (const Mark& mark : marks) {
                if (text.compare(i, mark.text.size(), mark.text) == 0) {
                    found = &mark;
                    break;
                }
            }
        }
        if (!found) {
            out += text[i++];
            continue;
        }
        const std::string value = value_of(found->placeholder, values);
        out += rich ? escaped_for_rich_text(value) : value;
        i += found->text.size();
    }
    return out;
}

std::string format_creator_line(std::string_view format, std::string_view name, std::string_view version) {
    const std::string_view values[] = {name, version};
    std::size_t next = 0;
    std::string line;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == '%')) {
            if (format[i + 1] == '%')
                line += '%';
            else if (next < std::size(values))
                line += values[next++];
            ++i;
            continue;
        }
        line += format[i];
    }
    return line;
}

}  // namespace kz
