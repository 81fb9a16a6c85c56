#include "packer_commands.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <system_error>

#include "bank.h"
#include "common/cp1252.h"
#include "common/paths.h"
#include "common/text_helpers.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/media_table.h"
#include "quiz/quiz_loader.h"
#include "quiz/stream_fields.h"
#include "packer_support.h"
#include "quiz_damage.h"
#include "quiz_source.h"
#include "scorm_package.h"
#include "web_command.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

struct Options {
    std::vector<std::string> positional;
    std::optional<std::string> output;
    std::optional<std::string> runner;
    std::optional<std::string> format;
    std::optional<std::string> player;
    std::optional<std::string> results_url;
};

// Positional arguments, -o/--output, and the options that `allowed` names
// (--runner, --format, --player, --results-url).
std::optional<std::string> parse_options(const std::vector<std::string>& args, std::size_t from,
                                         const std::set<std::string>& allowed, Options& options) {
    const std::map<std::string, std::optional<std::string> Options::*> valued = {
        {"-o", &Options::output},           {"--output", &Options::output},   {"--runner", &Options::runner},
        {"--format", &Options::format},     {"--player", &Options::player},   {"--results-url", &Options::results_url},
    };
    bool options_ended = false;
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto option = valued.find(arg);
        if (!options_ended && arg == "--") {
            options_ended = true;
        } else if (!options_ended && option != valued.end() &&
                   (arg == "-o" || arg == "--output" || allowed.count(arg))) {
            if (i + 1 >= args.size()) return arg + " needs a value";
            options.*(option->second) = args[++i];
        } else if (!options_ended && arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + arg;
        } else {
            options.positional.push_back(arg);
        }
    }
    return std::nullopt;
}

int build_command(const Options& options, std::ostream& out, std::ostream& err) {
    if (options.positional.size() != 1 || !options.output) {
        err << "usage: packer build <source.json> [--runner <runner.exe>] -o <quiz.exe>\n";
        return packer_bad_usage;
    }
    const fs::path source_path = path_from_argument(options.positional[0]);
    const fs::path output = path_from_argument(*options.output);
    const auto fail = [&](const std::string& message) {
        err << "error: " << message << "\n";
        return packer_failed;
    };

    const auto text = read_whole_file(source_path);
    if (!text) return fail("cannot read the source " + shown(source_path));
    auto parsed = parse_quiz_source(*text, source_path.parent_path());
    if (!parsed) return fail(shown(source_path) + ": " + parsed.error());
    QuizSource& source = parsed.value();
    QuizModel& model = source.model;
    std::vector<std::string> warnings = source.warnings;

    // A dumped quiz carries its bare runner beside its source.
    fs::path runner_path;
    if (options.runner) {
        runner_path = path_from_argument(*options.runner);
    } else if (std::error_code ec; fs::exists(source_path.parent_path() / "runner.exe", ec)) {
        runner_path = source_path.parent_path() / "runner.exe";
    } else {
        err << "error: no runner: give --runner <runner.exe>\n";
        return packer_bad_usage;
    }
    const auto runner = read_whole_file(runner_path);
    if (!runner) return fail("cannot read the runner " + shown(runner_path));
    if (runner->size() >= marker_offset + 3 && runner->compare(marker_offset, 3, marker_magic) == 0)
        return fail("the runner " + shown(runner_path) +
                    " already carries a quiz; use a bare runner (packer dump writes one as runner.exe)");

    // The media bytes, all read before anything is written.
    const bool embedded = model.media_embedded != 0;
    std::vector<std::string> blobs(model.media.size());
    struct ExternalFile {
        fs::path relative;
        std::size_t row;
    };
    std::vector<ExternalFile> external;
    std::map<std::string, std::size_t> external_owner;  // folder/name in lower case -> row
    for (std::size_t r = 0; r < model.media.size(); ++r) {
        if (!source.media_files[r]) continue;
        const MediaEntry& row = model.media[r];
        auto bytes = read_whole_file(*source.media_files[r]);
        if (!bytes) return fail(media_path(r) + ".file: cannot read " + shown(*source.media_files[r]));
        if (!looks_like(row.kind, *bytes))
            warnings.push_back(media_path(r) + ".file: " + shown(source.media_files[r]->filename()) +
                               " does not look like a " + kind_word(row.kind) + " file");
        if (!embedded) {
            const char* folder = external_folder(row.kind);
            if (!folder)
                return fail(media_path(r) + ".kind: kind " + std::to_string(row.kind) +
                            " has no folder beside the quiz; embed the media or use image, sound or music");
            const std::string key = std::string(folder) + "/" + lower_1252(row.file_name);
            if (const auto owner = external_owner.find(key); owner != external_owner.end()) {
                if (blobs[owner->second] != *bytes)
                    return fail(media_path(r) + ": " + media_path(owner->second) + " already puts other bytes in " +
                                folder + "/" + cp1252_to_utf8(row.file_name));
                continue;
            }
            external_owner.emplace(key, r);
            external.push_back({fs::path(folder) / path_from_cp1252(row.file_name), r});
        }
        blobs[r] = std::move(*bytes);
    }

    auto built = build_quiz_executable(*runner, model, embedded ? blobs : std::vector<std::string>(blobs.size()));
    if (!built) return fail(built.error() + " (runner " + shown(runner_path) + ")");

    // The packer must never hand out a quiz that the runner would refuse.
    {
        const MemorySource check(built.value());
        const auto info = check_container(check);
        if (!info) return fail("internal error: the built quiz fails the container check");
        if (const auto loaded = load_quiz(check, *info); !loaded)
            return fail(std::string("internal error: the built quiz does not load: ") + describe(loaded.error()));
    }

    for (const auto& file : external)
        if (auto problem = write_atomically(output.parent_path() / file.relative, blobs[file.row]))
            return fail(*problem);
    if (auto problem = write_atomically(output, built.value())) return fail(*problem);

    print_warnings(warnings, err);
    out << "built " << shown(output) << ": " << model.themes.size() << " themes, " << question_total(model)
        << " questions, " << model.media.size() << " media rows"
        << (embedded ? " embedded" : external.empty() ? "" : ", files copied beside the quiz") << ", "
        << built.value().size() << " bytes\n";
    return packer_done;
}

