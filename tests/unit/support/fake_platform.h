#pragma once
// Fakes of the system services the engine reaches: a clock the test sets, a
// random source that plays scripted values, an in-memory registry, fixed
// folders, a scripted file dialog, and a mail sender and launcher that
// remember their calls.
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/random_source.h"
#include "exam/platform.h"

namespace kz::test {

class FakeClock final : public Clock {
public:
    LocalTime time{2026, 12, 5, 9, 7, 3};
    LocalTime now() override { return time; }
};

// Plays the scripted values (each must lie below the n asked for); once they
// run out, draws from a seeded generator. Counts the draws.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::uint64_t seed = 7) : fallback_(seed) {}
    std::deque<std::uint32_t> script;
    std::vector<std::uint32_t> asked_below;  // the n of every draw
    std::uint32_t below(std::uint32_t n) override;

private:
    DefaultRandom fallback_;
};

class FakeRegistry final : public Registry {
public:
    std::map<std::string, std::string> values;  // "key\value" -> data
    bool writable = true;
    static std::string name(std::string_view key, std::string_view value);
    std::optional<std::string> read_string(std::string_view key, std::string_view value) override;
    bool write_string(std::string_view key, std::string_view value, std::string_view data) override;
};

class FakeFolders final : public SystemFolders {
public:
    std::filesystem::path temporary;
    std::string windows = "C:\\WINDOWS";
    std::filesystem::path temporary_folder() override { return temporary; }
    std::string windows_folder() override { return windows; }
};

class FakeFileDialog final : public FileDialog {
public:
    std::deque<std::optional<std::filesystem::path>> choices;  // nothing: cancelled
    int opened = 0;
    std::optional<std::filesystem::path> choose_data_file() override;
};

class FakeMail final : public MailSender {
public:
    std::vector<ResultsMail> sent;
    bool accepts = true;
    bool send_results_mail(const ResultsMail& mail) override;
};

class FakeLauncher final : public ProgramLauncher {
public:
    std::vector<std::filesystem::path> opened;
    bool starts = true;
    bool open(const std::filesystem::path& program) override;
};

struct FakePlatform {
    FakeClock clock;
    ScriptedRandom random;
    FakeRegistry registry;
    FakeFolders folders;
    FakeFileDialog file_dialog;
    FakeMail mail;
    FakeLauncher launcher;
    Platform platform{clock, random, registry, folders, file_dialog, mail, launcher};
};

}  // namespace kz::test
