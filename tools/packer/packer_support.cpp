#include "packer_support.h"

#include <cstring>
#include <ostream>
#include <system_error>

#include "quiz/byte_source.h"
#include "quiz/quiz_loader.h"

namespace kz {

namespace {

// Why check_container refuses a file, for the user.
std::string container_fault(const std::string& bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < marker_offset + marker_size || std::memcmp(b + marker_offset, marker_magic, 3) != 0)
        return "no quiz marker \"K&Z\" at offset 192 (a bare runner, or not a quiz executable)";
    const std::uint32_t overlay = get_u32(b + marker_offset + 3);
    if (overlay > bytes.size())
        return "the overlay offset " + std::to_string(overlay) + " lies past the end of the file (" +
               std::to_string(bytes.size()) + " bytes)";
    if (bytes.size() - overlay < 4)
        return "the overlay at offset " + std::to_string(overlay) + " holds no stream offset";
    const std::uint32_t stream = get_u32(b + overlay);
    if (stream > bytes.size())
        return "the stream offset " + std::to_string(stream) + " lies past the end of the file (" +
               std::to_string(bytes.size()) + " bytes)";
    if (overlay > stream)
        return "the stream offset " + std::to_string(stream) + " lies before the overlay offset " +
               std::to_string(overlay);
    return "the container is damaged";
}

}  // namespace

std::filesystem::path path_from_argument(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string shown(const std::filesystem::path& path) {
    const auto utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

// Sub-folders beside the quiz for media that are not embedded, by kind.
const char* external_folder(std::int32_t kind) {
    switch (kind) {
    case media_image: return "Images";
    case media_sound: return "Sons";
    case media_music: return "Musiques";
    default: return nullptr;
    }
}

const char* kind_word(std::int32_t kind) {
    switch (kind) {
    case media_image: return "image";
    case media_sound: return "sound";
    case media_music: return "music";
    default: return "other";
    }
}

std::string media_path(std::size_t row) { return "media[" + std::to_string(row) + "]"; }

// Writes beside the target first and then renames, so that a failure never
// leaves a half-written file under the target's name.
std::optional<std::string> write_atomically(const std::filesystem::path& target, std::string_view bytes) {
    std::error_code ignored;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ignored);
    std::filesystem::path partial = target;
    partial += ".partial";
    if (!write_whole_file(partial, bytes)) {
        std::filesystem::remove(partial, ignored);
        return "cannot write " + shown(target);
    }
    std::error_code renamed;
    std::filesystem::rename(partial, target, renamed);
    if (renamed) {
        std::filesystem::remove(partial, ignored);
        return "cannot write " + shown(target) + ": " + renamed.message();
    }
    return std::nullopt;
}

// Reads and loads a quiz executable exactly as the runner does.
Result<LoadedQuiz, std::string> load_quiz_file(const std::filesystem::path& path) {
    using R = Result<LoadedQuiz, std::string>;
    auto bytes = read_whole_file(path);
    if (!bytes) return R::failure("cannot read " + shown(path));
    const MemorySource source(*bytes);
    const auto info = check_container(source);
    if (!info) return R::failure(container_fault(*bytes));
    auto model = load_quiz(source, *info);
    if (!model) return R::failure(describe(model.error()));
    return LoadedQuiz{std::move(*bytes), *info, std::move(model.value())};
}

// Whether the bytes look like what the row's kind says they are.
bool looks_like(std::int32_t kind, std::string_view bytes) {
    switch (kind) {
    case media_image: return bytes.starts_with("BM");
    case media_sound: return bytes.size() >= 12 && bytes.starts_with("RIFF") && bytes.substr(8, 4) == "WAVE";
    case media_music:
        return bytes.starts_with("MThd") ||
               (bytes.size() >= 12 && bytes.starts_with("RIFF") && bytes.substr(8, 4) == "RMID");
    default: return true;
    }
}

void print_warnings(const std::vector<std::string>& warnings, std::ostream& err) {
    for (const auto& warning : warnings) err << "warning: " << warning << "\n";
}

std::size_t question_total(const QuizModel& model) {
    std::size_t total = 0;
    for (const auto& theme : model.themes) total += theme.questions.size();
    return total;
}

}  // namespace kz