// A name for a media file in the dump folder: the row's own name when it is
// safe and not yet taken (names compare without case, as on Windows), else a
// cleaned or numbered one.
std::string dump_name(const MediaEntry& row, std::size_t r, std::set<std::string>& taken) {
    static constexpr const char* extensions[] = {".bmp", ".wav", ".mid"};
    std::string name = row.file_name;
    if (!is_safe_media_name(name)) {
        for (char& c : name)
            if (static_cast<unsigned char>(c) < 32 || std::strchr("/\\:<>\"|?*", c)) c = '_';
        if (!is_safe_media_name(name))
            name = "media_" + std::to_string(r + 1) +
                   (row.kind >= 0 && row.kind <= 2 ? extensions[row.kind] : ".bin");
    }
    const auto dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string extension = stem.size() == name.size() ? "" : name.substr(stem.size());
    for (int n = 2; taken.count(lower_1252(name)); ++n) name = stem + "_" + std::to_string(n) + extension;
    taken.insert(lower_1252(name));
    return name;
}

int dump_command(const Options& options, std::ostream& out, std::ostream& err) {
    if (options.positional.size() != 1 || !options.output) {
        err << "usage: packer dump <quiz.exe> -o <folder>\n";
        return packer_bad_usage;
    }
    const fs::path quiz_path = path_from_argument(options.positional[0]);
    const fs::path folder = path_from_argument(*options.output);
    auto loaded = load_quiz_file(quiz_path);
    if (!loaded) {
        err << "error: " << shown(quiz_path) << ": " << loaded.error() << "\n";
        return packer_failed;
    }
    const LoadedQuiz& quiz = loaded.value();
    const QuizModel& model = quiz.model;
    std::vector<std::string> warnings;

    // Embedded bytes from the file, or external files from beside the quiz.
    std::vector<std::optional<std::string>> bytes(model.media.size());
    for (std::size_t r = 0; r < model.media.size(); ++r) {
        const MediaEntry& row = model.media[r];
        if (model.media_embedded != 0) {
            if (row.blob_size == 0) continue;
            if (static_cast<std::uint64_t>(row.blob_offset) + row.blob_size > quiz.bytes.size()) {
                warnings.push_back(media_path(r) + ": its bytes lie past the end of the file; dumped without a file");
                continue;
            }
            bytes[r] = quiz.bytes.substr(row.blob_offset, row.blob_size);
        } else if (const char* sub = external_folder(row.kind); sub && is_safe_media_name(row.file_name)) {
            const fs::path beside = quiz_path.parent_path() / sub / path_from_cp1252(row.file_name);
            if (std::error_code ec; fs::exists(beside, ec))
                bytes[r] = read_whole_file(beside);
            if (!bytes[r])
                warnings.push_back(media_path(r) + ": " + shown(fs::path(sub) / path_from_cp1252(row.file_name)) +
                                   " is not beside the quiz; dumped without a file");
        }
    }

    std::set<std::string> taken;
    std::vector<std::optional<std::string>> files(model.media.size());
    std::size_t written = 0;
    for (std::size_t r = 0; r < model.media.size(); ++r) {
        if (!bytes[r]) continue;
        const std::string name = dump_name(model.media[r], r, taken);
        if (name != model.media[r].file_name)
            warnings.push_back(media_path(r) + ": written as media/" + cp1252_to_utf8(name) +
                               (is_safe_media_name(model.media[r].file_name) ? " (its name is taken)"
                                                                             : " (its name is not a plain file name)"));
        if (auto problem = write_atomically(folder / "media" / path_from_cp1252(name), *bytes[r])) {
            err << "error: " << *problem << "\n";
            return packer_failed;
        }
        files[r] = "media/" + cp1252_to_utf8(name);
        ++written;
    }
    for (const auto& [target, content] :
         {std::pair{folder / "quiz.json", write_quiz_source(model, files)},
          std::pair{folder / "runner.exe", bare_runner(quiz.bytes, quiz.info)}}) {
        if (auto problem = write_atomically(target, content)) {
            err << "error: " << *problem << "\n";
            return packer_failed;
        }
    }
    print_warnings(warnings, err);
    out << "dumped " << shown(quiz_path) << " into " << shown(folder) << ": quiz.json, runner.exe and "
        << written << " media files\n";
    return packer_done;
}

