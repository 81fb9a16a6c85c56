// The pictures and sounds of a bank's texts taken in as a question's media:
// found in the files the bank carries, beside it, or inside their address,
// and made into the bitmaps and wave files a quiz holds.
#include <cstdint>

#include "bank_formats.h"
#include "bank_media.h"

namespace kz::bank {
namespace {

std::string base64_decoded(std::string_view text) {
    std::string out;
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        int value = -1;
        if (c >= 'A' && c <= 'Z') value = c - 'A';
        else if (c >= 'a' && c <= 'z') value = c - 'a' + 26;
        else if (c >= '0' && c <= '9') value = c - '0' + 52;
        else if (c == '+' || c == '-') value = 62;
        else if (c == '/' || c == '_') value = 63;
        else if (c == '=') break;
        if (value < 0) continue;  // blanks and line ends between the lines of the encoding
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

// The bytes of a picture or sound: a file the text carries, a file beside
// the bank, or a picture written inside its address
// (data:image/png;base64,...). Where a file is missing, the medium says why.
std::optional<std::string> medium_bytes(TextMedium& medium, const MediumFiles& files) {
    if (const auto path = platform_file_path(medium.source)) {
        if (files.platform)
            if (const auto file = files.platform->find(*path); file != files.platform->end())
                return base64_decoded(file->second);
        medium.why = "the bank does not hold its file";
        return std::nullopt;
    }
    if (medium.source.starts_with("data:")) {
        const std::size_t comma = medium.source.find(',');
        if (comma == std::string::npos || medium.source.substr(0, comma).find(";base64") == std::string::npos)
            return std::nullopt;
        return base64_decoded(std::string_view(medium.source).substr(comma + 1));
    }
    if (!files.beside || !*files.beside) return std::nullopt;
    if (const auto path = local_file_path(medium.source)) {
        if (auto bytes = (*files.beside)(*path)) return bytes;
        medium.why = "there is no such file beside the bank";
    } else if (medium.source.find(':') == std::string::npos && !medium.source.starts_with("//")) {
        medium.why = "a bank's own files are those of its folder and the folders below it";
    }
    return std::nullopt;
}

// A lead that a quiz shows as its theme's prompt above the picture or sound:
// one line of a few words, as platforms' picture questions have.
constexpr std::size_t max_lead_length = 120;

bool short_lead(const StyledText& text) {
    if (text.has_line_break()) return false;
    const auto cps = utf8_code_points(text.plain());
    return !cps || cps->size() <= max_lead_length;
}

}  // namespace

std::optional<BankMedium> take_medium(ReadText& read, const MediumFiles& files, bool may_have_lead, bool may_be_medium) {
    const auto shown = [](const TextMedium& m) {
        return m.kind == TextMedium::Kind::picture || m.kind == TextMedium::Kind::sound;
    };
    const bool alone = read.media.size() == 1 && shown(read.media[0]) &&
                       (read.text.empty() || (may_have_lead && short_lead(read.text)));
    for (TextMedium& medium : read.media) {
        if (!shown(medium)) continue;
        const auto bytes = medium_bytes(medium, files);
        if (!bytes) continue;
        if (!may_be_medium) {
            medium.why = "a typed answer is words";
            continue;
        }
        if (!alone) {
            medium.why = may_have_lead ? "a question of a quiz is either a text or a picture or sound with a few "
                                         "words on one line, not both"
                                       : "a text of a quiz is either words or one picture or sound, not both";
            continue;
        }
        BankMedium taken;
        taken.origin = medium_name(medium);
        taken.label = medium.alt;
        const bool midi = bytes->starts_with("MThd");
        if (medium.kind == TextMedium::Kind::picture) {
            auto bitmap = picture_to_bitmap(*bytes);
            if (!bitmap) {
                medium.why = bitmap.error();
                continue;
            }
            taken.kind = media_image;
            taken.bytes = std::move(bitmap.value().bytes);
            taken.note = std::move(bitmap.value().note);
        } else if (midi) {
            taken.kind = media_music;
            taken.bytes = *bytes;
        } else {
            auto wave = sound_to_wave(*bytes);
            if (!wave) {
                medium.why = wave.error();
                continue;
            }
            taken.kind = media_sound;
            taken.bytes = std::move(wave.value().bytes);
            taken.note = std::move(wave.value().note);
        }
        const std::size_t dot = taken.origin.rfind('.');
        const std::string stem = taken.origin.starts_with("(") ? (taken.kind == media_image ? "image" : "son")
                                 : dot == std::string::npos || dot == 0 ? taken.origin
                                                                        : taken.origin.substr(0, dot);
        taken.file_name = stem + (taken.kind == media_image ? ".bmp" : taken.kind == media_sound ? ".wav" : ".mid");
        if (taken.label.empty()) taken.label = stem;
        read.media.clear();
        return taken;
    }
    return std::nullopt;
}

}  // namespace kz::bank
