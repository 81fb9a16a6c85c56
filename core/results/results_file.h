#pragma once
// The results data file that the results manager reads: the format line
// "1.3" once, then one record per exam, every line ended by CR LF, in
// Windows-1252.
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "results/exam_record.h"

namespace kz {

inline constexpr std::string_view results_format_line = "1.3\r\n";
inline constexpr int results_format_version = 54100;

// The record's lines, joined and ended by CR LF. Every value stays on one
// line (a CR, LF or NUL inside it becomes a blank) and is written whole.
std::string format_record(const ExamRecord& record);

// The version of a file from its first bytes: first byte x 1000 + third
// byte x 100 (the point between them is not examined). A byte that the file
// lacks counts as 0, so a file of one or two bytes is never taken for a
// results file of this format.
int file_version(std::string_view first_bytes);

enum class AppendOutcome {
    appended,
    too_old,      // a file of an earlier format
    too_new,      // a file of a later format
    unreachable,  // the file could not be created, opened or written
};

// How long to wait for other runners that are writing to the same file.
struct AppendPatience {
    std::chrono::milliseconds wait{4000};
    std::chrono::milliseconds pause{5};
};

// Appends one formatted record to the file, creating the file with its format
// line when it is missing or empty, after checking the format of an existing
// file.
//
// Runners that record into the same file at the same moment take turns: each
// holds the system's lock on the file (see LockedFile) while it checks and
// appends, and waits a short while for the others. A runner that dies holding
// the lock loses it at once. The record is written at the end of the file in
// one write; a write that fails is undone by cutting the file back to its
// former size, so the file never keeps half a record. Only regular files are
// written: a folder, a pipe or a device in the file's place is unreachable.
[[nodiscard]] AppendOutcome append_record(const std::filesystem::path& file, std::string_view record,
                            const AppendPatience& patience = {});

}  // namespace kz
