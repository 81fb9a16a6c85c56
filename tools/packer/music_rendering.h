#pragma once
// Browsers do not play MIDI. When the packer makes a web page, each music
// piece of the quiz is rendered to audio with a General MIDI synthesizer
// (fluidsynth and a soundfont) and encoded small (MP3, with lame, which
// every browser plays), and the page plays that recording instead.
#include <filesystem>
#include <string>
#include <string_view>

#include "common/result.h"

namespace kz {

class MusicRenderer {
public:
    // The programs and the soundfont found on this machine (the soundfont
    // named by KZ_SOUNDFONT, or Debian's General MIDI soundfonts), or what is
    // missing, said for the teacher.
    static Result<MusicRenderer, std::string> find();

    // The piece as MP3 bytes, or why it could not be rendered.
    Result<std::string, std::string> render(std::string_view midi) const;

private:
    MusicRenderer(std::filesystem::path synthesizer, std::filesystem::path soundfont, std::filesystem::path encoder)
        : synthesizer_(std::move(synthesizer)), soundfont_(std::move(soundfont)), encoder_(std::move(encoder)) {}

    std::filesystem::path synthesizer_;
    std::filesystem::path soundfont_;
    std::filesystem::path encoder_;
};

}  // namespace kz
