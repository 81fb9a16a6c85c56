#pragma once
// The welcome page: the quiz's welcome text, its placeholders filled in.
#include "terminal_page.h"

namespace kz::term {

class WelcomePage final : public TerminalPage {
public:
    using TerminalPage::TerminalPage;
    void show() override;
    std::string prompt_label() override;
    // Any line goes on, as "Suivant >" does.
    void take(const std::string& answer) override;
};

}  // namespace kz::term
