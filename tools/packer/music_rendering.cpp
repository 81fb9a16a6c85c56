#include "music_rendering.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <vector>

#include "quiz/byte_source.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace kz {
namespace {

namespace fs = std::filesystem;

std::uint32_t big_endian(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint32_t little_endian(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The standard MIDI file of a music item: the file itself, or the one that
// a RIFF MIDI file ("RMID") wraps; nothing when it is neither. The
// synthesizer renders silence from anything else without a word, so the
// packer looks first: a header chunk, then at least one track chunk.
std::optional<std::string_view> standard_midi(std::string_view bytes) {
    if (bytes.size() >= 12 && bytes.starts_with("RIFF") && bytes.substr(8, 4) == "RMID") {
        for (std::size_t at = 12; at + 8 <= bytes.size();) {
            const std::uint32_t size = little_endian(bytes, at + 4);
            if (bytes.substr(at, 4) == "data") {
                bytes = bytes.substr(at + 8, std::min<std::size_t>(size, bytes.size() - at - 8));
                break;
            }
            at += 8 + size + (size & 1);
        }
    }
    if (bytes.size() < 14 + 8 || !bytes.starts_with("MThd")) return std::nullopt;
    const std::uint32_t header = big_endian(bytes, 4);
    if (header < 6 || header > bytes.size() - 8) return std::nullopt;
    const std::size_t track = 8 + header;
    if (track + 8 > bytes.size() || bytes.substr(track, 4) != "MTrk") return std::nullopt;
    return bytes;
}

#if !defined(_WIN32)

// A program of the PATH, as the shell would find it.
std::optional<fs::path> find_program(const char* name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        if (folder.empty()) continue;
        const fs::path candidate = fs::path(std::string(folder)) / name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::nullopt;
}

// Runs a program with its arguments (no shell) and waits for it; its output
// is not shown. True when it ended with success.
bool run_program(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A folder of its own for one rendering, removed with it.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code error;
        std::string pattern = (fs::temp_directory_path(error) / "kz-musique-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

#endif

}  // namespace

Result<MusicRenderer, std::string> MusicRenderer::find() {
    using R = Result<MusicRenderer, std::string>;
#if defined(_WIN32)
    return R::failure("this packer does not render music: make the page with the Linux packer");
#else
    const auto synthesizer = find_program("fluidsynth");
    const auto encoder = find_program("lame");
    std::optional<fs::path> soundfont;
    if (const char* named = std::getenv("KZ_SOUNDFONT"); named && *named) {
        soundfont = fs::path(named);
    } else {
        for (const char* known : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                                  "/usr/share/sounds/sf2/default-GM.sf2"}) {
            std::error_code error;
            if (fs::exists(known, error)) {
                soundfont = known;
                break;
            }
        }
    }
    std::string missing;
    const auto add = [&](const std::string& what) { missing += (missing.empty() ? "" : ", ") + what; };
    if (!synthesizer) add("fluidsynth (Debian package fluidsynth)");
    if (!soundfont) add("a General MIDI soundfont (Debian package timgm6mb-soundfont, or KZ_SOUNDFONT)");
    if (!encoder) add("lame (Debian package lame)");
    if (!missing.empty()) return R::failure("missing " + missing);
    return MusicRenderer(*synthesizer, *soundfont, *encoder);
#endif
}

Result<std::string, std::string> MusicRenderer::render(std::string_view midi) const {
    using R = Result<std::string, std::string>;
    const auto piece = standard_midi(midi);
    if (!piece) return R::failure("it is not a MIDI file");
#if defined(_WIN32)
    return R::failure("this packer does not render music");
#else
    const ScratchFolder scratch;
    if (scratch.path().empty()) return R::failure("no temporary folder to render in");
    const fs::path midi_file = scratch.path() / "piece.mid";
    const fs::path wave_file = scratch.path() / "piece.wav";
    const fs::path mp3_file = scratch.path() / "piece.mp3";
    if (!write_whole_file(midi_file, *piece)) return R::failure("cannot write a temporary file");
    if (!run_program({synthesizer_.string(), "-n", "-i", "-q", "-F", wave_file.string(), "-r", "44100",
                      soundfont_.string(), midi_file.string()}))
        return R::failure("fluidsynth could not render it");
    if (!run_program({encoder_.string(), "--quiet", "-V", "7", wave_file.string(), mp3_file.string()}))
        return R::failure("lame could not encode it");
    auto mp3 = read_whole_file(mp3_file);
    if (!mp3 || mp3->empty()) return R::failure("lame wrote nothing");
    return std::move(*mp3);
#endif
}

}  // namespace kz
