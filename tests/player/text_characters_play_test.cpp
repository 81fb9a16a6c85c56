// The characters of the quiz's texts, played by the real player: texts that
// question banks bring as rich text with Unicode escapes or in a Greek or
// Cyrillic font show their own letters on every page, the characters of a
// font of the symbol character set show the signs that the Symbol font draws
// (as the web page shows them), and grading and the record stay on the
// Windows-1252 plain text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/cp1252.h"
#include "media/rich_text.h"
#include "player_process.h"
#include "quiz_files.h"

namespace kz::test {
namespace {

// A rich text as a question bank writes it, with four fonts: Arial, Symbol
// (symbol character set), a Greek Arial (character set 161, code page 1253)
// and a Cyrillic Arial (204, code page 1251).
std::string rich(const std::string& body) {
    return R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\ftech\fcharset2 Symbol;})"
           R"({\f2\fswiss\fcharset161 Arial Greek;}{\f3\fswiss\fcharset204 Arial Cyr;}}\uc1\pard\f0\fs20 )" +
           body + R"(\par})";
}

// A text as a JSON string of the quiz's source.
std::string json(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// Greek and Cyrillic written with Unicode escapes, as the banks write them:
// δημοκρατία, Москва, демократия, άλφα.
const std::string democracy_greek = R"(\u948?\u951?\u956?\u959?\u954?\u961?\u945?\u964?\u943?\u945?)";
const std::string moscow_cyrillic = R"(\u1052?\u1086?\u1089?\u1082?\u1074?\u1072?)";
const std::string democracy_cyrillic = R"(\u1076?\u1077?\u1084?\u1086?\u1082?\u1088?\u1072?\u1090?\u1080?\u1103?)";
const std::string alpha_greek = R"(\u940?\u955?\u966?\u945?)";

// The quiz "Langues": a welcome page, help and end texts, a prompt and
// questions, answers, wrong answers and comments in Greek, Cyrillic and the
// Symbol font; four questions in order.
std::string languages_source() {
    const std::string theme = R"([
    { "name": "Langues", "prompt": )" + json(rich(R"(\u924?\u949?\u964?\u940?\u966?\u961?\u945?\u963?\u951? :)")) +
                              R"(, "reverse_prompt": "Traduisez :",
      "questions": [
        { "question": )" + json(rich(democracy_greek)) +
                              R"(, "answer": "démocratie", "first_wrong": )" + json(rich(democracy_cyrillic)) +
                              R"(, "second_wrong": )" + json(rich(R"({\f2 \'eb\'e1\'fc\'f2})")) +
                              R"(, "comment": )" + json(rich(R"({\f3 \'d0\'ee\'f1\'f1\'e8\'ff})")) + R"( },
        { "question": )" + json(rich(moscow_cyrillic)) +
                              R"(, "answer": "Moscou", "first_wrong": "Kiev", "second_wrong": "Minsk", "comment": )" +
                              json(rich(R"({\f1 a} + {\f1 b} {\f1 \'b3} {\f1 g})")) + R"( },
        { "question": "Somme", "answer": )" + json(rich(R"({\f1 S})")) + R"(, "first_wrong": )" +
                              json(rich(R"({\f1 P})")) + R"(, "second_wrong": )" + json(rich(R"(\u937?)")) + R"( },
        { "question": "Alpha", "answer": )" + json(rich(alpha_greek)) +
                              R"(, "first_wrong": "Bêta", "second_wrong": "Gamma" } ] }
  ])";
    return capitals_source({
        {"quiz_name", R"("Langues")"},
        {"themes", theme},
        {"default_question_count", "4"},
        {"show_welcome_page", "1"},
        {"custom_welcome_text", "1"},
        // Καλώς ήρθατε
        {"welcome_text",
         json(rich(R"(\u922?\u945?\u955?\u974?\u962? \u942?\u961?\u952?\u945?\u964?\u949? ([NOMQUIZ]))"))},
        // Помощь
        {"help_text", json(rich(R"(\u1055?\u1086?\u1084?\u1086?\u1097?\u1100? : {\f1 \'ae} [SCORE])"))},
        {"custom_end_text", "1"},
        // Спасибо
        {"end_text", json(rich(R"(\u1057?\u1087?\u1072?\u1089?\u1080?\u1073?\u1086?, [NOMELEVE] ! [SCORE])"))},
    });
}

