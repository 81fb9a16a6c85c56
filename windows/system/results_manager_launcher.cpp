#include "system/results_manager_launcher.h"

#include <shellapi.h>

namespace kz::win {
namespace {

// ShellExecute reports success by any value above this one.
constexpr INT_PTR last_shell_error = 32;

}  // namespace

bool ResultsManagerLauncher::open(const std::filesystem::path& program) {
    // The results manager starts in the quiz's folder, where it finds its own
    // files and the quiz's results.
    SetCurrentDirectoryW(runner_directory_.c_str());
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner_.get(), L"open", program.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > last_shell_error;
}

}  // namespace kz::win
