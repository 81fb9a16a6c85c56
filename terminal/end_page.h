#pragma once
// The end page: the quiz's end text with the score, where the record went,
// and the ways on that the quiz offers: "Détails des résultats", "Page
// d'accueil", "Recommencer", and "Quitter".
#include <vector>

#include "terminal_page.h"

namespace kz::term {

class ExamEndPage final : public TerminalPage {
public:
    using TerminalPage::TerminalPage;
    void show() override;
    std::string prompt_label() override;
    void take(const std::string& answer) override;
    void press_next() override;

private:
    enum class Way { details, home, restart, quit };
    std::vector<Way> ways() const;
    static std::string text_of(Way way);
};

}  // namespace kz::term
