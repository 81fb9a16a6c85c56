#include "private_folder.h"

#include <random>
#include <string>
#include <system_error>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <stdlib.h>
#endif

namespace kz::term {

std::optional<PrivateFolder> PrivateFolder::create(const std::filesystem::path& parent) {
#if defined(_WIN32)
    // CreateDirectory fails on any name that already exists (a folder, a
    // file or a link someone put there), so the folder made is always new.
    // The user's temporary folder is the user's own: the new folder
    // inherits its rights.
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[32] = {};
        swprintf(name, 32, L"kz-player-%08x%08x", static_cast<unsigned>(entropy()),
                 static_cast<unsigned>(entropy()) ^ static_cast<unsigned>(GetTickCount()));
        const std::filesystem::path folder = parent / name;
        if (CreateDirectoryW(folder.c_str(), nullptr)) return PrivateFolder(folder);
        if (GetLastError() != ERROR_ALREADY_EXISTS) return std::nullopt;
    }
    return std::nullopt;
#else
    // mkdtemp makes a new folder of a random name with the rights 0700.
    std::string pattern = (parent / "kz-player-XXXXXX").native();
    std::vector<char> text(pattern.begin(), pattern.end());
    text.push_back('\0');
    if (!mkdtemp(text.data())) return std::nullopt;
    return PrivateFolder(std::filesystem::path(text.data()));
#endif
}

PrivateFolder::~PrivateFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace kz::term
