#include "web_command.h"

#include <cstdlib>
#include <map>
#include <ostream>
#include <set>
#include <system_error>

#include "common/cp1252.h"
#include "common/paths.h"
#include "common/text_helpers.h"
#include "music_rendering.h"
#include "packer_commands.h"
#include "packer_support.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/media_table.h"
#include "quiz_source.h"
#include "web_page.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

// The web build's page template: given, named by KZ_WEB_PLAYER, or where the
// build puts it beside this packer (build/web beside build/native).
std::optional<fs::path> page_template_path(const WebCommand& command) {
    if (command.player) return command.player;
    if (const char* named = std::getenv("KZ_WEB_PLAYER"); named && *named) return fs::path(named);
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    const fs::path beside = self.parent_path() / "../../../web/web/quiz-player.html";
    if (!fs::exists(beside, error)) return std::nullopt;
    return beside.lexically_normal();
}

// A quiz and the bytes of its media rows, as the runner would find them:
// embedded in the quiz, or in the folders beside it.
struct QuizWithMedia {
    QuizModel model;
    std::vector<std::optional<std::string>> media;  // one per row
    std::vector<std::string> warnings;
};

Result<QuizWithMedia, std::string> read_quiz(const fs::path& path) {
    using R = Result<QuizWithMedia, std::string>;
    const auto bytes = read_whole_file(path);
    if (!bytes) return R::failure("cannot read " + shown(path));
    QuizWithMedia quiz;
    // A quiz file: a runner with its quiz, or any file with the quiz's marker.
    if (bytes->starts_with("MZ") || check_container(MemorySource(*bytes))) {
        auto loaded = load_quiz_file(path);
        if (!loaded) return R::failure(shown(path) + ": " + loaded.error());
        quiz.model = std::move(loaded.value().model);
        quiz.media.resize(quiz.model.media.size());
        for (std::size_t r = 0; r < quiz.model.media.size(); ++r) {
            const MediaEntry& row = quiz.model.media[r];
            if (quiz.model.media_embedded != 0) {
                if (row.blob_size > 0 && static_cast<std::uint64_t>(row.blob_offset) + row.blob_size <= bytes->size())
                    quiz.media[r] = bytes->substr(row.blob_offset, row.blob_size);
            } else if (const char* folder = external_folder(row.kind); folder && is_safe_media_name(row.file_name)) {
                const fs::path beside = path.parent_path() / folder / path_from_cp1252(row.file_name);
                quiz.media[r] = read_whole_file(beside);
                if (!quiz.media[r])
                    quiz.warnings.push_back(media_path(r) + ": " + shown(fs::path(folder) / path_from_cp1252(row.file_name)) +
                                            " is not beside the quiz; the page will show or play nothing for it");
            }
        }
        return quiz;
    }
    auto parsed = parse_quiz_source(*bytes, path.parent_path());
    if (!parsed) return R::failure(shown(path) + ": " + parsed.error());
    QuizSource& source = parsed.value();
    quiz.model = std::move(source.model);
    quiz.warnings = std::move(source.warnings);
    quiz.media.resize(quiz.model.media.size());
    for (std::size_t r = 0; r < quiz.model.media.size(); ++r) {
        if (!source.media_files[r]) continue;
        quiz.media[r] = read_whole_file(*source.media_files[r]);
        if (!quiz.media[r]) return R::failure(media_path(r) + ".file: cannot read " + shown(*source.media_files[r]));
    }
    return quiz;
}

std::string size_text(std::size_t bytes) {
    char text[32];
    if (bytes >= 1024 * 1024) {
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    } else {
        std::snprintf(text, sizeof text, "%.0f KB", static_cast<double>(bytes) / 1024.0 + 0.5);
    }
    return text;
}

}  // namespace

