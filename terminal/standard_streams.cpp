#include "standard_streams.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <cstdio>

namespace kz::term {

#if defined(_WIN32)

namespace {

bool is_console(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) != 0;
}

std::string utf8_of(const wchar_t* text, int length) {
    if (length <= 0) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring wide_of(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
    return out;
}

}  // namespace

bool input_is_terminal() { return is_console(GetStdHandle(STD_INPUT_HANDLE)); }

std::string read_input_chunk() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (is_console(input)) {
        wchar_t buffer[1024];
        DWORD read = 0;
        if (!ReadConsoleW(input, buffer, 1024, &read, nullptr) || read == 0) return {};
        // Ctrl+Z at the start of a line ends the input, as everywhere on the console.
        if (buffer[0] == L'\x1A') return {};
        return utf8_of(buffer, static_cast<int>(read));
    }
    char buffer[4096];
    DWORD read = 0;
    if (!ReadFile(input, buffer, sizeof buffer, &read, nullptr) || read == 0) return {};
    return std::string(buffer, read);
}

void write_output(std::string_view utf8) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (is_console(output)) {
        std::fflush(stdout);
        const std::wstring wide = wide_of(utf8);
        DWORD written = 0;
        WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void discard_typed_input() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (is_console(input)) FlushConsoleInputBuffer(input);
}

#else

bool input_is_terminal() { return isatty(STDIN_FILENO) != 0; }

std::string read_input_chunk() {
    char buffer[4096];
    for (;;) {
        const ssize_t read_bytes = read(STDIN_FILENO, buffer, sizeof buffer);
        if (read_bytes > 0) return std::string(buffer, static_cast<std::size_t>(read_bytes));
        if (read_bytes < 0 && errno == EINTR) continue;
        return {};
    }
}

void write_output(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void discard_typed_input() {
    if (isatty(STDIN_FILENO)) tcflush(STDIN_FILENO, TCIFLUSH);
}

#endif

}  // namespace kz::term
