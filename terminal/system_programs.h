#pragma once
// Other programs the player starts: a sound player, the system's default
// program for a picture, a sound or a web address, the results manager. The
// player never waits for them; it stops only the sound players it started.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kz::term {

// A program the player started. Moving it moves the ownership; the player
// keeps the sound players it may stop, and lets the others run on.
class ChildProcess {
public:
    // Starts the program with the arguments, its standard streams away from
    // the terminal; nothing when it cannot be started.
    static std::optional<ChildProcess> start(const std::filesystem::path& program,
                                             const std::vector<std::filesystem::path>& arguments);

    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // Leaves the program running (a picture viewer outlives the player).
    ~ChildProcess();

    // True once the program has ended (it is then reaped).
    bool finished();
    // Ends the program if it still runs.
    void stop();

private:
    ChildProcess() = default;
    void release();

#if defined(_WIN32)
    void* process_ = nullptr;  // HANDLE
#else
    int pid_ = -1;
#endif
};

// The value of an environment variable, as a path of the system's own kind;
// nothing when it is not set or empty.
std::optional<std::filesystem::path> environment_path(const char* name);

// The program of that name in the folders of PATH (a name with a folder is
// taken as it is, when the file exists).
std::optional<std::filesystem::path> find_program(const std::filesystem::path& name);

// Programs started and let run. Those that have ended are reaped whenever
// another one starts, so none is left as a zombie while the player runs.
class LaunchedPrograms {
public:
    // Hands a file or a web address to the system's default program for it
    // (xdg-open, or ShellExecute "open"; the program named by KZ_OPEN_COMMAND
    // when set). False when nothing could be started.
    bool open_with_default_program(const std::filesystem::path& target);

    // Starts a program file: directly when it is executable, else through the
    // default program for it. False when the file is missing or nothing started.
    bool start_program_file(const std::filesystem::path& program);

private:
    bool keep(std::optional<ChildProcess> child);
    std::vector<ChildProcess> running_;
};

// A path from UTF-8 text (a command-line argument, a typed line) and back.
std::filesystem::path path_from_utf8(std::string_view utf8);
std::string utf8_of_path(const std::filesystem::path& path);

}  // namespace kz::term
