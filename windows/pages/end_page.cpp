#include "pages/end_page.h"

#include "display/rich_text_display.h"
#include "engine/exam_engine.h"
#include "host/page_host.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

class EndPageWindow final : public HostedPage {
public:
    EndPageWindow(PageShell shell, const EndPage& content) : HostedPage(shell), content_(content) {}

    BOOL on_init_dialog() override {
        ShowWindow(GetDlgItem(window(), IDC_END_DETAILS), content_.details_button ? SW_SHOW : SW_HIDE);
        ShowWindow(GetDlgItem(window(), IDC_END_HOME), content_.home_button ? SW_SHOW : SW_HIDE);
        ShowWindow(GetDlgItem(window(), IDC_END_RESTART), content_.restart_button ? SW_SHOW : SW_HIDE);
        show_rich_text(window(), IDC_END_TEXT, content_.text);
        set_rich_background(GetDlgItem(window(), IDC_END_TEXT), shell_.colours.page);
        return FALSE;
    }

    void on_command(int id, int notification) override {
        if (notification != BN_CLICKED) return;
        ExamEngine& engine = shell_.engine;
        switch (id) {
        case IDC_END_DETAILS:
            engine.show_results_details();
            break;
        case IDC_END_HOME:
            engine.go_home();
            break;
        case IDC_END_RESTART:
            engine.restart();
            break;
        default:
            break;
        }
    }

    // The first of the ways on that the page offers.
    HWND focus_control(Focus target) override {
        if (target != Focus::details_button) return nullptr;
        for (const int id : {IDC_END_DETAILS, IDC_END_HOME, IDC_END_RESTART}) {
            HWND button = GetDlgItem(window(), id);
            if (button && IsWindowVisible(button)) return button;
        }
        return nullptr;
    }

private:
    EndPage content_;
};

}  // namespace

std::shared_ptr<HostedPage> show_end_page(Shell& shell, const EndPage& content) {
    return make_page<EndPageWindow>(shell, IDD_END_PAGE, content);
}

}  // namespace kz::win
