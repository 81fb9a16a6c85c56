#include "harness/correction_window.h"

#include "harness/exam_window.h"

namespace kz::e2e {
namespace {

std::string utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace

HWND wait_correction(const Process& process, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    wait_until(
        [&] {
            // Only the correction dialog has the comment's frame.
            for (HWND window : process.windows(L"#32770"))
                if (GetDlgItem(window, correction_ids::comment_box)) found = window;
            return found != nullptr;
        },
        timeout);
    return found;
}

PlaceShown place_shown(HWND dialog, const correction_ids::Place& place) {
    const bool text = item_visible(dialog, place.text);
    const bool picture = item_visible(dialog, place.picture);
    const bool buttons = item_visible(dialog, place.play) && item_visible(dialog, place.stop);
    const bool any_button = item_visible(dialog, place.play) || item_visible(dialog, place.stop);
    PlaceShown shown;
    const int count = int(text) + int(picture) + int(any_button);
    if (count > 1 || (any_button && !buttons)) {
        shown.kind = PlaceShown::Kind::mixed;
    } else if (text) {
        shown.kind = PlaceShown::Kind::text;
        shown.text = shown_text(dialog, place.text);
    } else if (picture) {
        shown.kind = PlaceShown::Kind::picture;
        RECT rect = {};
        GetClientRect(GetDlgItem(dialog, place.picture), &rect);
        shown.picture = {rect.right, rect.bottom};
    } else if (buttons) {
        shown.kind = PlaceShown::Kind::buttons;
    }
    return shown;
}

std::ostream& operator<<(std::ostream& out, const PlaceShown& shown) {
    switch (shown.kind) {
    case PlaceShown::Kind::nothing: return out << "nothing";
    case PlaceShown::Kind::text: return out << "text \"" << utf8(shown.text) << "\"";
    case PlaceShown::Kind::picture: return out << "picture " << shown.picture.cx << " x " << shown.picture.cy;
    case PlaceShown::Kind::buttons: return out << "play and stop";
    case PlaceShown::Kind::mixed: return out << "a mix of text, picture and buttons";
    }
    return out;
}

RECT screen_rect(HWND dialog, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    return rect;
}

void press_close_box(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool file_held_open(const std::filesystem::path& file) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace kz::e2e
