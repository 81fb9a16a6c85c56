#pragma once
// The window that owns what the system shows for the runner (the data-file
// dialog, the mail client's window, the results manager started): the main
// window while it exists, none before it is made and once it is gone. The
// main window sets it and clears it; the services that read it are made after
// it and destroyed before it, and read it at each use, so none keeps a handle
// of its own that could outlive the window.
#include <windows.h>

namespace kz::win {

class OwnerWindow {
public:
    OwnerWindow() = default;
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    HWND get() const { return window_; }
    void set(HWND window) { window_ = window; }
    void clear() { window_ = nullptr; }

private:
    HWND window_ = nullptr;
};

}  // namespace kz::win
