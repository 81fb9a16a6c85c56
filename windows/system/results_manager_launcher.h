#pragma once
// Starts the results manager from the end page, beside the quiz.
#include <windows.h>

#include "exam/platform.h"

namespace kz::win {

class ResultsManagerLauncher final : public ProgramLauncher {
public:
    // `owner` is the main window, read at each start.
    ResultsManagerLauncher(const HWND& owner, std::filesystem::path runner_directory)
        : owner_(owner), runner_directory_(std::move(runner_directory)) {}
    bool open(const std::filesystem::path& program) override;

private:
    const HWND& owner_;
    std::filesystem::path runner_directory_;
};

}  // namespace kz::win
