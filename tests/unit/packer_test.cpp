// The packer: readable source to quiz executable and back, damaged quizzes,
// and the refusal of bad sources. Every test works on real files in a
// temporary folder and reads the results back with the runner's own loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <sstream>

#include "common/cp1252.h"
#include "common/text_helpers.h"
#include "packer_commands.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/media_extractor.h"
#include "quiz/media_table.h"
#include "quiz/quiz_loader.h"
#include "quiz/stream_fields.h"
#include "quiz_damage.h"
#include "quiz_source.h"

namespace kz {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("packer_test_" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }
    fs::path operator/(const char* name) const { return path_ / name; }

private:
    fs::path path_;
};

struct Run {
    int code;
    std::string out;
    std::string err;
};

Run packer(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = run_packer(args, out, err);
    return {code, out.str(), err.str()};
}

std::string arg(const fs::path& path) { return path.string(); }

// A stand-in for the runner: a few KB with its marker bytes free.
std::string fake_runner() {
    std::string runner(4096, 'R');
    runner[0] = 'M', runner[1] = 'Z';
    std::fill(runner.begin() + 192, runner.begin() + 199, '\0');
    return runner;
}

void write(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(write_whole_file(path, bytes)) << path;
}

std::string read(const fs::path& path) { return read_whole_file(path).value_or("<missing>"); }

Result<QuizModel, LoadError> load_file(const fs::path& path) {
    const MemorySource file(read(path));
    const auto info = check_container(file);
    if (!info) return Result<QuizModel, LoadError>::failure(LoadError::unreadable_line);
    return load_quiz(file, *info);
}

// A small quiz with one media row of each kind, its files beside the source.
Json sample_source(const fs::path& folder) {
    write(folder / "media/logo.bmp", "BM logo bytes");
    write(folder / "media/bip.wav", std::string("RIFF\0\0\0\0WAVE bip", 17));
    write(folder / "media/air.mid", "MThd air");
    return Json::parse(R"({
      "quiz_name": "Découverte", "show_logo": true, "logo_media_id": 1, "right_sound_id": 2,
      "results_file_path": "C:\\Resultats\\bilan.dat", "mail_password": "s3cret!",
      "custom_welcome_text": 1,
      "welcome_text": ["{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs36 Bienvenue !\\par\\par ",
                       "\\fs20 au questionnaire [NOMQUIZ], [NOMELEVE].\\par\\pard Suivez le guide\\line jusqu'au bout.\\par}"],
      "themes": [
        {"name": "Géographie", "prompt": "Capitale ?", "reverse_prompt": "Pays ?",
         "questions": [
           {"question": "France", "answer": "Paris", "first_wrong": "Lyon", "comment": "Évidemment."},
           {"question": {"media": 1}, "answer": "Logo"},
           {"question": {"media": 3}, "answer": "Air"}]},
        {"name": "Vide"}],
      "media": [
        {"id": 1, "kind": "image", "label": "Logo", "file": "media/logo.bmp"},
        {"id": 2, "file_name": "bip.wav", "label": "Bip", "file": "media/bip.wav"},
        {"id": 3, "kind": "music", "file_name": "air.mid", "label": "Air", "file": "media/air.mid"},
        {"id": 0, "file_name": "", "label": ""}]
    })");
}

fs::path build_sample(const TempFolder& folder, Json source = {}) {
    if (source.is_null()) source = sample_source(folder.path());
    write(folder / "quiz.json", source.dump());
    write(folder / "runner.bin", fake_runner());
    const auto run = packer({"build", arg(folder / "quiz.json"), "--runner", arg(folder / "runner.bin"), "-o",
                             arg(folder / "out/quiz.exe")});
    EXPECT_EQ(run.code, packer_done) << run.err;
    return folder / "out/quiz.exe";
}

