#include "quiz/media_table.h"

#include <array>

#include "common/text_helpers.h"

namespace kz {

bool is_media_reference(std::string_view text) { return text.substr(0, 3) == media_reference_mark; }

std::optional<std::int32_t> media_reference_id(std::string_view text) {
    if (!is_media_reference(text)) return std::nullopt;
    const std::string_view digits = text.size() > 4 ? text.substr(4, 6) : std::string_view();
    std::size_t i = 0;
    while (i < digits.size() && (digits[i] == ' ' || digits[i] == '\t')) ++i;
    bool negative = false;
    if (i < digits.size() && (digits[i] == '-' || digits[i] == '+')) negative = digits[i++] == '-';
    std::int32_t value = 0;
    for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i)
        value = value * 10 + (digits[i] - '0');
    return negative ? -value : value;
}

std::optional<std::size_t> find_media(const QuizModel& model, std::int32_t id) {
    for (std::size_t r = 0; r < model.media.size(); ++r)
        if (model.media[r].id == id) return r + 1;
    return std::nullopt;
}

const MediaEntry* media_of_id(const QuizModel& model, std::int32_t id) {
    if (id < 1 && model.look_up_low_ids == 0) return nullptr;
    const auto row = find_media(model, id);
    return row ? &model.media[*row - 1] : nullptr;
}

const MediaEntry* media_of_reference(const QuizModel& model, std::string_view text) {
    const auto id = media_reference_id(text);
    return id ? media_of_id(model, *id) : nullptr;
}

std::string display_label(const QuizModel& model, std::string_view text) {
    const auto id = media_reference_id(text);
    if (!id) return std::string(text);
    const auto row = find_media(model, *id);
    if (!row) return std::string(text);
    const MediaEntry& entry = model.media[*row - 1];
    const char* word = entry.kind == media_image ? "Image" : entry.kind == media_sound ? "Son" : "Musique";
    return std::string("<") + word + " : " + entry.label + ">";
}

bool is_safe_media_name(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name) {
        if (c < 32) return false;
        switch (c) {
        case '/': case '\\': case ':': case '<': case '>': case '"': case '|': case '?': case '*':
            return false;
        default: break;
        }
    }
    // Windows drops trailing dots and blanks, which would make "a.txt." name "a.txt".
    if (name.back() == '.' || name.back() == ' ') return false;

    // Device names are reserved with any extension: "nul.wav" opens the device.
    std::string base = upper_1252(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static constexpr std::array<std::string_view, 6> devices = {"CON", "PRN", "AUX", "NUL",
                                                                "CONIN$", "CONOUT$"};
    for (auto device : devices)
        if (base == device) return false;
    if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
        ((base[3] >= '0' && base[3] <= '9') || base[3] == '\xB9' || base[3] == '\xB2' ||
         base[3] == '\xB3'))
        return false;
    return true;
}

std::string rendered_music_name(std::string_view midi) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : midi) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    static constexpr char digits[] = "0123456789abcdef";
    std::string name(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) name[static_cast<std::size_t>(i)] = digits[hash & 15];
    return name + ".mp3";
}

}  // namespace kz
