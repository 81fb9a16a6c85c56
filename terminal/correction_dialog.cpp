#include "correction_dialog.h"

#include "res/string_table.h"
#include "terminal_text.h"

namespace kz::term {

void show_correction_dialog(Console& console, MediaMenu& menu, const CorrectionRequest& request,
                            std::string_view comment) {
    console.line();
    std::string heading = "[";
    heading += load_caption(str::exam_caption);
    heading += "] ";
    heading += cp(u8"Réponse fausse !");
    console.line(heading);
    console.line(request.message);
    for (const std::string& answer : request.answers) {
        const ShownText shown = menu.line_for(answer);
        if (!shown.empty()) console.line(ShownText("  ") + indented(shown, "  "));
    }
    const ShownText shown_comment = menu.line_for(comment);
    if (!shown_comment.empty()) {
        console.line(cp(u8"Commentaires :"));
        console.line(ShownText("  ") + indented(shown_comment, "  "));
    }
}

}  // namespace kz::term