TEST(QuizSourceTest, EveryStreamFieldSurvivesTheSourceTheStreamAndTheLoader) {
    // Each field gets a value of its own, unlike its default and unlike every
    // other field, so that a key read into the wrong member shows.
    Json json = Json::object();
    const auto fields = stream_fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string name = fields[i].name;
        switch (fields[i].kind) {
        case FieldKind::number: json[name] = 1000 + static_cast<int>(i); break;
        case FieldKind::line: json[name] = "texte « " + name + " » é"; break;
        case FieldKind::scrambled: json[name] = "clear " + name; break;
        default: break;
        }
    }
    json["themes"] = Json::parse(R"([{"name": "a", "questions": [{"answer": "b"}]}, {"name": "c"}])");
    json["media"] = Json::parse(R"([{"id": 7, "file_name": "x.bmp"}])");

    auto parsed = parse_quiz_source(json.dump(), ".");
    ASSERT_TRUE(parsed) << parsed.error();
    auto built = build_quiz_executable(fake_runner(), parsed.value().model, {""});
    ASSERT_TRUE(built) << built.error();
    const MemorySource file(built.value());
    auto loaded = load_quiz(file, *check_container(file));
    ASSERT_TRUE(loaded);
    // The dumped source reads back to the same model.
    auto again = parse_quiz_source(write_quiz_source(loaded.value(), {std::nullopt}), ".");
    ASSERT_TRUE(again) << again.error();

    const QuizModel defaults;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto& field = fields[i];
        SCOPED_TRACE(field.name);
        for (const QuizModel* model : {&loaded.value(), &again.value().model}) {
            if (field.number) {
                EXPECT_EQ(model->*field.number, 1000 + static_cast<int>(i));
                EXPECT_NE(model->*field.number, defaults.*field.number);
            } else if (field.text) {
                const std::string utf8 = json[field.name].get<std::string>();
                EXPECT_EQ(model->*field.text, utf8_to_cp1252(utf8).value());
            }
        }
    }
    EXPECT_EQ(loaded.value().themes.size(), 2u);
    EXPECT_EQ(loaded.value().themes[0].questions.at(0).answer, "b");
    EXPECT_EQ(loaded.value().media.at(0).id, 7);
}

TEST(QuizSourceTest, TextsAndNumbersAreReadInEveryWrittenForm) {
    struct Row {
        const char* what;
        Json value;
        std::string text;      // expected question text
    };
    const Row texts[] = {
        {"accents become Windows-1252", "Café où", "Caf\xE9 o\xF9"},
        {"the euro sign and œ have their own bytes", "€ œ", "\x80 \x9C"},
        {"parts of a list are joined", Json::array({"{\\rtf1 ", "a}"}), "{\\rtf1 a}"},
        {"an empty list is an empty text", Json::array(), ""},
        {"a media object is a reference", Json{{"media", 12}}, "$@%0 12"},
        {"a reference may be written directly", "$@%0 12", "$@%0 12"},
        {"a negative id fits the reference", Json{{"media", -1234}}, "$@%0 -1234"},
    };
    for (const auto& row : texts) {
        Json question = Json::object();
        question["question"] = row.value;
        Json theme = Json::object();
        theme["questions"] = Json::array({question});
        Json json = Json::object();
        json["themes"] = Json::array({theme});
        auto parsed = parse_quiz_source(json.dump(), ".");
        ASSERT_TRUE(parsed) << row.what << ": " << parsed.error();
        EXPECT_EQ(parsed.value().model.themes[0].questions[0].question, row.text) << row.what;
    }

    const struct {
        const char* key;
        Json value;
        std::int32_t number;
    } numbers[] = {
        {"show_logo", true, 1},
        {"hide_help", false, 0},
        {"page_colour", "#FF8000", 0x000080FF},
        {"page_colour", 0x00123456, 0x00123456},
        {"logo_media_id", -7, -7},
        {"default_time_limit", 2147483647, 2147483647},
    };
    for (const auto& row : numbers) {
        auto parsed = parse_quiz_source(Json{{row.key, row.value}}.dump(), ".");
        ASSERT_TRUE(parsed) << row.key << ": " << parsed.error();
        const auto field = std::find_if(stream_fields().begin(), stream_fields().end(),
                                        [&](const StreamField& f) { return std::string_view(f.name) == row.key; });
        EXPECT_EQ(parsed.value().model.*(field->number), row.number) << row.key << " " << row.value;
    }
}

