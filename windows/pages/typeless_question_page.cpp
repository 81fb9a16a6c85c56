#include "pages/typeless_question_page.h"

#include "display/rich_text_display.h"
#include "host/page_host.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

class TypelessQuestionPage final : public HostedPage {
public:
    explicit TypelessQuestionPage(Shell& shell) : HostedPage(shell) {}

    void show_prompt(std::string_view rich_text) override { show_text(IDC_PROMPT, rich_text); }

    void show_item(Place place, const ShownItem& item) override {
        if (place == Place::question && item.kind == ShownItem::Kind::text) show_text(IDC_QUESTION, item.text);
    }

private:
    void show_text(int id, std::string_view rich_text) {
        if (!window() || !GetDlgItem(window(), id)) return;
        show_rich_text(window(), id, rich_text);
        set_rich_background(GetDlgItem(window(), id), shell_.colours.page);
    }
};

INT_PTR CALLBACK typeless_question_page_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) HostedPage::attach(window, lparam);
    const auto page = HostedPage::of<TypelessQuestionPage>(window);
    if (!page) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return FALSE;
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

std::shared_ptr<HostedPage> show_typeless_question_page(Shell& shell, int template_id) {
    auto hosted = std::make_shared<TypelessQuestionPage>(shell);
    host_page(hosted, template_id, typeless_question_page_proc, shell);
    return hosted;
}

}  // namespace kz::win
