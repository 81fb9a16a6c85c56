#include "win32/win_text.h"

#include "common/cp1252.h"
#include "res/string_table.h"

namespace kz::win {

std::wstring widen(std::string_view text) {
    const std::u16string wide = cp1252_to_utf16(text);
    return std::wstring(wide.begin(), wide.end());
}

std::string narrow(std::wstring_view text) {
    return utf16_to_cp1252(std::u16string(text.begin(), text.end()));
}

void set_item_text(HWND dialog, int id, std::string_view text) {
    SetDlgItemTextW(dialog, id, widen(text).c_str());
}

std::string item_text(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) return {};
    std::wstring buffer(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    const int length = GetWindowTextW(item, buffer.data(), static_cast<int>(buffer.size()));
    buffer.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return narrow(buffer);
}

void set_window_text(HWND window, std::string_view text) { SetWindowTextW(window, widen(text).c_str()); }

int message_box(HWND owner, int text_id, int caption_id, UINT style) {
    return message_box_text(owner, load_message(text_id), caption_id, style);
}

int message_box_text(HWND owner, std::string_view text, int caption_id, UINT style) {
    return MessageBoxW(owner, widen(text).c_str(), widen(load_caption(caption_id)).c_str(), style);
}

}  // namespace kz::win