TEST(QuizSourceTest, UnsettledReferencesAndSwitchedOffTextsAreWarnings) {
    const struct {
        const char* what;
        const char* json;
        const char* warning;
    } rows[] = {
        {"reference to an id no row carries", R"({"themes": [{"questions": [{"question": {"media": 99}}]}]})",
         "themes[0].questions[0].question: refers to media id 99"},
        {"reference to id 0 without low ids", R"({"comment": "$@%0 0", "media": [{"id": 0}]})",
         "comment: refers to media id 0, but ids below 1"},
        {"logo shown but missing", R"({"show_logo": 1, "logo_media_id": 4})", "logo_media_id: media id 4 names no"},
        {"event sound that is an image", R"({"end_sound_id": 1, "media": [{"id": 1, "file_name": "a.bmp"}]})",
         "end_sound_id: media id 1 is image, but a sound is expected"},
        {"welcome text switched off", R"({"welcome_text": "Salut"})", "the built-in welcome text is shown"},
        {"end text switched on but empty", R"({"custom_end_text": 1})", "the end page stays blank"},
        {"two rows with one id", R"({"media": [{"id": 5, "file_name": "a.wav"}, {"id": 5, "file_name": "b.wav"}]})",
         "media[1].id: id 5 is also carried by media[0]"},
    };
    for (const auto& row : rows) {
        auto parsed = parse_quiz_source(row.json, ".");
        ASSERT_TRUE(parsed) << row.what << ": " << parsed.error();
        const auto& warnings = parsed.value().warnings;
        EXPECT_TRUE(std::any_of(warnings.begin(), warnings.end(),
                                [&](const std::string& w) { return w.find(row.warning) != std::string::npos; }))
            << row.what;
    }
    EXPECT_TRUE(parse_quiz_source(R"({"show_logo": 1, "logo_media_id": 1, "media": [{"id": 1, "file_name": "l.bmp"}]})", ".")
                    .value().warnings.empty());
}

