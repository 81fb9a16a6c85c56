#include "system/system_registry.h"

#include <windows.h>

#include "win32/gdi_handle.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

// The maker's programs are 32-bit programs: their settings live in the 32-bit
// view of the registry, which this runner reads and writes whatever its own
// build.
constexpr REGSAM maker_view = KEY_WOW64_32KEY;

// Values longer than this are not paths the maker's programs wrote.
constexpr DWORD longest_value = 32767;

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using OwnedKey = Owned<HKEY, KeyCloser>;

}  // namespace

std::optional<std::string> MachineRegistry::read_string(std::string_view key, std::string_view value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, widen(key).c_str(), 0, KEY_QUERY_VALUE | maker_view, &opened) !=
        ERROR_SUCCESS)
        return std::nullopt;
    const OwnedKey handle(opened);
    const std::wstring name = widen(value);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(opened, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > longest_value * sizeof(wchar_t))
        return std::nullopt;
    // One character more than the value, for a value stored without its
    // terminator.
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegQueryValueExW(opened, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &read) !=
        ERROR_SUCCESS)
        return std::nullopt;
    data.resize(read / sizeof(wchar_t));
    const std::size_t end = data.find(L'\0');
    if (end != std::wstring::npos) data.resize(end);
    return narrow(data);
}

bool MachineRegistry::write_string(std::string_view key, std::string_view value, std::string_view data) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, widen(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE | maker_view, nullptr, &created, nullptr) != ERROR_SUCCESS)
        return false;
    const OwnedKey handle(created);
    // Stored with its terminator, as every reader of a string value expects.
    const std::wstring text = widen(data);
    const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(created, widen(value).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          size) == ERROR_SUCCESS;
}

}  // namespace kz::win
