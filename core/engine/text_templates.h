#pragma once
// The texts of the welcome, help and end pages: the author's rich texts (or
// the built-in ones) with placeholders replaced by the quiz's and the
// student's values.
#include <cstdint>
#include <string>
#include <string_view>

#include "exam/exam_settings.h"

namespace kz {

// The end page's text when the author wrote none.
extern const std::string_view built_in_end_text;

struct TemplateValues {
    std::string quiz_name;
    ExamType exam_type = ExamType::open_answer;
    std::string student_name;
    std::uint32_t right = 0;
    std::uint32_t wrong = 0;
    std::uint32_t asked = 0;
    std::int32_t time_limit = 0;  // 0 without a time limit
    std::int32_t elapsed_seconds = 0;
    std::string score_text;
};

// "[NOMQUIZ]", "[TYPEQUIZ]", "[NOMELEVE]", "[JUSTES]", "[FAUSSES]",
// "[NOMBREQUESTIONS]", "[TEMPSLIMITE]", "[TEMPSPASSE]", "%s" (the quiz name)
// and "[SCORE]" become their values, every occurrence. A value is inserted as
// it is and never searched again: a student named "[SCORE]" keeps that name.
// In a rich text the values are escaped so that they show as typed. The text
// is never cut.
std::string expand_template(std::string_view text, const TemplateValues& values);

// The exam type as "[TYPEQUIZ]" names it: "Savanto", "QCM", "Vrai/Faux" ...
std::string template_type_name(ExamType type);

// Elapsed seconds as "1 h 2 min 5 s", parts of 0 left out; below one
// second, "1 s".
std::string elapsed_text(std::int32_t seconds);

// The About box's creator line: the format's two "%s" replaced by the
// creating program's name and version, taken as they are (a "%" in them is
// no format), "%%" written as "%".
std::string format_creator_line(std::string_view format, std::string_view name, std::string_view version);

// The maker's web page that the About box's link opens, through the maker's
// redirection script.
inline constexpr std::string_view maker_page = "http://www.savanto-quiz.fr/redirprog.php?url=kz_index&prog=Quiz";

}  // namespace kz
