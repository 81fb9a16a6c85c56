// The correction dialog of training mode in the real runner under Wine: what
// it shows after a wrong answer of each exam type (texts, pictures, a song,
// the comment), how it fits its height to that, and what its play button,
// picture, "&Continuer" and close box do.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness/correction_window.h"
#include "harness/exam_window.h"
#include "harness/harness.h"

namespace kz::e2e {

void PrintTo(const PlaceShown& shown, std::ostream* out) {
    static const char* const kinds[] = {"nothing", "text ", "picture", "play and stop", "a mix"};
    *out << kinds[static_cast<int>(shown.kind)];
    if (shown.kind == PlaceShown::Kind::text) *out << ::testing::PrintToString(shown.text);
    if (shown.kind == PlaceShown::Kind::picture) *out << " " << shown.picture.cx << " x " << shown.picture.cy;
}

namespace {

namespace fs = std::filesystem;

constexpr int tf_statement = 1011;
// A media item as the expected answer, asked the other way round as the home
// page proposes: the song beside the quiz, where the player's hold on the
// file shows whether it plays, or the 160 x 120 map inside the quiz.
enum class Media { none, song, map };
enum class Close { continue_button, close_box };

PlaceShown text(const char* utf8) { return {PlaceShown::Kind::text, wide_text(utf8), {}}; }
PlaceShown picture(int width, int height) { return {PlaceShown::Kind::picture, {}, {width, height}}; }
const PlaceShown buttons = {PlaceShown::Kind::buttons, {}, {}};
const PlaceShown nothing = {};

struct CorrectionCase {
    const char* name;  // also the screenshot's
    std::int32_t QuizModel::*type;
    std::vector<QuestionEntry> questions;  // the first is asked and left unanswered
    int message;                           // 0: true/false, by the statement shown
    std::vector<PlaceShown> answers;       // in any order: multiple-choice boxes are shuffled
    PlaceShown comment;
    Media media = Media::none;
    int play_row = -1;     // the row whose play button is pressed
    int preview_row = -1;  // the row whose picture is clicked
    Close close = Close::continue_button;
    bool music_after = false;  // the song still plays once the dialog has closed
};
void PrintTo(const CorrectionCase& c, std::ostream* out) { *out << c.name; }

const std::string comment_rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 Capitale depuis "
                                "\\b 987\\b0 .\\par }";
const QuestionEntry song_question = {"$@%0 40", text_1252("Frère Jacques"), "", "", ""};

const CorrectionCase cases[] = {
    {"correction-open-answer", &QuizModel::allow_open_answer, {{"France", "Paris", "", "", comment_rtf}}, 106,
     {text("Paris")}, text("Capitale depuis 987.")},
    // Two records of one question, three different answers: all three are
    // proposed, both rivers are right.
    {"correction-multiple-choice", &QuizModel::allow_multiple_choice,
     {{"Lyon", text_1252("le Rhône"), "", "", text_1252("Deux fleuves s'y rejoignent.")},
      {"Lyon", text_1252("la Saône"), "", "", ""}, {"Nantes", "la Loire", "", "", ""},
      {text_1252("Orléans"), "la Loire", "", "", ""}},
     108, {text("le Rhône"), text("la Saône")}, text("Deux fleuves s'y rejoignent.")},
    {"correction-true-false", &QuizModel::allow_true_false,
     {{"France", "Paris", "", "", text_1252("Très visitée.")}, {"Italie", "Rome", "", "", ""}}, 0, {},
     text("Très visitée."), Media::none, -1, -1, Close::close_box},
    {"correction-sound-continued", &QuizModel::allow_open_answer, {song_question}, 106, {buttons}, nothing,
     Media::song, 0, -1, Close::continue_button, true},
    {"correction-sound-closed", &QuizModel::allow_open_answer, {song_question}, 106, {buttons}, nothing, Media::song,
     0, -1, Close::close_box, false},
    {"correction-picture-comment", &QuizModel::allow_open_answer, {{"$@%0 50", "France", "", "", "$@%0 50"}}, 106,
     {picture(90, 90)}, picture(71, 71), Media::map, -1, 0},
};

// One question of the case's exam type, asked at once in training mode (after
// the home page when the direction is inverted).
RunningQuiz start_case(const CorrectionCase& c, const fs::path& dir) {
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.show_welcome_page = 0;
    quiz.use_home_page = quiz.default_inverted = c.media == Media::none ? 0 : 1;
    quiz.default_training_mode = 1;
    quiz.default_random_order = 0;
    quiz.default_question_count = 1;
    for (auto type : {&QuizModel::allow_open_answer, &QuizModel::allow_multiple_choice, &QuizModel::allow_true_false})
        quiz.*type = type == c.type ? 1 : 0;
    quiz.themes.resize(1);
    quiz.themes[0].questions = c.questions;
    const fs::path media = source_dir() / "samples" / "demo" / "media";
    std::vector<std::string> blobs;
    if (c.media == Media::song) {
        quiz.media_embedded = 0;
        quiz.media = {MediaEntry{"frere_jacques.mid", "Comptine", 2, 0, 0, 40}};
        fs::create_directories(dir / "Musiques");
        fs::copy_file(media / "frere_jacques.mid", dir / "Musiques" / "frere_jacques.mid",
                      fs::copy_options::overwrite_existing);
    } else if (c.media == Media::map) {
        quiz.media = {MediaEntry{"carte.bmp", "Carte", 0, 0, 0, 50}};
        blobs = {file_bytes(media / "carte.bmp").value_or(std::string())};
    }
    return start_quiz(dir, quiz, blobs);
}

// True while a program holds the file open against writers, as the music
// player holds the song it plays.
bool file_held_open(const fs::path& file) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(handle);
    return false;
}

RECT screen_rect(HWND dialog, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    return rect;
}

int scaled(int pixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, 96);
}

