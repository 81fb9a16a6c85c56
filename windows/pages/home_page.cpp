#include "pages/home_page.h"

#include <commctrl.h>

#include "host/page_host.h"
#include "res/string_table.h"
#include "resources/resource.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

constexpr int name_label_height = 16;

// The controls that "&Plus d'options" shows and "&Moins d'options" hides.
constexpr int option_controls[] = {
    IDC_HOME_THEMES,        IDC_HOME_THEMES_LABEL, IDC_HOME_TYPE_LABEL,   IDC_HOME_TYPE,
    IDC_HOME_TIME_LIMIT_ON, IDC_HOME_TIME_LIMIT,   IDC_HOME_COUNT_LABEL,  IDC_HOME_COUNT,
    IDC_HOME_ORDER_LABEL,   IDC_HOME_RANDOM_ORDER, IDC_HOME_FIXED_ORDER,  IDC_HOME_INVERT,
    IDC_HOME_TRAINING,
};

// The fields the student types or chooses in keep the system's colours.
constexpr int input_controls[] = {IDC_HOME_NAME, IDC_HOME_TIME_LIMIT, IDC_HOME_COUNT, IDC_HOME_TYPE};

struct DestroyMenuHandle {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using OwnedMenu = Owned<HMENU, DestroyMenuHandle>;

enum class ThemeChange { tick_all, untick_all, invert };

bool is_checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

class HomePage final : public HostedPage, public HomeChoicesReader {
public:
    HomePage(PageShell shell, const HomeForm& form) : HostedPage(shell), form_(form) {}

    BOOL on_init_dialog() override {
        HWND page = window();
        set_font(IDC_HOME_NAME_LABEL, name_label_height, true, false);

        for (const std::string& text : form_.exam_type_texts)
            SendDlgItemMessageW(page, IDC_HOME_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));

        enable(IDC_HOME_THEMES, form_.may_choose_themes);
        enable(IDC_HOME_COUNT, form_.may_change_question_count);
        enable(IDC_HOME_COUNT_LABEL, form_.may_change_question_count);
        enable(IDC_HOME_ORDER_LABEL, form_.may_choose_order);
        enable(IDC_HOME_RANDOM_ORDER, form_.may_choose_order);
        enable(IDC_HOME_FIXED_ORDER, form_.may_choose_order);
        enable(IDC_HOME_INVERT, form_.may_invert_direction);
        enable(IDC_HOME_TIME_LIMIT, form_.may_change_time_limit);
        enable(IDC_HOME_TIME_LIMIT_ON, form_.may_change_time_limit);
        enable(IDC_HOME_TYPE, form_.may_choose_exam_type);
        enable(IDC_HOME_TYPE_LABEL, form_.may_choose_exam_type);
        enable(IDC_HOME_TRAINING, form_.may_choose_training_mode);
        // Without the button the options stay hidden: only the name can change.
        ShowWindow(GetDlgItem(page, IDC_HOME_MORE_OPTIONS), form_.show_more_options ? SW_SHOW : SW_HIDE);

        SendDlgItemMessageW(page, IDC_HOME_TYPE, CB_SETCURSEL, static_cast<WPARAM>(form_.selected_type_entry), 0);
        set_item_text(page, IDC_HOME_NAME, form_.student_name);
        CheckRadioButton(page, IDC_HOME_RANDOM_ORDER, IDC_HOME_FIXED_ORDER,
                         form_.random_order ? IDC_HOME_RANDOM_ORDER : IDC_HOME_FIXED_ORDER);
        CheckDlgButton(page, IDC_HOME_INVERT, form_.reverse_direction ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(page, IDC_HOME_TIME_LIMIT_ON, form_.time_limit_on ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(page, IDC_HOME_TRAINING, form_.training_mode ? BST_CHECKED : BST_UNCHECKED);
        set_item_text(page, IDC_HOME_COUNT, form_.question_count_text);
        set_item_text(page, IDC_HOME_TIME_LIMIT, form_.time_limit_text);
        fill_theme_list();

        // Until now the page set its own fields: the Next rules follow what
        // the student changes from here on.
        ready_ = true;
        return FALSE;
    }

    void on_command(int id, int notification) override {
        if (!ready_) return;
        switch (id) {
        case IDC_HOME_NAME:
            if (notification == EN_CHANGE) allow_next(next_allowed_by_name(item_text(window(), IDC_HOME_NAME)));
            break;
        case IDC_HOME_COUNT:
            if (notification == EN_CHANGE)
                allow_next(next_allowed_by_count(item_text(window(), IDC_HOME_COUNT)));
            break;
        case IDC_HOME_MORE_OPTIONS:
            if (notification == BN_CLICKED) show_options(!expanded_);
            break;
        case IDM_SELECT_ALL:
            change_themes(ThemeChange::tick_all);
            break;
        case IDM_SELECT_NONE:
            change_themes(ThemeChange::untick_all);
            break;
        case IDM_INVERT:
            change_themes(ThemeChange::invert);
            break;
        default:
            break;
        }
    }

    bool on_notify(const NMHDR& header, LRESULT& /*result*/) override {
        if (!ready_ || header.idFrom != IDC_HOME_THEMES || header.code != LVN_ITEMCHANGED) return false;
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        // Only a tick put on or taken off counts, not a selection moving.
        if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK))
            allow_next(next_allowed_by_themes(ticked_theme_count()));
        return true;
    }

