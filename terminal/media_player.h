#pragma once
// Sounds, music and pictures of the quiz, in a terminal. Sounds and music are
// played by a quiet player that opens no window: on Windows the system's own
// wave and MIDI players, as the runner uses; elsewhere a command-line player
// found on the system (pw-play, paplay or aplay for sounds; timidity for
// music), or the program named by KZ_SOUND_PLAYER. Without such a player a
// sound plays only when the student asks for it, through the system's default
// program, as pictures do.
//
// Each file is copied into the player's private folder before it is handed
// over: the media extraction keeps one extracted file at a time and deletes
// it at the next extraction, while another program may still be reading it.
// The copy is named from its kind alone, with the extension of that kind
// ("image-1.bmp", "son-1.wav", "musique-1.mid"), never from the quiz: the
// program that opens a file chooses what to do by its name, and a quiz whose
// picture is named "evil.exe" or "x.desktop" would otherwise have it run. And
// its first bytes must be those of its kind's format (a Windows bitmap, a wave
// sound, a MIDI music), or it is not handed over at all. Each copy has a name
// of its own, because copying over an existing file fails in the Windows
// build ("File exists", the C++ library's copy_file with overwrite_existing)
// and another program may hold the old one.
#include <filesystem>
#include <optional>
#include <string_view>

#include "system_programs.h"

namespace kz::term {

class MediaPlayer {
public:
    // `enabled` false: no sound or music is ever started. Without a folder
    // for the copies nothing is handed to another program.
    MediaPlayer(bool enabled, std::optional<std::filesystem::path> copies_folder);
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    enum class Outcome {
        played,       // by the quiet player
        opened,       // handed to the system's default program
        not_started,  // no player, or the player could not be started
        disabled,     // sounds are switched off for this run
        refused,      // the file is not of its kind's format: not handed over
    };

    // A sound or music replaces the one playing. `asked` is true when the
    // student asked for it: only then may the default program be used.
    Outcome play_sound(const std::filesystem::path& file, bool asked);
    Outcome play_music(const std::filesystem::path& file, bool asked);
    void stop_sound();
    void stop_music();

    enum class Kind { picture, sound, music };

    bool sound_enabled() const { return enabled_; }
    // True when sounds (music: `music` true) are played without a window.
    bool has_quiet_player(bool music) const;

    // A picture, on the student's request: the default program shows it.
    // Outcome: opened, not_started or refused.
    Outcome open_picture(const std::filesystem::path& file);
    // A web address, on the student's request.
    bool open_address(const std::filesystem::path& address);

private:
    struct Copy {
        std::filesystem::path file;               // empty when there is none
        Outcome failure = Outcome::not_started;  // why there is none
    };
    Copy copy_of(const std::filesystem::path& file, Kind kind);
    Outcome play(const std::filesystem::path& file, bool asked, bool music);
    void forget_copy(std::filesystem::path& copy);

    bool enabled_;
    std::optional<std::filesystem::path> copies_folder_;
    std::optional<std::filesystem::path> sound_program_;
    std::optional<std::filesystem::path> music_program_;
    std::optional<ChildProcess> sound_;
    std::optional<ChildProcess> music_;
    std::filesystem::path sound_copy_;  // the copy the sound player was given
    std::filesystem::path music_copy_;
    unsigned copies_made_[3] = {};  // by kind
    bool system_sound_playing_ = false;  // Windows' own players
    bool system_music_open_ = false;
    LaunchedPrograms launched_;
};

}  // namespace kz::term