// The fitting: the comment's frame in the first row without an answer (lower
// by what the pictures above overhang their rows), the comment 20 pixels
// under the frame's top and within its lines, no place over another, nothing
// cut off, the window ending 15 pixels under the last row or thing shown,
// centred on the screen.
void expect_fitted(HWND dialog, std::size_t answers) {
    std::vector<std::pair<std::size_t, RECT>> shown;  // place (4: the frame), rectangle
    LONG lowest = 0, overhang = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const auto& place = correction_ids::places[k];
        const RECT text = screen_rect(dialog, place.text);
        if (k < std::max<std::size_t>(answers, 1)) lowest = text.bottom;  // the rows' room
        for (const int id : {place.text, place.picture, place.play, place.stop})
            if (item_visible(dialog, id)) shown.push_back({k, screen_rect(dialog, id)});
        if (k < 3 && item_visible(dialog, place.picture))
            overhang += std::max(0L, screen_rect(dialog, place.picture).bottom - text.bottom);
    }
    if (item_visible(dialog, correction_ids::comment_box)) {
        const RECT frame = screen_rect(dialog, correction_ids::comment_box);
        const std::size_t first_free = std::max<std::size_t>(answers, 1);
        if (first_free < 3) {
            EXPECT_EQ(frame.top, screen_rect(dialog, correction_ids::places[first_free].text).top + overhang);
        }
        for (const auto& [place, rect] : shown) {
            if (place != 3) continue;
            EXPECT_TRUE(rect.top == frame.top + scaled(20) && rect.left >= frame.left + 2 &&
                        rect.right <= frame.right - 2 && rect.bottom <= frame.bottom - 2)
                << "the comment is not within its frame's lines";
        }
        shown.push_back({4, frame});
    }
    RECT window = {}, client = {}, common = {};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (const auto& [place, rect] : shown) {
        lowest = std::max(lowest, rect.bottom);
        EXPECT_LE(rect.bottom, client.bottom) << "place " << place << " is cut off";
        for (const auto& [other, other_rect] : shown) {
            if (place >= other || (place == 3 && other == 4)) continue;
            EXPECT_FALSE(IntersectRect(&common, &rect, &other_rect)) << "places " << place << " and " << other;
        }
    }
    EXPECT_EQ(window.bottom, lowest + scaled(15));
    const LONG width = window.right - window.left, height = window.bottom - window.top;
    EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    ::testing::Test::RecordProperty("fitted_height", static_cast<int>(height));
}