TEST(PackerTest, BadSourcesAreReportedWithoutWritingAnything) {
    using Change = std::function<void(Json&, const fs::path&)>;
    const struct {
        const char* what;
        Change change;
        const char* message;
        int code = packer_failed;
    } rows[] = {
        {"unknown key at the top", [](Json& j, auto&) { j["quiz_nam"] = "x"; },
         "quiz_nam: unknown key; did you mean \"quiz_name\"?"},
        {"unknown key in a question", [](Json& j, auto&) { j["themes"][0]["questions"][0]["anwser"] = "x"; },
         "themes[0].questions[0].anwser: unknown key"},
        {"unknown key in a media row", [](Json& j, auto&) { j["media"][0]["size"] = 3; }, "media[0].size: unknown key"},
        {"unknown key in a media object", [](Json& j, auto&) { j["themes"][0]["questions"][0]["question"] = {{"medium", 1}}; },
         "themes[0].questions[0].question.medium: unknown key"},
        {"derived count", [](Json& j, auto&) { j["theme_count_minus_one"] = 3; }, "theme_count_minus_one: is counted"},
        {"flag given as text", [](Json& j, auto&) { j["allow_hangman"] = "yes"; }, "allow_hangman: must be a whole number"},
        {"fraction", [](Json& j, auto&) { j["default_time_limit"] = 1.5; }, "default_time_limit: must be a whole number"},
        {"number out of range", [](Json& j, auto&) { j["default_time_limit"] = 4294967296LL; }, "out of range"},
        {"malformed colour", [](Json& j, auto&) { j["page_colour"] = "#12345"; }, "page_colour: a colour is"},
        {"themes not a list", [](Json& j, auto&) { j["themes"] = "Géographie"; }, "themes: must be a list"},
        {"text part not a string", [](Json& j, auto&) { j["help_text"] = Json::array({"a", 1}); }, "help_text[1]: must be a string"},
        {"character outside Windows-1252", [](Json& j, auto&) { j["themes"][0]["name"] = "A → B"; },
         "themes[0].name: \"→\" (U+2192) has no Windows-1252 form"},
        {"accent in a scrambled field", [](Json& j, auto&) { j["mail_password"] = "mot-de-passé"; },
         "mail_password: may hold printable ASCII characters only"},
        {"carriage return in a text", [](Json& j, auto&) { j["comment"] = "a\r\nb"; }, "comment: holds a carriage return"},
        {"text over 29999 bytes", [](Json& j, auto&) { j["help_text"] = std::string(30000, 'x'); }, "at most 29999 bytes"},
        {"scrambled field over 259", [](Json& j, auto&) { j["mail_recipient"] = std::string(260, 'x'); },
         "mail_recipient: is 260 characters long; at most 259"},
        {"51 themes", [](Json& j, auto&) { j["themes"] = Json::array(); for (int t = 0; t < 51; ++t) j["themes"].push_back({{"name", "t"}}); },
         "themes: 51 themes given; a quiz holds at most 50"},
        {"501 questions", [](Json& j, auto&) { j["themes"][1]["questions"] = Json::array(); for (int i = 0; i < 501; ++i) j["themes"][1]["questions"].push_back(Json::object()); },
         "themes[1].questions: 501 questions given; a theme holds at most 500"},
        {"media id too long for a reference", [](Json& j, auto&) { j["comment"] = {{"media", 123456}}; },
         "comment.media: media id 123456 is too long"},
        {"missing media file", [](Json& j, auto&) { j["media"][1]["file"] = "media/absent.wav"; }, "media[1].file: cannot read"},
        {"media row without id", [](Json& j, auto&) { j["media"][0].erase("id"); }, "media[0]: needs an \"id\""},
        {"unknown kind word", [](Json& j, auto&) { j["media"][0]["kind"] = "video"; }, "media[0].kind: must be \"image\""},
        {"kind not told by the name", [](Json& j, auto&) { j["media"][1].erase("kind"); j["media"][1]["file_name"] = "bip.snd"; },
         "media[1]: needs a \"kind\""},
        {"unsafe media file name", [](Json& j, auto&) { j["media"][0]["file_name"] = "..\\evil.bmp"; },
         "media[0].file_name: \"..\\evil.bmp\" is not a plain file name"},
        {"media file name over 259", [](Json& j, auto&) { j["media"][0]["file_name"] = std::string(256, 'a') + ".bmp"; },
         "media[0].file_name: is 260 characters long"},
        {"two external files under one name", [](Json& j, auto&) { j["media_embedded"] = 0; j["media"][1]["file_name"] = "same.wav"; j["media"][2]["file_name"] = "same.wav"; j["media"][2]["kind"] = "sound"; },
         "media[2]: media[1] already puts other bytes in Sons/same.wav"},
        {"runner whose marker bytes are taken", [](Json&, const fs::path& f) { std::string r = fake_runner(); r[195] = 1; write(f / "runner.bin", r); },
         "bytes 192 to 198 of the runner are not free"},
        {"runner that already carries a quiz", [](Json&, const fs::path& f) { auto q = build_quiz_executable(fake_runner(), QuizModel{}, {}); write(f / "runner.bin", q.value()); },
         "already carries a quiz"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder folder;
        Json source = sample_source(folder.path());
        write(folder / "runner.bin", fake_runner());
        row.change(source, folder.path());
        write(folder / "quiz.json", source.dump());
        const auto run = packer({"build", arg(folder / "quiz.json"), "--runner", arg(folder / "runner.bin"), "-o",
                                 arg(folder / "out/quiz.exe")});
        EXPECT_EQ(run.code, row.code);
        EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(folder / "out")) << "nothing may be written";
    }

    // Texts that are no JSON object at all.
    const struct {
        const char* text;
        const char* message;
    } raw[] = {
        {R"({"quiz_name": "a",})", "not valid JSON: parse error at line 1"},
        {R"({"quiz_name": "a", "quiz_name": "b"})", "quiz_name: the key is given twice"},
        {R"(["quiz_name"])", "the source must be a JSON object"},
    };
    for (const auto& row : raw) {
        TempFolder folder;
        write(folder / "quiz.json", row.text);
        write(folder / "runner.exe", fake_runner());
        const auto run = packer({"build", arg(folder / "quiz.json"), "-o", arg(folder / "quiz.exe")});
        EXPECT_EQ(run.code, packer_failed) << row.text;
        EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(folder / "quiz.exe"));
    }
}

