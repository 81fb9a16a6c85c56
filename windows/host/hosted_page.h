#pragma once
// A page of the main window as the exam view speaks to it. Each page file
// derives its own page from this one, answers the calls of the view that make
// sense on it (the others do nothing, so a call meant for another page is
// harmless), and handles its window's messages in the handlers of the dialog
// base. A page that takes an answer also derives from the reader of its
// answer, below, and must give it.
//
// The view owns the current page through a shared pointer, and the dialog
// procedure holds one more while the page handles a message: a command that
// makes the engine replace the page (the end page's "&Recommencer", a time
// limit running out while the image preview is open) destroys the page's
// window under the procedure, never the object the procedure is using.
#include <windows.h>

#include <richedit.h>

#include <array>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "exam/exam_view.h"
#include "exam/home_form.h"
#include "host/shell.h"
#include "win32/dialog_window.h"

namespace kz::win {

class HostedPage : public DialogWindow, public std::enable_shared_from_this<HostedPage> {
public:
    explicit HostedPage(PageShell shell) : shell_(shell) {}

    // Question pages.
    virtual void show_prompt(std::string_view /*rich_text*/) {}
    virtual void show_item(Place /*place*/, const ShownItem& /*item*/) {}
    virtual void show_candidates(const std::vector<std::string>& /*entries*/) {}
    virtual void show_masked_answer(std::string_view /*masked*/) {}
    virtual void show_tries_left(int /*tries_left*/, std::string_view /*text*/) {}
    virtual void show_letters_line(std::string_view /*letters*/) {}
    virtual void clear_answer() {}
    virtual void release_question_images() {}

    // The control of the page that takes the keyboard focus, or the palette's
    // characters; none when the page has no such control.
    virtual HWND focus_control(Focus /*target*/) { return nullptr; }
    virtual HWND palette_control(PaletteTarget /*target*/) { return nullptr; }

protected:
    BOOL on_init_dialog() override { return FALSE; }
    // Static and edit controls in the quiz's text colour on a transparent
    // background (the second form, which a page may change); the page itself
    // in the page brush.
    INT_PTR on_ctl_color(UINT message, HDC dc, HWND control) override;
    virtual INT_PTR on_ctl_color(HDC dc, HWND control) const;
    INT_PTR page_brush() const { return reinterpret_cast<INT_PTR>(shell_.page_brush()); }

    // Enter and Tab typed in this rich-edit control belong to the window, as
    // in every dialog: Enter does what `on_enter` says ("Suivant >" unless
    // the page says otherwise) and Tab moves to the next control; neither
    // goes into the control.
    void give_keys_to_window(int control);
    virtual void on_enter(int /*control*/) { press_next(); }
    // "Suivant >", when the student could press it.
    void press_next() const { shell_.next.press(); }

    void show_controls(std::initializer_list<int> ids, bool visible) const;

    const PageShell shell_;

private:
    std::shared_ptr<void> keep_alive() override { return shared_from_this(); }
    bool on_key_filter(const MSGFILTER& filter) override;

    std::vector<int> window_keys_;  // controls whose Enter and Tab belong to the window
};

// The answers the engine reads when it grades, one reader for each kind of
// page that takes one. A page gives its answer by deriving from the reader
// and implementing it: a reader has no default, so a page cannot declare an
// answer and forget to give it. The view asks the current page for the
// reader of the answer it needs.
class TypedAnswerReader {
public:
    virtual ~TypedAnswerReader() = default;
    virtual std::string typed_answer() = 0;  // the answer box's text
};

class TickedBoxesReader {
public:
    virtual ~TickedBoxesReader() = default;
    virtual std::array<bool, 3> ticked_boxes() = 0;
};

class CandidateReader {
public:
    virtual ~CandidateReader() = default;
    virtual std::optional<std::string> selected_candidate() = 0;  // none while nothing is chosen
};

class TrueFalseReader {
public:
    virtual ~TrueFalseReader() = default;
    virtual std::optional<TrueFalseChoice> true_false_choice() = 0;  // none while neither is chosen
};

class HomeChoicesReader {
public:
    virtual ~HomeChoicesReader() = default;
    virtual HomeChoices home_choices() = 0;
};

// Creates the page's window from its template, through the page host; the
// page stays without a window when that fails.
void host_page(const std::shared_ptr<HostedPage>& page, int template_id, Shell& shell);

// A new page of type `Page`, made from `args` and the page's view of the
// shell, its window created from its template.
template <class Page, class... Args>
std::shared_ptr<HostedPage> make_page(Shell& shell, int template_id, Args&&... args) {
    auto page = std::make_shared<Page>(PageShell(shell), std::forward<Args>(args)...);
    host_page(page, template_id, shell);
    return page;
}

}  // namespace kz::win