class CorrectionDialog : public ::testing::TestWithParam<CorrectionCase> {};

TEST_P(CorrectionDialog, ShowsTheRightAnswersAndTheCommentInAFittedDialog) {
    const CorrectionCase& c = GetParam();
    const fs::path dir = scratch_dir(c.name);
    const fs::path song = dir / "Musiques" / "frere_jacques.mid";
    RunningQuiz run = start_case(c, dir);
    ASSERT_NE(run.window, nullptr);
    if (c.media != Media::none) {
        ASSERT_NE(wait_page_with(run.window, ids::home_themes), nullptr);
        ASSERT_TRUE(press(run.window, ids::next));
    }
    // No answer is a wrong answer in every exam type.
    ASSERT_TRUE(wait_until([&] { return question_number(run.window) == 1; }));
    int message_id = c.message;
    if (message_id == 0) message_id = shown_text(current_page(run.window), tf_statement) == L"Paris" ? 110 : 109;
    ASSERT_TRUE(press(run.window, ids::next));

    HWND dialog = wait_correction(*run.process);
    ASSERT_NE(dialog, nullptr) << "no correction";
    EXPECT_EQ(window_text(dialog), L"Examen");
    EXPECT_EQ(item_text(dialog, correction_ids::heading), wide_text("Réponse fausse !"));
    EXPECT_EQ(item_text(dialog, correction_ids::message), message(message_id));
    std::vector<PlaceShown> rows, expected = c.answers;
    for (std::size_t k = 0; k < 3; ++k) rows.push_back(place_shown(dialog, correction_ids::places[k]));
    expected.resize(3);  // the empty rows last
    const auto by_text = [](const PlaceShown& a, const PlaceShown& b) { return a.text < b.text; };
    std::sort(rows.begin(), rows.begin() + c.answers.size(), by_text);
    std::sort(expected.begin(), expected.begin() + c.answers.size(), by_text);
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(place_shown(dialog, correction_ids::places[3]), c.comment);
    expect_fitted(dialog, c.answers.size());
    EXPECT_TRUE(screenshot_when(dialog, showing(RGB(0, 0, 0), GetDlgItem(dialog, correction_ids::message)),
                                artefacts_dir() / (std::string(c.name) + ".bmp")))
        << "the correction's message is not written";

    if (c.preview_row >= 0) {
        click_control(dialog, correction_ids::places[c.preview_row].picture);
        HWND preview = run.process->wait_window(L"#32770", 10s, L"Aper\u00E7u de l'image");
        ASSERT_NE(preview, nullptr) << "no preview";
        PostMessageW(preview, WM_CLOSE, 0, 0);
        EXPECT_TRUE(wait_until([&] { return !IsWindow(preview); }));
    }
    if (c.play_row >= 0) {
        ASSERT_TRUE(press(dialog, correction_ids::places[c.play_row].play));
        EXPECT_TRUE(wait_until([&] { return file_held_open(song); })) << "the song does not play";
    }
    if (c.close == Close::continue_button) {
        ASSERT_TRUE(press(dialog, IDOK));
    } else {
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    EXPECT_TRUE(wait_until([&] { return !IsWindow(dialog); })) << "the correction stays open";
    ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr) << "the exam did not go on";
    // The close box stopped the song before the dialog closed; "&Continuer" let it play.
    if (c.play_row >= 0) {
        EXPECT_EQ(file_held_open(song), c.music_after);
    }
    EXPECT_TRUE(quit_runner(run));
}

INSTANTIATE_TEST_SUITE_P(EachExamTypeAndMedia, CorrectionDialog, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<CorrectionCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (*c != '-') name += *c;
                             return name;
                         });

}  // namespace
}  // namespace kz::e2e