int check_command(const Options& options, std::ostream& out, std::ostream& err) {
    if (options.positional.size() != 1 || options.output) {
        err << "usage: packer check <quiz.exe>\n";
        return packer_bad_usage;
    }
    const fs::path quiz_path = path_from_argument(options.positional[0]);
    auto loaded = load_quiz_file(quiz_path);
    if (!loaded) {
        out << shown(quiz_path) << ": refused: " << loaded.error() << "\n";
        return packer_failed;
    }
    const LoadedQuiz& quiz = loaded.value();
    const QuizModel& model = quiz.model;
    const auto utf8 = [](const std::string& text) { return cp1252_to_utf8(text); };

    out << shown(quiz_path) << ": loads\n";
    out << "  quiz name: " << utf8(model.quiz_name) << "\n";
    out << "  made with: " << utf8(model.product_name) << " " << utf8(model.product_version) << "\n";
    if (!model.author.empty()) out << "  author: " << utf8(model.author) << "\n";
    out << "  themes: " << model.themes.size() << ", questions: " << question_total(model) << "\n";
    for (std::size_t t = 0; t < model.themes.size(); ++t)
        out << "    " << t + 1 << ". " << utf8(model.themes[t].name) << ": " << model.themes[t].questions.size()
            << " questions\n";
    out << "  media rows: " << model.media.size()
        << (model.media_embedded != 0 ? ", embedded" : ", in Images, Sons and Musiques beside the quiz") << "\n";

    std::vector<std::string> warnings = quiz_warnings(model);
    for (std::size_t r = 0; r < model.media.size(); ++r) {
        const MediaEntry& row = model.media[r];
        out << "    " << r + 1 << ". id " << row.id << ", " << kind_word(row.kind) << ", "
            << utf8(row.file_name) << " \"" << utf8(row.label) << "\"";
        if (model.media_embedded != 0) {
            out << ", " << row.blob_size << " bytes";
            const std::uint64_t end = static_cast<std::uint64_t>(row.blob_offset) + row.blob_size;
            if (row.blob_size > 0 && (row.blob_offset < quiz.info.overlay_offset + 4ull || end > quiz.info.stream_offset))
                warnings.push_back(media_path(r) + ": its bytes lie outside the media area of the file");
        } else if (const char* sub = external_folder(row.kind); sub && is_safe_media_name(row.file_name)) {
            const fs::path beside = quiz_path.parent_path() / sub / path_from_cp1252(row.file_name);
            if (std::error_code ec; !fs::exists(beside, ec))
                warnings.push_back(media_path(r) + ": " + shown(fs::path(sub) / path_from_cp1252(row.file_name)) +
                                   " is not beside the quiz");
        }
        out << "\n";
    }
    print_warnings(warnings, err);
    return packer_done;
}

