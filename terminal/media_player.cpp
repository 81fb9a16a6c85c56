#include "media_player.h"

#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#include <mmsystem.h>
#endif

namespace kz::term {

namespace {

#if !defined(_WIN32)
// The first of the quiet players found on this system.
std::optional<std::filesystem::path> first_program(std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (auto program = find_program(name)) return program;
    return std::nullopt;
}
#endif

#if defined(_WIN32)
void send_music_command(const std::wstring& command) {
    wchar_t answer[100] = {};
    mciSendStringW(command.c_str(), answer, 100, nullptr);
}
#endif

}  // namespace

MediaPlayer::MediaPlayer(bool enabled, std::filesystem::path copies_folder)
    : enabled_(enabled), copies_folder_(std::move(copies_folder)) {
    if (auto chosen = environment_path("KZ_SOUND_PLAYER")) {
        if (!chosen->has_parent_path()) chosen = find_program(*chosen);
        sound_program_ = music_program_ = chosen;
        return;
    }
#if !defined(_WIN32)
    sound_program_ = first_program({"pw-play", "paplay", "aplay"});
    music_program_ = first_program({"timidity"});
#endif
}

MediaPlayer::~MediaPlayer() {
    stop_sound();
    stop_music();
    std::error_code ignored;
    std::filesystem::remove_all(copies_folder_, ignored);
}

bool MediaPlayer::has_quiet_player(bool music) const {
    if (!enabled_) return false;
#if defined(_WIN32)
    (void)music;
    return true;
#else
    return music ? music_program_.has_value() : sound_program_.has_value();
#endif
}

std::optional<std::filesystem::path> MediaPlayer::copy_of(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::create_directories(copies_folder_, error);
    copies_made_ += 1;
    std::filesystem::path copy = copies_folder_ / std::to_string(copies_made_);
    copy += "-";
    copy += file.filename();
    std::filesystem::copy_file(file, copy, error);
    if (error) return std::nullopt;
    return copy;
}

MediaPlayer::Outcome MediaPlayer::play(const std::filesystem::path& file, bool asked, bool music) {
    if (!enabled_) return Outcome::disabled;
    music ? stop_music() : stop_sound();
    const auto& program = music ? music_program_ : sound_program_;
    if (!has_quiet_player(music)) {
        if (!asked) return Outcome::not_started;
        const auto copy = copy_of(file);
        return copy && launched_.open_with_default_program(*copy) ? Outcome::opened : Outcome::not_started;
    }
    const auto copy = copy_of(file);
    if (!copy) return Outcome::not_started;
    (music ? music_copy_ : sound_copy_) = *copy;

    if (program) {
        std::vector<std::filesystem::path> arguments;
        if (program->stem() == "aplay") arguments.push_back("-q");
        arguments.push_back(*copy);
        auto child = ChildProcess::start(*program, arguments);
        if (!child) return Outcome::not_started;
        (music ? music_ : sound_) = std::move(child);
        return Outcome::played;
    }
#if defined(_WIN32)
    if (music) {
        send_music_command(L"close finch");
        send_music_command(L"open \"" + copy->wstring() + L"\" type sequencer alias finch");
        send_music_command(L"play finch");
        system_music_open_ = true;
    } else {
        PlaySoundW(copy->wstring().c_str(), nullptr, SND_ASYNC | SND_NODEFAULT | SND_FILENAME);
        system_sound_playing_ = true;
    }
    return Outcome::played;
#else
    return Outcome::not_started;
#endif
}

MediaPlayer::Outcome MediaPlayer::play_sound(const std::filesystem::path& file, bool asked) {
    return play(file, asked, false);
}

MediaPlayer::Outcome MediaPlayer::play_music(const std::filesystem::path& file, bool asked) {
    return play(file, asked, true);
}

void MediaPlayer::stop_sound() {
    if (sound_) {
        sound_->stop();
        sound_.reset();
    }
#if defined(_WIN32)
    if (system_sound_playing_) PlaySoundW(nullptr, nullptr, 0);
#endif
    system_sound_playing_ = false;
    forget_copy(sound_copy_);
}

void MediaPlayer::stop_music() {
    if (music_) {
        music_->stop();
        music_.reset();
    }
#if defined(_WIN32)
    if (system_music_open_) {
        send_music_command(L"stop finch");
        send_music_command(L"close finch");
    }
#endif
    system_music_open_ = false;
    forget_copy(music_copy_);
}

void MediaPlayer::forget_copy(std::filesystem::path& copy) {
    if (copy.empty()) return;
    std::error_code ignored;
    std::filesystem::remove(copy, ignored);
    copy.clear();
}

bool MediaPlayer::open_picture(const std::filesystem::path& file) {
    const auto copy = copy_of(file);
    return copy && launched_.open_with_default_program(*copy);
}

bool MediaPlayer::open_address(const std::filesystem::path& address) {
    return launched_.open_with_default_program(address);
}

}  // namespace kz::term