TEST(PackerTest, WrongCommandLinesAreUsageErrorsAndHelpDescribesEveryCommand) {
    TempFolder folder;
    const struct {
        std::vector<std::string> args;
        int code;
        const char* message;
    } rows[] = {
        {{}, packer_bad_usage, "Usage:"},
        {{"frobnicate"}, packer_bad_usage, "unknown command \"frobnicate\""},
        {{"build", "quiz.json"}, packer_bad_usage, "usage: packer build"},
        {{"build", "quiz.json", "-o"}, packer_bad_usage, "-o needs a value"},
        {{"dump", "quiz.exe", "--verbose", "-o", "x"}, packer_bad_usage, "unknown option --verbose"},
        {{"damage", "melted", "quiz.exe", "-o", "x"}, packer_bad_usage, "the kinds are: bad-marker"},
        {{"build", arg(folder / "quiz.json"), "-o", arg(folder / "q.exe")}, packer_bad_usage, "no runner"},
        {{"check", arg(folder / "absent.exe")}, packer_failed, "cannot read"},
    };
    write(folder / "quiz.json", "{}");
    for (const auto& row : rows) {
        const auto run = packer(row.args);
        EXPECT_EQ(run.code, row.code) << row.message;
        EXPECT_NE((run.err + run.out).find(row.message), std::string::npos) << run.err << run.out;
    }

    const auto help = packer({"--help"});
    EXPECT_EQ(help.code, packer_done);
    for (const char* part : {"packer build", "packer dump", "packer check", "packer damage", "media_embedded",
                             "look_up_low_ids", "{\"media\": 12}", "truncated-stream", "long-scrambled"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
}

TEST(PackerTest, BuildDumpBuildGivesIdenticalBytes) {
    for (const bool embedded : {true, false}) {
        SCOPED_TRACE(embedded ? "embedded media" : "external media");
        TempFolder folder;
        Json source = sample_source(folder.path());
        source["media_embedded"] = embedded ? 1 : 0;
        const fs::path first = build_sample(folder, source);

        const auto dump = packer({"dump", arg(first), "-o", arg(folder / "dumped")});
        ASSERT_EQ(dump.code, packer_done) << dump.err;
        EXPECT_EQ(read(folder / "dumped/media/logo.bmp"), "BM logo bytes");
        EXPECT_EQ(read(folder / "dumped/runner.exe"), fake_runner());
        const Json dumped = Json::parse(read(folder / "dumped/quiz.json"));
        EXPECT_GT(dumped["welcome_text"].size(), 1u) << "long RTF is dumped in parts, one per paragraph";

        // Rebuilt with the runner.exe that the dump put beside its source.
        const auto rebuild = packer({"build", arg(folder / "dumped/quiz.json"), "-o", arg(folder / "again/quiz.exe")});
        ASSERT_EQ(rebuild.code, packer_done) << rebuild.err;
        EXPECT_EQ(read(folder / "again/quiz.exe"), read(first));
        if (!embedded) {
            EXPECT_EQ(read(folder / "again/Sons/bip.wav"), read(folder / "out/Sons/bip.wav"));
        }
    }
}

TEST(PackerTest, MediaReachTheRunnerEmbeddedOrBesideTheQuiz) {
    for (const bool embedded : {true, false}) {
        SCOPED_TRACE(embedded ? "embedded media" : "external media");
        TempFolder folder;
        Json source = sample_source(folder.path());
        source["media_embedded"] = embedded ? 1 : 0;
        const fs::path quiz = build_sample(folder, source);
        auto loaded = load_file(quiz);
        ASSERT_TRUE(loaded);
        const QuizModel& model = loaded.value();
        EXPECT_EQ(model.media[3].blob_size, 0u) << "a row without a file has no bytes";
        EXPECT_EQ(fs::exists(folder / "out/Images/logo.bmp"), !embedded);
        EXPECT_EQ(fs::exists(folder / "out/Musiques/air.mid"), !embedded);
        for (const auto& row : model.media) {
            if (!embedded) {
                EXPECT_EQ(row.blob_offset + row.blob_size, 0u);
            }
        }

        fs::create_directories(folder / "temp");
        MediaExtractor extractor(model, quiz, folder / "temp");
        const struct { std::int32_t id; const char* file; } items[] = {
            {1, "media/logo.bmp"}, {2, "media/bip.wav"}, {3, "media/air.mid"}};
        for (const auto& item : items) {
            const auto path = extractor.extract(item.id);
            ASSERT_TRUE(path) << item.id;
            EXPECT_EQ(read(*path), read(folder.path() / item.file)) << item.id;
        }
    }
}

TEST(PackerTest, ScrambledFieldsAreGivenInClearAndNeverStoredInClear) {
    TempFolder folder;
    const fs::path quiz = build_sample(folder);
    const std::string bytes = read(quiz);
    EXPECT_EQ(bytes.find("bilan.dat"), std::string::npos);
    EXPECT_EQ(bytes.find("s3cret!"), std::string::npos);
    auto loaded = load_file(quiz);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded.value().results_file_path, "C:\\Resultats\\bilan.dat");
    EXPECT_EQ(loaded.value().mail_password, "s3cret!");

    ASSERT_EQ(packer({"dump", arg(quiz), "-o", arg(folder / "dumped")}).code, packer_done);
    const Json dumped = Json::parse(read(folder / "dumped/quiz.json"));
    EXPECT_EQ(dumped["results_file_path"], "C:\\Resultats\\bilan.dat");
    EXPECT_EQ(dumped["mail_password"], "s3cret!");
}

TEST(PackerTest, DumpWritesUnsafeAndTakenNamesUnderSafeNamesItsSourcePointsAt) {
    TempFolder folder;
    QuizModel model;
    const char* names[] = {"..\\evil.bmp", "same.wav", "SAME.wav", "nul.wav", ""};
    for (int r = 0; r < 5; ++r) model.media.push_back({names[r], "row", r == 0 ? 0 : 1, 0, 0, r + 1});
    auto quiz = build_quiz_executable(fake_runner(), model, {"evil", "one", "two", "device", "unnamed"});
    ASSERT_TRUE(quiz);
    write(folder / "quiz.exe", quiz.value());

    const auto dump = packer({"dump", arg(folder / "quiz.exe"), "-o", arg(folder / "dumped")});
    ASSERT_EQ(dump.code, packer_done) << dump.err;
    EXPECT_NE(dump.err.find("media[0]: written as media/"), std::string::npos) << dump.err;
    const Json source = Json::parse(read(folder / "dumped/quiz.json"));
    const char* bytes[] = {"evil", "one", "two", "device", "unnamed"};
    std::set<std::string> files;
    for (int r = 0; r < 5; ++r) {
        const Json& row = source["media"][r];
        EXPECT_EQ(row["file_name"], names[r]) << "the row keeps its own name";
        const std::string file = row["file"];
        EXPECT_TRUE(file.starts_with("media/")) << file;
        EXPECT_TRUE(is_safe_media_name(file.substr(6))) << file;
        EXPECT_EQ(read(folder / "dumped" / file), bytes[r]) << file;
        files.insert(lower_1252(file));
    }
    EXPECT_EQ(files.size(), 5u) << "no two rows share a file, whatever the case";
    EXPECT_FALSE(fs::exists(folder / "evil.bmp"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "dumped/media"), fs::directory_iterator()), 5);
}

