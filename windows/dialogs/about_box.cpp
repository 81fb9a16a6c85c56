#include "dialogs/about_box.h"

#include <shellapi.h>

#include <string>
#include <string_view>

#include "engine/text_templates.h"
#include "host/page_host.h"
#include "resources/resource.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

constexpr std::size_t creator_template_limit = 519;
constexpr COLORREF navy = RGB(0, 0, 128);
constexpr COLORREF link_blue = RGB(0, 0, 255);

constexpr int heading_height = 16;

// The page-object slots of the box's fonts.
constexpr int notice_font_slot = 1;
constexpr int name_font_slot = 2;
constexpr int link_font_slot = 3;

struct AboutBox {
    const QuizModel& quiz;
    PageObjects& page_objects;
};

BOOL on_init_dialog(HWND window, AboutBox& box) {
    std::string creator_template = item_text(window, IDC_ABOUT_CREATOR);
    if (creator_template.size() > creator_template_limit) creator_template.resize(creator_template_limit);
    set_item_text(window, IDC_ABOUT_CREATOR,
                  format_creator_line(creator_template, box.quiz.product_name, box.quiz.product_version));
    set_item_text(window, IDC_ABOUT_AUTHOR, box.quiz.author);
    set_item_text(window, IDC_ABOUT_COMMENT, box.quiz.comment);
    set_item_text(window, IDC_ABOUT_NAME, box.quiz.quiz_name);

    box.page_objects.store(notice_font_slot, make_font(window, IDC_ABOUT_NOTICE, heading_height, true, false));
    box.page_objects.store(name_font_slot, make_font(window, IDC_ABOUT_NAME, heading_height, true, false));
    box.page_objects.store(link_font_slot, make_font(window, IDC_ABOUT_LINK, heading_height, false, true));
    return TRUE;
}

void on_command(HWND window, int id, int notification) {
    if (id == IDC_ABOUT_LINK) {
        // One page per click, even for a double click.
        if (notification == STN_CLICKED)
            ShellExecuteW(window, L"open", widen(maker_page).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    EndDialog(window, 0);
}

// The quiz's name in navy and the link in blue, on the dialog's own face.
INT_PTR on_ctl_color_static(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id != IDC_ABOUT_NAME && id != IDC_ABOUT_LINK) return FALSE;
    SetTextColor(dc, id == IDC_ABOUT_NAME ? navy : link_blue);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

// The hand over the link, as over any web link.
BOOL on_set_cursor(HWND window, HWND under_cursor) {
    if (under_cursor != GetDlgItem(window, IDC_ABOUT_LINK)) return FALSE;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

INT_PTR CALLBACK about_box_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        return on_init_dialog(window, *reinterpret_cast<AboutBox*>(lparam));
    case WM_COMMAND:
        on_command(window, LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return on_ctl_color_static(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_SETCURSOR:
        return on_set_cursor(window, reinterpret_cast<HWND>(wparam));
    case WM_CLOSE:
        EndDialog(window, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void show_about_box(HWND owner, const QuizModel& quiz, PageObjects& page_objects) {
    AboutBox box{quiz, page_objects};
    const PageObjects::Hold fonts_in_use(page_objects);
    auto instance = owner ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)) : nullptr;
    if (!instance) instance = GetModuleHandleW(nullptr);
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, about_box_proc, reinterpret_cast<LPARAM>(&box));
}

}  // namespace kz::win
