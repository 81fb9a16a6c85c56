#include "harness/harness.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <fstream>
#include <iterator>
#include <thread>

#include <commctrl.h>
#include <winternl.h>

#include "common/cp1252.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "res/string_table.h"

namespace kz::e2e {

namespace fs = std::filesystem;

namespace {

// Where the build put the runner, the packer and the sources: the defaults
// when the environment names nothing else.
const char* built_in_path(std::string_view name) {
    if (name == "KZ_RUNNER") return KZ_DEFAULT_RUNNER;
    if (name == "KZ_PACKER") return KZ_DEFAULT_PACKER;
    if (name == "KZ_SOURCE_DIR") return KZ_DEFAULT_SOURCE_DIR;
    if (name == "KZ_ARTEFACTS") return KZ_DEFAULT_ARTEFACTS;
    if (name == "KZ_APPENDER") return KZ_DEFAULT_APPENDER;
    if (name == "KZ_MARKER") return KZ_DEFAULT_MARKER;
    if (name == "KZ_MAPI") return KZ_DEFAULT_MAPI;
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

bool start_process(const fs::path& program, std::wstring command, BOOL inherit_handles, DWORD flags,
                   const fs::path& working_dir, STARTUPINFOW& startup, PROCESS_INFORMATION& info) {
    constexpr int attempts = 3;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, inherit_handles, flags, nullptr,
                           working_dir.empty() ? nullptr : working_dir.c_str(), &startup, &info))
            return true;
        const DWORD error = GetLastError();
        std::fprintf(stderr, "harness: %ls did not start (error %lu), attempt %d of %d\n", program.c_str(),
                     static_cast<unsigned long>(error), attempt, attempts);
        std::fflush(stderr);
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
        if (attempt < attempts) Sleep(250 * attempt);
    }
    return false;
}

int wait_exit_code(const fs::path& program, PROCESS_INFORMATION& info, std::chrono::milliseconds timeout) {
    if (info.hThread) CloseHandle(info.hThread);
    DWORD code = static_cast<DWORD>(-1);
    const DWORD waited = WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeout.count()));
    if (waited == WAIT_OBJECT_0) {
        GetExitCodeProcess(info.hProcess, &code);
    } else {
        std::fprintf(stderr, "harness: %ls %s after %lld ms; ended\n", program.c_str(),
                     waited == WAIT_TIMEOUT ? "still running" : "cannot be waited for",
                     static_cast<long long>(timeout.count()));
        TerminateProcess(info.hProcess, 1);
    }
    CloseHandle(info.hProcess);
    info = {};
    return static_cast<int>(code);
}

int run_program(const fs::path& program, const std::wstring& arguments, std::chrono::milliseconds timeout) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!start_process(program, L"\"" + program.wstring() + L"\" " + arguments, FALSE, 0, {}, startup, info))
        return -1;
    return wait_exit_code(program, info, timeout);
}

std::optional<Process> Process::start(const fs::path& program, const fs::path& working_dir,
                                      const std::wstring& arguments) {
    std::wstring command = L"\"" + program.wstring() + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!start_process(program, command, FALSE, 0, working_dir, startup, info)) return std::nullopt;
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

void Process::kill() {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
}

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

std::optional<Picture> picture_of(HWND window) {
    Picture picture;
    if (!GetWindowRect(window, &picture.frame)) return std::nullopt;
    const RECT& rect = picture.frame;
    picture.width = rect.right - rect.left;
    picture.height = rect.bottom - rect.top;
    if (picture.width <= 0 || picture.height <= 0) return std::nullopt;
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    if (rect.left < left || rect.top < top || rect.right > left + GetSystemMetrics(SM_CXVIRTUALSCREEN) ||
        rect.bottom > top + GetSystemMetrics(SM_CYVIRTUALSCREEN))
        return std::nullopt;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, picture.width, picture.height, screen, rect.left, rect.top, SRCCOPY) != 0;
        SelectObject(memory, old);
        if (copied) {
            const auto* row = static_cast<const std::uint32_t*>(bits);
            picture.pixels.reserve(static_cast<std::size_t>(picture.width) * picture.height);
            for (int i = 0; i < picture.width * picture.height; ++i)  // 0x00RRGGBB to a COLORREF
                picture.pixels.push_back(RGB((row[i] >> 16) & 0xFF, (row[i] >> 8) & 0xFF, row[i] & 0xFF));
        }
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied) return std::nullopt;
    return picture;
}

