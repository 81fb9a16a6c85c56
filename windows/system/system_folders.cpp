#include "system/system_folders.h"

#include <windows.h>

#include "win32/win_text.h"

namespace kz::win {

std::filesystem::path WindowsFolders::temporary_folder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    return length > 0 && length <= MAX_PATH ? std::filesystem::path(buffer) : std::filesystem::path();
}

std::string WindowsFolders::windows_folder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? narrow(buffer) : std::string();
}

}  // namespace kz::win
