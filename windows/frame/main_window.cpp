// The main exam window: the fixed frame (title band or banner, logo, the four
// buttons, the sound, palette and clock icons with the countdown) around the
// current page. Every press of a button and every tick of its two timers goes
// to the exam engine, which decides what the window shows next.
#include "frame/main_window.h"

#include <algorithm>

#include "common/random_source.h"
#include "dialogs/about_box.h"
#include "dialogs/help_dialog.h"
#include "dialogs/palette_dialog.h"
#include "display/images.h"
#include "engine/exam_engine.h"
#include "frame/window_view.h"
#include "host/page_host.h"
#include "host/shell.h"
#include "resources/resource.h"
#include "system/data_file_dialog.h"
#include "system/mapi_mail_sender.h"
#include "system/results_manager_launcher.h"
#include "system/system_folders.h"
#include "system/system_registry.h"
#include "win32/dialog_window.h"
#include "win32/owner_window.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

// The largest logo and banner the frame has room for, in pixels.
constexpr int logo_width = 92;
constexpr int logo_height = 81;
constexpr int banner_width = 570;
constexpr int banner_height = 62;
constexpr int title_font_height = 20;

// The exam's draws: from the clock and the system's entropy, or, for the
// end-to-end tests that compare an exam with the terminal player's, from the
// seed that the environment variable KZ_RANDOM_SEED gives.
DefaultRandom random_for_this_run() {
    wchar_t text[32] = {};
    const DWORD length = GetEnvironmentVariableW(L"KZ_RANDOM_SEED", text, 32);
    if (length == 0 || length >= 32) return DefaultRandom();
    wchar_t* end = nullptr;
    const unsigned long long seed = wcstoull(text, &end, 10);
    return end && *end == L'\0' && end != text ? DefaultRandom(seed) : DefaultRandom();
}

// The work area of the screen the window is on.
RECT work_area_of(HWND window) {
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        work = monitor.rcWork;
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    }
    return work;
}

// The window and everything it needs while it exists: the shared state, the
// view the engine speaks to, the system services it reaches, and the engine
// itself.
class MainWindow final : public DialogWindow {
public:
    explicit MainWindow(RunnerState& state)
        : runner(state),
          shell(state),
          view(shell),
          random(random_for_this_run()),
          file_dialog(owner),
          mail(owner),
          launcher(owner, state.runner_directory),
          platform{clock, random, registry, folders, file_dialog, mail, launcher},
          engine(state.quiz, *state.media, view, platform, state.runner_path) {
        shell.engine = &engine;
    }

    RunnerState& runner;
    Shell shell;
    OwnerWindow owner;  // the window itself while it exists, for the system services
    WindowView view;
    SystemClock clock;
    DefaultRandom random;
    MachineRegistry registry;
    WindowsFolders folders;
    DataFileDialog file_dialog;
    MapiMailSender mail;
    ResultsManagerLauncher launcher;
    Platform platform;
    ExamEngine engine;

private:
    BOOL on_init_dialog() override;
    void on_command(int id, int notification) override;
    bool on_timer(UINT_PTR timer) override;
    INT_PTR on_ctl_color(UINT message, HDC dc, HWND control) override;
    bool on_close() override;  // the close box and Alt+F4
    void on_dpi_changed(int new_dpi, const RECT& suggested) override;
    std::optional<INT_PTR> on_message(UINT message, WPARAM wparam, LPARAM lparam) override;

    void on_rescaled(int old_dpi) override;

    OwnedBitmap load_quiz_picture(int control, std::int32_t media_id, int width, int height);
    void show_frame_pictures();
    void show_runner_picture(int control, int bitmap_id, OwnedBitmap& shown);
    void fit_to_work_area(int screen_dpi);
    void quit();
    BOOL on_set_focus();
    void on_deactivate();

    SIZE natural_client_ = {};  // the client area as the template makes it
    int natural_dpi_ = standard_dpi;  // at these dots per inch
    OwnedBrush window_brush_, title_brush_;  // of the frame and of its title band
    OwnedBitmap quiz_logo_, banner_;         // the quiz's own pictures, when it shows them
    // The runner's own logo and line, once stretched to the layout.
    OwnedBitmap runner_logo_, separator_;
};

// The quiz's own picture in a picture control of the frame, within its box.
OwnedBitmap MainWindow::load_quiz_picture(int control, std::int32_t media_id, int width, int height) {
    const auto file = runner.media->extract(media_id);
    if (!file) return {};
    return load_fitted_bitmap(shell.main_window, control, *file, width, height);
}