namespace {

// The control's rectangle in the picture, cut to it; the whole picture when
// no control is named.
RECT area_in(const Picture& picture, HWND control) {
    RECT area = {0, 0, picture.width, picture.height};
    if (!control) return area;
    RECT rect = {};
    if (!GetWindowRect(control, &rect)) return RECT{};
    OffsetRect(&rect, -picture.frame.left, -picture.frame.top);
    IntersectRect(&area, &area, &rect);
    return area;
}

}  // namespace

bool Picture::shows(COLORREF colour, HWND control) const {
    const RECT area = area_in(*this, control);
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
            if (at(x, y) == colour) return true;
    return false;
}

std::vector<COLORREF> Picture::pixels_of(HWND control) const {
    const RECT area = area_in(*this, control);
    std::vector<COLORREF> found;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x) found.push_back(at(x, y));
    return found;
}

bool save_bmp(const Picture& picture, const fs::path& bmp) {
    const int stride = (picture.width * 3 + 3) & ~3;
    std::vector<char> rows(static_cast<std::size_t>(stride) * picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const COLORREF colour = picture.at(x, y);
            char* pixel = &rows[static_cast<std::size_t>(y) * stride + x * 3];
            pixel[0] = static_cast<char>(GetBValue(colour));
            pixel[1] = static_cast<char>(GetGValue(colour));
            pixel[2] = static_cast<char>(GetRValue(colour));
        }
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = picture.width;
    header.biHeight = -picture.height;  // top-down rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rows.size());
    std::ofstream out(bmp, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(rows.data(), static_cast<std::streamsize>(rows.size()));
    return static_cast<bool>(out);
}

bool screenshot(HWND window, const fs::path& bmp) {
    const auto picture = picture_of(window);
    if (!picture) {
        std::fprintf(stderr, "harness: %ls not taken: the window is not wholly on the desktop\n", bmp.c_str());
        return false;
    }
    return save_bmp(*picture, bmp);
}

std::optional<Picture> screenshot_when(HWND window, const std::function<bool(const Picture&)>& check,
                                       const fs::path& bmp, std::chrono::milliseconds timeout) {
    // Painting goes on for a moment after the first sign of it (the page,
    // then its controls, then the frame's buttons): the picture is taken once
    // two in a row pass the check and are the same.
    std::optional<Picture> last, before;
    const bool passed = wait_until(
        [&] {
            before = std::move(last);
            last = picture_of(window);
            return last && check(*last) && before && EqualRect(&before->frame, &last->frame) &&
                   before->pixels == last->pixels;
        },
        timeout);
    if (!last) {
        std::fprintf(stderr, "harness: %ls not taken: the window is not wholly on the desktop\n", bmp.c_str());
        return std::nullopt;
    }
    save_bmp(*last, bmp);
    if (!passed) return std::nullopt;
    return last;
}

std::function<bool(const Picture&)> showing(COLORREF colour, HWND control) {
    return [colour, control](const Picture& picture) { return picture.shows(colour, control); };
}

std::wstring message(int id) {
    const std::u16string wide = cp1252_to_utf16(load_message(id));
    return std::wstring(wide.begin(), wide.end());
}

// ---------------------------------------------------------------------------
// Driving the runner's exam window.

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(40ms);
    }
}

bool press(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    if (!item || !IsWindowVisible(item) || !IsWindowEnabled(item)) return false;
    PostMessageW(item, BM_CLICK, 0, 0);
    return true;
}