struct ExamRow {
    const char* exam;
    int type;
    std::string answers;  // after the home page: the help, then one line per question
    std::vector<std::string> shown;
};

TEST(TextCharactersPlay, EveryPageShowsTheQuizTextsWithTheirOwnCharacters) {
    const std::vector<std::string> on_every_page = {
        "== Bienvenue ==\nΚαλώς ήρθατε (Langues)\n? Entrée pour continuer",
        "[Aide]\nПомощь : → ",
        "== Fin de l'examen ==\nСпасибо, Marie ! ",
    };
    const std::vector<ExamRow> rows = {
        {"open answers", 1, ":aide\ndémocratie\nKiev\nx\nalpha\n4\n",
         {"== Examen - Question n°1/4 ==\nΜετάφραση :\nδημοκρατία\n? Votre réponse : :aide\n",
          "== Examen - Question n°2/4 ==\nΜετάφραση :\nМосква\n? Votre réponse : Kiev\n",
          "La réponse était :\n  Moscou\nCommentaires :\n  α + β ≥ γ\n",
          "? Votre réponse : x\n\n[Examen] Réponse fausse !\nLa réponse était :\n  Σ\n\n",
          "? Votre réponse : alpha\n\n[Examen] Réponse fausse !\nLa réponse était :\n  άλφα\n\n"}},
        {"multiple choice", 2, ":aide\n\n\n\n\n4\n",
         {"Μετάφραση :\nδημοκρατία\nVotre réponse :\n", "[ ] démocratie\n", "[ ] демократия\n", "[ ] λαός\n",
          "Μετάφραση :\nSomme\nVotre réponse :\n", "[ ] Σ\n", "[ ] Π\n", "[ ] Ω\n",
          "Commentaires :\n  Россия\n"}},
        {"true/false", 3, ":aide\n\n\n\n\n4\n",
         {"Μετάφραση :\nδημοκρατία\nLa réponse est :\n  άλφα\n",
          "Μετάφραση :\nSomme\nLa réponse est :\n  démocratie\n"}},
        {"pot-pourri", 4, ":aide\n2\n3\n4\n\n4\n",
         {"Votre réponse :\n  1. άλφα\n  2. démocratie\n  3. Moscou\n  4. Σ\n(Tapez le numéro de votre réponse.)\n",
          "? Votre réponse : \n\n[Examen] Réponse fausse !\nLa réponse était :\n  άλφα\n"}},
    };
    for (const ExamRow& row : rows) {
        SCOPED_TRACE(row.exam);
        TestFolder folder;
        const auto quiz = pack_quiz(folder.path(), languages_source());
        const PlayerRun run = run_player({test_arguments(quiz, folder / "kz.dat"), {}, folder.path()},
                                         "\n" + home_answers({.type = row.type, .count = "4", .training = true}) +
                                             row.answers);
        EXPECT_EQ(run.exit_code, 0) << run.errors;
        for (const std::string& shown : on_every_page) EXPECT_NE(run.output.find(shown), std::string::npos) << shown;
        for (const std::string& shown : row.shown)
            EXPECT_NE(run.output.find(shown), std::string::npos) << shown << "\n---\n" << run.output;
        // No quiz text is narrowed to question marks on the way to the screen.
        EXPECT_EQ(run.output.find("d?"), std::string::npos) << run.output;
    }
}

TEST(TextCharactersPlay, GradingAndTheRecordKeepTheWindows1252PlainText) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), languages_source());
    const auto results = folder / "kz.dat";
    // The symbol font's "S" is graded as the letter it is stored as, not as
    // the sign shown: the answer "S" is right, and "Σ" cannot be typed. The
    // Greek answer is expected as its plain text.
    const std::string answers = "démocratie\nMoscou\nΣ\nS\nalpha\n4\n";
    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     "\n" + home_answers({.type = 1, .count = "4"}) + answers);

    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_NE(run.output.find("? Votre réponse : ?\nCes caractères ne peuvent pas être utilisés dans ce "
                              "questionnaire : Σ\n? Votre réponse : S\n"),
              std::string::npos)
        << run.output;
    const std::string record = file_bytes(results);
    // Expected and given answers, the expected one as the rich-edit control
    // narrows it to Windows-1252 ("άλφα" as "??fa").
    for (const char* answers : {"\r\nd\xE9mocratie\r\nd\xE9mocratie\r\n", "\r\nMoscou\r\nMoscou\r\n",
                                "\r\nS\r\nS\r\n", "\r\n??fa\r\nalpha\r\n"})
        EXPECT_NE(record.find(answers), std::string::npos) << answers << "\n---\n" << record;
    EXPECT_NE(run.output.find("Спасибо, Marie ! 15/20\n"), std::string::npos) << run.output;
}

