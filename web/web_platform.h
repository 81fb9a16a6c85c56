#pragma once
// What the exam needs of the system besides its window, in a browser. The
// page keeps everything in memory: the quiz, its media and the results file
// live in the WebAssembly's own file system, and nothing is written to the
// student's disk but the results file the student chooses to save.
//
// The results file of every storage mode is the page's own (results_file):
// a browser can neither write where the quiz's author said nor send mail.
// The page then offers each exam's record to be saved, and sends it to the
// teacher's address when the page was made with one.
#include <functional>
#include <map>
#include <string>

#include "exam/platform.h"

namespace kz::web {

inline constexpr const char* results_file = "/resultats/kz.dat";

// The registry as the page answers it: "Chemin" names the page's results
// file; values written are kept for the page's life.
class PageRegistry final : public Registry {
public:
    PageRegistry();
    std::optional<std::string> read_string(std::string_view key, std::string_view value) override;
    bool write_string(std::string_view key, std::string_view value, std::string_view data) override;

private:
    std::map<std::string, std::string> values_;
};

class PageFolders final : public SystemFolders {
public:
    std::filesystem::path temporary_folder() override { return "/tmp"; }
    std::string windows_folder() override { return "C:\\WINDOWS"; }
};

// The results file never needs replacing: the page's own is always there.
class NoFileDialog final : public FileDialog {
public:
    std::optional<std::filesystem::path> choose_data_file() override { return std::nullopt; }
};

class NoMail final : public MailSender {
public:
    bool send_results_mail(const ResultsMail&) override { return false; }
};

// "Détails des résultats" starts the results manager on Windows; in the page,
// the exam's details are shown instead, by `show_details`.
class DetailsLauncher final : public ProgramLauncher {
public:
    explicit DetailsLauncher(std::function<void()> show_details) : show_details_(std::move(show_details)) {}
    bool open(const std::filesystem::path&) override {
        show_details_();
        return true;
    }

private:
    std::function<void()> show_details_;
};

}  // namespace kz::web
