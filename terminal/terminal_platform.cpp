#include "terminal_platform.h"

#include <system_error>

#include "common/paths.h"
#include "results_paths.h"
#include "terminal_text.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace kz::term {

std::optional<std::string> TerminalRegistry::read_string(std::string_view key, std::string_view value) {
    if (key != maker_key) return std::nullopt;
    if (value == data_path_value) return results_file_;
    if (value == manager_path_value) return results_manager_;
    return std::nullopt;
}

std::string TerminalFolders::windows_folder() {
#if defined(_WIN32)
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH) return path_to_cp1252(std::filesystem::path(buffer));
#endif
    return path_to_cp1252(std::filesystem::current_path().root_path());
}

std::optional<std::filesystem::path> TerminalFileDialog::choose_data_file() {
    for (;;) {
        const auto typed = console_.ask(cp(u8"Fichier de données (*.dat), chemin complet ; vide pour annuler"));
        if (!typed || trimmed(*typed).empty()) return std::nullopt;
        std::filesystem::path chosen = path_from_cp1252(trimmed(*typed));
        // A named pipe or a device would hold the exam's end for ever.
        if (path_kind(chosen) != PathKind::not_a_file) return chosen;
        console_.line(cp(u8"Ce chemin n'est pas un fichier ordinaire (tube nommé, périphérique ou dossier) : "
                         u8"indiquez un fichier."));
    }
}

std::filesystem::path default_results_file() {
#if defined(_WIN32)
    auto home = environment_path("USERPROFILE");
#else
    auto home = environment_path("HOME");
#endif
    std::error_code error;
    if (!home) return std::filesystem::current_path(error) / "kz.dat";
    return *home / "kz.dat";
}

std::filesystem::path temporary_folder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error) folder = std::filesystem::current_path(error);
    return folder;
}

}  // namespace kz::term
