#pragma once
// What the exam needs of the system besides its window: the local clock, the
// registry, the system folders, the data-file dialog, the mail and the start
// of the results manager. Each front end provides them; tests use fakes.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/random_source.h"

namespace kz {

struct LocalTime {
    int year = 2000;
    int month = 1;   // 1-12
    int day = 1;     // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
};

// The computer's local time.
class SystemClock final : public Clock {
public:
    LocalTime now() override;
};

// String values under HKEY_LOCAL_MACHINE.
class Registry {
public:
    virtual ~Registry() = default;
    // Nothing when the key or the value is missing.
    virtual std::optional<std::string> read_string(std::string_view key, std::string_view value) = 0;
    // Creates the key when needed; false when the value could not be written.
    [[nodiscard]] virtual bool write_string(std::string_view key, std::string_view value, std::string_view data) = 0;
};

inline constexpr std::string_view maker_key = "Software\\Ondalys\\Bilanor";
inline constexpr std::string_view data_path_value = "Chemin";
inline constexpr std::string_view manager_path_value = "Chemin EXE";

class SystemFolders {
public:
    virtual ~SystemFolders() = default;
    virtual std::filesystem::path temporary_folder() = 0;
    virtual std::string windows_folder() = 0;  // Windows-1252, "C:\WINDOWS"
};

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The data-file dialog ("Fichier de données", "*.dat"; initial name
    // "kz.dat"); nothing when the student cancels.
    virtual std::optional<std::filesystem::path> choose_data_file() = 0;
};

struct ResultsMail {
    std::string subject;    // the quiz name
    std::string recipient;  // name and address
    std::string profile;
    std::string password;
    std::filesystem::path attachment;
};

class MailSender {
public:
    virtual ~MailSender() = default;
    // True when the mail system accepted the message.
    [[nodiscard]] virtual bool send_results_mail(const ResultsMail& mail) = 0;
};

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Starts the program without waiting; false when it could not be started.
    virtual bool open(const std::filesystem::path& program) = 0;
};

// Everything the engine reaches besides its view.
struct Platform {
    Clock& clock;
    RandomSource& random;
    Registry& registry;
    SystemFolders& folders;
    FileDialog& file_dialog;
    MailSender& mail;
    ProgramLauncher& launcher;
};

}  // namespace kz
