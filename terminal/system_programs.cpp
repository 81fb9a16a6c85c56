#include "system_programs.h"

#include <cstdlib>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#include <shellapi.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace kz::term {

// ---------------------------------------------------------------- paths

std::filesystem::path path_from_utf8(std::string_view utf8) {
#if defined(_WIN32)
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
    // File names are bytes here; UTF-8 is what the terminal gives.
    return std::filesystem::path(std::string(utf8));
#endif
}

std::string utf8_of_path(const std::filesystem::path& path) {
#if defined(_WIN32)
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

// ---------------------------------------------------------------- environment

std::optional<std::filesystem::path> environment_path(const char* name) {
#if defined(_WIN32)
    const std::wstring wide_name(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = _wgetenv(wide_name.c_str());
#else
    const char* value = std::getenv(name);
#endif
    if (!value || !*value) return std::nullopt;
    return std::filesystem::path(value);
}

std::optional<std::filesystem::path> find_program(const std::filesystem::path& given) {
    std::error_code error;
    if (given.has_parent_path()) {
        if (std::filesystem::is_regular_file(given, error)) return given;
        return std::nullopt;
    }
    const auto search = environment_path("PATH");
    if (!search) return std::nullopt;
#if defined(_WIN32)
    const auto separator = L';';
    const std::wstring folders = search->native();
    const std::wstring extension = L".exe";
#else
    const auto separator = ':';
    const std::string folders = search->native();
#endif
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(separator, start);
        if (end == folders.npos) end = folders.size();
        const std::filesystem::path folder(folders.substr(start, end - start));
        if (!folder.empty()) {
            std::filesystem::path candidate = folder / given;
#if defined(_WIN32)
            if (!candidate.has_extension()) candidate += extension;
#endif
            if (std::filesystem::is_regular_file(candidate, error)) return candidate;
        }
        start = end + 1;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- child processes

bool LaunchedPrograms::keep(std::optional<ChildProcess> child) {
    std::erase_if(running_, [](ChildProcess& program) { return program.finished(); });
    if (!child) return false;
    running_.push_back(std::move(*child));
    return true;
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept {
#if defined(_WIN32)
    process_ = other.process_;
    other.process_ = nullptr;
#else
    pid_ = other.pid_;
    other.pid_ = -1;
#endif
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        release();
#if defined(_WIN32)
        process_ = other.process_;
        other.process_ = nullptr;
#else
        pid_ = other.pid_;
        other.pid_ = -1;
#endif
    }
    return *this;
}

ChildProcess::~ChildProcess() { release(); }

#if defined(_WIN32)

namespace {

// One argument of a command line, quoted the way the C runtime reads it back.
std::wstring quoted(const std::wstring& argument) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') backslashes = backslashes * 2 + 1;
        out.append(backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

}  // namespace

std::optional<ChildProcess> ChildProcess::start(const std::filesystem::path& program,
                                                const std::vector<std::filesystem::path>& arguments) {
    std::wstring command_line = quoted(program.wstring());
    for (const auto& argument : arguments) command_line += L" " + quoted(argument.wstring());

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(program.wstring().c_str(), command_line.data(), nullptr, nullptr,
                                        TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    if (!started) return std::nullopt;
    CloseHandle(info.hThread);
    ChildProcess child;
    child.process_ = info.hProcess;
    return child;
}

bool ChildProcess::finished() {
    if (!process_) return true;
    return WaitForSingleObject(static_cast<HANDLE>(process_), 0) == WAIT_OBJECT_0;
}

void ChildProcess::stop() {
    if (!process_) return;
    if (!finished()) {
        TerminateProcess(static_cast<HANDLE>(process_), 0);
        WaitForSingleObject(static_cast<HANDLE>(process_), 1000);
    }
    release();
}

void ChildProcess::release() {
    if (process_) CloseHandle(static_cast<HANDLE>(process_));
    process_ = nullptr;
}

bool LaunchedPrograms::open_with_default_program(const std::filesystem::path& target) {
    if (auto command = environment_path("KZ_OPEN_COMMAND")) {
        if (!command->has_parent_path()) command = find_program(*command);
        return command && keep(ChildProcess::start(*command, {target}));
    }
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", target.wstring().c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

bool LaunchedPrograms::start_program_file(const std::filesystem::path& program) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(program, error)) return false;
    return open_with_default_program(program);
}

#else

std::optional<ChildProcess> ChildProcess::start(const std::filesystem::path& program,
                                                const std::vector<std::filesystem::path>& arguments) {
    std::vector<std::string> texts;
    texts.push_back(program.native());
    for (const auto& argument : arguments) texts.push_back(argument.native());
    std::vector<char*> argv;
    for (auto& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) return std::nullopt;
    ChildProcess child;
    child.pid_ = pid;
    return child;
}

bool ChildProcess::finished() {
    if (pid_ < 0) return true;
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == 0) return false;
    pid_ = -1;  // reaped, or no longer ours
    return true;
}

void ChildProcess::stop() {
    if (pid_ < 0) return;
    if (!finished()) {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }
}

void ChildProcess::release() {
    // A program still running is left to run; one that has ended is reaped.
    if (pid_ >= 0) finished();
    pid_ = -1;
}

bool LaunchedPrograms::open_with_default_program(const std::filesystem::path& target) {
    std::optional<std::filesystem::path> opener = environment_path("KZ_OPEN_COMMAND");
    if (opener) {
        if (!opener->has_parent_path()) opener = find_program(*opener);
    } else {
        opener = find_program("xdg-open");
        if (!opener) opener = find_program("open");  // macOS
    }
    return opener && keep(ChildProcess::start(*opener, {target}));
}

bool LaunchedPrograms::start_program_file(const std::filesystem::path& program) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(program, error)) return false;
    if (access(program.c_str(), X_OK) == 0) return keep(ChildProcess::start(program, {}));
    return open_with_default_program(program);
}

#endif

}  // namespace kz::term
