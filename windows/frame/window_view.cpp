#include "frame/window_view.h"

#include <cassert>

#include "dialogs/correction_dialog.h"
#include "display/sound.h"
#include "host/page_host.h"
#include "pages/end_page.h"
#include "pages/home_page.h"
#include "pages/hangman_page.h"
#include "pages/multiple_choice_page.h"
#include "pages/open_answer_page.h"
#include "pages/pot_pourri_page.h"
#include "pages/scrambled_letters_page.h"
#include "pages/true_false_page.h"
#include "pages/welcome_page.h"
#include "res/string_table.h"
#include "resources/resource.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

constexpr UINT one_second = 1000;

UINT message_style(const Message& message) {
    UINT style = 0;
    switch (message.icon) {
    case MessageIcon::warning: style |= MB_ICONWARNING; break;
    case MessageIcon::information: style |= MB_ICONINFORMATION; break;
    case MessageIcon::error: style |= MB_ICONERROR; break;
    }
    style |= message.buttons == MessageButtons::yes_no ? MB_YESNO : MB_OK;
    return style;
}

bool can_take_focus(HWND control) { return control && IsWindowVisible(control) && IsWindowEnabled(control); }

}  // namespace

MessageAnswer WindowView::show_message(const Message& message) {
    HWND owner = message.owned_by_main_window ? shell_.main_window : nullptr;
    UINT style = message_style(message);
    // A box without owner still keeps the student from using the exam window
    // behind it until it is answered.
    if (!owner) style |= MB_TASKMODAL;
    const int answer =
        MessageBoxW(owner, widen(message.text).c_str(), widen(message.caption).c_str(), style);
    switch (answer) {
    case IDYES: return MessageAnswer::yes;
    case IDNO: return MessageAnswer::no;
    default: return MessageAnswer::ok;
    }
}

// ---------------------------------------------------------------- pages

void WindowView::replace_page(std::shared_ptr<HostedPage> page) {
    page_ = std::move(page);
    // The focus goes to "Suivant >" unless the engine or the page chooses
    // another control of the new page.
    focus_control(shell_.next_button);
}

void WindowView::show_welcome_page(std::string_view rich_text) {
    replace_page(win::show_welcome_page(shell_, rich_text));
}

void WindowView::show_home_page(const HomeForm& form) {
    replace_page(win::show_home_page(shell_, form));
    focus(Focus::name_field);
}

void WindowView::show_question_page(Page page) {
    // Each exam type's page, by the page the engine asks for.
    using PageFactory = std::shared_ptr<HostedPage> (*)(Shell&);
    static constexpr std::pair<Page, PageFactory> question_pages[] = {
        {Page::open_answer, show_open_answer_page},
        {Page::multiple_choice, show_multiple_choice_page},
        {Page::true_false, show_true_false_page},
        {Page::pot_pourri, show_pot_pourri_page},
        {Page::hangman, show_hangman_page},
        {Page::scrambled_letters, show_scrambled_letters_page},
    };
    for (const auto& [shown, factory] : question_pages)
        if (shown == page) replace_page(factory(shell_));
}

void WindowView::show_end_page(const EndPage& page) { replace_page(win::show_end_page(shell_, page)); }

// ---------------------------------------------------------------- the frame

void WindowView::set_title(std::string_view title) { set_window_text(shell_.main_window, title); }

void WindowView::show_next(bool visible) { ShowWindow(shell_.next_button, visible ? SW_SHOW : SW_HIDE); }

void WindowView::show_quit(bool visible) {
    ShowWindow(GetDlgItem(shell_.main_window, IDC_QUIT), visible ? SW_SHOW : SW_HIDE);
    // The close box and Alt+F4 quit like "Quitter": they look as unavailable
    // as it is.
    EnableMenuItem(GetSystemMenu(shell_.main_window, FALSE), SC_CLOSE,
                   MF_BYCOMMAND | (visible ? MF_ENABLED : MF_GRAYED));
}

void WindowView::show_help_button(bool visible) {
    ShowWindow(GetDlgItem(shell_.main_window, IDC_SHOW_HELP), visible ? SW_SHOW : SW_HIDE);
}

void WindowView::show_sound_icon(bool muted) { update_sound_icon(shell_, muted); }

void WindowView::show_countdown(bool visible) {
    const int show = visible ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(shell_.main_window, IDC_CLOCK), show);
    ShowWindow(GetDlgItem(shell_.main_window, IDC_COUNTDOWN), show);
}

void WindowView::set_countdown_text(std::string_view text) {
    set_item_text(shell_.main_window, IDC_COUNTDOWN, text);
}

