#include "harness/question_pages.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <fstream>

#include "common/cp1252.h"
#include "common/paths.h"
#include "media/rich_text.h"
#include "quiz/media_table.h"

namespace kz::e2e {

namespace fs = std::filesystem;

namespace {

std::wstring widen(const std::string& text_1252) {
    const std::u16string wide = cp1252_to_utf16(text_1252);
    return std::wstring(wide.begin(), wide.end());
}

// A plain text as a rich edit gives it back: no CR, no line break at the end.
std::wstring as_shown(const std::string& plain_1252) {
    std::wstring text;
    for (wchar_t c : widen(plain_1252))
        if (c != L'\r') text += c;
    while (!text.empty() && text.back() == L'\n') text.pop_back();
    return text;
}

std::string narrow(const std::wstring& text) { return utf16_to_cp1252(std::u16string(text.begin(), text.end())); }

bool checked_soon(HWND page, int id) {
    return wait_until([&] { return button_checked(page, id); }, 5s);
}

}  // namespace

Shown shown_in(HWND page, const PlaceIds& place) {
    const bool text = item_visible(page, place.text);
    const bool picture = item_visible(page, place.picture);
    const bool play = item_visible(page, place.play);
    const bool stop = item_visible(page, place.stop);
    Shown shown;
    if (!text && !picture && !play && !stop) return shown;
    if (text && !picture && !play && !stop) {
        shown.kind = Shown::Kind::text;
        shown.text = shown_text(page, place.text);
    } else if (picture && !text && !play && !stop) {
        shown.kind = Shown::Kind::picture;
        RECT rect = {};
        GetClientRect(GetDlgItem(page, place.picture), &rect);
        shown.picture = {rect.right, rect.bottom};
    } else if (play && stop && !text && !picture) {
        shown.kind = Shown::Kind::sound;
    } else {
        shown.kind = Shown::Kind::muddled;
    }
    return shown;
}

std::optional<SIZE> bitmap_size(const std::string& bitmap_file) {
    if (bitmap_file.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || bitmap_file.compare(0, 2, "BM"))
        return std::nullopt;
    BITMAPINFOHEADER info = {};
    std::copy_n(bitmap_file.data() + sizeof(BITMAPFILEHEADER), sizeof info, reinterpret_cast<char*>(&info));
    return SIZE{info.biWidth, info.biHeight < 0 ? -info.biHeight : info.biHeight};
}

Shown look_of(const QuizModel& quiz, const std::vector<std::string>& blobs, const std::string& stored, int box) {
    const std::string plain = rich_to_plain(stored);
    const MediaEntry* item = media_of_reference(quiz, plain);
    Shown look;
    if (!item) {
        look.kind = plain.empty() ? Shown::Kind::nothing : Shown::Kind::text;
        look.text = as_shown(plain);
        return look;
    }
    if (item->kind == media_sound || item->kind == media_music) {
        look.kind = Shown::Kind::sound;
        return look;
    }
    const auto row = static_cast<std::size_t>(item - quiz.media.data());
    const auto natural = row < blobs.size() ? bitmap_size(blobs[row]) : std::nullopt;
    look.kind = natural ? Shown::Kind::picture : Shown::Kind::nothing;
    if (natural) look.picture = {std::min<LONG>(natural->cx, box), std::min<LONG>(natural->cy, box)};
    return look;
}

bool same_look(const Shown& shown, const Shown& expected) {
    if (shown.kind != expected.kind) return false;
    switch (shown.kind) {
    case Shown::Kind::text: return shown.text == expected.text;
    case Shown::Kind::picture: return shown.picture.cx == expected.picture.cx && shown.picture.cy == expected.picture.cy;
    default: return true;
    }
}

std::string as_1252(const std::wstring& shown) { return utf16_to_cp1252(std::u16string(shown.begin(), shown.end())); }

std::string describe(const Shown& shown) {
    switch (shown.kind) {
    case Shown::Kind::nothing: return "nothing";
    case Shown::Kind::text: return "the text \"" + cp1252_to_utf8(as_1252(shown.text)) + "\"";
    case Shown::Kind::picture:
        return "a picture of " + std::to_string(shown.picture.cx) + " x " + std::to_string(shown.picture.cy);
    case Shown::Kind::sound: return "play and stop buttons";
    case Shown::Kind::muddled: return "several things at once";
    }
    return "?";
}

std::string preview_fault(const RunningQuiz& run, HWND page, const PlaceIds& place, SIZE natural) {
    HWND focus = focused_control(run.window);
    click_control(page, place.picture);
    HWND preview = run.process->wait_window(L"#32770", 10s, L"Aper\u00E7u de l'image");
    if (!preview) return "no preview opened";
    RECT rect = {};
    GetClientRect(GetDlgItem(preview, ids::preview_picture), &rect);
    PostMessageW(preview, WM_CLOSE, 0, 0);
    if (!wait_until([&] { return !IsWindow(preview); })) return "the preview stays open";
    if (rect.right != natural.cx || rect.bottom != natural.cy)
        return "the preview shows " + std::to_string(rect.right) + " x " + std::to_string(rect.bottom) +
               " instead of " + std::to_string(natural.cx) + " x " + std::to_string(natural.cy);
    // The exam window is given back as it was: active, the same control in focus.
    if (!wait_until([&] { return GetForegroundWindow() == run.window && focused_control(run.window) == focus; }, 3s))
        return std::string("the exam window is not given back: ") +
               (GetForegroundWindow() == run.window ? "active" : "inactive") + ", focus on control " +
               std::to_string(GetDlgCtrlID(focused_control(run.window))) + " instead of " +
               std::to_string(GetDlgCtrlID(focus));
    return {};
}

bool play_and_stop(HWND page, const PlaceIds& place, const fs::path& extracted_file) {
    // Whatever plays lets go of its file once stopped; the file is then
    // removed, so that only this play can bring it back.
    if (!press(page, place.stop)) return false;
    const bool removed = wait_until([&] {
        std::error_code error;
        fs::remove(extracted_file, error);
        return !fs::exists(extracted_file);
    }, 3s);
    if (!removed || !press(page, place.play)) return false;
    const bool played = wait_until([&] { return fs::exists(extracted_file); }, 5s);
    // Stopped once the button, clicked, has the focus.
    HWND stop = GetDlgItem(page, place.stop);
    return press(page, place.stop) && wait_until([&] { return focused_control(page) == stop; }, 5s) && played;
}

// ---------------------------------------------------------------------------
// The pages.

namespace {

// The types that take a typed or chosen answer never ask a question whose
// answer is a picture or a sound.
bool text_answer(const QuestionEntry& entry) { return !is_media_reference(rich_to_plain(entry.answer)); }

}  // namespace

const QuestionPageRow& open_answer_row() {
    static const QuestionPageRow row{
        "OpenAnswer", "open-answer", 0, ids::open_answer_page, ids::open_question, {}, 90,
        [](const QuestionOnPage& shown, bool rightly) -> std::optional<GivenAnswer> {
            const std::string answer = rich_to_plain(shown.asked.answer);
            const bool right = rightly && !is_media_reference(answer);
            const std::string typed = right ? answer : std::string("je ne sais pas");
            type_text(shown.page, ids::answer, widen(typed));
            return GivenAnswer{cp1252_to_utf8(typed), right};
        },
        text_answer};
    return row;
}

const QuestionPageRow& multiple_choice_row() {
    static const QuestionPageRow row{
        "MultipleChoice", "multiple-choice", 1, ids::choice_ticks[1], ids::choice_question,
        {ids::choice_boxes[0], ids::choice_boxes[1], ids::choice_boxes[2]}, 70,
        // Rightly: every box that shows the answer; wrongly: the first box that does not.
        [](const QuestionOnPage& shown, bool rightly) -> std::optional<GivenAnswer> {
            const auto& right = shown.right_places;
            const auto first_wrong = std::find(right.begin(), right.end(), false) - right.begin();
            std::string line;
            for (int k = 0; k < 3; ++k) {
                if (rightly ? !right[static_cast<std::size_t>(k)] : k != first_wrong) continue;
                if (!press(shown.page, ids::choice_ticks[k]) || !checked_soon(shown.page, ids::choice_ticks[k]))
                    return std::nullopt;
                line += (line.empty() ? "" : " ") + std::to_string(k + 1);
            }
            return GivenAnswer{line, rightly};
        }};
    return row;
}

const QuestionPageRow& true_false_row() {
    static const QuestionPageRow row{
        "TrueFalse", "true-false", 2, ids::says_true, ids::statement_question, {ids::statement}, 80,
        [](const QuestionOnPage& shown, bool rightly) -> std::optional<GivenAnswer> {
            const bool says_true = shown.right_places.at(0) == rightly;
            const int choice = says_true ? ids::says_true : ids::says_false;
            if (!press(shown.page, choice) || !checked_soon(shown.page, choice)) return std::nullopt;
            return GivenAnswer{says_true ? "vrai" : "faux", rightly};
        }};
    return row;
}

namespace {

// The hangman's letters are tested one by one: each typed into the letter box
// and tested with "&Tester la lettre". False when the page did not take it.
bool test_letter(HWND page, wchar_t letter) {
    type_text(page, ids::hangman_letter, std::wstring(1, letter));
    if (item_text(page, ids::hangman_letter).empty() || !press(page, ids::hangman_test)) return false;
    // Tested once the page has emptied the letter box again, which it does
    // after showing what the letter found.
    return wait_until([&] { return !IsWindow(page) || item_text(page, ids::hangman_letter).empty(); }, 5s);
}

}  // namespace

std::vector<std::wstring> listed_answers(HWND page) {
    std::vector<std::wstring> entries;
    const auto count = SendDlgItemMessageW(page, ids::pot_pourri_answers, CB_GETCOUNT, 0, 0);
    for (int k = 0; k < count; ++k) entries.push_back(combo_entry_text(page, ids::pot_pourri_answers, k));
    return entries;
}

const QuestionPageRow& pot_pourri_row() {
    static const QuestionPageRow row{
        "PotPourri", "pot-pourri", 3, ids::pot_pourri_answers, ids::pot_pourri_question, {}, 100,
        // Rightly: the question's own answer; wrongly: nothing chosen.
        [](const QuestionOnPage& shown, bool rightly) -> std::optional<GivenAnswer> {
            const std::vector<std::wstring> listed = listed_answers(shown.page);
            const auto own = std::find(listed.begin(), listed.end(), widen(rich_to_plain(shown.asked.answer)));
            if (!rightly || own == listed.end()) return GivenAnswer{"", false};
            const int entry = static_cast<int>(own - listed.begin());
            choose_combo_entry(shown.page, ids::pot_pourri_answers, entry);
            if (!wait_until([&] { return combo_selection(shown.page, ids::pot_pourri_answers) == entry; }))
                return std::nullopt;
            return GivenAnswer{std::to_string(entry + 1), true};
        },
        text_answer};
    return row;
}

const QuestionPageRow& hangman_row() {
    static const QuestionPageRow row{
        "Hangman", "hangman", 4, ids::hangman_letter, ids::hangman_question, {}, 90,
        [](const QuestionOnPage& shown, bool rightly) -> std::optional<GivenAnswer> {
            const std::wstring answer = widen(rich_to_plain(shown.asked.answer));
            GivenAnswer given;
            HWND window = GetAncestor(shown.page, GA_ROOT);
            const int question = question_number(window);
            const auto moved_on = [&] { return !IsWindow(shown.page) || question_number(window) != question; };
            if (rightly) {
                // Every hidden letter, until the word is found and graded.
                for (std::size_t k = 0; k < answer.size() && !moved_on(); ++k) {
                    const std::wstring mask = item_text(shown.page, ids::hangman_mask);
                    if (k >= mask.size() || mask[k] != L'#') continue;
                    if (!test_letter(shown.page, answer[k])) return std::nullopt;
                    given.lines += cp1252_to_utf8(narrow(std::wstring(1, answer[k]))) + "\n";
                }
                given.right = given.moved_on = true;
            } else if (answer.size() % 2 == 0) {
                // Five letters the word has not: message 134, then the grading.
                int misses = 0;
                for (const wchar_t letter : std::wstring(L"zwxkvybjq")) {
                    if (misses == 5) break;
                    if (answer.find(letter) != std::wstring::npos ||
                        answer.find(static_cast<wchar_t>(towupper(letter))) != std::wstring::npos)
                        continue;
                    if (!test_letter(shown.page, letter)) return std::nullopt;
                    given.lines += std::string(1, static_cast<char>(letter)) + "\n";
                    if (++misses == 2) {
                        // Kept to be looked at once the page is painted in its colour.
                        screenshot_when(window, exam_window_painted(window, pages_colour),
                                        artefacts_dir() / "hangman-two-misses.bmp");
                    }
                }
                HWND box = wait_message_box_of(window);
                if (!box || message_box_content(box).text.find(wide_text("après les 5 essais")) == std::wstring::npos)
                    return std::nullopt;
                press(box, IDOK);
                given.moved_on = true;
            } else {
                // One letter found, then "Suivant >" grades the half-found word.
                if (!test_letter(shown.page, answer[0])) return std::nullopt;
                given.lines = cp1252_to_utf8(narrow(std::wstring(1, answer[0]))) + "\n:suivant";
            }
            if (!given.lines.empty() && given.lines.back() == '\n') given.lines.pop_back();
            return given;
        },
        text_answer};
    return row;
}

const QuestionPageRow& scrambled_letters_row() {
    static const QuestionPageRow row{
        "ScrambledLetters", "scrambled-letters", 5, ids::scrambled_letters, ids::scrambled_question, {}, 90,
        // The answer typed and validated with Enter in the answer box, which
        // is "Suivant >" and puts no line break into the answer.
        [](const QuestionOnPage& shown, bool rightly) -> std::optional<GivenAnswer> {
            const std::string answer = rich_to_plain(shown.asked.answer);
            const std::string typed = rightly ? answer : std::string("je ne sais pas");
            type_text(shown.page, ids::scrambled_answer, widen(typed));
            press_key(GetDlgItem(shown.page, ids::scrambled_answer), VK_RETURN);
            return GivenAnswer{cp1252_to_utf8(typed), rightly, true};
        },
        text_answer};
    return row;
}

void allow_only(QuizModel& quiz, int exam_type) {
    std::int32_t* allowed[] = {&quiz.allow_open_answer, &quiz.allow_multiple_choice, &quiz.allow_true_false,
                               &quiz.allow_pot_pourri,  &quiz.allow_hangman,         &quiz.allow_scrambled_letters};
    for (int type = 0; type < 6; ++type) *allowed[type] = type == exam_type ? 1 : 0;
}

PagesQuiz pages_quiz(const fs::path& results, const std::string& stem) {
    PagesQuiz made{capitals_quiz(results), {}};
    QuizModel& quiz = made.quiz;
    quiz.show_welcome_page = 0;
    quiz.use_home_page = 0;
    quiz.default_random_order = 0;
    quiz.default_training_mode = 0;
    quiz.page_colour = static_cast<std::int32_t>(pages_colour);

    const fs::path media = source_dir() / "samples" / "demo" / "media";
    const struct {
        std::int32_t id;
        std::int32_t kind;
        const char* file;
        const char* label;
    } items[] = {{20, media_image, "carte.bmp", "Carte"},
                 {21, media_image, "drapeau.bmp", "Drapeau"},
                 {30, media_sound, "la440.wav", "Note"},
                 {40, media_music, "frere_jacques.mid", "Comptine"}};
    for (const auto& item : items) {
        quiz.media.push_back(MediaEntry{stem + "-" + item.file, item.label, item.kind, 0, 0, item.id});
        made.blobs.push_back(file_bytes(media / item.file).value_or(std::string()));
    }

    Theme capitals;
    capitals.name = "Capitales";
    capitals.prompt = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 Quelle est la \\b capitale\\b0  "
                      "de ce pays ?\\par }";
    capitals.reverse_prompt = text_1252("De quel pays est-ce la capitale ?");
    capitals.questions = {{"France", "Paris", "", "", ""}, {"Italie", "Rome", "", "", ""},
                          {"Espagne", "Madrid", "", "", ""}};
    Theme media_theme;
    media_theme.name = "Images et sons";
    media_theme.prompt = text_1252("Regardez ou écoutez, puis répondez :");
    media_theme.reverse_prompt = text_1252("Que montre ou fait entendre cette réponse ?");
    media_theme.questions = {{"$@%0 20", "France", "", "", ""},
                             {text_1252("Le drapeau de l'Italie"), "$@%0 21", "", "", ""},
                             {"$@%0 40", text_1252("Frère Jacques"), "", "", ""},
                             {"Le la du diapason", "$@%0 30", "", "", ""}};
    // Answers whose order by the engine's collation is not the list
    // control's own (which passes over apostrophes and hyphens).
    Theme rivers;
    rivers.name = "Fleuves";
    rivers.prompt = text_1252("Quel fleuve ou quelle rivière traverse cette ville ?");
    rivers.reverse_prompt = text_1252("Quelle ville est traversée ?");
    rivers.questions = {{"Lyon", text_1252("le Rhône"), "", "", ""},
                        {"Pontoise", "l'Oise", "", "", ""},
                        {text_1252("Orléans"), "la Loire", "", "", ""}};
    quiz.themes = {capitals, media_theme, rivers};
    return made;
}

// ---------------------------------------------------------------------------
// The terminal player and the records.

fs::path player_path() {
    const fs::path named = env_path("KZ_PLAYER");
    if (!named.empty()) return named;
    // Where the build put it, a Linux path seen from Wine.
    std::string built = KZ_DEFAULT_PLAYER;
    if (!built.empty() && built.front() == '/') {
        std::replace(built.begin(), built.end(), '/', '\\');
        built = "Z:" + built;
    }
    return fs::path(built);
}

int play_in_terminal(const fs::path& quiz, const fs::path& results, std::uint64_t seed, const std::string& answers,
                     const fs::path& output) {
    const fs::path answers_file = output.parent_path() / (output.stem().wstring() + L"-answers.txt");
    {
        std::ofstream out(answers_file, std::ios::binary);
        out << answers;
        if (!out) return -1;
    }
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE input = CreateFileW(answers_file.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherited, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE printed = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (input == INVALID_HANDLE_VALUE || printed == INVALID_HANDLE_VALUE) {
        if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
        if (printed != INVALID_HANDLE_VALUE) CloseHandle(printed);
        return -1;
    }
    const fs::path program = player_path();
    std::wstring command = L"\"" + program.wstring() + L"\" \"" + quiz.wstring() + L"\" --results \"" +
                           results.wstring() + L"\" --no-sound --clock=fake --seed=" + std::to_wstring(seed);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = printed;
    startup.hStdError = printed;
    PROCESS_INFORMATION info = {};
    const bool started =
        start_process(program, command, TRUE, CREATE_NO_WINDOW, quiz.parent_path(), startup, info);
    CloseHandle(input);
    CloseHandle(printed);
    if (!started) return -1;
    return wait_exit_code(program, info, 60s);
}

std::vector<std::string> record_differences(const std::vector<std::string>& runner,
                                            const std::vector<std::string>& player) {
    constexpr std::size_t header_lines = 11, entry_lines = 16;
    constexpr std::size_t runner_path = 3, start_date = 5, entry_start = 14, entry_end = 15;
    std::vector<std::string> differences;
    for (std::size_t line = 0; line < std::min(runner.size(), player.size()); ++line) {
        // The format line, then the header, then the entries.
        bool timed = false;
        if (line >= 1 && line < 1 + header_lines) {
            timed = line - 1 == runner_path || line - 1 == start_date;
        } else if (line >= 1 + header_lines) {
            const std::size_t field = (line - 1 - header_lines) % entry_lines;
            timed = field == entry_start || field == entry_end;
        }
        if (!timed && runner[line] != player[line])
            differences.push_back("line " + std::to_string(line + 1) + ": \u00AB" + cp1252_to_utf8(runner[line]) +
                                  "\u00BB / \u00AB" + cp1252_to_utf8(player[line]) + "\u00BB");
    }
    if (runner.size() != player.size())
        differences.push_back(std::to_string(runner.size()) + " lines / " + std::to_string(player.size()) + " lines");
    return differences;
}

}  // namespace kz::e2e
