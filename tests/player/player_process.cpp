#include "player_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace kz::test {

namespace {

constexpr int longest_silence_ms = 10000;

// In the child: the folder, the environment, then the player.
[[noreturn]] void become_player(const PlayerSetup& setup) {
    if (chdir(setup.folder.c_str()) != 0) _exit(126);
    for (const auto& [name, value] : setup.environment) setenv(name.c_str(), value.c_str(), 1);
    std::vector<std::string> texts{KZ_PLAYER_PATH};
    texts.insert(texts.end(), setup.arguments.begin(), setup.arguments.end());
    std::vector<char*> argv;
    for (auto& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);
    execv(KZ_PLAYER_PATH, argv.data());
    _exit(127);
}

int exit_code_of(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

std::string file_text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

PlayerRun run_player(const PlayerSetup& setup, const std::string& answers) {
    static int run_number = 0;
    const std::string stem = "player-run-" + std::to_string(++run_number);
    const auto input_file = setup.folder / (stem + ".in");
    const auto output_file = setup.folder / (stem + ".out");
    const auto error_file = setup.folder / (stem + ".err");
    std::ofstream(input_file, std::ios::binary) << answers;

    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int in = open(input_file.c_str(), O_RDONLY);
        const int out = open(output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(error_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0) _exit(126);
        dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        become_player(setup);
    }
    const auto deadline = std::chrono::steady_clock::now() + setup.longest_run;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    PlayerRun run{exit_code_of(status), file_text(output_file), file_text(error_file)};
    std::filesystem::remove(input_file);
    std::filesystem::remove(output_file);
    std::filesystem::remove(error_file);
    return run;
}

PlayerConversation::PlayerConversation(const PlayerSetup& setup) {
    // A player that has ended must fail the test, not kill it.
    signal(SIGPIPE, SIG_IGN);
    int input[2];
    int output[2];
    if (pipe(input) != 0 || pipe(output) != 0) throw std::runtime_error("pipe failed");
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        dup2(input[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        close(input[1]);
        close(output[0]);
        become_player(setup);
    }
    close(input[0]);
    close(output[1]);
    to_player_ = input[1];
    from_player_ = output[0];
}

PlayerConversation::~PlayerConversation() {
    if (to_player_ >= 0) close(to_player_);
    if (from_player_ >= 0) close(from_player_);
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
}

std::string PlayerConversation::until_prompt() {
    for (;;) {
        const std::size_t line_start = pending_.rfind('\n') == std::string::npos ? 0 : pending_.rfind('\n') + 1;
        if (pending_.ends_with(" : ") && pending_.compare(line_start, 2, "? ") == 0) {
            std::string chunk = std::move(pending_);
            pending_.clear();
            return chunk;
        }
        pollfd ready{from_player_, POLLIN, 0};
        if (poll(&ready, 1, longest_silence_ms) <= 0) throw std::runtime_error("the player stopped talking:\n" + pending_);
        char buffer[4096];
        const ssize_t got = read(from_player_, buffer, sizeof buffer);
        if (got <= 0) {
            std::string chunk = std::move(pending_);
            pending_.clear();
            return chunk;
        }
        pending_.append(buffer, static_cast<std::size_t>(got));
        all_output_.append(buffer, static_cast<std::size_t>(got));
    }
}

void PlayerConversation::answer(const std::string& line) {
    const std::string text = line + "\n";
    if (write(to_player_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        throw std::runtime_error("the player does not read its input");
}

std::string PlayerConversation::answer_lines(const std::string& lines) {
    std::string shown;
    for (std::size_t start = 0, end; (end = lines.find('\n', start)) != std::string::npos; start = end + 1) {
        shown += until_prompt();
        answer(lines.substr(start, end - start));
    }
    return shown;
}

PlayerRun PlayerConversation::finish() {
    close(to_player_);
    to_player_ = -1;
    for (;;) {
        pollfd ready{from_player_, POLLIN, 0};
        if (poll(&ready, 1, longest_silence_ms) <= 0) break;
        char buffer[4096];
        const ssize_t got = read(from_player_, buffer, sizeof buffer);
        if (got <= 0) break;
        all_output_.append(buffer, static_cast<std::size_t>(got));
    }
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return PlayerRun{exit_code_of(status), all_output_, {}};
}

}  // namespace kz::test
