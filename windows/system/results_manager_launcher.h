#pragma once
// Starts the results manager from the end page, beside the quiz.
#include <windows.h>

#include "exam/platform.h"
#include "win32/owner_window.h"

namespace kz::win {

class ResultsManagerLauncher final : public ProgramLauncher {
public:
    // Started for `owner`'s window at the time of each start.
    ResultsManagerLauncher(const OwnerWindow& owner, std::filesystem::path runner_directory)
        : owner_(owner), runner_directory_(std::move(runner_directory)) {}
    bool open(const std::filesystem::path& program) override;

private:
    const OwnerWindow& owner_;
    std::filesystem::path runner_directory_;
};

}  // namespace kz::win
