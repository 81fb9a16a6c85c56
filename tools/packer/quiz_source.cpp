#include "quiz_source.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>
#include <set>
#include <span>

#include <nlohmann/json.hpp>

#include "common/cp1252.h"
#include "common/text_helpers.h"
#include "quiz/media_table.h"
#include "quiz/stream_fields.h"

namespace kz {
namespace {

namespace fs = std::filesystem;
// Ordered, so that a dumped source lists the settings in stream order.
using Json = nlohmann::ordered_json;

constexpr std::string_view theme_keys[] = {"name", "prompt", "reverse_prompt", "questions"};
constexpr std::string_view media_keys[] = {"id", "kind", "file_name", "label", "file"};
constexpr std::string_view kind_words[] = {"image", "sound", "music"};

struct QuestionText {
    std::string_view key;
    std::string QuestionEntry::*text;
};
constexpr QuestionText question_texts[] = {
    {"question", &QuestionEntry::question},
    {"answer", &QuestionEntry::answer},
    {"first_wrong", &QuestionEntry::first_wrong},
    {"second_wrong", &QuestionEntry::second_wrong},
    {"comment", &QuestionEntry::comment},
};
constexpr std::string_view question_keys[] = {"question", "answer", "first_wrong", "second_wrong",
                                              "comment"};

// Colours are Windows colour values 0x00BBGGRR; the source may also give
// them as "#RRGGBB", the way colour pickers show them.
bool is_colour_field(std::string_view name) { return name.ends_with("_colour"); }

bool is_derived_field(const StreamField& field) {
    return field.kind == FieldKind::theme_count || field.kind == FieldKind::media_count;
}

std::string member(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

std::string element(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

std::string in_quotes(std::string_view utf8) {
    std::string quoted_text;
    quoted_text.reserve(utf8.size() + 2);
    quoted_text += '"';
    quoted_text.append(utf8);
    quoted_text += '"';
    return quoted_text;
}

std::size_t edit_distance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string unknown_key_message(std::string_view key, std::span<const std::string_view> allowed) {
    std::string_view best;
    std::size_t best_distance = std::numeric_limits<std::size_t>::max();
    for (auto candidate : allowed) {
        const std::size_t d = edit_distance(key, candidate);
        if (d < best_distance) best_distance = d, best = candidate;
    }
    if (best_distance <= std::max<std::size_t>(2, key.size() / 4))
        return "unknown key; did you mean " + in_quotes(best) + "?";
    return "unknown key";
}

// The first character of a UTF-8 text that Windows-1252 cannot represent,
// for the error message. The JSON parser has already checked the encoding.
std::string describe_foreign_character(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 4;
        char32_t cp = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (!unicode_to_cp1252(cp)) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
            return in_quotes(utf8.substr(i, length)) + " (" + code + ")";
        }
        i += length;
    }
    return "a character";
}

class SourceReader {
public:
    explicit SourceReader(fs::path folder) : folder_(std::move(folder)) {}

