#pragma once
// Runs the real player binary: in one go with a file of answers on its
// standard input, or in conversation, reading its output up to each prompt
// and answering it, as a script driving the player would.
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kz::test {

struct PlayerRun {
    int exit_code = -1;
    std::string output;  // standard output, UTF-8
    std::string errors;  // standard error
};

struct PlayerSetup {
    std::vector<std::string> arguments;        // after the program's name
    std::map<std::string, std::string> environment;  // added to the test's own
    std::filesystem::path folder;              // the working folder
    // A run that lasts longer is killed (a player waiting on something that
    // never comes fails its test instead of hanging the run).
    std::chrono::seconds longest_run{60};
};

// The player with `answers` as the whole of its standard input.
PlayerRun run_player(const PlayerSetup& setup, const std::string& answers);

// The player in conversation. Every read waits at most a few seconds, so a
// player that stops answering fails the test instead of hanging it.
class PlayerConversation {
public:
    explicit PlayerConversation(const PlayerSetup& setup);
    ~PlayerConversation();
    PlayerConversation(const PlayerConversation&) = delete;
    PlayerConversation& operator=(const PlayerConversation&) = delete;

    // The output up to and including the next prompt ("? ... : "); what
    // came before the end when the player ends instead.
    std::string until_prompt();
    void answer(const std::string& line);
    // Answers each line of `lines` at the next prompt; returns what the
    // player printed up to the last of those prompts.
    std::string answer_lines(const std::string& lines);
    // Ends the input and waits for the player to end.
    PlayerRun finish();

private:
    int pid_ = -1;
    int to_player_ = -1;
    int from_player_ = -1;
    std::string pending_;  // output read past the last prompt
    std::string all_output_;
};

}  // namespace kz::test