int damage_command(const Options& options, std::ostream& out, std::ostream& err) {
    if (options.positional.size() != 2 || !options.output) {
        err << "usage: packer damage <kind> <quiz.exe> -o <damaged.exe>\n";
        return packer_bad_usage;
    }
    const std::string& kind = options.positional[0];
    const fs::path quiz_path = path_from_argument(options.positional[1]);
    const fs::path output = path_from_argument(*options.output);
    if (!std::any_of(damage_kinds().begin(), damage_kinds().end(),
                     [&](const DamageKind& k) { return kind == k.name; })) {
        err << "error: unknown damage kind \"" << kind << "\"; the kinds are:";
        for (const auto& k : damage_kinds()) err << " " << k.name;
        err << "\n";
        return packer_bad_usage;
    }
    auto bytes = read_whole_file(quiz_path);
    if (!bytes) {
        err << "error: cannot read " << shown(quiz_path) << "\n";
        return packer_failed;
    }
    auto damaged = damage_quiz(kind, std::move(*bytes));
    if (!damaged) {
        err << "error: " << shown(quiz_path) << ": " << damaged.error() << "\n";
        return packer_failed;
    }
    if (auto problem = write_atomically(output, damaged.value())) {
        err << "error: " << *problem << "\n";
        return packer_failed;
    }
    out << "wrote " << shown(output) << " (" << kind << ")\n";
    return packer_done;
}

void print_report(const BankReport& report, std::ostream& out) {
    for (const auto& line : report.lines) out << "  " << describe(line) << "\n";
}

std::string counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The files that a hand-written bank names by a relative address, read from
// its folder and the folders below it; a file larger than any picture or
// sound a quiz takes in is not read.
BankFiles files_beside(const fs::path& bank_path) {
    constexpr std::uintmax_t largest = 200u << 20;
    return [folder = bank_path.parent_path()](const std::string& relative) -> std::optional<std::string> {
        const fs::path file = folder / fs::path(std::u8string(relative.begin(), relative.end()));
        std::error_code error;
        if (!fs::is_regular_file(file, error) || fs::file_size(file, error) > largest || error) return std::nullopt;
        return read_whole_file(file);
    };
}

