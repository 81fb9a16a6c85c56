#pragma once
// A page of the main window as the exam view speaks to it. Each page file
// derives its own page from this one and answers the calls that make sense on
// it; the others do nothing, so a call meant for another page is harmless.
//
// The view owns the current page through a shared pointer, and the page's
// dialog procedure holds one more while it handles a message: a command that
// makes the engine replace the page (the end page's "&Recommencer", a time
// limit running out while the image preview is open) destroys the page's
// window under the procedure, never the object the procedure is using.
#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exam/exam_view.h"
#include "exam/home_form.h"
#include "host/shell.h"

namespace kz::win {

class HostedPage : public std::enable_shared_from_this<HostedPage> {
public:
    explicit HostedPage(Shell& shell) : shell_(shell) {}
    virtual ~HostedPage() = default;
    HostedPage(const HostedPage&) = delete;
    HostedPage& operator=(const HostedPage&) = delete;

    // The page's window; none once it has been destroyed.
    HWND window() const { return window_; }

    // Question pages.
    virtual void show_prompt(std::string_view /*rich_text*/) {}
    virtual void show_item(Place /*place*/, const ShownItem& /*item*/) {}
    virtual void show_candidates(const std::vector<std::string>& /*entries*/) {}
    virtual void show_masked_answer(std::string_view /*masked*/) {}
    virtual void show_tries_left(int /*tries_left*/, std::string_view /*text*/) {}
    virtual void show_letters_line(std::string_view /*letters*/) {}
    virtual void clear_answer() {}
    virtual void release_question_images() {}
    virtual std::string typed_answer() { return {}; }
    virtual std::array<bool, 3> ticked_boxes() { return {}; }
    virtual std::optional<std::string> selected_candidate() { return std::nullopt; }

    // The home page.
    virtual std::optional<HomeChoices> home_choices() { return std::nullopt; }

    // The control of the page that takes the keyboard focus, or the palette's
    // characters; none when the page has no such control.
    virtual HWND focus_control(Focus /*target*/) { return nullptr; }
    virtual HWND palette_control(PaletteTarget /*target*/) { return nullptr; }

    // For the page procedures: ties the page to its window on WM_INITDIALOG
    // (the parameter is the page) and unties it when the window goes.
    static void attach(HWND window, LPARAM parameter);
    static void detach(HWND window);
    // The page of a window, kept alive by the caller while it handles a
    // message; none before WM_INITDIALOG and after the window has gone.
    template <class PageType>
    static std::shared_ptr<PageType> of(HWND window) {
        auto* page = reinterpret_cast<HostedPage*>(GetWindowLongPtrW(window, DWLP_USER));
        return page ? std::static_pointer_cast<PageType>(page->shared_from_this()) : nullptr;
    }

    // The page colour convention: static and edit controls in the quiz's
    // text colour on a transparent background, the page in the page brush.
    INT_PTR on_ctl_color(HDC dc) const;
    INT_PTR page_brush() const { return reinterpret_cast<INT_PTR>(shell_.page_brush.get()); }

protected:
    Shell& shell_;

private:
    HWND window_ = nullptr;
};

// Creates the page's window from its template with its procedure, through
// the page host; the page stays without a window when that fails.
void host_page(const std::shared_ptr<HostedPage>& page, int template_id, DLGPROC procedure, Shell& shell);

}  // namespace kz::win
