// The main exam window: the fixed frame (title band or banner, logo, the four
// buttons, the sound, palette and clock icons with the countdown) around the
// current page. Every press of a button and every tick of its two timers goes
// to the exam engine, which decides what the window shows next.
#include "frame/main_window.h"

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

// Everything the window needs while it exists: the shared state, the view the
// engine speaks to, the system services it reaches, and the engine itself.
struct MainWindow {
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
};

// The quiz's own picture in a picture control of the frame, within its box.
OwnedBitmap load_quiz_picture(MainWindow& self, int control, std::int32_t media_id, int width, int height) {
    const auto file = self.runner.media->extract(media_id);
    if (!file) return {};
    return load_fitted_bitmap(self.shell.main_window, control, *file, width, height);
}

BOOL on_init_dialog(MainWindow& self, HWND window) {
    Shell& shell = self.shell;
    const QuizModel& quiz = self.runner.quiz;
    shell.main_window = window;
    self.owner.set(window);
    shell.next_button = GetDlgItem(window, IDC_NEXT);

    if (quiz.show_logo != 0)
        shell.logo = load_quiz_picture(self, IDC_LOGO, quiz.logo_media_id, logo_width, logo_height);
    if (quiz.show_banner != 0) {
        // The banner takes the title band's place; a banner that cannot be
        // read leaves the band empty, in its colour.
        shell.banner = load_quiz_picture(self, IDC_BANNER, quiz.banner_media_id, banner_width, banner_height);
        if (shell.banner) {
            ShowWindow(GetDlgItem(window, IDC_TITLE), SW_HIDE);
            ShowWindow(GetDlgItem(window, IDC_BANNER), SW_SHOW);
        }
    }

    // In the colours of the student's buttons.
    for (auto [bitmap, id] : {std::pair{&shell.play_bitmap, IDB_PLAY}, std::pair{&shell.stop_bitmap, IDB_STOP}})
        bitmap->reset(static_cast<HBITMAP>(
            LoadImageW(self.runner.instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));

    shell.window_brush = make_brush(shell.colours.window);
    shell.title_brush = make_brush(shell.colours.title_band);
    shell.page_brush = make_brush(shell.colours.page);
    if (quiz.show_banner == 0) set_item_text(window, IDC_TITLE, quiz.quiz_name);

    ShowWindow(window, SW_SHOW);
    self.engine.open();
    shell.title_font = make_font(window, IDC_TITLE, title_font_height, true, false);
    // The engine or the page has given the focus.
    return FALSE;
}

void quit(MainWindow& self) {
    if (!self.engine.confirm_quit()) return;
    KillTimer(self.shell.main_window, static_cast<UINT_PTR>(Timer::countdown));
    KillTimer(self.shell.main_window, static_cast<UINT_PTR>(Timer::elapsed));
    EndDialog(self.shell.main_window, 1);
}

void on_command(MainWindow& self, int id, int notification) {
    switch (id) {
    case IDC_NEXT:
        if (notification == BN_CLICKED) self.engine.next();
        break;
    case IDC_ABOUT:
        if (notification == BN_CLICKED)
            show_about_box(self.shell.main_window, self.runner.quiz, self.shell.page_objects);
        break;
    case IDC_SHOW_HELP:
        if (notification == BN_CLICKED) show_help_dialog(self.shell.main_window, self.engine.help_text());
        break;
    case IDC_PALETTE:
        if (notification == STN_CLICKED) show_palette_dialog(self.shell);
        break;
    case IDC_SOUND:
        // A quick second click counts as one more click.
        if (notification == STN_CLICKED || notification == STN_DBLCLK) self.engine.toggle_mute();
        break;
    case IDC_QUIT:
    case IDCANCEL:  // Escape
        if (notification == BN_CLICKED) quit(self);
        break;
    default:
        break;
    }
}

void on_timer(MainWindow& self, WPARAM timer) {
    if (timer == static_cast<WPARAM>(Timer::countdown)) {
        self.engine.countdown_tick();
    } else if (timer == static_cast<WPARAM>(Timer::elapsed)) {
        self.engine.elapsed_tick();
    }
}

// The frame's texts in the quiz's text colour on the window's colour; the
// quiz's name in its own colour on the title band.
INT_PTR on_ctl_color_text(const Shell& shell, HDC dc, HWND control) {
    SetBkMode(dc, TRANSPARENT);
    if (GetDlgCtrlID(control) == IDC_TITLE) {
        SetTextColor(dc, shell.colours.title_text);
        return reinterpret_cast<INT_PTR>(shell.title_brush.get());
    }
    SetTextColor(dc, shell.colours.text);
    return reinterpret_cast<INT_PTR>(shell.window_brush.get());
}

// The window itself got the focus (the window manager activating it once it
// is shown): the control chosen for the student keeps it, rather than the
// first button of the frame.
BOOL on_set_focus(const Shell& shell) {
    HWND control = shell.chosen_focus;
    if (!control || !IsWindow(control) || !IsChild(shell.main_window, control) || !IsWindowVisible(control) ||
        !IsWindowEnabled(control))
        return FALSE;
    SetFocus(control);
    return TRUE;
}

// The window loses the activation (a dialog, a message box or another
// program comes over it): the control the student was in gets the focus back.
void on_deactivate(Shell& shell) {
    HWND focused = GetFocus();
    if (focused && IsChild(shell.main_window, focused)) shell.chosen_focus = focused;
}

INT_PTR CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lparam);
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return on_init_dialog(*self, window);
    case WM_COMMAND:
        on_command(*self, LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case WM_TIMER:
        on_timer(*self, wparam);
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return on_ctl_color_text(self->shell, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(self->shell.window_brush.get());
    case WM_SETFOCUS:
        return on_set_focus(self->shell);
    case WM_ACTIVATE:
        if (LOWORD(wparam) == WA_INACTIVE) on_deactivate(self->shell);
        return FALSE;
    case WM_CLOSE:  // the close box and Alt+F4
        quit(*self);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR run_main_window(RunnerState& runner) {
    MainWindow self(runner);
    const INT_PTR result = DialogBoxParamW(runner.instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, main_window_proc,
                                           reinterpret_cast<LPARAM>(&self));
    self.owner.clear();
    self.view.forget_page();
    self.shell.page_objects.clear();
    return result;
}

}  // namespace kz::win
