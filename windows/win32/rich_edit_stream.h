#pragma once
// A rich-edit control's content streamed in from memory and out into it.
#include <windows.h>

#include <richedit.h>

#include <string>
#include <string_view>

namespace kz::win {

// Streams the bytes into the control (EM_STREAMIN with this format: SF_RTF,
// SF_TEXT | SF_UNICODE, with SFF_SELECTION to replace the selection only).
// False when the control refused them.
bool stream_in(HWND control, WPARAM format, std::string_view bytes);

// The control's content in this format (EM_STREAMOUT); nothing when the
// control gave none.
std::string stream_out(HWND control, WPARAM format);

}  // namespace kz::win
