#include "about_box.h"

#include "engine/text_templates.h"
#include "terminal_text.h"

namespace kz::term {

void show_about_box(Console& console, const QuizModel& model) {
    console.line();
    console.line(cp(u8"[À propos du questionnaire]"));
    console.line(model.quiz_name);
    console.line(model.author);
    console.line(model.comment);
    console.line(cp(u8"Questionnaire réalisé avec Savanto"));
    console.line(format_creator_line(cp(u8"Ce questionnaire a été créé avec %s version %s"), model.product_name,
                                    model.product_version));
    console.line(cp(u8"Visitez notre site Web pour plus d'informations :"));
    console.line(cp(u8"http://www.savanto-quiz.fr (:site pour l'ouvrir)"));
}

}  // namespace kz::term