int import_command(const Options& options, std::ostream& out, std::ostream& err) {
    if (options.positional.size() != 1 || !options.output) {
        err << "usage: packer import <bank.csv|bank.gift|bank.xml> [--format csv|gift|xml] -o <quiz.json>\n";
        return packer_bad_usage;
    }
    const fs::path bank_path = path_from_argument(options.positional[0]);
    const fs::path output = path_from_argument(*options.output);
    std::optional<BankFormat> format;
    if (options.format) {
        format = bank_format_from_word(*options.format);
        if (!format) {
            err << "error: unknown format \"" << *options.format << "\"; the formats are csv, gift and xml\n";
            return packer_bad_usage;
        }
    }
    std::string extension = shown(output.extension());
    for (char& c : extension) c = to_lower_1252(c);
    if (extension == ".exe") {
        err << "error: import writes the readable source of a quiz (quiz.json); build the executable from it with "
               "packer build\n";
        return packer_bad_usage;
    }
    if (std::error_code ec; fs::equivalent(bank_path, output, ec)) {
        err << "error: the output " << shown(output) << " is the bank itself\n";
        return packer_bad_usage;
    }
    const auto bytes = read_whole_file(bank_path);
    if (!bytes) {
        err << "error: cannot read " << shown(bank_path) << "\n";
        return packer_failed;
    }
    if (!format) format = bank_format_from_extension(bank_path);
    if (!format) format = guess_bank_format(*bytes);
    if (*format == BankFormat::moodle_xml && !moodle_xml_import_available()) {
        err << "error: this packer was built without an XML library and cannot read Moodle XML; use the packer of "
               "the Linux build, or export the bank from the learning platform as GIFT\n";
        return packer_failed;
    }

    const std::string theme = shown(bank_path.stem());
    auto imported = import_bank(*format, *bytes, theme, files_beside(bank_path));
    if (!imported) {
        const BankError& error = imported.error();
        err << "error: " << shown(bank_path);
        if (error.line > 0) err << ":" << error.line;
        err << ": " << error.what << "\n";
        return packer_failed;
    }
    const ImportedBank& bank = imported.value();
    if (question_total(bank.model) == 0) {
        print_report(bank.report, err);
        err << "error: " << shown(bank_path) << ": the file holds no question that a quiz can hold\n";
        return packer_failed;
    }
    // The pictures and sounds the bank carried go into a folder named after
    // the source, beside it, where the source points at them.
    const std::string media_folder = shown(output.stem()) + "-media";
    std::vector<std::optional<std::string>> media_files(bank.model.media.size());
    for (std::size_t r = 0; r < bank.model.media.size() && r < bank.media_bytes.size(); ++r)
        media_files[r] = media_folder + "/" + cp1252_to_utf8(bank.model.media[r].file_name);
    const std::string source = write_quiz_source(bank.model, media_files);
    // The packer must never hand out a source that it would refuse to build.
    if (auto check = parse_quiz_source(source, output.parent_path()); !check) {
        err << "error: internal error: the written source does not read back: " << check.error() << "\n";
        return packer_failed;
    }
    for (std::size_t r = 0; r < media_files.size(); ++r) {
        if (!media_files[r]) continue;
        const fs::path file = output.parent_path() / path_from_argument(media_folder) /
                              path_from_cp1252(bank.model.media[r].file_name);
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        if (auto problem = write_atomically(file, bank.media_bytes[r])) {
            err << "error: " << *problem << "\n";
            return packer_failed;
        }
    }
    if (auto problem = write_atomically(output, source)) {
        err << "error: " << *problem << "\n";
        return packer_failed;
    }
    out << "read " << shown(bank_path) << " as " << bank_format_name(*format) << " (" << bank.report.reading << ")\n";
    print_report(bank.report, out);
    out << "wrote " << shown(output) << ": " << counted(bank.model.themes.size(), "theme", "themes") << ", "
        << counted(question_total(bank.model), "question", "questions") << "; "
        << counted(bank.report.count(ReportLine::Kind::skipped), "skipped", "skipped") << ", "
        << counted(bank.report.count(ReportLine::Kind::changed), "change", "changes") << "\n";
    if (!bank.model.media.empty())
        out << "wrote " << counted(bank.model.media.size(), "picture or sound", "pictures and sounds") << " into "
            << shown(output.parent_path() / path_from_argument(media_folder)) << "\n";
    out << "next: packer build " << shown(output) << " --runner runner.exe -o quiz.exe\n";
    return packer_done;
}

