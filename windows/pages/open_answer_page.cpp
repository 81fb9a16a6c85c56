#include "pages/open_answer_page.h"

#include <richedit.h>

#include "display/images.h"
#include "display/rich_text_display.h"
#include "engine/exam_engine.h"
#include "host/page_host.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

constexpr int prompt_height = 20;
constexpr int question_height = 17;
constexpr int prompt_font_slot = 1;
constexpr int question_font_slot = 2;
constexpr int play_bitmap_slot = 3;
constexpr int stop_bitmap_slot = 4;
// The longest answer that is graded, in characters.
constexpr int answer_limit = 1023;

class OpenAnswerPage final : public HostedPage {
public:
    explicit OpenAnswerPage(Shell& shell) : HostedPage(shell) {}

    BOOL on_init_dialog() {
        HWND page = window();
        set_rich_background(GetDlgItem(page, IDC_PROMPT), shell_.colours.page);
        set_rich_background(GetDlgItem(page, IDC_QUESTION), shell_.colours.page);
        set_button_bitmap(IDC_OPEN_PLAY, IDB_PLAY, play_bitmap_slot);
        set_button_bitmap(IDC_OPEN_STOP, IDB_STOP, stop_bitmap_slot);
        shell_.page_objects.store(question_font_slot, make_font(page, IDC_QUESTION, question_height, false, false));
        shell_.page_objects.store(prompt_font_slot, make_font(page, IDC_PROMPT, prompt_height, true, false));

        HWND answer = GetDlgItem(page, IDC_OPEN_ANSWER);
        SendMessageW(answer, EM_EXLIMITTEXT, 0, answer_limit);
        // Enter in the answer box validates the answer, as "Suivant >" does.
        SendMessageW(answer, EM_SETEVENTMASK, 0, ENM_KEYEVENTS);
        // The student types in the runner's plain-text format.
        show_rich_text(page, IDC_OPEN_ANSWER, "");
        return FALSE;
    }

    void on_command(int id, int notification) {
        ExamEngine& engine = *shell_.engine;
        switch (id) {
        case IDC_OPEN_PLAY:
            if (notification == BN_CLICKED) engine.play_media(question_);
            break;
        case IDC_OPEN_STOP:
            if (notification == BN_CLICKED) engine.stop_media();
            break;
        case IDC_QUESTION_IMAGE:
            if (notification == STN_CLICKED) {
                const auto file = engine.image_file(question_);
                if (file) show_image_preview(*file, shell_.runner.instance);
            }
            break;
        default:
            break;
        }
    }

    // Keys of the answer box that belong to the window: Enter (without Ctrl)
    // presses "Suivant >" and Tab moves to the next control, as in every
    // dialog; neither puts a character into the answer. Returns true when the
    // key is kept from the box.
    bool on_message_filter(const MSGFILTER& filter) {
        if (filter.nmhdr.idFrom != IDC_OPEN_ANSWER) return false;
        if (GetKeyState(VK_CONTROL) & 0x8000) return false;
        const bool key_down = filter.msg == WM_KEYDOWN;
        const bool character = filter.msg == WM_CHAR;
        if ((key_down && filter.wParam == VK_RETURN) || (character && (filter.wParam == L'\r' || filter.wParam == L'\n'))) {
            if (key_down && IsWindowVisible(shell_.next_button) && IsWindowEnabled(shell_.next_button))
                PostMessageW(shell_.main_window, WM_COMMAND, MAKEWPARAM(IDC_NEXT, BN_CLICKED),
                             reinterpret_cast<LPARAM>(shell_.next_button));
            return true;
        }
        if ((key_down && filter.wParam == VK_TAB) || (character && filter.wParam == L'\t')) {
            if (key_down) {
                const bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
                PostMessageW(shell_.main_window, WM_NEXTDLGCTL, backwards ? 1 : 0, FALSE);
            }
            return true;
        }
        return false;
    }

