#include "about_box.h"

#include "terminal_text.h"

namespace kz::term {

namespace {

// The box's creator line: the template's two "%s" take the creating
// program's name and version as they are (a '%' in them is no format).
std::string creator_line(const QuizModel& model) {
    std::string line = cp(u8"Ce questionnaire a été créé avec %s version %s");
    const std::string values[] = {model.product_name, model.product_version};
    std::size_t from = 0;
    for (const std::string& value : values) {
        const std::size_t at = line.find("%s", from);
        if (at == std::string::npos) break;
        line.replace(at, 2, value);
        from = at + value.size();
    }
    return line;
}

}  // namespace

std::string maker_page() { return "http://www.savanto-quiz.fr/redirprog.php?url=kz_index&prog=Quiz"; }

void show_about_box(Console& console, const QuizModel& model) {
    console.line();
    console.line(cp(u8"[À propos du questionnaire]"));
    console.line(model.quiz_name);
    console.line(model.author);
    console.line(model.comment);
    console.line(cp(u8"Questionnaire réalisé avec Savanto"));
    console.line(creator_line(model));
    console.line(cp(u8"Visitez notre site Web pour plus d'informations :"));
    console.line(cp(u8"http://www.savanto-quiz.fr (:site pour l'ouvrir)"));
}

}  // namespace kz::term
