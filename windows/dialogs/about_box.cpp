#include "dialogs/about_box.h"

#include <shellapi.h>

#include <string>
#include <string_view>

#include "engine/text_templates.h"
#include "resources/resource.h"
#include "win32/dialog_window.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

constexpr std::size_t creator_template_limit = 519;
constexpr COLORREF navy = RGB(0, 0, 128);
constexpr COLORREF link_blue = RGB(0, 0, 255);

constexpr int heading_height = 16;

class AboutBox final : public DialogWindow {
public:
    explicit AboutBox(const QuizModel& quiz) : quiz_(quiz) {}

private:
    BOOL on_init_dialog() override {
        HWND box = window();
        std::string creator_template = item_text(box, IDC_ABOUT_CREATOR);
        if (creator_template.size() > creator_template_limit) creator_template.resize(creator_template_limit);
        set_item_text(box, IDC_ABOUT_CREATOR,
                      format_creator_line(creator_template, quiz_.product_name, quiz_.product_version));
        set_item_text(box, IDC_ABOUT_AUTHOR, quiz_.author);
        set_item_text(box, IDC_ABOUT_COMMENT, quiz_.comment);
        set_item_text(box, IDC_ABOUT_NAME, quiz_.quiz_name);

        set_font(IDC_ABOUT_NOTICE, heading_height, true, false);
        set_font(IDC_ABOUT_NAME, heading_height, true, false);
        set_font(IDC_ABOUT_LINK, heading_height, false, true);
        return TRUE;
    }

    void on_command(int id, int notification) override {
        if (id == IDC_ABOUT_LINK) {
            // One page per click, even for a double click.
            if (notification == STN_CLICKED)
                ShellExecuteW(window(), L"open", widen(maker_page).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            return;
        }
        EndDialog(window(), 0);
    }

    // The quiz's name in navy and the link in blue, on the dialog's own face.
    INT_PTR on_ctl_color(UINT message, HDC dc, HWND control) override {
        const int id = GetDlgCtrlID(control);
        if (message != WM_CTLCOLORSTATIC || (id != IDC_ABOUT_NAME && id != IDC_ABOUT_LINK)) return FALSE;
        SetTextColor(dc, id == IDC_ABOUT_NAME ? navy : link_blue);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }

    bool on_close() override {
        EndDialog(window(), 0);
        return true;
    }

    // The hand over the link, as over any web link.
    std::optional<INT_PTR> on_message(UINT message, WPARAM wparam, LPARAM /*lparam*/) override {
        if (message != WM_SETCURSOR) return std::nullopt;
        if (reinterpret_cast<HWND>(wparam) != GetDlgItem(window(), IDC_ABOUT_LINK)) return FALSE;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(window(), DWLP_MSGRESULT, TRUE);
        return TRUE;
    }

    const QuizModel& quiz_;
};

}  // namespace

void show_about_box(HWND owner, const QuizModel& quiz) {
    AboutBox box(quiz);
    const auto instance = owner ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)) : nullptr;
    box.run_modal(instance, IDD_ABOUT, owner);
}

}  // namespace kz::win
