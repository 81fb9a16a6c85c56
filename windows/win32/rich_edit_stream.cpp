#include "win32/rich_edit_stream.h"

#include <algorithm>

namespace kz::win {
namespace {

// The bytes handed to the control, block by block, by its stream-in reader.
DWORD CALLBACK read_from_memory(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto& left = *reinterpret_cast<std::string_view*>(cookie);
    const std::size_t count = std::min(left.size(), static_cast<std::size_t>(std::max<LONG>(wanted, 0)));
    std::copy_n(left.data(), count, buffer);
    left.remove_prefix(count);
    *given = static_cast<LONG>(count);
    return 0;  // a block of 0 bytes ends the transfer
}

DWORD CALLBACK write_to_memory(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                   static_cast<std::size_t>(std::max<LONG>(count, 0)));
    *taken = count;
    return 0;
}

}  // namespace

bool stream_in(HWND control, WPARAM format, std::string_view bytes) {
    if (!control) return false;
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&bytes), 0, read_from_memory};
    SendMessageW(control, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

std::string stream_out(HWND control, WPARAM format) {
    std::string bytes;
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&bytes), 0, write_to_memory};
    if (control) SendMessageW(control, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError != 0) bytes.clear();
    return bytes;
}

}  // namespace kz::win