void click_control(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    PostMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void press_key(HWND control, UINT key) {
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(control, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(control, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
}

void press_alt_f4(HWND window) {
    const UINT scan = MapVirtualKeyW(VK_F4, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_SYSKEYDOWN, VK_F4, 1 | (scan << 16) | (1u << 29));
    PostMessageW(window, WM_SYSKEYUP, VK_F4, 1 | (scan << 16) | (1u << 29) | (3u << 30));
}

HWND focused_control(HWND any_window_of_the_thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(any_window_of_the_thread, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

bool item_enabled(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item && IsWindowEnabled(item);
}

bool button_checked(HWND dialog, int id) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

HWND current_page(HWND main_window) {
    for (HWND child = GetWindow(main_window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && class_of(child) == L"#32770") return child;
    return nullptr;
}

HWND wait_page_with(HWND main_window, int control_id, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    wait_until(
        [&] {
            HWND page = current_page(main_window);
            found = page && GetDlgItem(page, control_id) ? page : nullptr;
            return found != nullptr;
        },
        timeout);
    return found;
}

namespace {

// A message box has its message text (0xFFFF) and its icon (1088 in Wine's
// template, 20 in Windows').
bool is_message_box(HWND window) {
    return GetDlgItem(window, 0xFFFF) && (GetDlgItem(window, 1088) || GetDlgItem(window, 20)) &&
           !window_text(GetDlgItem(window, 0xFFFF)).empty();
}

HWND find_message_box(const Process& process) {
    for (HWND window : process.windows(L"#32770"))
        if (is_message_box(window)) return window;
    return nullptr;
}

// Memory in another process, for the control messages that take a pointer.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, std::size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    void* address(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    bool write(const void* data, std::size_t size, std::size_t offset = 0) {
        SIZE_T written = 0;
        return WriteProcessMemory(process_, address(offset), data, size, &written) && written == size;
    }
    bool read(void* data, std::size_t size, std::size_t offset = 0) const {
        SIZE_T read = 0;
        return ReadProcessMemory(process_, address(offset), data, size, &read) && read == size;
    }

private:
    HANDLE process_;
    void* address_;
};

LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

std::optional<RECT> list_item_rect(const Process& process, HWND list, int item, int part) {
    RemoteBuffer buffer(process.handle(), sizeof(RECT));
    RECT rect = {};
    rect.left = part;
    if (!buffer || !buffer.write(&rect, sizeof rect)) return std::nullopt;
    if (!send(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(buffer.address())))
        return std::nullopt;
    if (!buffer.read(&rect, sizeof rect)) return std::nullopt;
    return rect;
}

}  // namespace

HWND wait_message_box(const Process& process, std::chrono::milliseconds timeout) {
    HWND box = nullptr;
    wait_until([&] { return (box = find_message_box(process)) != nullptr; }, timeout);
    return box;
}

HWND wait_message_box_of(HWND any_window_of_the_thread, std::chrono::milliseconds timeout) {
    struct Found {
        HWND box = nullptr;
    } found;
    const DWORD thread = GetWindowThreadProcessId(any_window_of_the_thread, nullptr);
    wait_until([&] {
        EnumThreadWindows(
            thread,
            [](HWND window, LPARAM result) -> BOOL {
                if (!IsWindowVisible(window) || class_of(window) != L"#32770" || !is_message_box(window)) return TRUE;
                reinterpret_cast<Found*>(result)->box = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found.box != nullptr;
    }, timeout);
    return found.box;
}

bool no_message_box(const Process& process, std::chrono::milliseconds during) {
    return !wait_until([&] { return find_message_box(process) != nullptr; }, during);
}

int list_item_count(HWND list) { return static_cast<int>(send(list, LVM_GETITEMCOUNT, 0, 0)); }

bool list_item_checked(HWND list, int item) {
    const auto state = send(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::wstring list_item_text(const Process& process, HWND list, int item) {
    constexpr std::size_t characters = 512;
    RemoteBuffer buffer(process.handle(), sizeof(LVITEMW) + characters * sizeof(wchar_t));
    if (!buffer) return {};
    LVITEMW query = {};
    query.iSubItem = 0;
    query.cchTextMax = characters;
    query.pszText = static_cast<wchar_t*>(buffer.address(sizeof(LVITEMW)));
    if (!buffer.write(&query, sizeof query)) return {};
    const auto length =
        send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(buffer.address()));
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (!text.empty() && !buffer.read(text.data(), text.size() * sizeof(wchar_t), sizeof(LVITEMW))) return {};
    return text;
}

bool click_list_check_box(const Process& process, HWND list, int item) {
    const auto bounds = list_item_rect(process, list, item, LVIR_BOUNDS);
    if (!bounds) return false;
    const int y = (bounds->top + bounds->bottom) / 2;
    // The check box is the state image at the item's left: the first point
    // the list itself finds on it.
    RemoteBuffer buffer(process.handle(), sizeof(LVHITTESTINFO));
    if (!buffer) return false;
    for (int x = bounds->left; x < bounds->left + 40; ++x) {
        LVHITTESTINFO test = {};
        test.pt = {x, y};
        if (!buffer.write(&test, sizeof test)) return false;
        send(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(buffer.address()));
        if (!buffer.read(&test, sizeof test)) return false;
        if (test.iItem == item && (test.flags & LVHT_ONITEMSTATEICON)) {
            const int centre = x + 6;
            PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre, y));
            PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(centre, y));
            return true;
        }
    }
    return false;
}

bool right_click_list_item(const Process& process, HWND list, int item) {
    const auto label = list_item_rect(process, list, item, LVIR_LABEL);
    if (!label) return false;
    const int x = (label->left + label->right) / 2, y = (label->top + label->bottom) / 2;
    PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    return true;
}

bool choose_popup_menu_entry(const Process& process, int position) {
    HWND menu = nullptr;
    if (!wait_until([&] { return !(process.windows(L"#32768")).empty(); }, 5s)) return false;
    menu = process.windows(L"#32768").front();
    for (int i = 0; i <= position; ++i) press_key(menu, VK_DOWN);
    PostMessageW(menu, WM_CHAR, L'\r', 1);
    return wait_until([&] { return process.windows(L"#32768").empty(); }, 5s);
}

int combo_selection(HWND dialog, int id) {
    return static_cast<int>(send(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

std::wstring combo_entry_text(HWND dialog, int id, int entry) {
    HWND combo = GetDlgItem(dialog, id);
    const auto length = send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(entry), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(entry), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void choose_combo_entry(HWND dialog, int id, int entry) {
    HWND combo = GetDlgItem(dialog, id);
    send(combo, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

namespace {

// Wine keeps the GDI objects of each process in a table that the process's
// environment block points at (the field Windows calls
// GdiSharedHandleTable); an entry in use has a type.
struct WineGdiEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user_pointer;
};
static_assert(sizeof(WineGdiEntry) == 24);
constexpr std::size_t wine_gdi_entries = 0x10000;
constexpr std::size_t gdi_table_field = 0xF8;  // in the 64-bit environment block

// The objects in use, or those of one type only.
std::optional<int> count_gdi_table(HANDLE process, std::uint8_t only_type = 0) {
    using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    if (!query) return std::nullopt;
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) return std::nullopt;
    std::uint64_t table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, static_cast<char*>(static_cast<void*>(basic.PebBaseAddress)) + gdi_table_field,
                           &table, sizeof table, &read) ||
        table == 0)
        return std::nullopt;
    std::vector<WineGdiEntry> entries(wine_gdi_entries);
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(),
                           entries.size() * sizeof(WineGdiEntry), &read) ||
        read != entries.size() * sizeof(WineGdiEntry))
        return std::nullopt;
    int used = 0;
    for (const WineGdiEntry& entry : entries)
        if (only_type == 0 ? entry.type != 0 : entry.type == only_type) ++used;
    return used;
}

}  // namespace

std::optional<int> gdi_object_count(const Process& process) {
    // Windows counts them itself; Wine answers 0, and its table is read.
    const DWORD counted = GetGuiResources(process.handle(), GR_GDIOBJECTS);
    if (counted > 0) return static_cast<int>(counted);
    return count_gdi_table(process.handle());
}

std::optional<int> settled_count(const std::function<std::optional<int>()>& count,
                                 std::chrono::milliseconds timeout) {
    std::optional<int> last;
    int same = 0;
    const bool settled = wait_until(
        [&] {
            const auto now = count();
            if (!now) return false;
            same = now == last ? same + 1 : 1;
            last = now;
            if (same < 3) std::this_thread::sleep_for(10ms);  // with the poll's own 40 ms
            return same >= 3;
        },
        timeout);
    return settled ? last : std::nullopt;
}

// ---------------------------------------------------------------------------
// Quizzes and their files.

std::string text_1252(const char* utf8) { return utf8_to_cp1252(utf8).value_or(std::string()); }

std::wstring wide_text(const char* utf8) {
    const std::u16string text = cp1252_to_utf16(text_1252(utf8));
    return std::wstring(text.begin(), text.end());
}

std::optional<std::string> file_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path write_quiz(const fs::path& file, const QuizModel& quiz, const std::vector<std::string>& blobs) {
    const auto runner = file_bytes(runner_path());
    if (!runner) return {};
    std::vector<std::string> all_blobs = blobs;
    all_blobs.resize(quiz.media.size());
    auto executable = build_quiz_executable(*runner, quiz, all_blobs);
    if (!executable) return {};
    std::ofstream out(file, std::ios::binary);
    out.write(executable.value().data(), static_cast<std::streamsize>(executable.value().size()));
    return out ? file : fs::path();
}

std::vector<std::string> file_lines(const fs::path& file) {
    std::vector<std::string> lines;
    const auto bytes = file_bytes(file);
    if (!bytes) return lines;
    std::size_t start = 0;
    while (start < bytes->size()) {
        const std::size_t end = bytes->find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes->substr(start));
            break;
        }
        lines.push_back(bytes->substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::optional<int> device_context_count(const Process& process) {
    constexpr std::uint8_t wine_device_context = 1;
    return count_gdi_table(process.handle(), wine_device_context);
}

}  // namespace kz::e2e
