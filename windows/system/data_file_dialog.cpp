#include "system/data_file_dialog.h"

#include <commdlg.h>

#include "res/string_table.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

constexpr wchar_t initial_name[] = L"kz.dat";

// The filter of the string table, "Fichier de données|*.dat|Tous fichiers|*.*||",
// with each bar turned into the terminator the dialog expects.
std::wstring data_file_filter() {
    std::wstring filter = widen(load_message(str::data_file_filter));
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    // Two terminators end the list, whatever the string's own end.
    filter.append(2, L'\0');
    return filter;
}

}  // namespace

std::optional<std::filesystem::path> DataFileDialog::choose_data_file() {
    const std::wstring filter = data_file_filter();
    wchar_t file[MAX_PATH] = {};
    wcscpy_s(file, initial_name);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_.get();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    return std::filesystem::path(file);
}

}  // namespace kz::win