BOOL MainWindow::on_init_dialog() {
    HWND window = this->window();
    const QuizModel& quiz = runner.quiz;
    shell.main_window = window;
    owner.set(window);
    shell.next_button = GetDlgItem(window, IDC_NEXT);

    show_frame_pictures();
    // The banner takes the title band's place; a banner that cannot be read
    // leaves the band empty, in its colour.
    if (banner_) {
        ShowWindow(GetDlgItem(window, IDC_TITLE), SW_HIDE);
        ShowWindow(GetDlgItem(window, IDC_BANNER), SW_SHOW);
    }

    // In the colours of the student's buttons.
    for (auto [bitmap, id] : {std::pair{&shell.play_bitmap, IDB_PLAY}, std::pair{&shell.stop_bitmap, IDB_STOP}})
        bitmap->reset(static_cast<HBITMAP>(
            LoadImageW(runner.instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));

    window_brush_ = make_brush(shell.colours.window);
    title_brush_ = make_brush(shell.colours.title_band);
    shell.page_brush = make_brush(shell.colours.page);
    if (quiz.show_banner == 0) set_item_text(window, IDC_TITLE, quiz.quiz_name);

    RECT client = {};
    GetClientRect(window, &client);
    natural_client_ = {client.right, client.bottom};
    natural_dpi_ = dpi();
    fit_to_work_area(natural_dpi_);
    ShowWindow(window, SW_SHOW);
    engine.open();
    set_font(IDC_TITLE, title_font_height, true, false);
    // The engine or the page has given the focus.
    return FALSE;
}

// The frame's pictures at the layout's dots per inch: the quiz's logo and
// banner fitted to boxes grown with the layout, else the runner's own logo,
// and the line under the title band. A picture that cannot be read again
// leaves the one shown.
void MainWindow::show_frame_pictures() {
    const QuizModel& quiz = runner.quiz;
    if (quiz.show_logo != 0)
        if (OwnedBitmap logo = load_quiz_picture(IDC_LOGO, quiz.logo_media_id, scaled(logo_width), scaled(logo_height)))
            quiz_logo_ = std::move(logo);
    if (!quiz_logo_) show_runner_picture(IDC_LOGO, IDB_LOGO, runner_logo_);
    if (quiz.show_banner != 0)
        if (OwnedBitmap banner =
                load_quiz_picture(IDC_BANNER, quiz.banner_media_id, scaled(banner_width), scaled(banner_height)))
            banner_ = std::move(banner);
    show_runner_picture(IDC_SEPARATOR, IDB_SEPARATOR, separator_);
}

// One of the runner's own pictures, stretched from its size at 96 dots per
// inch to the layout's. At 96 the template's picture stays until another
// layout has replaced it.
void MainWindow::show_runner_picture(int control, int bitmap_id, OwnedBitmap& shown) {
    if (dpi() == standard_dpi && !shown) return;
    OwnedBitmap natural(static_cast<HBITMAP>(
        LoadImageW(runner.instance, MAKEINTRESOURCEW(bitmap_id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP size = {};
    if (!natural || !GetObjectW(natural.get(), sizeof size, &size)) return;
    OwnedBitmap bitmap(static_cast<HBITMAP>(
        CopyImage(natural.get(), IMAGE_BITMAP, scaled(size.bmWidth), scaled(size.bmHeight), LR_CREATEDIBSECTION)));
    if (!bitmap) return;
    const auto before = reinterpret_cast<HGDIOBJ>(
        SendDlgItemMessageW(window(), control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get())));
    // The template's picture, which the control loaded, is nobody's once replaced.
    if (before && !shown) DeleteObject(before);
    shown = std::move(bitmap);
}

void MainWindow::on_rescaled(int /*old_dpi*/) { show_frame_pictures(); }

// The window at the screen's dots per inch, or, taller or wider than the
// work area of its screen (a small screen at a large scale: 812 pixels high
// at 144 dots per inch), laid out as for fewer dots per inch until it fits,
// so that its buttons stay in reach. Inside the work area, moved as little
// as it takes, or centred on it when made smaller.
void MainWindow::fit_to_work_area(int screen_dpi) {
    HWND window = this->window();
    const RECT work = work_area_of(window);
    RECT frame = {}, client = {};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    const int room_width = work.right - work.left - (frame.right - frame.left - client.right);
    const int room_height = work.bottom - work.top - (frame.bottom - frame.top - client.bottom);
    const SIZE wanted = {MulDiv(natural_client_.cx, screen_dpi, natural_dpi_),
                         MulDiv(natural_client_.cy, screen_dpi, natural_dpi_)};
    if (wanted.cx <= 0 || wanted.cy <= 0) return;
    int layout_dpi = screen_dpi;
    if (wanted.cx > room_width || wanted.cy > room_height)  // rounded down, so that it fits
        layout_dpi = std::min(screen_dpi * room_width / wanted.cx, screen_dpi * room_height / wanted.cy);
    if (layout_dpi <= 0) return;
    rescale(layout_dpi);
    set_client_size({std::min(MulDiv(natural_client_.cx, layout_dpi, natural_dpi_), std::max(room_width, 1)),
                     std::min(MulDiv(natural_client_.cy, layout_dpi, natural_dpi_), std::max(room_height, 1))},
                    screen_dpi);

    GetWindowRect(window, &frame);
    const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
    LONG x = std::clamp(frame.left, work.left, std::max(work.left, work.right - width));
    LONG y = std::clamp(frame.top, work.top, std::max(work.top, work.bottom - height));
    if (layout_dpi != screen_dpi) {
        x = work.left + (work.right - work.left - width) / 2;
        y = work.top + (work.bottom - work.top - height) / 2;
    }
    if (x != frame.left || y != frame.top)
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    place_page(shell);
}

void MainWindow::on_dpi_changed(int new_dpi, const RECT& suggested) {
    SetWindowPos(window(), nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    fit_to_work_area(new_dpi);
}

void MainWindow::quit() {
    if (!engine.confirm_quit()) return;
    KillTimer(shell.main_window, static_cast<UINT_PTR>(Timer::countdown));
    KillTimer(shell.main_window, static_cast<UINT_PTR>(Timer::elapsed));
    EndDialog(shell.main_window, 1);
}

bool MainWindow::on_close() {
    quit();
    return true;
}

void MainWindow::on_command(int id, int notification) {
    switch (id) {
    case IDC_NEXT:
        if (notification == BN_CLICKED) engine.next();
        break;
    case IDC_ABOUT:
        if (notification == BN_CLICKED) show_about_box(shell.main_window, runner.quiz);
        break;
    case IDC_SHOW_HELP:
        if (notification == BN_CLICKED) show_help_dialog(shell.main_window, engine.help_text());
        break;
    case IDC_PALETTE:
        if (notification == STN_CLICKED) show_palette_dialog(shell);
        break;
    case IDC_SOUND:
        // A quick second click counts as one more click.
        if (notification == STN_CLICKED || notification == STN_DBLCLK) engine.toggle_mute();
        break;
    case IDC_QUIT:
    case IDCANCEL:  // Escape
        if (notification == BN_CLICKED) quit();
        break;
    default:
        break;
    }
}

bool MainWindow::on_timer(UINT_PTR timer) {
    if (timer == static_cast<UINT_PTR>(Timer::countdown)) {
        engine.countdown_tick();
    } else if (timer == static_cast<UINT_PTR>(Timer::elapsed)) {
        engine.elapsed_tick();
    }
    return true;
}

// The frame's texts in the quiz's text colour on the window's colour; the
// quiz's name in its own colour on the title band; the buttons and the
// window itself on the window's colour.
INT_PTR MainWindow::on_ctl_color(UINT message, HDC dc, HWND control) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        SetBkMode(dc, TRANSPARENT);
        if (GetDlgCtrlID(control) == IDC_TITLE) {
            SetTextColor(dc, shell.colours.title_text);
            return reinterpret_cast<INT_PTR>(title_brush_.get());
        }
        SetTextColor(dc, shell.colours.text);
        return reinterpret_cast<INT_PTR>(window_brush_.get());
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(window_brush_.get());
    default:
        return FALSE;
    }
}

// The window itself got the focus (the window manager activating it once it
// is shown): the control chosen for the student keeps it, rather than the
// first button of the frame.
BOOL MainWindow::on_set_focus() {
    HWND control = shell.chosen_focus;
    if (!control || !IsWindow(control) || !IsChild(shell.main_window, control) || !IsWindowVisible(control) ||
        !IsWindowEnabled(control))
        return FALSE;
    SetFocus(control);
    return TRUE;
}

// The window loses the activation (a dialog, a message box or another
// program comes over it): the control the student was in gets the focus back.
void MainWindow::on_deactivate() {
    HWND focused = GetFocus();
    if (focused && IsChild(shell.main_window, focused)) shell.chosen_focus = focused;
}

std::optional<INT_PTR> MainWindow::on_message(UINT message, WPARAM wparam, LPARAM /*lparam*/) {
    switch (message) {
    case WM_SETFOCUS:
        return on_set_focus();
    case WM_ACTIVATE:
        if (LOWORD(wparam) == WA_INACTIVE) on_deactivate();
        return FALSE;
    default:
        return std::nullopt;
    }
}

}  // namespace

INT_PTR run_main_window(RunnerState& runner) {
    MainWindow self(runner);
    const INT_PTR result = self.run_modal(runner.instance, IDD_MAIN, nullptr);
    self.owner.clear();
    self.view.forget_page();
    return result;
}

}  // namespace kz::win
