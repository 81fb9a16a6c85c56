// The correction dialog of training mode in the real runner under Wine: what
// it shows after a wrong answer of each exam type (texts, pictures, sounds,
// the comment), how it fits its height to that, and what its buttons and its
// close box do.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness/correction_window.h"
#include "harness/exam_window.h"
#include "harness/harness.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t map_id = 50, song_id = 40;
// Controls of the question pages the student answers on.
constexpr int choice_tick_1 = 1010, shown_statement = 1011, choose_true = 1014;

std::string demo_media(const char* name) {
    return file_bytes(source_dir() / "samples" / "demo" / "media" / name).value_or(std::string());
}

// One question of one exam type, asked at once (no welcome or home page) in
// training mode.
QuizModel training_quiz(const fs::path& dir, std::vector<QuestionEntry> questions) {
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.show_welcome_page = 0;
    quiz.use_home_page = 0;
    quiz.default_training_mode = 1;
    quiz.default_random_order = 0;
    quiz.default_question_count = 1;
    quiz.themes.resize(1);
    quiz.themes[0].questions = std::move(questions);
    return quiz;
}

QuizModel only(QuizModel quiz, std::int32_t QuizModel::*type) {
    for (auto allowed : {&QuizModel::allow_open_answer, &QuizModel::allow_multiple_choice,
                         &QuizModel::allow_true_false, &QuizModel::allow_pot_pourri, &QuizModel::allow_hangman,
                         &QuizModel::allow_scrambled_letters})
        quiz.*allowed = allowed == type ? 1 : 0;
    return quiz;
}

const std::string comment_rtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 Paris est la capitale de la France "
    "depuis \\b 987\\b0 .\\par }";

QuizModel open_answer_with_comment(const fs::path& dir, std::vector<std::string>&) {
    return only(training_quiz(dir, {{"France", "Paris", "", "", comment_rtf}}), &QuizModel::allow_open_answer);
}

// Two records of one question: both rivers are right; the comment is the
// first record's, the one asked. With three different
// answers in the theme, all three are proposed.
QuizModel two_right_proposals(const fs::path& dir, std::vector<std::string>&) {
    return only(training_quiz(dir, {{"Lyon", text_1252("le Rhône"), "", "", text_1252("Deux fleuves s'y rejoignent.")},
                                    {"Lyon", text_1252("la Saône"), "", "", ""},
                                    {"Nantes", "la Loire", "", "", ""},
                                    {text_1252("Orléans"), "la Loire", "", "", ""}}),
                &QuizModel::allow_multiple_choice);
}

QuizModel true_false_with_comment(const fs::path& dir, std::vector<std::string>&) {
    return only(training_quiz(dir, {{"France", "Paris", "", "", text_1252("Une capitale très visitée.")},
                                    {"Italie", "Rome", "", "", ""}}),
                &QuizModel::allow_true_false);
}

// An answer that is a media item is asked the other way round, as the home
// page proposes: the student types the name of the song or of the country,
// and the song or the map is expected. The song is found beside the quiz,
// where the player's hold on it shows.
QuizModel song_answer(const fs::path& dir, std::vector<std::string>&) {
    QuizModel quiz = only(training_quiz(dir, {{"$@%0 40", text_1252("Frère Jacques"), "", "", ""}}),
                          &QuizModel::allow_open_answer);
    quiz.use_home_page = 1;
    quiz.default_inverted = 1;
    quiz.media_embedded = 0;
    quiz.media = {MediaEntry{"frere_jacques.mid", "Comptine", 2, 0, 0, song_id}};
    fs::create_directories(dir / "Musiques");
    fs::copy_file(source_dir() / "samples" / "demo" / "media" / "frere_jacques.mid",
                  dir / "Musiques" / "frere_jacques.mid", fs::copy_options::overwrite_existing);
    return quiz;
}

// The 160 x 120 map as the answer and as the comment.
QuizModel picture_comment(const fs::path& dir, std::vector<std::string>& blobs) {
    QuizModel quiz = only(training_quiz(dir, {{"$@%0 50", "France", "", "", "$@%0 50"}}),
                          &QuizModel::allow_open_answer);
    quiz.use_home_page = 1;
    quiz.default_inverted = 1;
    quiz.media = {MediaEntry{"carte.bmp", "Carte", 0, 0, 0, map_id}};
    blobs = {demo_media("carte.bmp")};
    return quiz;
}

