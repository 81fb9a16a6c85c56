#pragma once
// The end page's "Détails des résultats": starts the results manager, which
// reads the results data file.
#include <filesystem>

#include "exam/message.h"
#include "exam/platform.h"

namespace kz {

// Starts the program named by the registry's "Chemin EXE", or "Elevor.exe"
// beside the runner; tells the student when it cannot be started.
void launch_results_manager(Platform& platform, MessageBoxes& messages,
                            const std::filesystem::path& runner_directory);

}  // namespace kz
