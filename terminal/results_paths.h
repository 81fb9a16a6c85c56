#pragma once
// Which results files the player writes to. A quiz runs no code in the
// player, and the path it names for its results (storage mode 1) must not
// let it write its own lines into any file the student can write: the player
// writes there only when the path names a results file. And a path that is
// not a plain file (a named pipe, a device, a folder) would make the exam's
// end wait for ever on it, or write nowhere: the player refuses it, whoever
// gave it, before the exam's record is written.
#include <filesystem>

namespace kz::term {

enum class PathKind {
    missing,      // nothing there yet: a new file will be made
    regular,      // a plain file
    not_a_file,   // a named pipe, a device, a socket, a folder
};

PathKind path_kind(const std::filesystem::path& path);

// True when the author's path names a results file: a missing or plain file
// whose name ends in ".dat" (in any case), or a plain file whose first line
// is a results format line ("1.3", or the version of another format, which
// the exam then tells the student about).
bool names_results_file(const std::filesystem::path& path);

}  // namespace kz::term
