#include "pages/welcome_page.h"

#include <string>

#include "display/rich_text_display.h"
#include "host/page_host.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

class WelcomePage final : public HostedPage {
public:
    WelcomePage(Shell& shell, std::string_view rich_text) : HostedPage(shell), text_(rich_text) {}

    BOOL on_init_dialog() {
        show_rich_text(window(), IDC_WELCOME_TEXT, text_);
        set_rich_background(GetDlgItem(window(), IDC_WELCOME_TEXT), shell_.colours.page);
        return FALSE;
    }

private:
    std::string text_;
};

INT_PTR CALLBACK welcome_page_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) HostedPage::attach(window, lparam);
    const auto page = HostedPage::of<WelcomePage>(window);
    if (!page) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return page->on_init_dialog();
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return page->on_ctl_color(reinterpret_cast<HDC>(wparam));
    case WM_CTLCOLORDLG:
        return page->page_brush();
    case WM_NCDESTROY:
        HostedPage::detach(window);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

std::shared_ptr<HostedPage> show_welcome_page(Shell& shell, std::string_view rich_text) {
    auto page = std::make_shared<WelcomePage>(shell, rich_text);
    host_page(page, IDD_WELCOME, welcome_page_proc, shell);
    return page;
}

}  // namespace kz::win