// The characters of a rich text as the web page shows them: the text of the
// HTML fragment of one paragraph, its markup left out and its references
// decoded, in UTF-8.
std::string web_page_characters(const std::string& html) {
    std::string out;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] == '<') {
            i = html.find('>', i) + 1;
        } else if (html.compare(i, 2, "&#") == 0) {
            const std::size_t end = html.find(';', i);
            append_utf8(out, static_cast<char32_t>(std::stoul(html.substr(i + 2, end - i - 2))));
            i = end + 1;
        } else if (html[i] == '&') {
            const std::size_t end = html.find(';', i);
            const std::string name = html.substr(i + 1, end - i - 1);
            out += name == "lt" ? "<" : name == "gt" ? ">" : name == "amp" ? "&" : "\"";
            i = end + 1;
        } else {
            out += html[i++];
        }
    }
    return out;
}

struct CharactersRow {
    const char* text;
    std::string body;   // the rich text's body
    std::string shown;  // what the player and the web page show
};

TEST(TextCharactersPlay, ShowsEachCharacterAsTheWebPageDoes) {
    const std::vector<CharactersRow> rows = {
        {"Greek letters of the Symbol font", R"({\f1 a}{\f1 b}{\f1 g} et {\f1 W})", "αβγ et Ω"},
        {"signs of the Symbol font", R"({\f1 \'b7} x {\f1 \'ae} y {\f1 \'b9} z {\f1 \'a5})", "• x → y ≠ z ∞"},
        {"a character written by its Unicode value in the Symbol font", R"({\f1\u945?\u8594?})", "α→"},
        {"a byte the Symbol font leaves undefined", R"({\f1 \'ff})", "ÿ"},
        {"the blanks and digits of the Symbol font", R"({\f1 1 < 2})", "1 < 2"},
        {"Greek in a Greek font", R"({\f2 \'eb\'e1\'fc\'f2})", "λαός"},
        {"Cyrillic in a Cyrillic font", R"({\f3 \'d0\'ee\'f1\'f1\'e8\'ff})", "Россия"},
        {"Cyrillic by Unicode escapes", moscow_cyrillic, "Москва"},
        {"accents of Windows-1252", R"(\'e9t\'e9 \u8364?)", "été €"},
        {"a character beyond U+FFFF", R"(\u-10179?\u-8704?)", "😀"},
        {"half of a surrogate pair", R"(a\u-10179?b)", "a\xEF\xBF\xBD" "b"},
    };
    std::string questions;
    for (const CharactersRow& row : rows) {
        if (!questions.empty()) questions += ",\n";
        questions += R"(        { "question": )" + json(rich(row.body)) + R"(, "answer": "x" })";
    }
    const std::string theme =
        R"([ { "name": "Signes", "prompt": "Lisez :", "reverse_prompt": "?", "questions": [
)" + questions + "] } ]";
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source(only_open_answers(
                                                   {{"themes", theme},
                                                    {"default_question_count", std::to_string(rows.size())}})));
    const PlayerRun run = run_player({test_arguments(quiz, folder / "kz.dat"), {}, folder.path()},
                                     home_answers({.count = std::to_string(rows.size())}) +
                                         std::string(rows.size(), '\n') + "4\n");

    EXPECT_EQ(run.exit_code, 0) << run.errors;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(rows[k].text);
        const std::string page = "== Examen - Question n°" + std::to_string(k + 1) + "/" +
                                 std::to_string(rows.size()) + " ==\nLisez :\n" + rows[k].shown +
                                 "\n? Votre réponse : ";
        EXPECT_NE(run.output.find(page), std::string::npos) << page << "\n---\n" << run.output;
        EXPECT_EQ(web_page_characters(rich_to_html(rich(rows[k].body))), rows[k].shown);
    }
}

}  // namespace
}  // namespace kz::test
