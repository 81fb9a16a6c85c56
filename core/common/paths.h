#pragma once
// File names in the quiz are Windows-1252 texts; the file system wants its own
// path type (UTF-16 on Windows, UTF-8 on Linux).
#include <filesystem>
#include <string>
#include <string_view>

namespace kz {

std::filesystem::path path_from_cp1252(std::string_view name);
// Characters outside Windows-1252 become '?'.
std::string path_to_cp1252(const std::filesystem::path& path);

}  // namespace kz