// Wrong answers, each giving the message the correction must show.
std::wstring type_wrong_answer(HWND main_window) {
    return answer_question(main_window, L"Lyon") ? message(106) : L"(no open-answer page)";
}

std::wstring start_and_type_wrong_answer(HWND main_window) {
    if (!wait_page_with(main_window, ids::home_themes) || !press(main_window, ids::next)) return L"(no home page)";
    return type_wrong_answer(main_window);
}

std::wstring tick_nothing(HWND main_window) {
    if (!wait_page_with(main_window, choice_tick_1) || !press(main_window, ids::next)) return L"(no page)";
    return message(108);
}

// No choice is always wrong; the message says which choice was right.
std::wstring choose_nothing(HWND main_window) {
    HWND page = wait_page_with(main_window, choose_true);
    if (!page || !wait_until([&] { return !shown_text(page, shown_statement).empty(); })) return L"(no page)";
    const bool own_answer = shown_text(page, shown_statement) == L"Paris";
    if (!press(main_window, ids::next)) return L"(no Next)";
    return message(own_answer ? 110 : 109);
}

PlaceShown text(const char* utf8) { return {PlaceShown::Kind::text, wide_text(utf8), {}}; }
PlaceShown picture(int width, int height) { return {PlaceShown::Kind::picture, {}, {width, height}}; }
const PlaceShown buttons = {PlaceShown::Kind::buttons, {}, {}};
const PlaceShown nothing = {};

enum class Close { continue_button, close_box };

struct CorrectionCase {
    const char* name;  // also the screenshot's
    QuizModel (*quiz)(const fs::path& dir, std::vector<std::string>& blobs);
    std::wstring (*answer_wrongly)(HWND main_window);
    std::vector<PlaceShown> answers;  // in any order: multiple-choice boxes are shuffled
    PlaceShown comment;
    int play_row = -1;     // the row whose play button is pressed
    int preview_row = -1;  // the row whose picture is clicked
    Close close = Close::continue_button;
    bool music_after = false;  // the song still plays once the dialog has closed
};

const CorrectionCase cases[] = {
    {"correction-open-answer", open_answer_with_comment, type_wrong_answer, {text("Paris")},
     text("Paris est la capitale de la France depuis 987.")},
    {"correction-multiple-choice", two_right_proposals, tick_nothing, {text("le Rhône"), text("la Saône")},
     text("Deux fleuves s'y rejoignent.")},
    {"correction-true-false", true_false_with_comment, choose_nothing, {}, text("Une capitale très visitée."),
     -1, -1, Close::close_box},
    {"correction-sound-continued", song_answer, start_and_type_wrong_answer, {buttons}, nothing,
     0, -1, Close::continue_button, true},
    {"correction-sound-closed", song_answer, start_and_type_wrong_answer, {buttons}, nothing,
     0, -1, Close::close_box, false},
    {"correction-picture-comment", picture_comment, start_and_type_wrong_answer, {picture(90, 90)}, picture(71, 71),
     -1, 0},
};

void PrintTo(const CorrectionCase& c, std::ostream* out) { *out << c.name; }

int scaled(int pixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, 96);
}

std::vector<int> controls_of(const correction_ids::Place& place) {
    return {place.text, place.picture, place.play, place.stop};
}