int export_command(const Options& options, std::ostream& out, std::ostream& err) {
    if (options.positional.size() != 1 || !options.output) {
        err << "usage: packer export <quiz.exe|quiz.json> [--format csv|gift|xml] -o <bank file>\n";
        return packer_bad_usage;
    }
    const fs::path quiz_path = path_from_argument(options.positional[0]);
    const fs::path output = path_from_argument(*options.output);
    std::optional<BankFormat> format =
        options.format ? bank_format_from_word(*options.format) : bank_format_from_extension(output);
    if (!format) {
        err << (options.format ? "error: unknown format \"" + *options.format + "\"; the formats are csv, gift and xml\n"
                               : std::string("error: give --format csv, gift or xml (the output's name does not tell it)\n"));
        return packer_bad_usage;
    }
    const auto bytes = read_whole_file(quiz_path);
    if (!bytes) {
        err << "error: cannot read " << shown(quiz_path) << "\n";
        return packer_failed;
    }
    QuizModel model;
    if (bytes->starts_with("MZ")) {
        auto loaded = load_quiz_file(quiz_path);
        if (!loaded) {
            err << "error: " << shown(quiz_path) << ": " << loaded.error() << "\n";
            return packer_failed;
        }
        model = std::move(loaded.value().model);
    } else {
        auto parsed = parse_quiz_source(*bytes, quiz_path.parent_path());
        if (!parsed) {
            err << "error: " << shown(quiz_path) << ": " << parsed.error() << "\n";
            return packer_failed;
        }
        model = std::move(parsed.value().model);
    }
    const ExportedBank bank = export_bank(*format, model);
    if (auto problem = write_atomically(output, bank.bytes)) {
        err << "error: " << *problem << "\n";
        return packer_failed;
    }
    const auto written = std::count_if(model.themes.begin(), model.themes.end(),
                                       [](const Theme& t) { return !t.questions.empty(); });
    out << "wrote " << shown(output) << " as " << bank_format_name(*format) << " (" << bank.report.reading << ")\n";
    print_report(bank.report, out);
    out << "exported " << counted(static_cast<std::size_t>(written), "theme", "themes") << ", "
        << counted(question_total(model), "question", "questions") << "; "
        << counted(bank.report.count(ReportLine::Kind::skipped), "skipped", "skipped") << ", "
        << counted(bank.report.count(ReportLine::Kind::changed), "change", "changes") << "\n";
    return packer_done;
}

}  // namespace

