#pragma once
// Media references in texts ("$@%" + a digit + the id), lookup of media rows by
// id, and the labels under which media items appear in texts and results.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "quiz/quiz_model.h"

namespace kz {

inline constexpr std::string_view media_reference_mark = "$@%";

bool is_media_reference(std::string_view text);

// The id of a media reference: the decimal number in characters 5 to 10
// (1-based), leading blanks allowed. Nothing for a text that is no reference.
std::optional<std::int32_t> media_reference_id(std::string_view text);

// The first row, in row order, whose media id equals the id: a row number
// from 1 to M, or nothing when no row carries it.
std::optional<std::size_t> find_media(const QuizModel& model, std::int32_t id);

// The row of a media reference, honouring the low-id setting (ids below 1
// name no item unless the quiz looks them up). Nothing for a plain text, an
// unknown id or a low id that names nothing.
const MediaEntry* media_of_reference(const QuizModel& model, std::string_view text);
const MediaEntry* media_of_id(const QuizModel& model, std::int32_t id);

// A copy of a plain text; for a media reference "<Image : label>",
// "<Son : label>" or "<Musique : label>" (every kind other than 0 and 1 is
// "Musique"). A reference to an unknown id keeps its text.
std::string display_label(const QuizModel& model, std::string_view text);

// A media file name that stays inside the folder it is put in: no path
// separator, drive, "..", reserved device name (CON, NUL, COM1 ...), control
// character or character that Windows refuses in names.
bool is_safe_media_name(std::string_view name);

// The name of a music piece rendered to audio for a page that cannot play
// MIDI: the FNV-1a hash of the MIDI file's bytes in 16 hexadecimal digits,
// then ".mp3". The packer renders each piece under this name, and the web
// player finds the rendering of the file the engine extracts by it.
std::string rendered_music_name(std::string_view midi);

}  // namespace kz
