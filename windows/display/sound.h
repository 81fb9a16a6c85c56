#pragma once
// Sounds (wave files) and music (MIDI files) of the quiz, played by the
// system's players while the runner goes on. At most one sound and one music
// play at a time; a new one replaces the one playing.
#include <filesystem>
#include <optional>

namespace kz::win {

// Stops the sound playing, then starts the wave file, if any, and returns at
// once. Without a file (an event sound the quiz does not have) it only stops.
void play_sound(const std::optional<std::filesystem::path>& file);
void stop_sound();

// Closes the music playing, then opens the MIDI file on the sequencer and
// starts it, returning at once.
void play_music(const std::filesystem::path& file);
// Stops and closes the music.
void stop_music();

}  // namespace kz::win
