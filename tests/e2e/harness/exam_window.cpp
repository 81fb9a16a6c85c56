#include "harness/exam_window.h"

#include "common/paths.h"

namespace kz::e2e {

namespace fs = std::filesystem;

namespace {

QuestionEntry entry(const char* question, const char* answer) {
    return QuestionEntry{text_1252(question), text_1252(answer), "", "", ""};
}

}  // namespace

QuizModel capitals_quiz(const fs::path& results_file) {
    QuizModel quiz;
    quiz.product_name = "Savanto";
    quiz.product_version = "2.0.5";
    quiz.quiz_name = text_1252("Capitales et fleuves");
    quiz.author = text_1252("Mme Lefèvre");
    quiz.comment = text_1252("Révisions de géographie.");

    quiz.allow_multiple_choice = quiz.allow_true_false = quiz.allow_pot_pourri = 0;
    quiz.allow_hangman = quiz.allow_scrambled_letters = 0;
    quiz.allow_open_answer = 1;
    quiz.default_random_order = 0;
    quiz.default_question_count = 10;
    quiz.show_welcome_page = 1;
    quiz.use_home_page = 1;
    quiz.help_text = text_1252(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 Aide de [NOMQUIZ]\\par "
        "Score : [SCORE] ([JUSTES] justes, [FAUSSES] fausses)\\par }");

    quiz.results_storage_mode = 1;
    quiz.results_file_path = path_to_cp1252(results_file);

    Theme capitals;
    capitals.name = text_1252("Capitales d'Europe");
    capitals.prompt = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 Quelle est la \\b capitale\\b0  "
                      "de ce pays ?\\par }";
    capitals.reverse_prompt = text_1252("De quel pays est-ce la capitale ?");
    capitals.questions = {entry("France", "Paris"), entry("Italie", "Rome"), entry("Écosse", "Édimbourg")};
    Theme rivers;
    rivers.name = text_1252("Fleuves");
    rivers.prompt = text_1252("Quel fleuve traverse cette ville ?");
    rivers.reverse_prompt = text_1252("Quelle ville ce fleuve traverse-t-il ?");
    rivers.questions = {entry("Lyon", "le Rhône"), entry("Nantes", "la Loire")};
    quiz.themes = {capitals, rivers};
    return quiz;
}

std::vector<QuestionAndAnswer> capitals_questions() {
    return {{L"France", L"Paris"},
            {L"Italie", L"Rome"},
            {wide_text("Écosse"), wide_text("Édimbourg")},
            {L"Lyon", wide_text("le Rhône")},
            {L"Nantes", L"la Loire"}};
}

RunningQuiz start_quiz(const fs::path& dir, const QuizModel& quiz, const std::vector<std::string>& blobs) {
    const fs::path file = write_quiz(dir / "quiz.exe", quiz, blobs);
    if (file.empty()) return RunningQuiz{};
    RunningQuiz running{Process::start(file, dir), nullptr, file};
    if (running.process) running.window = running.process->wait_window(L"QuizKZClasse", 20s);
    return running;
}

std::wstring shown_text(HWND page, int id) {
    std::wstring text = item_text(page, id);
    std::wstring plain;
    for (wchar_t c : text)
        if (c != L'\r') plain += c;
    while (!plain.empty() && plain.back() == L'\n') plain.pop_back();
    return plain;
}

bool answer_question(HWND main_window, const std::wstring& typed) {
    HWND page = wait_page_with(main_window, ids::answer, 5s);
    if (!page) return false;
    type_text(page, ids::answer, typed);
    return press(main_window, ids::next);
}

bool quit_runner(RunningQuiz& quiz) {
    if (!quiz.process) return false;
    if (!press(quiz.window, ids::quit)) return false;
    // Before the end of the exam the runner asks; after it, it quits at once.
    if (wait_until([&] { return quiz.process->wait_exit(0ms); }, 1500ms)) return true;
    HWND box = wait_message_box(*quiz.process, 3s);
    if (box) press(box, IDYES);
    return quiz.process->wait_exit(10s);
}

int question_number(HWND main_window) {
    const std::wstring title = window_text(main_window);
    const auto mark = title.find(L"n\u00B0");
    return mark == std::wstring::npos ? 0 : _wtoi(title.c_str() + mark + 2);
}

std::function<bool(const Picture&)> exam_window_painted(HWND main_window, COLORREF page_colour) {
    return [main_window, page_colour](const Picture& picture) {
        return picture.shows(page_colour, current_page(main_window)) &&
               picture.shows(RGB(0, 0, 0), GetDlgItem(main_window, ids::quit));
    };
}

}  // namespace kz::e2e
