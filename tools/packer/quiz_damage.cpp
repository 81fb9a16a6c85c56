#include "quiz_damage.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

#include "quiz/container.h"
#include "quiz/quiz_loader.h"
#include "quiz/stream_fields.h"
#include "quiz/stream_reader.h"

namespace kz {
namespace {

constexpr std::array kinds = {
    DamageKind{"bad-marker", "the marker reads \"K&z\" instead of \"K&Z\""},
    DamageKind{"overlay-past-end", "the overlay offset lies one byte past the end of the file"},
    DamageKind{"stream-past-end", "the stream offset lies one byte past the end of the file"},
    DamageKind{"stream-before-overlay", "the stream offset lies one byte before the overlay"},
    DamageKind{"no-stream-offset", "the overlay offset equals the file size: no stream offset follows"},
    DamageKind{"truncated-stream", "the file ends in the middle of the quiz-data stream"},
    DamageKind{"long-line", "the quiz name is a line of 30000 bytes"},
    DamageKind{"nul-in-line", "the quiz name holds a NUL byte before its CR"},
    DamageKind{"bad-theme-count", "the theme count field says 51 themes (T = 50)"},
    DamageKind{"negative-theme-count", "the theme count field is T = -2"},
    DamageKind{"bad-question-count", "the first theme's question count line reads \"501\""},
    DamageKind{"negative-question-count", "the first theme's question count line reads \"-1\""},
    DamageKind{"count-as-binary", "the first theme's question count is written as 4 binary bytes"},
    DamageKind{"huge-media-count", "the media count is 2147483647"},
    DamageKind{"unsafe-media-name", "the first media row's file name is \"..\\evil.bmp\""},
    DamageKind{"long-media-name", "the first media row's file name has 260 characters"},
    DamageKind{"long-scrambled", "the results file path decodes to 260 characters"},
};

// Where the parts of a well-formed stream begin, found by walking it the way
// the loader reads it.
struct StreamMap {
    std::vector<std::uint64_t> field_offsets;  // one per header field
    std::optional<std::uint64_t> first_count_line;
    std::optional<std::uint64_t> first_media_name;
};

StreamMap map_stream(const std::string& bytes, const ContainerInfo& info, const QuizModel& model) {
    MemorySource source(bytes);
    StreamReader reader(source, info.stream_offset);
    StreamMap map;
    for (const auto& field : stream_fields()) {
        map.field_offsets.push_back(reader.cursor());
        if (field.kind == FieldKind::line || field.kind == FieldKind::scrambled)
            reader.read_line();
        else
            reader.read_number();
    }
    for (std::size_t t = 0; t < model.themes.size(); ++t) {
        for (int k = 0; k < 3; ++k) reader.read_line();
        if (t == 0) map.first_count_line = reader.cursor();
        reader.read_line();
        for (std::size_t i = 0; i < model.themes[t].questions.size() * 5; ++i) reader.read_line();
    }
    if (!model.media.empty()) map.first_media_name = reader.cursor();
    return map;
}

std::size_t field_index(std::string_view name) {
    const auto fields = stream_fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (name == fields[i].name) return i;
    return fields.size();
}

// Replaces the line at the offset (its text and CR LF) by other bytes.
void replace_line(std::string& bytes, std::uint64_t at, std::string_view replacement) {
    const auto cr = bytes.find('\r', at);
    bytes.replace(at, cr + 2 - at, replacement);
}

void set_u32(std::string& bytes, std::uint64_t at, std::uint32_t value) {
    std::string le;
    put_u32(le, value);
    std::memcpy(bytes.data() + at, le.data(), 4);
}

std::string line(std::string_view text) { return std::string(text) + "\r\n"; }

}  // namespace

std::span<const DamageKind> damage_kinds() { return kinds; }

Result<std::string, std::string> damage_quiz(std::string_view kind, std::string bytes) {
    using R = Result<std::string, std::string>;
    const bool known = std::any_of(kinds.begin(), kinds.end(), [&](const DamageKind& k) { return kind == k.name; });
    if (!known) return R::failure("unknown damage kind \"" + std::string(kind) + "\"");

    const auto info = check_container(MemorySource(bytes));
    if (!info) return R::failure("the quiz to damage is not a well-formed quiz executable");
    const auto loaded = load_quiz(MemorySource(bytes), *info);
    if (!loaded) return R::failure(std::string("the quiz to damage does not load: ") + describe(loaded.error()));
    const QuizModel& model = loaded.value();
    const StreamMap map = map_stream(bytes, *info, model);
    const auto size = static_cast<std::uint32_t>(bytes.size());
    const auto field = [&](std::string_view name) { return map.field_offsets[field_index(name)]; };

    if (kind == "bad-marker") {
        bytes[marker_offset + 2] = 'z';
    } else if (kind == "overlay-past-end") {
        set_u32(bytes, marker_offset + 3, size + 1);
    } else if (kind == "stream-past-end") {
        set_u32(bytes, info->overlay_offset, size + 1);
    } else if (kind == "stream-before-overlay") {
        set_u32(bytes, info->overlay_offset, info->overlay_offset - 1);
    } else if (kind == "no-stream-offset") {
        set_u32(bytes, marker_offset + 3, size);
    } else if (kind == "truncated-stream") {
        // Halfway through the stream, far from its last byte: whole fields
        // are missing, not only a final LF that the reader does not check.
        bytes.resize(info->stream_offset + (bytes.size() - info->stream_offset) / 2);
    } else if (kind == "long-line") {
        replace_line(bytes, field("quiz_name"), line(std::string(30000, 'x')));
    } else if (kind == "nul-in-line") {
        replace_line(bytes, field("quiz_name"), line(model.quiz_name + std::string(1, '\0') + "damaged"));
    } else if (kind == "bad-theme-count") {
        set_u32(bytes, field("theme_count_minus_one"), 50);
    } else if (kind == "negative-theme-count") {
        set_u32(bytes, field("theme_count_minus_one"), static_cast<std::uint32_t>(-2));
    } else if (kind == "bad-question-count" || kind == "negative-question-count" ||
               kind == "count-as-binary") {
        if (!map.first_count_line) return R::failure("the quiz has no theme whose question count could be damaged");
        if (kind == "count-as-binary") {
            std::string binary;
            put_u32(binary, static_cast<std::uint32_t>(model.themes[0].questions.size()));
            replace_line(bytes, *map.first_count_line, binary);
        } else {
            replace_line(bytes, *map.first_count_line, line(kind == "bad-question-count" ? "501" : "-1"));
        }
    } else if (kind == "huge-media-count") {
        set_u32(bytes, field("media_count"), 0x7FFFFFFF);
    } else if (kind == "unsafe-media-name" || kind == "long-media-name") {
        if (!map.first_media_name) return R::failure("the quiz has no media row whose name could be damaged");
        replace_line(bytes, *map.first_media_name,
                     line(kind == "unsafe-media-name" ? "..\\evil.bmp" : std::string(256, 'a') + ".bmp"));
    } else if (kind == "long-scrambled") {
        replace_line(bytes, field("results_file_path"), line(*scramble_line(std::string(260, 'x'))));
    }
    return bytes;
}

}  // namespace kz
