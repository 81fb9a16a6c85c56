#pragma once
// Deliberately damaged copies of a quiz executable. Each kind breaks one rule
// of the container or of the quiz-data stream, so that tests can show that
// the runner refuses such a file instead of reading past what it holds.
#include <span>
#include <string>
#include <string_view>

#include "common/result.h"

namespace kz {

struct DamageKind {
    const char* name;
    const char* what;  // one line for the help text
};

std::span<const DamageKind> damage_kinds();

// The damaged copy of a well-formed quiz executable, or why this kind cannot
// be applied to it (an unknown kind, a quiz that does not load, a quiz without
// the theme or media row that the kind damages).
Result<std::string, std::string> damage_quiz(std::string_view kind, std::string quiz_executable);

}  // namespace kz
