#include "common/paths.h"

#include "common/cp1252.h"

namespace kz {

std::filesystem::path path_from_cp1252(std::string_view name) {
#ifdef _WIN32
    const std::u16string wide = cp1252_to_utf16(name);
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
    return std::filesystem::path(cp1252_to_utf8(name));
#endif
}

std::string path_to_cp1252(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring& wide = path.native();
    return utf16_to_cp1252(std::u16string(wide.begin(), wide.end()));
#else
    const std::string& utf8 = path.native();
    if (auto text = utf8_to_cp1252(utf8)) return *text;
    std::string out;
    for (unsigned char c : utf8) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
#endif
}

}  // namespace kz