    Result<QuizSource, std::string> read(const Json& root) {
        using R = Result<QuizSource, std::string>;
        QuizSource source;
        if (!root.is_object()) return R::failure("the source must be a JSON object");

        std::vector<std::string_view> allowed;
        for (const auto& field : stream_fields())
            if (!is_derived_field(field)) allowed.push_back(field.name);
        allowed.push_back("themes");
        allowed.push_back("media");
        for (const auto& [key, value] : root.items()) {
            for (const auto& field : stream_fields())
                if (is_derived_field(field) && key == field.name)
                    return R::failure(key + ": is counted from the " +
                                      (field.kind == FieldKind::theme_count ? "\"themes\"" : "\"media\"") +
                                      " list; remove it");
            if (std::find(allowed.begin(), allowed.end(), key) == allowed.end())
                return R::failure(key + ": " + unknown_key_message(key, allowed));
        }

        QuizModel& model = source.model;
        for (const auto& field : stream_fields()) {
            const auto found = root.find(field.name);
            if (found == root.end()) continue;
            bool ok = true;
            switch (field.kind) {
            case FieldKind::line: ok = text(*found, field.name, true, model.*field.text); break;
            case FieldKind::scrambled: ok = scrambled(*found, field.name, model.*field.text); break;
            case FieldKind::number:
                ok = number(*found, field.name, is_colour_field(field.name), model.*field.number);
                break;
            case FieldKind::theme_count:
            case FieldKind::media_count: break;
            }
            if (!ok) return R::failure(error_);
        }

        if (const auto themes = root.find("themes"); themes != root.end()) {
            if (!themes->is_array()) return R::failure("themes: must be a list of themes");
            if (themes->size() > static_cast<std::size_t>(max_themes))
                return R::failure("themes: " + std::to_string(themes->size()) +
                                  " themes given; a quiz holds at most 50");
            for (std::size_t t = 0; t < themes->size(); ++t) {
                model.themes.emplace_back();
                if (!theme((*themes)[t], element("themes", t), model.themes.back()))
                    return R::failure(error_);
            }
        }

        if (const auto media = root.find("media"); media != root.end()) {
            if (!media->is_array()) return R::failure("media: must be a list of media rows");
            if (media->size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
                return R::failure("media: too many rows");
            for (std::size_t r = 0; r < media->size(); ++r) {
                model.media.emplace_back();
                source.media_files.emplace_back();
                if (!media_row((*media)[r], element("media", r), model.media.back(),
                               source.media_files.back()))
                    return R::failure(error_);
            }
        }

        source.warnings = quiz_warnings(model);
        return source;
    }

private:
    bool fail(const std::string& path, const std::string& what) {
        error_ = path + ": " + what;
        return false;
    }

    bool keys_known(const Json& object, const std::string& path, std::span<const std::string_view> allowed) {
        for (const auto& [key, value] : object.items())
            if (std::find(allowed.begin(), allowed.end(), key) == allowed.end())
                return fail(member(path, key), unknown_key_message(key, allowed));
        return true;
    }

    bool to_1252(const std::string& utf8, const std::string& path, std::string& out) {
        auto bytes = utf8_to_cp1252(utf8);
        if (!bytes)
            return fail(path, describe_foreign_character(utf8) + " has no Windows-1252 form");
        out = std::move(*bytes);
        return true;
    }

    // A text: a string, a list of strings joined without separator (long RTF
    // stays readable that way), or {"media": id} for a media reference.
    bool text(const Json& value, const std::string& path, bool allow_media, std::string& out) {
        std::string utf8;
        if (value.is_string()) {
            utf8 = value.get<std::string>();
        } else if (value.is_array()) {
            for (std::size_t i = 0; i < value.size(); ++i) {
                if (!value[i].is_string())
                    return fail(element(path, i), "must be a string (the parts of a text are joined)");
                utf8 += value[i].get<std::string>();
            }
        } else if (value.is_object() && allow_media) {
            static constexpr std::string_view reference_keys[] = {"media"};
            if (!keys_known(value, path, reference_keys)) return false;
            const auto id = value.find("media");
            if (id == value.end()) return fail(path, "a media reference needs {\"media\": id}");
            std::int32_t number_id = 0;
            if (!number(*id, member(path, "media"), false, number_id)) return false;
            // The runner reads the id from the six characters after "$@%0":
            // the blank and at most five digits or sign.
            if (std::to_string(number_id).size() > 5)
                return fail(member(path, "media"),
                            "media id " + std::to_string(number_id) +
                                " is too long for a media reference (at most 5 characters)");
            out = media_reference_text(number_id);
            return true;
        } else {
            return fail(path, allow_media ? "must be a text: a string, a list of strings or {\"media\": id}"
                                          : "must be a text: a string or a list of strings");
        }
        if (!to_1252(utf8, path, out)) return false;
        if (out.find('\r') != std::string::npos)
            return fail(path, "holds a carriage return; every text is stored on one line");
        if (out.find('\0') != std::string::npos) return fail(path, "holds a NUL character");
        if (out.size() > max_line_length)
            return fail(path, "is " + std::to_string(out.size()) +
                                  " bytes long; a text holds at most 29999 bytes");
        return true;
    }

    // Stored scrambled; only printable ASCII survives the runner's decoding.
    bool scrambled(const Json& value, const std::string& path, std::string& out) {
        if (!value.is_string()) return fail(path, "must be a string (given in clear, stored scrambled)");
        if (!to_1252(value.get<std::string>(), path, out)) return false;
        for (unsigned char c : out)
            if (c < 32 || c > 126)
                return fail(path, "may hold printable ASCII characters only (the stored form cannot keep " +
                                      in_quotes(cp1252_to_utf8(std::string(1, static_cast<char>(c)))) + ")");
        if (out.size() > max_name_length)
            return fail(path, "is " + std::to_string(out.size()) + " characters long; at most 259");
        return true;
    }

    bool number(const Json& value, const std::string& path, bool colour, std::int32_t& out) {
        constexpr long long low = std::numeric_limits<std::int32_t>::min();
        constexpr long long high = std::numeric_limits<std::int32_t>::max();
        if (value.is_boolean()) {
            out = value.get<bool>() ? 1 : 0;
            return true;
        }
        if (value.is_number_unsigned()) {
            if (value.get<std::uint64_t>() > static_cast<std::uint64_t>(high))
                return fail(path, "is out of range (-2147483648 to 2147483647)");
            out = static_cast<std::int32_t>(value.get<std::uint64_t>());
            return true;
        }
        if (value.is_number_integer()) {
            const auto v = value.get<std::int64_t>();
            if (v < low || v > high) return fail(path, "is out of range (-2147483648 to 2147483647)");
            out = static_cast<std::int32_t>(v);
            return true;
        }
        if (colour && value.is_string()) {
            const std::string s = value.get<std::string>();
            const bool shaped = s.size() == 7 && s[0] == '#' &&
                                std::all_of(s.begin() + 1, s.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
            if (!shaped) return fail(path, "a colour is \"#RRGGBB\" or a number 0x00BBGGRR");
            const auto rgb = static_cast<std::uint32_t>(std::stoul(s.substr(1), nullptr, 16));
            const std::uint32_t red = rgb >> 16, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
            out = static_cast<std::int32_t>(red | (green << 8) | (blue << 16));
            return true;
        }
        if (value.is_number_float()) return fail(path, "must be a whole number");
        return fail(path, colour ? "must be a colour: \"#RRGGBB\" or a number 0x00BBGGRR"
                                 : "must be a whole number (or true/false)");
    }

    bool theme(const Json& value, const std::string& path, Theme& out) {
        if (!value.is_object()) return fail(path, "a theme must be an object");
        if (!keys_known(value, path, theme_keys)) return false;
        std::string Theme::*const texts[] = {&Theme::name, &Theme::prompt, &Theme::reverse_prompt};
        for (std::size_t k = 0; k < 3; ++k)
            if (const auto found = value.find(theme_keys[k]); found != value.end())
                if (!text(*found, member(path, theme_keys[k]), true, out.*texts[k])) return false;

        const auto questions = value.find("questions");
        if (questions == value.end()) return true;
        const std::string list_path = member(path, "questions");
        if (!questions->is_array()) return fail(list_path, "must be a list of questions");
        if (questions->size() > static_cast<std::size_t>(max_questions_per_theme))
            return fail(list_path, std::to_string(questions->size()) +
                                       " questions given; a theme holds at most 500");
        for (std::size_t i = 0; i < questions->size(); ++i) {
            const Json& q = (*questions)[i];
            const std::string at = element(list_path, i);
            if (!q.is_object()) return fail(at, "a question must be an object");
            if (!keys_known(q, at, question_keys)) return false;
            QuestionEntry entry;
            for (const auto& [key, field] : question_texts)
                if (const auto found = q.find(key); found != q.end())
                    if (!text(*found, member(at, key), true, entry.*field)) return false;
            out.questions.push_back(std::move(entry));
        }
        return true;
    }

    bool media_row(const Json& value, const std::string& path, MediaEntry& row,
                   std::optional<fs::path>& file) {
        if (!value.is_object()) return fail(path, "a media row must be an object");
        if (!keys_known(value, path, media_keys)) return false;

        const auto id = value.find("id");
        if (id == value.end()) return fail(path, "needs an \"id\" (the number that references use)");
        if (!number(*id, member(path, "id"), false, row.id)) return false;

        std::string file_utf8;
        if (const auto found = value.find("file"); found != value.end()) {
            if (!found->is_string() || found->get<std::string>().empty())
                return fail(member(path, "file"), "must be the path of the file to embed, relative to the source");
            file_utf8 = found->get<std::string>();
            const fs::path given(std::u8string(file_utf8.begin(), file_utf8.end()));
            file = given.is_absolute() ? given : folder_ / given;
        }

        if (const auto found = value.find("file_name"); found != value.end()) {
            if (!text(*found, member(path, "file_name"), false, row.file_name)) return false;
        } else if (file) {
            const auto name = fs::path(std::u8string(file_utf8.begin(), file_utf8.end())).filename().u8string();
            if (!to_1252(std::string(name.begin(), name.end()), member(path, "file"), row.file_name))
                return false;
        }
        const std::string name_path = member(path, "file_name");
        if (row.file_name.size() > max_name_length)
            return fail(name_path, "is " + std::to_string(row.file_name.size()) +
                                       " characters long; a media file name holds at most 259");
        if (!row.file_name.empty() && !is_safe_media_name(row.file_name))
            return fail(name_path, in_quotes(cp1252_to_utf8(row.file_name)) +
                                       " is not a plain file name; the runner refuses names with folders, drives, "
                                       "reserved device names or characters that Windows forbids");
        if (file && row.file_name.empty()) return fail(name_path, "a row with a file needs a file name");

        if (const auto found = value.find("label"); found != value.end())
            if (!text(*found, member(path, "label"), false, row.label)) return false;

        if (const auto found = value.find("kind"); found != value.end()) {
            if (found->is_string()) {
                const auto word = std::find(std::begin(kind_words), std::end(kind_words), found->get<std::string>());
                if (word == std::end(kind_words))
                    return fail(member(path, "kind"), "must be \"image\", \"sound\", \"music\" or a number");
                row.kind = static_cast<std::int32_t>(word - std::begin(kind_words));
            } else if (!number(*found, member(path, "kind"), false, row.kind)) {
                return false;
            }
        } else if (const auto kind = kind_from_file_name(row.file_name)) {
            row.kind = *kind;
        } else if (file || !row.file_name.empty()) {
            return fail(path, "needs a \"kind\" (\"image\", \"sound\" or \"music\"); the file name does not tell it");
        }
        return true;
    }

    fs::path folder_;
    std::string error_;
};

// A dumped RTF text is cut into parts after its paragraph marks, so that a
// long document reads line by line in the source. Joined, the parts give the
// text back byte for byte.
Json split_rich_text(const std::string& utf8) {
    const auto paragraph_at = [&](std::size_t i) {
        return utf8.compare(i, 4, "\\par") == 0 &&
               (i + 4 == utf8.size() || !std::isalpha(static_cast<unsigned char>(utf8[i + 4])));
    };
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = 0; i < utf8.size();) {
        if (!paragraph_at(i)) {
            current += utf8[i++];
            continue;
        }
        // A run of paragraph marks and the blank that ends the last one.
        while (paragraph_at(i)) {
            current += "\\par";
            i += 4;
        }
        if (i < utf8.size() && utf8[i] == ' ') current += utf8[i++];
        if (current.size() >= 60) parts.push_back(std::move(current)), current.clear();
    }
    if (!current.empty()) parts.push_back(std::move(current));
    if (parts.size() < 2) return utf8;
    return parts;
}

Json text_value(const std::string& text) {
    if (const auto id = media_reference_id(text); id && text == media_reference_text(*id))
        return Json{{"media", *id}};
    std::string utf8 = cp1252_to_utf8(text);
    if (text.starts_with("{\\rtf") && utf8.size() > 120) return split_rich_text(utf8);
    return utf8;
}

Json number_value(std::string_view name, std::int32_t value) {
    if (is_colour_field(name) && value >= 0 && value <= 0xFFFFFF) {
        char rgb[8];
        std::snprintf(rgb, sizeof rgb, "#%02X%02X%02X", static_cast<unsigned>(value & 0xFF),
                      static_cast<unsigned>((value >> 8) & 0xFF), static_cast<unsigned>((value >> 16) & 0xFF));
        return rgb;
    }
    return value;
}

// Warnings about one text that may be a media reference.
void check_reference(const QuizModel& model, const std::string& text, const std::string& path,
                     std::vector<std::string>& warnings) {
    const auto id = media_reference_id(text);
    if (!id || media_of_id(model, *id)) return;
    if (*id < 1 && model.look_up_low_ids == 0)
        warnings.push_back(path + ": refers to media id " + std::to_string(*id) +
                           ", but ids below 1 name no item unless look_up_low_ids is 1");
    else
        warnings.push_back(path + ": refers to media id " + std::to_string(*id) +
                           ", which no media row carries");
}

std::string kind_name(std::int32_t kind) {
    return kind >= 0 && kind <= 2 ? std::string(kind_words[kind]) : "kind " + std::to_string(kind);
}

}  // namespace

std::string media_reference_text(std::int32_t id) {
    return std::string(media_reference_mark) + "0 " + std::to_string(id);
}

std::optional<std::int32_t> kind_from_file_name(std::string_view file_name) {
    const auto dot = file_name.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string extension = lower_1252(file_name.substr(dot + 1));
    if (extension == "bmp" || extension == "dib") return media_image;
    if (extension == "wav") return media_sound;
    if (extension == "mid" || extension == "midi" || extension == "rmi") return media_music;
    return std::nullopt;
}

std::vector<std::string> quiz_warnings(const QuizModel& model) {
    std::vector<std::string> warnings;

    for (const auto& field : stream_fields())
        if (field.kind == FieldKind::line) check_reference(model, model.*field.text, field.name, warnings);
    for (std::size_t t = 0; t < model.themes.size(); ++t) {
        const Theme& theme = model.themes[t];
        const std::string at = element("themes", t);
        check_reference(model, theme.name, member(at, "name"), warnings);
        check_reference(model, theme.prompt, member(at, "prompt"), warnings);
        check_reference(model, theme.reverse_prompt, member(at, "reverse_prompt"), warnings);
        for (std::size_t i = 0; i < theme.questions.size(); ++i)
            for (const auto& [key, text] : question_texts)
                check_reference(model, theme.questions[i].*text,
                                member(element(member(at, "questions"), i), key), warnings);
    }

    struct Decoration {
        const char* name;
        std::int32_t id;
        bool shown;
        std::int32_t kind;
    };
    const Decoration decorations[] = {
        {"logo_media_id", model.logo_media_id, model.show_logo != 0, media_image},
        {"banner_media_id", model.banner_media_id, model.show_banner != 0, media_image},
        {"welcome_sound_id", model.welcome_sound_id, true, media_sound},
        {"right_sound_id", model.right_sound_id, true, media_sound},
        {"wrong_sound_id", model.wrong_sound_id, true, media_sound},
        {"end_sound_id", model.end_sound_id, true, media_sound},
        {"time_up_sound_id", model.time_up_sound_id, true, media_sound},
    };
    for (const auto& d : decorations) {
        if (!d.shown) continue;
        const MediaEntry* row = media_of_id(model, d.id);
        if (!row) {
            if (d.id >= 1 || model.look_up_low_ids != 0)
                warnings.push_back(std::string(d.name) + ": media id " + std::to_string(d.id) +
                                   " names no media row");
        } else if (row->kind != d.kind) {
            warnings.push_back(std::string(d.name) + ": media id " + std::to_string(d.id) + " is " +
                               kind_name(row->kind) + ", but a " + kind_name(d.kind) + " is expected");
        }
    }

    if (model.custom_welcome_text == 0 && !model.welcome_text.empty())
        warnings.push_back("welcome_text: is given, but custom_welcome_text is 0: the built-in welcome text is shown");
    if (model.custom_welcome_text != 0 && model.welcome_text.empty())
        warnings.push_back("custom_welcome_text: is on, but welcome_text is empty: the welcome page stays blank");
    if (model.custom_end_text == 0 && !model.end_text.empty())
        warnings.push_back("end_text: is given, but custom_end_text is 0: the built-in end text is shown");
    if (model.custom_end_text != 0 && model.end_text.empty())
        warnings.push_back("custom_end_text: is on, but end_text is empty: the end page stays blank");

    for (std::size_t r = 0; r < model.media.size(); ++r) {
        const MediaEntry& row = model.media[r];
        const std::string at = element("media", r);
        if (!row.file_name.empty() && !is_safe_media_name(row.file_name))
            warnings.push_back(member(at, "file_name") + ": " + in_quotes(cp1252_to_utf8(row.file_name)) +
                               " is not a plain file name; the runner will not show or play this item");
        if (row.kind < 0 || row.kind > 2)
            warnings.push_back(member(at, "kind") + ": " + std::to_string(row.kind) +
                               " is no kind the runner shows or plays");
        if (const auto first = find_media(model, row.id); first && *first != r + 1)
            warnings.push_back(member(at, "id") + ": id " + std::to_string(row.id) +
                               " is also carried by media[" + std::to_string(*first - 1) +
                               "], which references find first");
    }
    return warnings;
}

Result<QuizSource, std::string> parse_quiz_source(std::string_view json_utf8,
                                                  const std::filesystem::path& source_folder) {
    using R = Result<QuizSource, std::string>;
    // A key given twice in one object would silently lose one of its values.
    std::vector<std::set<std::string>> open_objects;
    std::optional<std::string> duplicate;
    const Json::parser_callback_t watch_keys = [&](int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
        case Json::parse_event_t::object_start: open_objects.emplace_back(); break;
        case Json::parse_event_t::object_end:
            if (!open_objects.empty()) open_objects.pop_back();
            break;
        case Json::parse_event_t::key:
            if (!open_objects.empty() && !open_objects.back().insert(parsed.get<std::string>()).second &&
                !duplicate)
                duplicate = parsed.get<std::string>();
            break;
        default: break;
        }
        return true;
    };
    try {
        const Json root = Json::parse(json_utf8.begin(), json_utf8.end(), watch_keys);
        if (duplicate) return R::failure(*duplicate + ": the key is given twice in the same object");
        return SourceReader(source_folder).read(root);
    } catch (const Json::exception& e) {
        std::string message = e.what();
        if (const auto end = message.find("] "); message.starts_with("[json.exception") && end != std::string::npos)
            message.erase(0, end + 2);
        return R::failure("not valid JSON: " + message);
    }
}

std::string write_quiz_source(const QuizModel& model,
                              const std::vector<std::optional<std::string>>& media_files) {
    Json root = Json::object();
    for (const auto& field : stream_fields()) {
        switch (field.kind) {
        case FieldKind::line: root[field.name] = text_value(model.*field.text); break;
        case FieldKind::scrambled: root[field.name] = cp1252_to_utf8(model.*field.text); break;
        case FieldKind::number: root[field.name] = number_value(field.name, model.*field.number); break;
        case FieldKind::theme_count:
        case FieldKind::media_count: break;
        }
    }

    Json themes = Json::array();
    for (const Theme& theme : model.themes) {
        Json t = Json::object();
        t["name"] = text_value(theme.name);
        t["prompt"] = text_value(theme.prompt);
        t["reverse_prompt"] = text_value(theme.reverse_prompt);
        Json questions = Json::array();
        for (const QuestionEntry& q : theme.questions) {
            Json entry = Json::object();
            for (const auto& [key, text] : question_texts) entry[std::string(key)] = text_value(q.*text);
            questions.push_back(std::move(entry));
        }
        t["questions"] = std::move(questions);
        themes.push_back(std::move(t));
    }
    root["themes"] = std::move(themes);

    Json media = Json::array();
    for (std::size_t r = 0; r < model.media.size(); ++r) {
        const MediaEntry& row = model.media[r];
        Json m = Json::object();
        m["id"] = row.id;
        if (row.kind >= 0 && row.kind <= 2)
            m["kind"] = kind_words[row.kind];
        else
            m["kind"] = row.kind;
        m["file_name"] = cp1252_to_utf8(row.file_name);
        m["label"] = cp1252_to_utf8(row.label);
        if (r < media_files.size() && media_files[r]) m["file"] = *media_files[r];
        media.push_back(std::move(m));
    }
    root["media"] = std::move(media);
    return root.dump(2) + "\n";
}

}  // namespace kz
