// Start-up: find the quiz inside the program's own file, load the rich-edit
// library, read the quiz, and run the main exam window until the student quits.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "display/sound.h"
#include "frame/main_window.h"
#include "host/runner_state.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/quiz_loader.h"
#include "res/string_table.h"
#include "resources/resource.h"
#include "system/system_folders.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

constexpr wchar_t main_class_name[] = L"QuizKZClasse";
constexpr std::uint64_t oldest_rich_edit_size = 400000;

std::filesystem::path module_path(HMODULE module) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

void report_damaged_file() {
    message_box(nullptr, str::damaged_file, str::product_caption, MB_OK | MB_ICONWARNING);
}

// Loads the rich-edit library; false when the student chose to stop because
// the installed library is too old.
bool load_rich_edit(RunnerState& runner) {
    runner.rich_edit.reset(LoadLibraryW(L"RICHED20.DLL"));
    if (!runner.rich_edit) {
        message_box(nullptr, str::rich_edit_missing, str::error_caption, MB_OK | MB_ICONERROR);
        return true;
    }
    const auto library = FileSource::open(module_path(runner.rich_edit.get()));
    if (library && library->size() < oldest_rich_edit_size) {
        const int answer = message_box(nullptr, str::rich_edit_too_old, str::product_caption,
                                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
        return answer == IDYES;
    }
    return true;
}

bool register_main_class(HINSTANCE instance, HICON icon) {
    WNDCLASSEXW dialog_class = {};
    dialog_class.cbSize = sizeof dialog_class;
    if (!GetClassInfoExW(nullptr, L"#32770", &dialog_class)) return false;
    dialog_class.cbWndExtra = DLGWINDOWEXTRA;
    dialog_class.hInstance = instance;
    if (icon) dialog_class.hIcon = icon;
    dialog_class.lpszClassName = main_class_name;
    return RegisterClassExW(&dialog_class) != 0;
}

int run(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                          ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    RunnerState runner;
    runner.instance = instance;
    runner.runner_path = module_path(nullptr);
    runner.runner_directory = runner.runner_path.parent_path() / L"";
    runner.temp_directory = WindowsFolders().temporary_folder();

    // The quiz container: checked before anything else is shown.
    auto own_file = FileSource::open(runner.runner_path);
    const auto container = own_file ? check_container(*own_file) : std::nullopt;
    if (!container) {
        own_file.reset();
        report_damaged_file();
        return 0;
    }

    if (!load_rich_edit(runner)) return 0;

    auto quiz = load_quiz(*own_file, *container);
    own_file.reset();
    if (!quiz) {
        report_damaged_file();
        return 0;
    }
    runner.quiz = std::move(quiz).value();
    runner.media = std::make_unique<MediaExtractor>(runner.quiz, runner.runner_path, runner.temp_directory);

    OwnedIcon icon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, 0, 0,
                                                 LR_DEFAULTSIZE | LR_SHARED)));
    if (!register_main_class(instance, icon.get()))
        message_box(nullptr, str::cannot_show_quiz, str::product_caption, MB_OK | MB_ICONERROR);

    if (run_main_window(runner) == -1)
        message_box(nullptr, str::cannot_show_quiz, str::product_caption, MB_OK | MB_ICONERROR);
    // Nothing of the quiz goes on playing once its window has gone.
    stop_sound();
    stop_music();

    icon.release();  // shared icons are never destroyed
    UnregisterClassW(main_class_name, instance);
    runner.media->delete_last();
    return 0;
}

}  // namespace
}  // namespace kz::win

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return kz::win::run(instance); }
