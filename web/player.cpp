// The web player: the quiz that the page carries, checked and loaded as the
// runner checks and loads its own file, and played through the same engine.
// The page's script calls these functions, one at a time, for every command
// of the student and every tick of a timer; each returns once the engine has
// done what the command asks, waiting inside a modal dialog meanwhile when
// the command opens one (web_view.h).
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include <emscripten.h>

#include "common/cp1252.h"
#include "common/random_source.h"
#include "common/text_helpers.h"
#include "engine/exam_engine.h"
#include "engine/scorm_report.h"
#include "media/rich_text.h"
#include "page_bridge.h"
#include "page_text.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/quiz_loader.h"
#include "questions/palette_characters.h"
#include "res/string_table.h"
#include "results/results_file.h"
#include "web_platform.h"
#include "web_view.h"

namespace kz::web {
namespace {

// Everything one page holds for its quiz, made once the quiz has loaded.
struct Session {
    Session(QuizModel loaded, const std::filesystem::path& quiz_path, const std::filesystem::path& renderings,
            std::optional<std::uint64_t> seed)
        : model(std::move(loaded)),
          media(model, quiz_path, "/tmp"),
          view(renderings),
          random(seed ? DefaultRandom(*seed) : DefaultRandom()),
          launcher([this] { show_details(); }),
          platform{clock, random, registry, folders, file_dialog, mail, launcher},
          engine(model, media, view, platform, quiz_path) {
        view.attach(engine, model);
    }

    void show_details();
    void report_to_platform();
    // After each command: whether an exam runs, and the record of an exam
    // that has just ended.
    void settle();

    QuizModel model;
    MediaExtractor media;
    WebView view;
    DefaultRandom random;
    SystemClock clock;
    PageRegistry registry;
    PageFolders folders;
    NoFileDialog file_dialog;
    NoMail mail;
    DetailsLauncher launcher;
    Platform platform;
    ExamEngine engine;
    bool record_offered = false;
    // The learning platform that started the page, when there is one.
    struct LearningPlatform {
        std::optional<int> mastery_score;
        std::size_t interactions = 0;      // those the platform holds already
        std::int64_t session_seconds = 0;  // the exams of this session so far
    };
    std::optional<LearningPlatform> learning_platform;
};

std::unique_ptr<Session> session;
std::string returned;  // the text an export returns, valid until the next call

const char* give(std::string text) {
    returned = std::move(text);
    return returned.c_str();
}

// A name for the saved results file: the quiz, the student and the exam's
// start, without the characters that file systems refuse.
std::string results_file_name(const ExamRecord& record) {
    std::string date = record.start_date;  // "dd/mm/yyyy hh:mm"
    if (date.size() == 16)
        date = date.substr(6, 4) + "-" + date.substr(3, 2) + "-" + date.substr(0, 2) + " " + date.substr(11, 2) +
               "h" + date.substr(14, 2);
    std::string name = to_page(record.quiz_name + " - " + record.student_name + " - " + date);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            c = '_';
    return name + ".dat";
}

std::string plain_for_page(std::string_view stored) { return to_page(rich_to_plain(stored)); }

void Session::settle() {
    const ExamState& state = engine.exam_state();
    page::exam_running(state.running && !state.finished);
    if (!state.finished) {
        record_offered = false;
        return;
    }
    if (record_offered || !engine.last_results_file()) return;
    record_offered = true;
    const std::string record = format_record(engine.exam_record());
    page::record_ready(std::string(results_format_line) + record, record, results_file_name(engine.exam_record()));
    if (learning_platform) report_to_platform();
}

// The exam's score, status and questions, for the platform's gradebook.
void Session::report_to_platform() {
    LearningPlatform& lms = *learning_platform;
    lms.session_seconds += engine.exam_state().elapsed_seconds;
    const ExamRecord& record = engine.exam_record();
    const auto values = scorm_values(
        {record, engine.exam_settings().exam_type, lms.session_seconds, lms.mastery_score, lms.interactions});
    lms.interactions += record.entries.size();
    std::string json = "[";
    for (const ScormValue& value : values) {
        if (json.size() > 1) json += ',';
        json += "[" + json_quoted(value.element) + "," + json_quoted(to_page(value.value)) + "]";
    }
    page::report_to_platform(json + "]");
}

// The exam just ended, question by question, as the results manager would
// show it from the results file.
void Session::show_details() {
    const ExamRecord& record = engine.exam_record();
    std::string json = "{\"student\":" + json_quoted(to_page(record.student_name));
    json += ",\"date\":" + json_quoted(to_page(record.start_date));
    json += ",\"score\":" + json_quoted(to_page(engine.exam_state().score_text));
    json += ",\"questions\":[";
    for (std::size_t i = 0; i < record.entries.size(); ++i) {
        const QuestionRecord& entry = record.entries[i];
        const auto answers = [](const std::array<std::string, answer_slots>& slots) {
            std::string list = "[";
            for (const std::string& slot : slots) {
                if (slot == " ") continue;
                if (list.size() > 1) list += ',';
                list += json_quoted(plain_for_page(slot));
            }
            return list + "]";
        };
        if (i) json += ',';
        json += "{\"theme\":" + json_quoted(to_page(entry.theme_name));
        json += ",\"question\":" + json_quoted(plain_for_page(entry.question));
        json += ",\"expected\":" + answers(entry.expected);
        json += ",\"given\":" + answers(entry.given);
        json += ",\"right\":" + std::string(entry.right ? "true" : "false") + "}";
    }
    json += "]}";
    page::show_results_details(json);
}

// The largest logo and banner the frame has room for, in pixels, as the runner's.
constexpr int logo_box_width = 92;
constexpr int logo_box_height = 81;
constexpr int banner_box_width = 570;
constexpr int banner_box_height = 62;

std::string colour_text(std::int32_t colour) {
    // Windows colours are 0x00BBGGRR.
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return text;
}

// The frame: the quiz's name and colours, its logo and its banner, each
// picture as the runner fits it into its place.
void show_frame(Session& session) {
    const QuizModel& model = session.model;
    page::show_frame("{\"name\":" + json_quoted(to_page(model.quiz_name)) +
                     ",\"titleBand\":" + json_quoted(colour_text(model.title_band_colour)) +
                     ",\"window\":" + json_quoted(colour_text(model.window_colour)) +
                     ",\"page\":" + json_quoted(colour_text(model.page_colour)) +
                     ",\"titleText\":" + json_quoted(colour_text(model.title_text_colour)) +
                     ",\"text\":" + json_quoted(colour_text(model.text_colour)) + "}");
    const auto picture = [&](const char* which, std::int32_t id, int width, int height) {
        if (const auto file = session.media.extract(id))
            if (auto bytes = read_whole_file(*file); bytes && !bytes->empty())
                page::show_frame_picture(which, *bytes, width, height);
    };
    if (model.show_logo != 0) picture("logo", model.logo_media_id, logo_box_width, logo_box_height);
    if (model.show_banner != 0) picture("banner", model.banner_media_id, banner_box_width, banner_box_height);
}

// Runs a command of the page on the engine, then settles the page.
template <typename Command>
void run(Command command) {
    if (!session) return;
    command(session->engine);
    session->settle();
}

Place place_named(std::string_view name) {
    if (name == "box_1") return Place::box_1;
    if (name == "box_2") return Place::box_2;
    if (name == "box_3") return Place::box_3;
    if (name == "statement") return Place::statement;
    return Place::question;
}

}  // namespace
}  // namespace kz::web

