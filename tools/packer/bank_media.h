#pragma once
// The pictures and sounds that learning platforms' banks carry, made into the
// media a quiz holds: a picture (PNG, JPEG, GIF) into a Windows bitmap, a
// sound (MP3, Ogg Vorbis, FLAC, WAV) into a wave file, the two formats the
// runner shows and plays.
#include <cstddef>
#include <string>
#include <string_view>

#include "common/result.h"

namespace kz::bank {

// Pictures are shown in small boxes and, at their own size, in a preview:
// a larger picture is reduced to fit this, its proportions kept.
inline constexpr int max_picture_width = 800;
inline constexpr int max_picture_height = 600;
// A picture or sound larger than this is refused rather than decoded.
inline constexpr std::size_t max_picture_pixels = 40'000'000;
inline constexpr std::size_t max_wave_bytes = 100u << 20;  // about ten minutes of CD sound

struct ConvertedMedium {
    std::string bytes;  // the bitmap or wave file
    std::string note;   // what the conversion changed, for the report, or empty
};

// A picture as a 24-bit Windows bitmap; transparent parts on white, an
// animation's first picture. The error says why it cannot be read (UTF-8).
Result<ConvertedMedium, std::string> picture_to_bitmap(std::string_view bytes);
// A sound as a 16-bit PCM wave file at its own rate; more than two channels
// are mixed into one.
Result<ConvertedMedium, std::string> sound_to_wave(std::string_view bytes);

// Whether this build of the packer has the libraries of each (the Windows
// build has neither).
bool picture_conversion_available();
bool sound_conversion_available();

}  // namespace kz::bank
