#include "pages/welcome_page.h"

#include <string>

#include "display/rich_text_display.h"
#include "host/page_host.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

class WelcomePage final : public HostedPage {
public:
    WelcomePage(PageShell shell, std::string_view rich_text) : HostedPage(shell), text_(rich_text) {}

    BOOL on_init_dialog() override {
        show_rich_text(window(), IDC_WELCOME_TEXT, text_);
        set_rich_background(GetDlgItem(window(), IDC_WELCOME_TEXT), shell_.colours.page);
        return FALSE;
    }

private:
    std::string text_;
};

}  // namespace

std::shared_ptr<HostedPage> show_welcome_page(Shell& shell, std::string_view rich_text) {
    return make_page<WelcomePage>(shell, IDD_WELCOME, rich_text);
}

}  // namespace kz::win