std::string packer_help() {
    std::string help = R"(packer - builds quiz executables from a readable source, and reads them back.

Usage:
  packer build <source.json> [--runner <runner.exe>] -o <quiz.exe>
      Appends the quiz described by the source to a copy of the runner.
      Without --runner, the runner.exe beside the source is used (packer dump
      writes one). With "media_embedded": 0 the media files are not embedded
      but copied into Images/, Sons/ and Musiques/ beside the quiz.
  packer dump <quiz.exe> -o <folder>
      Writes <folder>/quiz.json (the readable source), the media files into
      <folder>/media/ and the bare runner as <folder>/runner.exe, so that
      "packer build <folder>/quiz.json -o <quiz.exe>" rebuilds the same file.
      A media file whose name is not a plain file name, or is taken, is
      written under another name; quiz.json points at it.
  packer check <quiz.exe>
      Loads the quiz as the runner does and prints its name, themes and media
      rows, or why the runner refuses it.
  packer damage <kind> <quiz.exe> -o <damaged.exe>
      Writes a copy of a well-formed quiz with one deliberate fault, for tests.
  packer import <bank> [--format csv|gift|xml] -o <quiz.json>
      Reads a question bank (CSV from a spreadsheet, GIFT, Moodle XML) into
      the readable source of a quiz with default settings, and reports what
      it skipped or changed, line by line. A question that is a picture or
      a sound, carried by the bank or found in its folder by a relative
      address, brings it into <quiz.json>'s media folder. Build it with
      packer build.
  packer export <quiz.exe|quiz.json> [--format csv|gift|xml] -o <bank>
      Writes the themes and questions of a quiz as a bank; the format is
      told from the output's name (.csv, .gift, .xml) unless given.
  packer web <quiz.exe|quiz.json> [--results-url <address>] -o <quiz.html>
      Makes one self-contained web page that plays the quiz in any browser,
      from a folder (file://) as from a web server: the same exam as the
      runner's, the quiz and its media inside the page. Music (MIDI, which
      browsers do not play) is rendered to audio with fluidsynth, a General
      MIDI soundfont and lame when they are installed. At the end of an exam
      the student saves the record as a results data file; with
      --results-url the page also sends it there (HTTP POST of the record,
      in Windows-1252; the server must allow the page's origin, CORS), and
      keeps in the browser a record it could not send, to send it later.
      --player names the page template (by default the web build's,
      build/web/web/quiz-player.html, or KZ_WEB_PLAYER).
  packer scorm <quiz.exe|quiz.json> -o <quiz.zip>
      Makes the same page into a SCORM 1.2 package (imsmanifest.xml and
      index.html) that a learning platform installs as an activity. Played
      there, the page takes the signed-in student's name from the platform
      and sends each exam's score, status (passed or failed against the
      platform's mastery score, otherwise completed), time and questions to
      its gradebook; outside a platform it plays as the web page does.
  packer --help
      Shows this text.

Exit codes: 0 done, 1 refused input or failed command, 2 wrong command line.
Errors never leave a half-written output: every file is written beside its
target first and then renamed.

The source (UTF-8 JSON, one object):
  {
    "quiz_name": "Découverte",
    "media_embedded": 1,
    "show_logo": true, "logo_media_id": 1,
    "title_band_colour": "#004080",
    "custom_welcome_text": 1,
    "welcome_text": ["{\\rtf1\\ansi ... Bienvenue, [NOMQUIZ] !\\par ", "...}"],
    "results_file_path": "C:\\Resultats\\bilan.dat",
    "themes": [
      { "name": "Géographie", "prompt": "Quelle est la capitale de :",
        "reverse_prompt": "De quel pays est-ce la capitale ?",
        "questions": [
          { "question": "France", "answer": "Paris",
            "first_wrong": "Lyon", "second_wrong": "Marseille",
            "comment": "Paris est aussi la plus grande ville du pays." },
          { "question": {"media": 20}, "answer": "Paris" } ] } ],
    "media": [
      { "id": 1, "kind": "image", "file_name": "logo.bmp", "label": "Logo",
        "file": "media/logo.bmp" } ]
  }

Settings: every setting of the quiz is set by its name; a setting that is not
given keeps its default. The names, in stream order:
)";
    std::string line = "   ";
    for (const auto& field : stream_fields()) {
        if (field.kind == FieldKind::theme_count || field.kind == FieldKind::media_count) continue;
        const std::string name = std::string(" ") + field.name;
        if (line.size() + name.size() > 78) help += line + "\n", line = "   ";
        line += name;
    }
    help += line + "\n";
    help += R"(  The numbers of themes and of media rows are counted from the lists.
  Numbers are whole numbers; true and false give 1 and 0. Colours
  (*_colour) are "#RRGGBB" or a Windows colour value 0x00BBGGRR.
  results_file_path, mail_recipient, mail_profile and mail_password are given
  in clear and stored scrambled; they hold printable ASCII only.

Texts (settings, theme names and prompts, question texts):
  a string; or a list of strings joined without separator (long RTF stays
  readable); or {"media": 12} for a media reference, which is stored as the
  text "$@%0 12" (writing that text directly works as well). Texts are
  written in Windows-1252: a character it lacks is an error. A text is
  stored on one line of at most 29999 bytes and holds no carriage return.

Themes: at most 50, each with "name", "prompt", "reverse_prompt" and
"questions" (at most 500), each question with "question", "answer",
"first_wrong", "second_wrong" and "comment". Missing texts are empty.

Media rows: "id" (required; the number that references use), "kind"
("image", "sound", "music" or a number; told from a .bmp, .wav or .mid
name when missing), "file_name" (the name the runner extracts or looks for;
by default the name of "file"), "label" (shown as <Image : label>), and
"file" (the file with the bytes, relative to the source). A row without
"file" has no bytes. File names are plain names of at most 259 characters.

Unknown keys, wrong types and exceeded limits are errors naming their place
in the source, for example themes[0].questions[3].answer. Media references
and media ids that name no row are warnings.

Question banks:
  CSV: one question a row in the columns theme; question; answer; wrong
  answer 1; wrong answer 2; comment, and optionally prompt; reverse prompt.
  A header row (French or English: Thème, Question, Réponse, Mauvaise
  réponse 1, Mauvaise réponse 2, Commentaire, Consigne, Consigne inverse)
  names them in any order; without one they are in that order. The
  separator (semicolon, comma or tab) and the encoding (UTF-8 with or
  without BOM, UTF-16, Windows-1252) are found by themselves; quoted cells
  may hold separators, quotes and line breaks. An empty theme cell goes on
  with the theme of the row above. Export writes semicolons, UTF-8 with BOM.
  GIFT: $CATEGORY gives the theme; a short answer {=a =b} keeps its first
  answer; a multiple choice {=right ~wrong ~wrong} its right answer and
  first two wrong ones; the general feedback (####) is the comment.
  True/false, matching, numerical, essay and description questions are
  skipped, each with a line in the report.
  Moodle XML: categories, short answers and single-answer multiple choices;
  HTML is reduced to bold, italic, superscript, subscript and line breaks.
  A text that is only a picture (PNG, JPEG, GIF) or a sound (MP3, Ogg,
  FLAC, WAV) carried in the file becomes a media row (a bitmap or a wave
  file, written into <quiz>-media/ beside the source); a question may keep
  a short lead (one line), which becomes its theme's prompt, questions of
  one category with another lead going to Name (2)... Other pictures,
  sounds, videos and links to the platform's files are dropped, each with
  a line in the report. This build reads Moodle XML only when it has the
  XML library (the Windows packer.exe does not).
  Short answers of GIFT and Moodle XML lose their "*" wildcards (any text),
  which a quiz's typed answers do not have. Superscripts and subscripts stay
  rich text; in answers, which are typed and compared as plain text, and in
  CSV and GIFT exports they are written 10³, m², 1er, 10^-6, H_2O.
  Export to CSV writes a cell that begins with =, +, - or @ (a spreadsheet
  formula) after an apostrophe; import takes it off again. Export to GIFT
  skips, with a line in the report, a short answer GIFT would read as
  something else ("->", a leading "%n%").
  A theme of more than 500 questions goes on in Name (2), Name (3)...;
  a bank that needs more than 50 themes is refused. Questions before any
  theme go to a theme named after the file. Texts outside Windows-1252
  (Greek, Cyrillic, emoji) are stored as rich text with Unicode escapes;
  the runner compares typed answers in Windows-1252, so such answers suit
  multiple choice only. Exports write rich text as plain text (basic HTML
  in Moodle XML) and a media reference as the media's file name.

Damage kinds:
)";
    for (const auto& kind : damage_kinds()) help += "  " + std::string(kind.name) + ": " + kind.what + "\n";
    return help;
}

