#pragma once
// The file-open dialog in which the student chooses another results data
// file when the quiz's own cannot be used.
#include <windows.h>

#include "exam/platform.h"

namespace kz::win {

class DataFileDialog final : public FileDialog {
public:
    // `owner` is the main window, read when the dialog opens.
    explicit DataFileDialog(const HWND& owner) : owner_(owner) {}
    std::optional<std::filesystem::path> choose_data_file() override;

private:
    const HWND& owner_;
};

}  // namespace kz::win
