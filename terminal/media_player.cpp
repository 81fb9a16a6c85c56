#include "media_player.h"

#include <fstream>
#include <string>
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

// The first bytes of each kind's format: "BM" for a Windows bitmap (the only
// pictures the runner shows), a RIFF file of type WAVE for a sound, a
// standard MIDI file ("MThd") or a RIFF MIDI file (RMID) for a music.
bool has_format_of(const std::filesystem::path& file, MediaPlayer::Kind kind) {
    char bytes[12] = {};
    std::ifstream in(file, std::ios::binary);
    in.read(bytes, sizeof bytes);
    const std::string head(bytes, static_cast<std::size_t>(in.gcount()));
    const auto riff_of = [&](std::string_view type) {
        return head.size() == 12 && head.starts_with("RIFF") && head.substr(8) == type;
    };
    switch (kind) {
    case MediaPlayer::Kind::picture: return head.starts_with("BM");
    case MediaPlayer::Kind::sound: return riff_of("WAVE");
    case MediaPlayer::Kind::music: return head.starts_with("MThd") || riff_of("RMID");
    }
    return false;
}

#if defined(_WIN32)
void send_music_command(const std::wstring& command) {
    wchar_t answer[100] = {};
    mciSendStringW(command.c_str(), answer, 100, nullptr);
}
#endif

}  // namespace

MediaPlayer::MediaPlayer(bool enabled, std::optional<std::filesystem::path> copies_folder)
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

MediaPlayer::Copy MediaPlayer::copy_of(const std::filesystem::path& file, Kind kind) {
    if (!copies_folder_) return {};
    static constexpr const char* names[] = {"image-", "son-", "musique-"};
    static constexpr const char* extensions[] = {".bmp", ".wav", ".mid"};
    const auto k = static_cast<std::size_t>(kind);
    copies_made_[k] += 1;
    const std::filesystem::path copy =
        *copies_folder_ / (names[k] + std::to_string(copies_made_[k]) + extensions[k]);
    std::error_code error;
    std::filesystem::copy_file(file, copy, error);
    if (error) return {};
    // The copy is checked rather than the file it came from: nothing but the
    // player writes into its folder, so what is checked is what is handed over.
    if (!has_format_of(copy, kind)) {
        std::filesystem::remove(copy, error);
        return {{}, Outcome::refused};
    }
    return {copy};
}

MediaPlayer::Outcome MediaPlayer::play(const std::filesystem::path& file, bool asked, bool music) {
    if (!enabled_) return Outcome::disabled;
    music ? stop_music() : stop_sound();
    const auto& program = music ? music_program_ : sound_program_;
    const Kind kind = music ? Kind::music : Kind::sound;
    if (!has_quiet_player(music)) {
        if (!asked) return Outcome::not_started;
        const Copy copy = copy_of(file, kind);
        if (copy.file.empty()) return copy.failure;
        return launched_.open_with_default_program(copy.file) ? Outcome::opened : Outcome::not_started;
    }
    const Copy copy = copy_of(file, kind);
    if (copy.file.empty()) return copy.failure;
    (music ? music_copy_ : sound_copy_) = copy.file;

    if (program) {
        std::vector<std::filesystem::path> arguments;
        if (program->stem() == "aplay") arguments.push_back("-q");
        arguments.push_back(copy.file);
        auto child = ChildProcess::start(*program, arguments);
        if (!child) return Outcome::not_started;
        (music ? music_ : sound_) = std::move(child);
        return Outcome::played;
    }
#if defined(_WIN32)
    if (music) {
        send_music_command(L"close finch");
        send_music_command(L"open \"" + copy.file.wstring() + L"\" type sequencer alias finch");
        send_music_command(L"play finch");
        system_music_open_ = true;
    } else {
        PlaySoundW(copy.file.wstring().c_str(), nullptr, SND_ASYNC | SND_NODEFAULT | SND_FILENAME);
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

MediaPlayer::Outcome MediaPlayer::open_picture(const std::filesystem::path& file) {
    const Copy copy = copy_of(file, Kind::picture);
    if (copy.file.empty()) return copy.failure;
    return launched_.open_with_default_program(copy.file) ? Outcome::opened : Outcome::not_started;
}

bool MediaPlayer::open_address(const std::filesystem::path& address) {
    return launched_.open_with_default_program(address);
}

}  // namespace kz::term