TEST(PackerTest, EveryDamageKindIsRefusedByTheRunnersLoader) {
    enum class Refusal { container, loader, extraction };
    const struct {
        const char* kind;
        Refusal refusal;
        std::optional<LoadError> error = std::nullopt;  // nothing: any refusal of the loader
    } rows[] = {
        {"bad-marker", Refusal::container},
        {"overlay-past-end", Refusal::container},
        {"stream-past-end", Refusal::container},
        {"stream-before-overlay", Refusal::container},
        {"no-stream-offset", Refusal::container},
        {"truncated-stream", Refusal::loader},
        {"long-line", Refusal::loader, LoadError::unreadable_line},
        {"nul-in-line", Refusal::loader, LoadError::unreadable_line},
        {"bad-theme-count", Refusal::loader, LoadError::bad_theme_count},
        {"negative-theme-count", Refusal::loader, LoadError::bad_theme_count},
        {"bad-question-count", Refusal::loader, LoadError::bad_question_count},
        {"negative-question-count", Refusal::loader, LoadError::bad_question_count},
        {"count-as-binary", Refusal::loader, LoadError::unreadable_line},
        {"huge-media-count", Refusal::loader, LoadError::bad_media_count},
        // The loader accepts the row; the extractor refuses to write outside
        // its folder, so the item never reaches the disk.
        {"unsafe-media-name", Refusal::extraction},
        {"long-media-name", Refusal::loader, LoadError::name_too_long},
        {"long-scrambled", Refusal::loader, LoadError::scrambled_too_long},
    };
    ASSERT_EQ(std::size(rows), damage_kinds().size()) << "every damage kind has its row";

    TempFolder folder;
    const fs::path quiz = build_sample(folder);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        const fs::path damaged = folder.path() / (std::string(row.kind) + ".exe");
        const auto run = packer({"damage", row.kind, arg(quiz), "-o", arg(damaged)});
        ASSERT_EQ(run.code, packer_done) << run.err;
        ASSERT_NE(read(damaged), read(quiz));

        const MemorySource file(read(damaged));
        const auto info = check_container(file);
        EXPECT_EQ(info.has_value(), row.refusal != Refusal::container);
        if (!info) continue;
        auto loaded = load_quiz(file, *info);
        if (row.refusal == Refusal::loader) {
            ASSERT_FALSE(loaded);
            if (row.error) {
                EXPECT_EQ(loaded.error(), *row.error) << describe(loaded.error());
            }
            EXPECT_EQ(packer({"check", arg(damaged)}).code, packer_failed);
            continue;
        }
        ASSERT_TRUE(loaded);
        fs::create_directories(folder / "temp/inner");
        MediaExtractor extractor(loaded.value(), damaged, folder / "temp/inner");
        EXPECT_FALSE(extractor.extract(loaded.value().media[0].id));
        EXPECT_FALSE(fs::exists(folder / "temp/evil.bmp"));
        EXPECT_NE(packer({"check", arg(damaged)}).err.find("not a plain file name"), std::string::npos);
    }

    EXPECT_NE(packer({"check", arg(folder / "bad-marker.exe")}).out.find("refused: no quiz marker"), std::string::npos);
    // Kinds that need a theme or a media row say so on a quiz without them.
    write(folder / "empty.exe", build_quiz_executable(fake_runner(), QuizModel{}, {}).value());
    EXPECT_FALSE(damage_quiz("bad-question-count", read(folder / "empty.exe")));
    EXPECT_FALSE(damage_quiz("unsafe-media-name", read(folder / "empty.exe")));
}