    // The theme list's menu, at the mouse or, from the keyboard, at the
    // selected theme. False for another control's menu.
    bool on_context_menu(HWND control, POINT at) override {
        HWND list = GetDlgItem(window(), IDC_HOME_THEMES);
        if (control != list || !IsWindowEnabled(list)) return false;
        if (at.x == -1 && at.y == -1) {
            RECT item = {};
            const int selected = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
            if (selected < 0 || !ListView_GetItemRect(list, selected, &item, LVIR_LABEL)) GetClientRect(list, &item);
            at = {item.left, item.bottom};
            ClientToScreen(list, &at);
        }
        const OwnedMenu menu(LoadMenuW(shell_.instance, MAKEINTRESOURCEW(IDM_THEMES)));
        if (menu)
            TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, 0,
                           window(), nullptr);
        return true;
    }

    INT_PTR on_ctl_color(HDC dc, HWND control) const override {
        const int id = GetDlgCtrlID(control);
        for (const int input : input_controls)
            if (id == input) return FALSE;
        return page_control_colours(shell_, dc);
    }

    HomeChoices home_choices() override {
        HWND page = window();
        HomeChoices choices;
        if (!page) return choices;
        choices.type_entry = static_cast<int>(SendDlgItemMessageW(page, IDC_HOME_TYPE, CB_GETCURSEL, 0, 0));
        choices.question_count_text = item_text(page, IDC_HOME_COUNT);
        choices.student_name = item_text(page, IDC_HOME_NAME);
        choices.time_limit_text = item_text(page, IDC_HOME_TIME_LIMIT);
        choices.time_limit_on = is_checked(page, IDC_HOME_TIME_LIMIT_ON);
        choices.random_order = is_checked(page, IDC_HOME_RANDOM_ORDER);
        choices.reverse_direction = is_checked(page, IDC_HOME_INVERT);
        choices.training_mode = is_checked(page, IDC_HOME_TRAINING);
        HWND list = GetDlgItem(page, IDC_HOME_THEMES);
        const int count = ListView_GetItemCount(list);
        for (int i = 0; i < count; ++i) choices.ticked_themes.push_back(ListView_GetCheckState(list, i) != 0);
        return choices;
    }

    HWND focus_control(Focus target) override {
        return target == Focus::name_field ? GetDlgItem(window(), IDC_HOME_NAME) : nullptr;
    }

private:
    void enable(int id, bool enabled) { EnableWindow(GetDlgItem(window(), id), enabled ? TRUE : FALSE); }

    void allow_next(bool allowed) { shell_.next.allow(allowed); }

    void fill_theme_list() {
        HWND list = GetDlgItem(window(), IDC_HOME_THEMES);
        ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES);
        LVCOLUMNW column = {};
        column.mask = LVCF_WIDTH;
        ListView_InsertColumn(list, 0, &column);
        for (std::size_t i = 0; i < form_.theme_names.size(); ++i) {
            std::wstring name = widen(form_.theme_names[i]);
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(i);
            item.pszText = name.data();
            const int inserted = ListView_InsertItem(list, &item);
            if (inserted >= 0) ListView_SetCheckState(list, inserted, TRUE);
        }
        // The one column spans the list, and is wider only for a theme name
        // that needs it: no scroll bar across a list whose names all fit.
        ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE);
        RECT client = {};
        GetClientRect(list, &client);
        if (ListView_GetColumnWidth(list, 0) < client.right) ListView_SetColumnWidth(list, 0, client.right);
    }

    std::size_t ticked_theme_count() const {
        HWND list = GetDlgItem(window(), IDC_HOME_THEMES);
        const int count = ListView_GetItemCount(list);
        std::size_t ticked = 0;
        for (int i = 0; i < count; ++i)
            if (ListView_GetCheckState(list, i)) ++ticked;
        return ticked;
    }

    // Every item's tick changes; the list's own notifications then set Next.
    void change_themes(ThemeChange change) {
        HWND list = GetDlgItem(window(), IDC_HOME_THEMES);
        const int count = ListView_GetItemCount(list);
        for (int i = 0; i < count; ++i) {
            const bool ticked = change == ThemeChange::tick_all     ? true
                                : change == ThemeChange::untick_all ? false
                                                                    : !ListView_GetCheckState(list, i);
            ListView_SetCheckState(list, i, ticked ? TRUE : FALSE);
        }
    }

    void show_options(bool expanded) {
        expanded_ = expanded;
        set_item_text(window(), IDC_HOME_MORE_OPTIONS,
                      load_message(expanded ? str::fewer_options : str::more_options));
        for (const int id : option_controls) ShowWindow(GetDlgItem(window(), id), expanded ? SW_SHOW : SW_HIDE);
    }

    HomeForm form_;
    bool expanded_ = false;
    bool ready_ = false;
};

}  // namespace

std::shared_ptr<HostedPage> show_home_page(Shell& shell, const HomeForm& form) {
    return make_page<HomePage>(shell, IDD_HOME, form);
}

}  // namespace kz::win
