#pragma once
// Drives the real runner as a student would: starts it, finds its windows,
// reads and types into controls by identifier, clicks buttons, answers
// message boxes, and photographs the screen.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "quiz/quiz_model.h"

namespace kz::e2e {

using namespace std::chrono_literals;

// Paths given to the harness through the environment (Linux paths under Wine
// are turned into Z: paths).
std::filesystem::path env_path(const char* name);
std::filesystem::path runner_path();
std::filesystem::path packer_path();
std::filesystem::path source_dir();
std::filesystem::path artefacts_dir();
// A fresh folder for one test's files.
std::filesystem::path scratch_dir(const std::string& name);

// Starts a program with CreateProcessW's own arguments. Starting a process
// is Wine's work, not the runner's: a refused start (once seen on a loaded
// machine, with a program that had started a moment before) is reported on
// the test's output with its error and tried again, up to three times.
bool start_process(const std::filesystem::path& program, std::wstring command, BOOL inherit_handles, DWORD flags,
                   const std::filesystem::path& working_dir, STARTUPINFOW& startup, PROCESS_INFORMATION& info);
// Waits for a started program and closes its handles; returns its exit code,
// or -1 (reported on the test's output) when it did not end in time.
int wait_exit_code(const std::filesystem::path& program, PROCESS_INFORMATION& info,
                   std::chrono::milliseconds timeout);

// Runs a console program to its end; returns its exit code (-1 when it could
// not start or did not finish in time).
int run_program(const std::filesystem::path& program, const std::wstring& arguments,
                std::chrono::milliseconds timeout = 60s);

class Process {
public:
    static std::optional<Process> start(const std::filesystem::path& program,
                                        const std::filesystem::path& working_dir = {},
                                        const std::wstring& arguments = {});
    Process(Process&& other) noexcept;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD id() const { return info_.dwProcessId; }
    HANDLE handle() const { return info_.hProcess; }
    // True when the process ended within the time.
    bool wait_exit(std::chrono::milliseconds timeout = 15s);
    std::optional<DWORD> exit_code() const;
    // Ends the process at once, as a crash would, and waits until it has ended.
    void kill();