using namespace kz;
using namespace kz::web;

extern "C" {

// Loads the quiz at `quiz_path` (the page's copy of the quiz file) and opens
// the exam's window. `seed`, when not empty, fixes the exam's draws. With a
// learning platform (`platform` true), the student is the one it names
// ("Nom, Prénom"), its mastery score (or -1) decides passed or failed, and
// its interactions so far are counted. False when the quiz is damaged: the
// student has then been told so.
EMSCRIPTEN_KEEPALIVE int kz_start(const char* quiz_path, const char* renderings, const char* seed, int platform,
                                  const char* student_name, int mastery_score, int interactions) {
    const std::filesystem::path path = quiz_path;
    auto file = FileSource::open(path);
    const auto container = file ? check_container(*file) : std::nullopt;
    auto loaded = container ? load_quiz(*file, *container)
                            : Result<QuizModel, LoadError>::failure(LoadError::unreadable_line);
    file.reset();
    if (!loaded) {
        WebView view{std::filesystem::path()};
        view.show_message(message_of(str::damaged_file, str::product_caption, MessageIcon::warning,
                                     MessageButtons::ok, false));
        page::closed();
        return 0;
    }
    std::optional<std::uint64_t> fixed_seed;
    if (seed && *seed) fixed_seed = std::strtoull(seed, nullptr, 10);
    QuizModel model = std::move(loaded).value();
    // The page's own results file, whatever the quiz's storage mode (web_platform.h).
    model.results_storage_mode = 0;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(results_file).parent_path(), ignored);
    session = std::make_unique<Session>(std::move(model), path, renderings, fixed_seed);
    if (platform) {
        Session::LearningPlatform lms;
        if (mastery_score >= 0 && mastery_score <= 100) lms.mastery_score = mastery_score;
        lms.interactions = interactions > 0 ? static_cast<std::size_t>(interactions) : 0;
        session->learning_platform = lms;
        const std::string name = name_from_platform(from_page(student_name ? student_name : ""));
        if (!name.empty()) session->engine.name_student(name);
    }
    show_frame(*session);
    run([](ExamEngine& engine) { engine.open(); });
    return 1;
}

