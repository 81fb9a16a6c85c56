#pragma once
// The question pages of the runner as a student meets them: what each place
// of a page shows (a text, a picture or a sound's play and stop buttons), the
// student's answer on each exam type's page, the quiz of texts, pictures and
// sounds that the page tests play, and the terminal player that plays the
// same exam from a file of answers, whose record the runner's must equal.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "harness/exam_window.h"
#include "quiz/quiz_model.h"

namespace kz::e2e {

// One place of a page that shows a quiz text, a picture or a sound: its rich
// edit, picture control, play and stop buttons.
struct PlaceIds {
    int text;
    int picture;
    int play;
    int stop;
};

namespace ids {
// Multiple-choice page (108): the question and three proposals, each with its tick.
inline constexpr PlaceIds choice_question{1013, 1028, 1029, 1030};
inline constexpr PlaceIds choice_boxes[3] = {{1016, 1039, 1032, 1031}, {1017, 1040, 1034, 1033}, {1018, 1041, 1036, 1035}};
inline constexpr int choice_ticks[3] = {1010, 1037, 1038};
// True/false page (1057): the question, the answer shown with it, the two choices.
inline constexpr PlaceIds statement_question{1013, 1028, 1029, 1030};
inline constexpr PlaceIds statement{1011, 1033, 1031, 1032};
inline constexpr int says_true = 1014, says_false = 1015;
// Open-answer page (106).
inline constexpr PlaceIds open_question{1013, 1028, 1026, 1027};
// Pot-pourri page (104): the question and the list of the theme's answers.
inline constexpr PlaceIds pot_pourri_question{1013, 1028, 1029, 1030};
inline constexpr int pot_pourri_answers = 1007;
// Hangman page (113): the question, the masked answer, the letter box and its button, the tries.
inline constexpr PlaceIds hangman_question{1013, 1028, 1026, 1027};
inline constexpr int hangman_mask = 1056, hangman_letter = 1069, hangman_test = 1068, hangman_tries = 1055,
                     hangman_tries_bar = 1054;
// Scrambled-letters page (114): the question, the letters line, the answer box.
inline constexpr PlaceIds scrambled_question{1013, 1028, 1026, 1027};
inline constexpr int scrambled_letters = 1059, scrambled_answer = 1011;
// The image preview (116) and its picture.
inline constexpr int preview_picture = 1043;
}  // namespace ids

// What a place shows the student. `muddled` is a place that shows more than
// one thing at once (a text under a picture, a picture with play buttons).
struct Shown {
    enum class Kind { nothing, text, picture, sound, muddled };
    Kind kind = Kind::nothing;
    std::wstring text;  // a text's plain text
    SIZE picture{};     // a picture's size on the page
};
Shown shown_in(HWND page, const PlaceIds& place);

// What a quiz text looks like once shown in a box of `box` pixels: its plain
// text, a picture fitted in the box, or a sound's buttons.
Shown look_of(const QuizModel& quiz, const std::vector<std::string>& blobs, const std::string& stored, int box);
bool same_look(const Shown& shown, const Shown& expected);
// A text shown by a control, in the quiz's Windows-1252.
std::string as_1252(const std::wstring& shown);
std::string describe(const Shown& shown);

// A picture's natural size, from its bitmap file's header.
std::optional<SIZE> bitmap_size(const std::string& bitmap_file);

// A click on the place's picture opens the preview at the picture's natural
// size, which closes again and gives the exam window back as it was (active,
// the same control in focus). What went wrong, or nothing.
std::string preview_fault(const RunningQuiz& run, HWND page, const PlaceIds& place, SIZE natural);
// The place's play button plays its own item: the runner extracts that
// item's file to play it. Presses play, waits for the file, presses stop.
bool play_and_stop(HWND page, const PlaceIds& place, const std::filesystem::path& extracted_file);

// ---------------------------------------------------------------------------
// The pages.

// The question being answered, as the student sees it.
struct QuestionOnPage {
    HWND page;
    const QuestionEntry& asked;
    // For each answer place of the page (the boxes, the statement), whether
    // it shows the question's own answer.
    std::vector<bool> right_places;
};

// An answer given on a page: as the terminal player takes it (one line per
// answer, or per letter on the hangman page), whether it is right, and
// whether the page has already moved on (the hangman grades the word itself
// once found or after the fifth miss; Enter in a typed answer is "Suivant >").
struct GivenAnswer {
    std::string lines;
    bool right = false;
    bool moved_on = false;
};

// One exam type's page. `answer` gives the right or a wrong answer as a
// student does; nothing when the page could not be answered. `asks` says
// whether the type asks a question at all (the word games leave out answers
// that are pictures or sounds).
struct QuestionPageRow {
    const char* name;                    // test names: "MultipleChoice"
    const char* file_stem;               // artefacts: "multiple-choice"
    int exam_type;                       // 0 open answer ... 5 scrambled letters
    int page_control;                    // a control that only this page has
    PlaceIds question;                   // where the question is shown
    std::vector<PlaceIds> answer_places; // where proposed answers are shown
    int picture_box;                     // the page's pictures fit in a square of this side
    std::function<std::optional<GivenAnswer>(const QuestionOnPage&, bool rightly)> answer;
    std::function<bool(const QuestionEntry&)> asks = [](const QuestionEntry&) { return true; };
};

// Test logs name a row by its page, not by its address.
inline void PrintTo(const QuestionPageRow* row, std::ostream* out) { *out << row->name; }

const QuestionPageRow& open_answer_row();
const QuestionPageRow& multiple_choice_row();
const QuestionPageRow& true_false_row();
const QuestionPageRow& pot_pourri_row();
const QuestionPageRow& hangman_row();
const QuestionPageRow& scrambled_letters_row();

// The entries of the pot-pourri page's list, in the list's order.
std::vector<std::wstring> listed_answers(HWND page);

// The quiz allows this exam type alone, so that it is the type of its exams.
void allow_only(QuizModel& quiz, int exam_type);

// The page colour of the pages' quizzes, which the pictures are checked for.
inline constexpr COLORREF pages_colour = RGB(0xFF, 0xF4, 0xD6);

// The quiz of the page tests, in three themes asked in order. "Capitales"
// holds texts (France Paris, Italie Rome, Espagne Madrid); "Images et sons"
// holds a map of France as a question (France), a nursery rhyme as a music
// question (Frère Jacques), and a flag and a note as answers; "Fleuves" holds
// rivers whose names begin with articles. Every media
// file is named after `stem`, so that tests never share one. No welcome or
// home page, no training mode, results in `results` (storage mode 1).
struct PagesQuiz {
    QuizModel quiz;
    std::vector<std::string> blobs;
};
PagesQuiz pages_quiz(const std::filesystem::path& results, const std::string& stem);

// ---------------------------------------------------------------------------
// The terminal player and the records.

std::filesystem::path player_path();

// Plays the quiz in the terminal player (under Wine like the runner), with a
// fixed seed and clock, no sound, `answers` on its standard input and its
// record written to `results`. Its output goes to `output`. Returns its exit
// code, -1 when it did not start or end.
int play_in_terminal(const std::filesystem::path& quiz, const std::filesystem::path& results, std::uint64_t seed,
                     const std::string& answers, const std::filesystem::path& output);

// The lines where two results files differ, other than the start dates, the
// answer times and the runner's path, each as "line N: «a» / «b»"; a
// difference in length is one more.
std::vector<std::string> record_differences(const std::vector<std::string>& runner,
                                            const std::vector<std::string>& player);

}  // namespace kz::e2e