int run_packer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << packer_help();
        return packer_bad_usage;
    }
    const std::string& command = args[0];
    const auto asks_help = [](const std::string& a) { return a == "--help" || a == "-h" || a == "/?"; };
    if (command == "help" || std::any_of(args.begin(), args.end(), asks_help)) {
        out << packer_help();
        return packer_done;
    }
    // Each command and the options it takes besides -o.
    const std::map<std::string, std::set<std::string>> commands = {
        {"build", {"--runner"}}, {"dump", {}},  {"check", {}},
        {"damage", {}},          {"import", {"--format"}}, {"export", {"--format"}},
        {"web", {"--player", "--results-url"}}, {"scorm", {"--player"}},
    };
    const auto known = commands.find(command);
    if (known == commands.end()) {
        err << "error: unknown command \"" << command << "\"; see packer --help\n";
        return packer_bad_usage;
    }
    Options options;
    if (auto problem = parse_options(args, 1, known->second, options)) {
        err << "error: " << *problem << "; see packer --help\n";
        return packer_bad_usage;
    }
    if (command == "build") return build_command(options, out, err);
    if (command == "dump") return dump_command(options, out, err);
    if (command == "check") return check_command(options, out, err);
    if (command == "import") return import_command(options, out, err);
    if (command == "export") return export_command(options, out, err);
    if (command == "web" || command == "scorm") {
        if (options.positional.size() != 1 || !options.output) {
            err << (command == "web" ? "usage: packer web <quiz.exe|quiz.json> [--results-url <address>] "
                                       "[--player <quiz-player.html>] -o <quiz.html>\n"
                                     : "usage: packer scorm <quiz.exe|quiz.json> [--player <quiz-player.html>] "
                                       "-o <quiz.zip>\n");
            return packer_bad_usage;
        }
        WebCommand web{path_from_argument(options.positional[0]), path_from_argument(*options.output),
                       std::nullopt, options.results_url};
        if (options.player) web.player = path_from_argument(*options.player);
        return command == "web" ? web_command(web, out, err) : scorm_command(web, out, err);
    }
    return damage_command(options, out, err);
}

}  // namespace kz