Result<MadeWebPage, std::string> make_quiz_web_page(const WebCommand& command, std::ostream& err) {
    using R = Result<MadeWebPage, std::string>;
    const auto fail = [](const std::string& message) { return R::failure(message); };
    const auto template_path = page_template_path(command);
    if (!template_path)
        return fail("the web player is not built: run scripts/build.sh (it builds build/web), "
                    "or give --player <quiz-player.html>");
    const auto page_template = read_whole_file(*template_path);
    if (!page_template) return fail("cannot read the web player " + shown(*template_path));

    auto read = read_quiz(command.quiz);
    if (!read) return fail(read.error());
    QuizWithMedia& quiz = read.value();
    const QuizModel& model = quiz.model;
    const bool embedded = model.media_embedded != 0;

    // The quiz file as the runner's own: a bare header with the marker, the
    // embedded media and the stream.
    std::vector<std::string> blobs(model.media.size());
    if (embedded)
        for (std::size_t r = 0; r < blobs.size(); ++r) blobs[r] = quiz.media[r].value_or(std::string());
    constexpr std::size_t header_size = 256;
    auto container = build_quiz_executable(std::string(header_size, '\0'), model, blobs);
    if (!container) return fail(container.error());

    WebQuiz page;
    page.title = cp1252_to_utf8(model.quiz_name);
    page.results_url = command.results_url;
    page.quiz_file = "/quiz/" + shown(fs::path(command.quiz.stem()).replace_extension(".exe"));
    page.files.push_back({page.quiz_file, std::move(container.value())});

    // Media that are not embedded: in their folders beside the quiz file,
    // where the runner looks for them.
    std::set<std::string> placed;
    if (!embedded) {
        for (std::size_t r = 0; r < model.media.size(); ++r) {
            const MediaEntry& row = model.media[r];
            const char* folder = external_folder(row.kind);
            if (!quiz.media[r] || !folder || !is_safe_media_name(row.file_name)) continue;
            // Names compare without case, as on Windows: the first row wins.
            if (placed.insert(lower_1252(std::string(folder) + "/" + row.file_name)).second)
                page.files.push_back({"/quiz/" + std::string(folder) + "/" + cp1252_to_utf8(row.file_name), *quiz.media[r]});
        }
    }

    // Music, which a browser does not play, rendered to audio.
    std::size_t pieces = 0;
    std::size_t rendered = 0;
    std::set<std::string> renderings;
    const auto renderer = MusicRenderer::find();
    for (std::size_t r = 0; r < model.media.size(); ++r) {
        if (model.media[r].kind != media_music || !quiz.media[r] || quiz.media[r]->empty()) continue;
        ++pieces;
        const std::string name = rendered_music_name(*quiz.media[r]);
        if (renderings.count(name)) {
            ++rendered;
            continue;
        }
        if (!renderer) continue;
        auto audio = renderer.value().render(*quiz.media[r]);
        if (!audio) {
            quiz.warnings.push_back(media_path(r) + " (" + cp1252_to_utf8(model.media[r].file_name) +
                                    "): not rendered, it will not play in the page: " + audio.error());
            continue;
        }
        renderings.insert(name);
        ++rendered;
        page.files.push_back({std::string(renderings_folder) + "/" + name, std::move(audio.value())});
    }
    if (pieces > 0 && !renderer)
        quiz.warnings.push_back("the quiz's music (" + std::to_string(pieces) +
                                (pieces == 1 ? " piece" : " pieces") +
                                ") will not play in the page, because browsers do not play MIDI and it could "
                                "not be rendered to audio: " + renderer.error());

    std::size_t quiz_bytes = 0;
    for (const PageFile& file : page.files) quiz_bytes += file.bytes.size();
    auto made = make_web_page(*page_template, page);
    if (!made) return fail(made.error());
    print_warnings(quiz.warnings, err);

    MadeWebPage result;
    result.page = std::move(made.value());
    result.title = page.title;
    result.quiz_file = page.files.front().bytes;
    result.summary = std::to_string(model.themes.size()) + " themes, " + std::to_string(question_total(model)) +
                     " questions, " + std::to_string(model.media.size()) + " media rows";
    if (pieces > 0)
        result.summary += ", " + std::to_string(rendered) + " of " + std::to_string(pieces) + " music pieces rendered";
    result.summary += "; page " + size_text(result.page.size()) + " for a quiz of " + size_text(quiz_bytes);
    return result;
}

int web_command(const WebCommand& command, std::ostream& out, std::ostream& err) {
    auto made = make_quiz_web_page(command, err);
    if (!made) {
        err << "error: " << made.error() << "\n";
        return packer_failed;
    }
    if (auto problem = write_atomically(command.output, made.value().page)) {
        err << "error: " << *problem << "\n";
        return packer_failed;
    }
    out << "made " << shown(command.output) << ": " << made.value().summary << "\n";
    return packer_done;
}

}  // namespace kz
