#pragma once
// Windows-1252 texts of the core shown through the wide-character API, so
// that they read right whatever the system's code page.
#include <windows.h>

#include <string>
#include <string_view>

namespace kz::win {

std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view text);

void set_item_text(HWND dialog, int id, std::string_view text);
std::string item_text(HWND dialog, int id);
void set_window_text(HWND window, std::string_view text);

// A message box with a string-table text and caption.
int message_box(HWND owner, int text_id, int caption_id, UINT style);
int message_box_text(HWND owner, std::string_view text, int caption_id, UINT style);

}  // namespace kz::win
