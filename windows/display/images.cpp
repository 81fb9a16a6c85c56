#include "display/images.h"

#include <algorithm>

#include "resources/resource.h"
#include "win32/dialog_window.h"

namespace kz::win {
namespace {

// A bitmap of the file's picture drawn to the given size (its natural size
// when none), in 24-bit colour: a plain picture that every static control
// shows the same way, whatever the file's format and the screen's depth.
OwnedBitmap read_bitmap_file(const std::filesystem::path& file, int max_width, int max_height) {
    OwnedBitmap natural(static_cast<HBITMAP>(
        LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!natural) return {};
    BITMAP description = {};
    if (!GetObjectW(natural.get(), sizeof description, &description) || description.bmWidth <= 0 ||
        description.bmHeight == 0)
        return {};
    const int natural_width = description.bmWidth;
    const int natural_height = description.bmHeight < 0 ? -description.bmHeight : description.bmHeight;
    int width = natural_width, height = natural_height;
    if (max_width > 0 && max_height > 0) {
        // Each side on its own: a picture wider than its box but lower keeps
        // its height and is narrowed to the box.
        width = natural_width < max_width ? natural_width : max_width;
        height = natural_height < max_height ? natural_height : max_height;
    }

    HDC screen = GetDC(nullptr);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap fitted(CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (fitted) {
        HDC source = CreateCompatibleDC(screen);
        HDC target = CreateCompatibleDC(screen);
        HGDIOBJ old_source = SelectObject(source, natural.get());
        HGDIOBJ old_target = SelectObject(target, fitted.get());
        SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, nullptr);
        StretchBlt(target, 0, 0, width, height, source, 0, 0, natural_width, natural_height, SRCCOPY);
        SelectObject(target, old_target);
        SelectObject(source, old_source);
        DeleteDC(target);
        DeleteDC(source);
    }
    ReleaseDC(nullptr, screen);
    return fitted;
}

SIZE bitmap_size(HBITMAP bitmap) {
    BITMAP description = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof description, &description)) return {0, 0};
    return {description.bmWidth, description.bmHeight < 0 ? -description.bmHeight : description.bmHeight};
}

// The preview window while it runs: the file and the bitmap it shows, freed
// when the window has closed.
class ImagePreview final : public DialogWindow {
public:
    explicit ImagePreview(const std::filesystem::path& file) : file_(file) {}

private:
    BOOL on_init_dialog() override {
        HWND window = this->window();
        // The preview window is this much wider and higher than its picture.
        constexpr int frame_width = 20, frame_height = 35;
        HWND picture = GetDlgItem(window, IDC_PREVIEW_PICTURE);
        picture_ = read_bitmap_file(file_, 0, 0);

        // A picture larger than the screen would put the window's title and
        // edges out of reach and show only its middle: it is reduced,
        // keeping its proportions, until the framed picture fits the work
        // area.
        RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const int room_width = work.right - work.left - frame_width;
        const int room_height = work.bottom - work.top - frame_height;
        const SIZE natural = bitmap_size(picture_.get());
        bool reduced = false;
        if (natural.cx > 0 && room_width > 0 && room_height > 0 &&
            (natural.cx > room_width || natural.cy > room_height)) {
            const double scale = std::min(static_cast<double>(room_width) / natural.cx,
                                          static_cast<double>(room_height) / natural.cy);
            OwnedBitmap smaller = read_bitmap_file(file_, std::max(1, static_cast<int>(natural.cx * scale)),
                                                   std::max(1, static_cast<int>(natural.cy * scale)));
            if (smaller) {
                picture_ = std::move(smaller);
                reduced = true;
            }
        }
        if (picture_)
            SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.get()));

        // The window frames the picture, the picture centred on the screen
        // (a reduced one with its frame centred on the work area), and the
        // picture in the middle of the client area.
        RECT bounds = {};
        GetWindowRect(picture, &bounds);
        const int width = bounds.right - bounds.left;
        const int height = bounds.bottom - bounds.top;
        int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        if (reduced) {
            x = work.left + (room_width - width) / 2;
            y = work.top + (room_height - height) / 2;
        }
        MoveWindow(window, x, y, width + frame_width, height + frame_height, FALSE);
        RECT client = {};
        GetClientRect(window, &client);
        const int picture_x = (client.right - width) / 2;
        const int picture_y = (client.bottom - height) / 2;
        SetWindowPos(picture, nullptr, picture_x > 0 ? picture_x : 0, picture_y > 0 ? picture_y : 0, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
        return TRUE;
    }

    // Ends the preview once. Ending it hides it and activates the window
    // under it, which deactivates the preview: ending it again from there
    // would activate that window again from inside its own activation, over
    // and over, and leave it with an inactive frame and no control in focus.
    void close_preview() {
        if (closing_) return;
        closing_ = true;
        EndDialog(window(), 0);
    }

    void on_command(int /*id*/, int /*notification*/) override { close_preview(); }

    bool on_close() override {
        close_preview();
        return true;
    }

    // A picture is shown pixel for pixel on any screen: the window only
    // follows it to where the system puts it.
    void on_dpi_changed(int /*new_dpi*/, const RECT& suggested) override {
        SetWindowPos(window(), nullptr, suggested.left, suggested.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    std::optional<INT_PTR> on_message(UINT message, WPARAM wparam, LPARAM /*lparam*/) override {
        switch (message) {
        case WM_ACTIVATE:
            // Activating any other window closes the preview.
            if (LOWORD(wparam) == WA_INACTIVE) close_preview();
            return FALSE;
        case WM_LBUTTONDOWN:
            close_preview();
            return TRUE;
        default:
            return std::nullopt;
        }
    }

    std::filesystem::path file_;
    OwnedBitmap picture_;
    bool closing_ = false;
};

}  // namespace

OwnedBitmap load_fitted_bitmap(HWND dialog, int id, const std::filesystem::path& file, int max_width,
                               int max_height) {
    OwnedBitmap bitmap = read_bitmap_file(file, max_width, max_height);
    if (!bitmap) return {};
    // The image the control showed before belongs to whoever set it.
    SendDlgItemMessageW(dialog, id, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
    return bitmap;
}

void show_image_preview(const std::filesystem::path& file, HINSTANCE resources) {
    ImagePreview preview(file);
    preview.run_modal(resources, IDD_IMAGE_PREVIEW, nullptr);
}

}  // namespace kz::win