// The fitting: the comment's frame in the first row without an answer (lower
// when a picture above overhangs its row), the comment 20 pixels under the
// frame's top and within its lines, nothing overlapping another place, the
// window ending 15 pixels under the last row or thing shown, centred on the
// screen.
void expect_fitted(HWND dialog, std::size_t answers, bool comment) {
    struct Shown {
        std::size_t place;  // 0 to 2 the rows, 3 the comment, 4 its frame
        RECT rect;
    };
    std::vector<Shown> shown;
    int overhang = 0;
    for (std::size_t k = 0; k < correction_ids::places.size(); ++k) {
        const auto& place = correction_ids::places[k];
        for (const int id : controls_of(place))
            if (item_visible(dialog, id)) shown.push_back({k, screen_rect(dialog, id)});
        if (k < 3 && item_visible(dialog, place.picture))
            overhang += std::max(0L, screen_rect(dialog, place.picture).bottom -
                                         screen_rect(dialog, place.text).bottom);
    }
    EXPECT_EQ(item_visible(dialog, correction_ids::comment_box), comment);
    if (comment) {
        const RECT frame = screen_rect(dialog, correction_ids::comment_box);
        shown.push_back({4, frame});
        const std::size_t first_free = std::max<std::size_t>(answers, 1);
        if (first_free < 3) {
            EXPECT_EQ(frame.top, screen_rect(dialog, correction_ids::places[first_free].text).top + overhang);
        }
        for (const int id : controls_of(correction_ids::places[3])) {
            if (!item_visible(dialog, id)) continue;
            const RECT inner = screen_rect(dialog, id);
            EXPECT_EQ(inner.top, frame.top + scaled(20)) << id;
            // The frame's lines are two pixels wide.
            EXPECT_TRUE(inner.left >= frame.left + 2 && inner.right <= frame.right - 2 &&
                        inner.bottom <= frame.bottom - 2)
                << id << " covers the frame's lines";
        }
    }
    ASSERT_FALSE(shown.empty());

    for (const Shown& a : shown)
        for (const Shown& b : shown) {
            const bool comment_in_frame = (a.place == 3 && b.place == 4) || (a.place == 4 && b.place == 3);
            RECT common = {};
            if (a.place < b.place && !comment_in_frame) {
                EXPECT_FALSE(IntersectRect(&common, &a.rect, &b.rect)) << "places " << a.place << " and " << b.place;
            }
        }

    RECT window = {}, client = {};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    // The rows with an answer keep their text box's room, row 1 always.
    LONG lowest = 0;
    for (std::size_t k = 0; k < std::max<std::size_t>(answers, 1); ++k)
        lowest = std::max(lowest, screen_rect(dialog, correction_ids::places[k].text).bottom);
    for (const Shown& s : shown) {
        lowest = std::max(lowest, s.rect.bottom);
        EXPECT_LE(s.rect.bottom, client.bottom) << "place " << s.place << " is cut off";
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
    std::vector<std::string> blobs;
    RunningQuiz run = start_quiz(dir, c.quiz(dir, blobs), blobs);
    ASSERT_NE(run.window, nullptr);
    const std::wstring expected_message = c.answer_wrongly(run.window);

    HWND dialog = wait_correction(*run.process);
    ASSERT_NE(dialog, nullptr) << "no correction";
    EXPECT_EQ(window_text(dialog), L"Examen");
    EXPECT_EQ(item_text(dialog, correction_ids::heading), wide_text("Réponse fausse !"));
    EXPECT_EQ(item_text(dialog, correction_ids::message), expected_message);
    // The answers, the empty rows last.
    std::vector<PlaceShown> answers;
    for (std::size_t k = 0; k < 3; ++k) {
        const PlaceShown shown = place_shown(dialog, correction_ids::places[k]);
        if (k < c.answers.size()) {
            answers.push_back(shown);
        } else {
            EXPECT_EQ(shown, nothing) << "row " << k + 1;
        }
    }
    const auto by_text = [](const PlaceShown& a, const PlaceShown& b) { return a.text < b.text; };
    std::vector<PlaceShown> expected = c.answers;
    std::sort(answers.begin(), answers.end(), by_text);
    std::sort(expected.begin(), expected.end(), by_text);
    EXPECT_EQ(answers, expected);
    EXPECT_EQ(place_shown(dialog, correction_ids::places[3]), c.comment);
    expect_fitted(dialog, c.answers.size(), c.comment.kind != PlaceShown::Kind::nothing);
    Sleep(300);
    EXPECT_TRUE(screenshot(dialog, artefacts_dir() / (std::string(c.name) + ".bmp")));

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
        press_close_box(dialog);
    }
    EXPECT_TRUE(wait_until([&] { return !IsWindow(dialog); })) << "the correction stays open";
    // The exam goes on to its end.
    ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr);
    if (c.play_row >= 0) {
        if (c.music_after) {
            EXPECT_TRUE(file_held_open(song)) << "the song stopped";
        } else {
            EXPECT_TRUE(wait_until([&] { return !file_held_open(song); }, 3s)) << "the song still plays";
        }
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
