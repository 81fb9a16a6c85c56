#include "display/sound.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>

namespace kz::win {
namespace {

constexpr UINT sound_flags = SND_ASYNC | SND_NODEFAULT;

// Every music command names the one device alias "finch". Results are not
// examined: a file that is not a MIDI sequence makes the open fail, and the
// play after it fails as quietly.
void send_music_command(const std::wstring& command) {
    wchar_t answer[100] = {};
    mciSendStringW(command.c_str(), answer, 100, nullptr);
}

}  // namespace

void play_sound(const std::optional<std::filesystem::path>& file) {
    stop_sound();
    if (file) sndPlaySoundW(file->c_str(), sound_flags);
}

void stop_sound() { sndPlaySoundW(nullptr, sound_flags); }

void play_music(const std::filesystem::path& file) {
    send_music_command(L"close finch");
    // The path in double quotes, so that one with blanks opens as well.
    send_music_command(L"open \"" + file.wstring() + L"\" type sequencer alias finch");
    send_music_command(L"play finch");
}

void stop_music() {
    send_music_command(L"stop finch");
    send_music_command(L"close finch");
}

}  // namespace kz::win