void WindowView::focus_control(HWND control) {
    if (!can_take_focus(control)) {
        control = nullptr;
        for (const int button : {IDC_NEXT, IDC_QUIT, IDC_ABOUT}) {
            HWND candidate = GetDlgItem(shell_.main_window, button);
            if (can_take_focus(candidate)) {
                control = candidate;
                break;
            }
        }
        if (!control) return;
    }
    shell_.chosen_focus = control;
    // Through the dialog manager, so that the default button follows and a
    // text field has its text selected, ready to be typed over.
    SendMessageW(shell_.main_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void WindowView::focus(Focus target) {
    if (target == Focus::next_button) {
        focus_control(shell_.next_button);
        return;
    }
    focus_control(page_ ? page_->focus_control(target) : nullptr);
}

void WindowView::set_palette_target(PaletteTarget target) {
    HWND control = page_ ? page_->palette_control(target) : nullptr;
    if (control) {
        win::set_palette_target(shell_, control, target == PaletteTarget::letter_box);
    } else {
        win::clear_palette_target(shell_);
    }
}

void WindowView::clear_palette_target() { win::clear_palette_target(shell_); }

void WindowView::start_timer(Timer timer) {
    SetTimer(shell_.main_window, static_cast<UINT_PTR>(timer), one_second, nullptr);
}

void WindowView::stop_timer(Timer timer) { KillTimer(shell_.main_window, static_cast<UINT_PTR>(timer)); }

// ---------------------------------------------------------------- the question page

void WindowView::show_prompt(std::string_view rich_text) {
    if (page_) page_->show_prompt(rich_text);
}

void WindowView::show_item(Place place, const ShownItem& item) {
    if (page_) page_->show_item(place, item);
}

void WindowView::show_candidates(const std::vector<std::string>& entries) {
    if (page_) page_->show_candidates(entries);
}

void WindowView::show_masked_answer(std::string_view masked) {
    if (page_) page_->show_masked_answer(masked);
}

void WindowView::show_tries_left(int tries_left, std::string_view text) {
    if (page_) page_->show_tries_left(tries_left, text);
}

void WindowView::show_letters_line(std::string_view letters) {
    if (page_) page_->show_letters_line(letters);
}

void WindowView::clear_answer() {
    if (page_) page_->clear_answer();
}

void WindowView::release_question_images() {
    if (page_) page_->release_question_images();
}

// The engine reads an answer only from the page it showed for it: a page
// without the reader asked for means that the page forgot its answer, or that
// the engine and the window disagree on the page shown. Either is a fault of
// the program, never of the student, and is not passed off as an empty answer.
template <class Reader>
Reader* WindowView::answer_reader(const char* answer) {
    auto* reader = dynamic_cast<Reader*>(page_.get());
    if (!reader) report_missing_answer(answer);
    return reader;
}

// Stops a debug build at once; a student's runner says what went wrong, and
// the question is then graded as unanswered.
void WindowView::report_missing_answer(const char* answer) const {
    std::wstring text = L"Erreur du programme : la page affich\u00E9e ne donne pas de r\u00E9ponse (";
    text += widen(answer);
    text += L"). La question est compt\u00E9e comme sans r\u00E9ponse.";
    OutputDebugStringW(text.c_str());
    assert(!"the page shown gives no answer of the kind read");
    MessageBoxW(shell_.main_window, text.c_str(), widen(load_message(str::product_caption)).c_str(),
                MB_OK | MB_ICONERROR);
}

std::string WindowView::typed_answer() {
    auto* reader = answer_reader<TypedAnswerReader>("typed_answer");
    return reader ? reader->typed_answer() : std::string();
}

std::array<bool, 3> WindowView::ticked_boxes() {
    auto* reader = answer_reader<TickedBoxesReader>("ticked_boxes");
    return reader ? reader->ticked_boxes() : std::array<bool, 3>{};
}

std::optional<std::string> WindowView::selected_candidate() {
    auto* reader = answer_reader<CandidateReader>("selected_candidate");
    return reader ? reader->selected_candidate() : std::nullopt;
}

std::optional<TrueFalseChoice> WindowView::true_false_choice() {
    auto* reader = answer_reader<TrueFalseReader>("true_false_choice");
    return reader ? reader->true_false_choice() : std::nullopt;
}

HomeChoices WindowView::read_home_choices() {
    // Without the home page's choices no theme is chosen, and no exam starts.
    auto* reader = answer_reader<HomeChoicesReader>("home_choices");
    return reader ? reader->home_choices() : HomeChoices{};
}

// ---------------------------------------------------------------- correction

void WindowView::show_correction(const CorrectionRequest& request, std::string_view comment) {
    show_correction_dialog(shell_, request, comment);
}

// ---------------------------------------------------------------- sound and music

void WindowView::play_sound(const std::filesystem::path& file) { win::play_sound(file); }
void WindowView::stop_sound() { win::stop_sound(); }
void WindowView::play_music(const std::filesystem::path& file) { win::play_music(file); }
void WindowView::stop_music() { win::stop_music(); }

}  // namespace kz::win
