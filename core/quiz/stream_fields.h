#pragma once
// The header of the quiz-data stream, field by field in stream order. There is
// no tag and no length: the order is the format. The loader, the writer and
// the packer's readable source all walk this one table, so they cannot drift.
#include <span>
#include <string>

#include "quiz/quiz_model.h"

namespace kz {

enum class FieldKind {
    line,           // Windows-1252 text + CR LF
    number,         // 32-bit little-endian
    scrambled,      // line in scrambled form
    theme_count,    // number: themes minus one
    media_count,    // number: media rows
};

struct StreamField {
    FieldKind kind;
    const char* name;                       // descriptive name, used by the packer's source
    std::string QuizModel::*text = nullptr;     // line and scrambled fields
    std::int32_t QuizModel::*number = nullptr;  // number fields
};

// The 68 header fields, in stream order.
std::span<const StreamField> stream_fields();

}  // namespace kz
