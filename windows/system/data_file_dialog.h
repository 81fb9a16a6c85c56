#pragma once
// The file-open dialog in which the student chooses another results data
// file when the quiz's own cannot be used.
#include <windows.h>

#include "exam/platform.h"
#include "win32/owner_window.h"

namespace kz::win {

class DataFileDialog final : public FileDialog {
public:
    // The dialog is owned by `owner`'s window at the time it opens.
    explicit DataFileDialog(const OwnerWindow& owner) : owner_(owner) {}
    std::optional<std::filesystem::path> choose_data_file() override;

private:
    const OwnerWindow& owner_;
};

}  // namespace kz::win