    void show_prompt(std::string_view rich_text) override {
        show_rich_text(window(), IDC_PROMPT, rich_text);
        set_rich_background(GetDlgItem(window(), IDC_PROMPT), shell_.colours.page);
    }

    void show_item(Place place, const ShownItem& item) override {
        if (place != Place::question || !window()) return;
        question_ = item.text;
        switch (item.kind) {
        case ShownItem::Kind::text:
            show_controls({IDC_OPEN_PLAY, IDC_OPEN_STOP, IDC_QUESTION_IMAGE}, false);
            show_rich_text(window(), IDC_QUESTION, item.text);
            set_rich_background(GetDlgItem(window(), IDC_QUESTION), shell_.colours.page);
            show_controls({IDC_QUESTION}, true);
            break;
        case ShownItem::Kind::image:
            show_controls({IDC_OPEN_PLAY, IDC_OPEN_STOP, IDC_QUESTION}, false);
            release_question_images();
            image_ = load_fitted_bitmap(window(), IDC_QUESTION_IMAGE, item.image_file, item.box_width,
                                        item.box_height);
            show_controls({IDC_QUESTION_IMAGE}, true);
            break;
        case ShownItem::Kind::media:
            show_controls({IDC_QUESTION_IMAGE, IDC_QUESTION}, false);
            show_controls({IDC_OPEN_PLAY, IDC_OPEN_STOP}, true);
            break;
        }
    }

    void clear_answer() override { show_rich_text(window(), IDC_OPEN_ANSWER, ""); }

    void release_question_images() override {
        if (!image_) return;
        // The control lets go of the picture before it is deleted.
        SendDlgItemMessageW(window(), IDC_QUESTION_IMAGE, STM_SETIMAGE, IMAGE_BITMAP, 0);
        image_.reset();
    }

    std::string typed_answer() override { return window() ? rich_edit_text(window(), IDC_OPEN_ANSWER) : ""; }

    HWND focus_control(Focus target) override {
        return target == Focus::answer_field ? GetDlgItem(window(), IDC_OPEN_ANSWER) : nullptr;
    }

    HWND palette_control(PaletteTarget target) override {
        return target == PaletteTarget::answer_field ? GetDlgItem(window(), IDC_OPEN_ANSWER) : nullptr;
    }

private:
    void show_controls(std::initializer_list<int> ids, bool visible) {
        for (const int id : ids) ShowWindow(GetDlgItem(window(), id), visible ? SW_SHOW : SW_HIDE);
    }

    // The play and stop pictures, in the colours of the student's buttons.
    void set_button_bitmap(int button, int bitmap, int slot) {
        OwnedBitmap picture(static_cast<HBITMAP>(
            LoadImageW(shell_.runner.instance, MAKEINTRESOURCEW(bitmap), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
        if (!picture) return;
        SendDlgItemMessageW(window(), button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
        shell_.page_objects.store(slot, std::move(picture));
    }

    std::string question_;  // the question side as stored: its play button and preview use it
    OwnedBitmap image_;     // the question's picture, freed before the next question
};

INT_PTR CALLBACK open_answer_page_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) HostedPage::attach(window, lparam);
    const auto page = HostedPage::of<OpenAnswerPage>(window);
    if (!page) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return page->on_init_dialog();
    case WM_COMMAND:
        page->on_command(LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header->code != EN_MSGFILTER) return FALSE;
        const bool kept = page->on_message_filter(*reinterpret_cast<const MSGFILTER*>(lparam));
        SetWindowLongPtrW(window, DWLP_MSGRESULT, kept ? 1 : 0);
        return TRUE;
    }
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

std::shared_ptr<HostedPage> show_open_answer_page(Shell& shell) {
    auto page = std::make_shared<OpenAnswerPage>(shell);
    host_page(page, IDD_OPEN_ANSWER, open_answer_page_proc, shell);
    return page;
}

}  // namespace kz::win
