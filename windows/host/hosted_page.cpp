#include "host/hosted_page.h"

#include "host/page_host.h"

namespace kz::win {

void HostedPage::attach(HWND window, LPARAM parameter) {
    auto* page = reinterpret_cast<HostedPage*>(parameter);
    if (!page) return;
    page->window_ = window;
    SetWindowLongPtrW(window, DWLP_USER, parameter);
}

void HostedPage::detach(HWND window) {
    auto* page = reinterpret_cast<HostedPage*>(GetWindowLongPtrW(window, DWLP_USER));
    if (page) page->window_ = nullptr;
    SetWindowLongPtrW(window, DWLP_USER, 0);
}

void host_page(const std::shared_ptr<HostedPage>& page, int template_id, DLGPROC procedure, Shell& shell) {
    show_page(shell, template_id, procedure, reinterpret_cast<LPARAM>(page.get()));
}

INT_PTR HostedPage::on_ctl_color(HDC dc) const { return page_control_colours(shell_, dc); }

}  // namespace kz::win
