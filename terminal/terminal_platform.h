#pragma once
// What the exam needs of the system besides its window, for the terminal.
// The terminal keeps no registry: the results file of storage mode 0 (the
// registry's "Chemin") is given by --results or KZ_RESULTS, else kz.dat in
// the user's home folder; the results manager (the registry's "Chemin EXE")
// by KZ_RESULTS_MANAGER. Mail is not available: the engine then says so
// (message 2018) and the results file stays in the temporary folder.
#include <filesystem>
#include <optional>
#include <string>

#include "console.h"
#include "exam/platform.h"
#include "system_programs.h"

namespace kz::term {

class TerminalRegistry final : public Registry {
public:
    // Paths in Windows-1252, as the registry holds them.
    TerminalRegistry(std::string results_file, std::optional<std::string> results_manager)
        : results_file_(std::move(results_file)), results_manager_(std::move(results_manager)) {}
    std::optional<std::string> read_string(std::string_view key, std::string_view value) override;
    // Nothing is kept: the results file always comes from the options.
    bool write_string(std::string_view, std::string_view, std::string_view) override { return true; }

private:
    std::string results_file_;
    std::optional<std::string> results_manager_;
};

class TerminalFolders final : public SystemFolders {
public:
    explicit TerminalFolders(std::filesystem::path temporary) : temporary_(std::move(temporary)) {}
    std::filesystem::path temporary_folder() override { return temporary_; }
    std::string windows_folder() override;

private:
    std::filesystem::path temporary_;
};

// The data-file dialog: a path typed on a line; an empty line cancels.
class TerminalFileDialog final : public FileDialog {
public:
    explicit TerminalFileDialog(Console& console) : console_(console) {}
    std::optional<std::filesystem::path> choose_data_file() override;

private:
    Console& console_;
};

class NoMail final : public MailSender {
public:
    bool send_results_mail(const ResultsMail&) override { return false; }
};

class TerminalLauncher final : public ProgramLauncher {
public:
    explicit TerminalLauncher(LaunchedPrograms& programs) : programs_(programs) {}
    bool open(const std::filesystem::path& program) override { return programs_.start_program_file(program); }

private:
    LaunchedPrograms& programs_;
};

// kz.dat in the user's home folder (HOME; USERPROFILE on Windows), or in the
// current folder when the system names no home folder.
std::filesystem::path default_results_file();

// The system's folder for temporary files.
std::filesystem::path temporary_folder();

}  // namespace kz::term
