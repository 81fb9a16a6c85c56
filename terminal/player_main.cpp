// The terminal player: finds the quiz in the file it is given, checks and
// loads it as the runner does, and runs the exam through the same engine, in
// a terminal, until the student quits or the answers run out.
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "command_line.h"
#include "common/paths.h"
#include "common/random_source.h"
#include "console.h"
#include "engine/exam_engine.h"
#include "exam_timers.h"
#include "media_menu.h"
#include "media_player.h"
#include "message_box.h"
#include "player_session.h"
#include "private_folder.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/media_extractor.h"
#include "quiz/quiz_loader.h"
#include "res/string_table.h"
#include "results_paths.h"
#include "standard_streams.h"
#include "system_programs.h"
#include "terminal_clock.h"
#include "terminal_platform.h"
#include "terminal_text.h"
#include "terminal_view.h"

namespace kz::term {
namespace {

enum ExitCode { closed = 0, refused = 1, wrong_command_line = 2 };

void write_error(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

std::string own_utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

// A path the results file may take: the exam's record names its file in
// Windows-1252, so a path that the code page cannot hold cannot be used.
std::optional<std::string> results_path_text(const std::filesystem::path& path) {
    const std::filesystem::path whole = std::filesystem::absolute(path).lexically_normal();
    std::string text = path_to_cp1252(whole);
    if (path_from_cp1252(text) != whole) return std::nullopt;
    return text;
}

// A path written for Windows ("C:\...", "\\server\...") names no place on
// another system.
bool is_windows_path(std::string_view path) {
#if defined(_WIN32)
    (void)path;
    return false;
#else
    const bool drive = path.size() >= 2 && path[1] == ':';
    return drive || path.find('\\') != std::string_view::npos;
#endif
}

int play(const std::vector<std::string>& arguments) {
    const auto parsed = parse_command_line(arguments);
    if (!parsed) {
        write_error(parsed.error() + "\n" + own_utf8(u8"(player --help pour l'aide)\n"));
        return wrong_command_line;
    }
    const PlayerOptions& options = parsed.value();
    if (options.help) {
        write_output(usage_text());
        return closed;
    }

    std::optional<std::filesystem::path> results = options.results;
    if (!results) results = environment_path("KZ_RESULTS");
    std::optional<std::string> results_text;
    if (results) {
        results_text = results_path_text(*results);
        if (!results_text) {
            write_error(own_utf8(u8"Ce chemin de fichier de résultats contient des caractères que le "
                                 u8"questionnaire ne peut pas enregistrer : ") + utf8_of_path(*results) + "\n");
            return wrong_command_line;
        }
    }

    // The quiz, checked and loaded as the runner checks and loads its own file.
    const std::filesystem::path quiz_path = std::filesystem::absolute(options.quiz).lexically_normal();
    auto file = FileSource::open(quiz_path);
    if (!file) {
        write_error(own_utf8(u8"Impossible d'ouvrir le fichier : ") + utf8_of_path(options.quiz) + "\n");
        return refused;
    }
    const auto container = check_container(*file);
    auto loaded = container ? load_quiz(*file, *container)
                            : Result<QuizModel, LoadError>::failure(LoadError::unreadable_line);
    file.reset();
    LineInput input = LineInput::from_standard_input();
    Console console(input);
    if (!container || !loaded) {
        show_message_box(console, message_of(str::damaged_file, str::product_caption, MessageIcon::warning,
                                             MessageButtons::ok, false));
        return refused;
    }
    QuizModel model = std::move(loaded).value();

    // Storage mode 1 writes to the author's file, unless the student names
    // another; an author's Windows path cannot be used elsewhere, and the
    // exam then asks where to write, as for any file it cannot reach. An
    // author's path that names no results file is not written to: the record
    // goes to the student's own results file, and the end of the exam says so.
    std::string mode_0_file;
    if (results_text) {
        mode_0_file = *results_text;
    } else {
        mode_0_file = results_path_text(default_results_file()).value_or("kz.dat");
    }
    std::optional<std::string> refused_author_file;
    if (model.results_storage_mode == 1) {
        if (results_text) {
            model.results_file_path = *results_text;
        } else if (is_windows_path(model.results_file_path)) {
            model.results_file_path.clear();
        } else if (!names_results_file(path_from_cp1252(model.results_file_path))) {
            refused_author_file = model.results_file_path;
            model.results_file_path = mode_0_file;
        }
    }
    // A named pipe or a device would hold the exam's end for ever.
    const bool own_file_used =
        model.results_storage_mode == 0 || (model.results_storage_mode == 1 && model.results_file_path == mode_0_file);
    if (own_file_used && path_kind(path_from_cp1252(mode_0_file)) == PathKind::not_a_file) {
        write_error(own_utf8(u8"Ce fichier de résultats n'est pas un fichier ordinaire (tube nommé, périphérique "
                             u8"ou dossier) : ") +
                    utf8_of_path(path_from_cp1252(mode_0_file)) +
                    own_utf8(u8"\nIndiquez un fichier avec --results.\n"));
        return wrong_command_line;
    }
    std::optional<std::string> manager;
    if (const auto program = environment_path("KZ_RESULTS_MANAGER")) manager = path_to_cp1252(*program);

    // The quiz's items are extracted, and copied for other programs, in a
    // folder of the player's own. Without one, no item is extracted at all
    // (the quiz's items then show and play nothing).
    const std::filesystem::path temporary = temporary_folder();
    const std::optional<PrivateFolder> own_folder = PrivateFolder::create(temporary);
    std::optional<std::filesystem::path> extraction_folder;
    std::optional<std::filesystem::path> copies_folder;
    if (own_folder) {
        std::error_code error;
        if (std::filesystem::create_directory(own_folder->path() / "extraits", error))
            extraction_folder = own_folder->path() / "extraits";
        if (std::filesystem::create_directory(own_folder->path() / "copies", error))
            copies_folder = own_folder->path() / "copies";
    }
    QuizModel without_media;
    if (!extraction_folder) {
        without_media = model;
        without_media.media.clear();
    }
    MediaExtractor media(extraction_folder ? model : without_media, quiz_path,
                         extraction_folder.value_or(std::filesystem::path()));
    TerminalClock clock =
        options.fake_clock ? TerminalClock::fake(*options.fake_clock) : TerminalClock::system();
    ExamTimers timers(clock);
    MediaPlayer player(options.sound, copies_folder);
    MediaMenu menu(model);
    TerminalView view(console, timers, player, menu);

    DefaultRandom random = options.seed ? DefaultRandom(*options.seed) : DefaultRandom();
    TerminalRegistry registry(mode_0_file, manager);
    TerminalFolders folders(temporary);
    TerminalFileDialog file_dialog(console);
    NoMail mail;
    LaunchedPrograms programs;
    TerminalLauncher launcher(programs);
    Platform platform{clock, random, registry, folders, file_dialog, mail, launcher};

    ExamEngine engine(model, media, view, platform, quiz_path);
    PlayerContext context{model, console, view, engine, menu, false, refused_author_file};
    PlayerSession session(context, timers, clock, player);
    session.run();

    player.stop_sound();
    player.stop_music();
    media.delete_last();
    return closed;
}

}  // namespace
}  // namespace kz::term

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
    // Messages to the standard error stream are UTF-8, as the output is.
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::wstring wide(argv[i]);
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                             nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr,
                            nullptr);
        arguments.push_back(std::move(utf8));
    }
    return kz::term::play(arguments);
}
#else
int main(int argc, char** argv) {
    return kz::term::play(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