    // The first visible top-level window of the process with this class (and
    // caption, when given), waited for.
    HWND wait_window(const std::wstring& class_name, std::chrono::milliseconds timeout = 15s,
                     const std::optional<std::wstring>& caption = std::nullopt) const;
    // Every top-level window of the process with this class, now.
    std::vector<HWND> windows(const std::wstring& class_name) const;

private:
    explicit Process(PROCESS_INFORMATION info) : info_(info) {}
    PROCESS_INFORMATION info_{};
};

std::wstring window_text(HWND window);
std::wstring item_text(HWND dialog, int id);
bool item_visible(HWND dialog, int id);
std::wstring class_of(HWND window);

// A message box's text (its static control) and caption.
struct MessageBoxContent {
    std::wstring caption;
    std::wstring text;
};
MessageBoxContent message_box_content(HWND box);

void click(HWND dialog, int id);
// Types the text into the control one character at a time.
void type_text(HWND dialog, int id, const std::wstring& text);

// A window as the screen shows it, frame included: its pixels row by row
// from the top, and where the window stood when the picture was taken.
struct Picture {
    RECT frame = {};
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;

    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // True when a pixel of the control (of the whole window when none) has
    // exactly this colour.
    bool shows(COLORREF colour, HWND control = nullptr) const;
    // The colours of the control's pixels, row by row.
    std::vector<COLORREF> pixels_of(HWND control) const;
};

// The window's picture now; nothing when it is not on the desktop (Wine
// copies a window that reaches past the desktop as black from edge to edge).
std::optional<Picture> picture_of(HWND window);
// Saves the picture as a BMP file, to be looked at.
bool save_bmp(const Picture& picture, const std::filesystem::path& bmp);
// Saves a picture of the window (with its frame) as a BMP file.
bool screenshot(HWND window, const std::filesystem::path& bmp);
// Waits until the window's picture passes the check (painted as it should
// be) and has stopped changing, keeps it as a BMP file and returns it;
// nothing when the check still fails after the time, and then the last
// picture is kept, to see why.
std::optional<Picture> screenshot_when(HWND window, const std::function<bool(const Picture&)>& check,
                                       const std::filesystem::path& bmp, std::chrono::milliseconds timeout = 10s);
// A check of screenshot_when: a pixel of exactly this colour in the control
// (in the whole window when none).
std::function<bool(const Picture&)> showing(COLORREF colour, HWND control = nullptr);

// Windows-1252 text of the program's string table, as the window shows it.
std::wstring message(int id);

// ---------------------------------------------------------------------------
// Driving the runner's exam window.

// Waits until the condition holds; false when it still does not after the time.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

// Presses a button as the student does (a click on it, through the button's
// own handling); false when the button is hidden or disabled.
bool press(HWND dialog, int id);
// A left click on a control (a static control that notifies clicks: the sound
// icon, a picture).
void click_control(HWND dialog, int id);
// Keys as the student types them, to the control that has the focus.
void press_key(HWND control, UINT key);
// Alt+F4 on a window.
void press_alt_f4(HWND window);

// The control that has the keyboard focus in the process's window thread.
HWND focused_control(HWND any_window_of_the_thread);
bool item_enabled(HWND dialog, int id);
bool button_checked(HWND dialog, int id);

// The current page of the main window: its visible child dialog.
HWND current_page(HWND main_window);
// Waits until the main window's current page has this control; returns the page.
HWND wait_page_with(HWND main_window, int control_id, std::chrono::milliseconds timeout = 10s);

// A message box of the process (a visible dialog with a message text), waited for.
HWND wait_message_box(const Process& process, std::chrono::milliseconds timeout = 10s);
// A message box of the thread of this window (a page, the exam window), waited for.
HWND wait_message_box_of(HWND any_window_of_the_thread, std::chrono::milliseconds timeout = 10s);
// True when no message box is shown within the time.
bool no_message_box(const Process& process, std::chrono::milliseconds during = 700ms);

// List views of another process (the home page's themes).
int list_item_count(HWND list);
bool list_item_checked(HWND list, int item);
std::wstring list_item_text(const Process& process, HWND list, int item);
// A click on the item's check box; false when the box could not be found.
bool click_list_check_box(const Process& process, HWND list, int item);
// A right click on an item of the list.
bool right_click_list_item(const Process& process, HWND list, int item);
// Chooses the entry at this position of the pop-up menu the process shows.
bool choose_popup_menu_entry(const Process& process, int position);

// Drop-down lists of another process.
int combo_selection(HWND dialog, int id);
std::wstring combo_entry_text(HWND dialog, int id, int entry);
void choose_combo_entry(HWND dialog, int id, int entry);

// The GDI objects (fonts, brushes, bitmaps ...) the process holds. Nothing
// when they cannot be counted.
std::optional<int> gdi_object_count(const Process& process);
// A count read until it stops changing: the same on three reads in a row,
// 50 ms apart. A window closed or a page changed frees its fonts and brushes
// a moment after it is gone from the screen; the count is read once they are
// freed. Nothing when it could not be read or did not settle in the time.
std::optional<int> settled_count(const std::function<std::optional<int>()>& count,
                                 std::chrono::milliseconds timeout = 10s);

// ---------------------------------------------------------------------------
// Quizzes and their files.

// A Windows-1252 text, or its wide form, from UTF-8 source text.
std::string text_1252(const char* utf8);
std::wstring wide_text(const char* utf8);

// Writes a quiz executable: the built runner carrying the quiz and its media
// (one blob per media row). Empty when it could not be written.
std::filesystem::path write_quiz(const std::filesystem::path& file, const QuizModel& quiz,
                                 const std::vector<std::string>& blobs = {});
// A file's bytes, or nothing.
std::optional<std::string> file_bytes(const std::filesystem::path& file);
// The lines of a text file without their CR LF, in Windows-1252.
std::vector<std::string> file_lines(const std::filesystem::path& file);

// The device contexts among the process's GDI objects, as Wine's table holds
// them. Wine keeps the device contexts of windows in a cache that grows when
// more of them are in use at once, and keeps them: each one added is a
// context, its clip region and its bitmap. Nothing when they cannot be counted.
std::optional<int> device_context_count(const Process& process);

}  // namespace kz::e2e
