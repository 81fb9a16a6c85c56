#include "harness/harness.h"

#include <cstdlib>
#include <string_view>
#include <fstream>
#include <thread>

#include "common/cp1252.h"
#include "res/string_table.h"

namespace kz::e2e {

namespace fs = std::filesystem;

namespace {

const char* built_in_path(std::string_view name) {
    if (name == "KZ_RUNNER") return KZ_DEFAULT_RUNNER;
    if (name == "KZ_PACKER") return KZ_DEFAULT_PACKER;
    if (name == "KZ_SOURCE_DIR") return KZ_DEFAULT_SOURCE_DIR;
    if (name == "KZ_ARTEFACTS") return KZ_DEFAULT_ARTEFACTS;
    return "";
}

}  // namespace

fs::path env_path(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) value = built_in_path(name);
    if (!*value) return {};
    std::string text(value);
    if (text.front() == '/') {  // a Linux path seen from Wine
        for (char& c : text)
            if (c == '/') c = '\\';
        text = "Z:" + text;
    }
    return fs::path(text);
}

fs::path runner_path() { return env_path("KZ_RUNNER"); }
fs::path packer_path() { return env_path("KZ_PACKER"); }
fs::path source_dir() { return env_path("KZ_SOURCE_DIR"); }

fs::path artefacts_dir() {
    fs::path dir = env_path("KZ_ARTEFACTS");
    if (dir.empty()) dir = fs::temp_directory_path() / "kz-artefacts";
    fs::create_directories(dir);
    return dir;
}

fs::path scratch_dir(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("kz-e2e-" + name);
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    fs::create_directories(dir);
    return dir;
}

int run_program(const fs::path& program, const std::wstring& arguments, std::chrono::milliseconds timeout) {
    std::wstring command = L"\"" + program.wstring() + L"\" " + arguments;
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    CloseHandle(info.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    else
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

std::optional<Process> Process::start(const fs::path& program, const fs::path& working_dir) {
    std::wstring command = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        working_dir.empty() ? nullptr : working_dir.c_str(), &startup, &info))
        return std::nullopt;
    return Process(info);
}

Process::Process(Process&& other) noexcept : info_(other.info_) { other.info_ = {}; }

Process::~Process() {
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hProcess);
    }
    if (info_.hThread) CloseHandle(info_.hThread);
}

bool Process::wait_exit(std::chrono::milliseconds timeout) {
    return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::exit_code() const {
    DWORD code = 0;
    if (!GetExitCodeProcess(info_.hProcess, &code) || code == STILL_ACTIVE) return std::nullopt;
    return code;
}

void Process::kill() { TerminateProcess(info_.hProcess, 1); }

std::wstring class_of(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

namespace {

struct Search {
    DWORD process;
    std::wstring class_name;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM lparam) {
    auto& search = *reinterpret_cast<Search*>(lparam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.process && IsWindowVisible(window) && class_of(window) == search.class_name)
        search.found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> Process::windows(const std::wstring& class_name) const {
    Search search{info_.dwProcessId, class_name, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Process::wait_window(const std::wstring& class_name, std::chrono::milliseconds timeout,
                          const std::optional<std::wstring>& caption) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        for (HWND window : windows(class_name))
            if (!caption || window_text(window) == *caption) return window;
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return nullptr;
}

std::wstring window_text(HWND window) {
    wchar_t buffer[8192] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                        &length);
    return std::wstring(buffer, length);
}

std::wstring item_text(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? window_text(item) : std::wstring();
}

bool item_visible(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item && IsWindowVisible(item);
}

MessageBoxContent message_box_content(HWND box) {
    return {window_text(box), item_text(box, 0xFFFF)};
}

void click(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item));
}

void type_text(HWND dialog, int id, const std::wstring& text) {
    HWND item = GetDlgItem(dialog, id);
    for (wchar_t c : text) SendMessageW(item, WM_CHAR, c, 1);
}

bool screenshot(HWND window, const fs::path& bmp) {
    RECT rect = {};
    if (!GetWindowRect(window, &rect)) return false;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    std::ofstream out(bmp, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), stride * height);
    const bool written = static_cast<bool>(out);

    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

std::wstring message(int id) {
    const std::u16string wide = cp1252_to_utf16(load_message(id));
    return std::wstring(wide.begin(), wide.end());
}

}  // namespace kz::e2e
