#include "results/results_manager.h"

#include "common/paths.h"
#include "common/text_helpers.h"
#include "res/string_table.h"

namespace kz {

void launch_results_manager(Platform& platform, MessageBoxes& messages,
                            const std::filesystem::path& runner_directory) {
    const std::string stored = head_text(
        platform.registry.read_string(maker_key, manager_path_value).value_or(std::string()),
        255);
    const std::filesystem::path program =
        stored.empty() ? runner_directory / "Elevor.exe" : path_from_cp1252(stored);
    if (!platform.launcher.open(program))
        messages.show_message(
            message_of(str::results_manager_missing, str::product_caption, MessageIcon::warning));
}

}  // namespace kz