TEST(PackerTest, CheckSummarisesTheQuizAsTheRunnerLoadsIt) {
    TempFolder folder;
    const fs::path quiz = build_sample(folder);
    const auto run = packer({"check", arg(quiz)});
    EXPECT_EQ(run.code, packer_done) << run.err;
    for (const char* line : {"quiz name: Découverte", "1. Géographie: 3 questions", "2. Vide: 0 questions",
                             "media rows: 4, embedded", "id 2, sound, bip.wav \"Bip\", 17 bytes"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
}

TEST(DemoQuizTest, DemoQuizBuildsWithoutWarningsAndUsesEveryKindOfMedia) {
    const fs::path demo = fs::path(__FILE__).parent_path().parent_path().parent_path() / "samples/demo/demo.json";
    TempFolder folder;
    write(folder / "runner.bin", fake_runner());
    const auto run = packer({"build", arg(demo), "--runner", arg(folder / "runner.bin"), "-o", arg(folder / "demo.exe")});
    ASSERT_EQ(run.code, packer_done) << run.err;
    EXPECT_EQ(run.err, "") << "the demo quiz raises no warning";

    auto loaded = load_file(folder / "demo.exe");
    ASSERT_TRUE(loaded);
    const QuizModel& model = loaded.value();
    EXPECT_GE(model.themes.size(), 4u);
    std::set<std::int32_t> question_kinds;
    for (const auto& theme : model.themes) {
        EXPECT_GE(theme.questions.size(), 8u) << theme.name;
        for (const auto& q : theme.questions)
            if (const MediaEntry* row = media_of_reference(model, q.question)) question_kinds.insert(row->kind);
    }
    EXPECT_EQ(question_kinds, (std::set<std::int32_t>{media_image, media_sound, media_music}));
    for (const char* placeholder : {"[NOMELEVE]", "[SCORE]", "[TEMPSPASSE]", "[JUSTES]"})
        EXPECT_NE(model.end_text.find(placeholder), std::string::npos) << placeholder;
    for (const auto& row : model.media) EXPECT_LT(row.blob_size, 100u * 1024) << row.file_name;
}

}  // namespace
}  // namespace kz
