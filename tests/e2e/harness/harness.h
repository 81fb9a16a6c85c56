#pragma once
// Drives the real runner as a student would: starts it, finds its windows,
// reads and types into controls by identifier, clicks buttons, answers
// message boxes, and photographs the screen.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

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

// Runs a console program to its end; returns its exit code (-1 when it could
// not start or did not finish in time).
int run_program(const std::filesystem::path& program, const std::wstring& arguments,
                std::chrono::milliseconds timeout = 60s);

class Process {
public:
    static std::optional<Process> start(const std::filesystem::path& program,
                                        const std::filesystem::path& working_dir = {});
    Process(Process&& other) noexcept;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD id() const { return info_.dwProcessId; }
    // True when the process ended within the time.
    bool wait_exit(std::chrono::milliseconds timeout = 15s);
    std::optional<DWORD> exit_code() const;
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

// Saves a picture of the window (with its frame) as a BMP file.
bool screenshot(HWND window, const std::filesystem::path& bmp);

// Windows-1252 text of the program's string table, as the window shows it.
std::wstring message(int id);

}  // namespace kz::e2e