EMSCRIPTEN_KEEPALIVE void kz_next() {
    run([](ExamEngine& engine) { engine.next(); });
}

EMSCRIPTEN_KEEPALIVE void kz_tick(int timer) {
    run([timer](ExamEngine& engine) {
        if (timer == static_cast<int>(Timer::countdown)) engine.countdown_tick();
        if (timer == static_cast<int>(Timer::elapsed)) engine.elapsed_tick();
    });
}

EMSCRIPTEN_KEEPALIVE void kz_restart() {
    run([](ExamEngine& engine) { engine.restart(); });
}

EMSCRIPTEN_KEEPALIVE void kz_go_home() {
    run([](ExamEngine& engine) { engine.go_home(); });
}

EMSCRIPTEN_KEEPALIVE void kz_details() {
    run([](ExamEngine& engine) { engine.show_results_details(); });
}

EMSCRIPTEN_KEEPALIVE void kz_toggle_mute() {
    run([](ExamEngine& engine) { engine.toggle_mute(); });
}

// "Quitter": true when the page may close. The exam's sounds then stop.
EMSCRIPTEN_KEEPALIVE int kz_quit() {
    if (!session) return 1;
    const bool quit = session->engine.confirm_quit();
    session->settle();
    if (quit) {
        session->engine.stop_media();
        session->media.delete_last();
        page::exam_running(false);
        page::closed();
    }
    return quit ? 1 : 0;
}

// The hangman's "Tester la lettre", with what the letter box holds.
EMSCRIPTEN_KEEPALIVE void kz_test_letter() {
    run([](ExamEngine& engine) { engine.test_letter(from_page(page::typed_answer())); });
}

EMSCRIPTEN_KEEPALIVE void kz_play(const char* place) {
    if (session) session->view.play_place(place_named(place));
}

EMSCRIPTEN_KEEPALIVE void kz_stop() {
    run([](ExamEngine& engine) { engine.stop_media(); });
}

EMSCRIPTEN_KEEPALIVE void kz_preview(const char* place) {
    if (session) session->view.preview_place(place_named(place));
}

EMSCRIPTEN_KEEPALIVE void kz_home_changed(const char* field) {
    if (session) session->view.home_field_changed(field);
}

// The help text, with the values of this moment, as HTML.
EMSCRIPTEN_KEEPALIVE const char* kz_help() {
    return give(session ? rich_to_html(session->engine.help_text()) : std::string());
}

// What the About box shows of the quiz, as JSON.
EMSCRIPTEN_KEEPALIVE const char* kz_about(const char* creator_format) {
    if (!session) return give("{}");
    const QuizModel& model = session->model;
    return give("{\"name\":" + json_quoted(to_page(model.quiz_name)) +
                ",\"author\":" + json_quoted(to_page(model.author)) +
                ",\"comment\":" + json_quoted(to_page(model.comment)) + ",\"creator\":" +
                json_quoted(to_page(format_creator_line(from_page(creator_format), model.product_name,
                                                        model.product_version))) +
                ",\"link\":" + json_quoted(std::string(maker_page)) + "}");
}

// The special-characters palette's categories, as JSON: each its name and
// its characters, those of the Symbol font as the signs that font shows.
EMSCRIPTEN_KEEPALIVE const char* kz_palette() {
    std::string json = "{\"opening\":" + std::to_string(palette_opening_category) + ",\"categories\":[";
    for (std::size_t c = 0; c < palette_category_count; ++c) {
        const PaletteCategory& category = palette_categories()[c];
        const bool symbol = category.font == "Symbol";
        if (c) json += ',';
        json += "{\"name\":" + json_quoted(to_page(palette_category_name(c))) + ",\"characters\":[";
        for (std::size_t i = 0; i < category.characters.size(); ++i) {
            const auto byte = static_cast<unsigned char>(category.characters[i]);
            std::string character;
            if (symbol) {
                append_utf8(character, symbol_font_sign(byte));
            } else {
                character = to_page(std::string(1, static_cast<char>(byte)));
            }
            if (i) json += ',';
            json += json_quoted(character);
        }
        json += "]}";
    }
    return give(json + "]}");
}

// The texts of the page's controls, by name, as JSON.
EMSCRIPTEN_KEEPALIVE const char* kz_labels() {
    std::string json = "{";
#define LABEL(name, text) json += (json.size() > 1 ? ",\"" : "\"") + std::string(#name) + "\":" + json_quoted(text);
#include "res/labels.def"
#undef LABEL
    json += ",\"STRING_126\":" + json_quoted(to_page(load_message(str::more_options)));
    json += ",\"STRING_127\":" + json_quoted(to_page(load_message(str::fewer_options)));
    json += ",\"STRING_135\":" + json_quoted(to_page(load_message(str::close_button)));
    json += ",\"STRING_2016\":" + json_quoted(to_page(load_message(str::time_up_text)));
    return give(json + "}");
}

}  // extern "C"
