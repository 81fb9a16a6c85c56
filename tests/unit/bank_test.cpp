// Question banks in and out of the packer: the hand-written samples against
// their expected sources and reports, round trips of whole quizzes through
// each format, the reading of spreadsheets' many CSV shapes, the limits of
// the quiz, and bad files refused without a half-written output.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "bank.h"
#include "bank_formats.h"
#include "bank_text.h"
#include "common/cp1252.h"
#include "media/rich_text.h"
#include "packer_commands.h"
#include "quiz_source.h"
#include "support/temp_folder.h"

namespace kz {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using test::TempFolder;

const fs::path source_root = fs::path(__FILE__).parent_path().parent_path().parent_path();

struct PackerRun {
    int code;
    std::string out;
    std::string err;
};

PackerRun packer(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = run_packer(args, out, err);
    return {code, out.str(), err.str()};
}

void write(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string read(const fs::path& path) { return test::file_bytes(path); }

// A quiz's questions as plain Unicode text, one line per question:
// theme | question | answer | first wrong | second wrong | comment.
std::vector<std::string> question_lines(const QuizModel& quiz) {
    std::vector<std::string> lines;
    for (const Theme& theme : quiz.themes)
        for (const QuestionEntry& q : theme.questions) {
            std::string line = bank::outgoing_name(theme.name);
            for (const std::string* text : {&q.question, &q.answer, &q.first_wrong, &q.second_wrong, &q.comment})
                line += " | " + bank::outgoing_text(quiz, *text).text.plain();
            lines.push_back(line);
        }
    return lines;
}

QuizModel imported(BankFormat format, std::string_view bytes) {
    auto bank = import_bank(format, bytes, "banque");
    EXPECT_TRUE(bank) << bank.error().line << ": " << bank.error().what;
    return bank ? bank.value().model : QuizModel{};
}

std::vector<std::string> report_lines(const BankReport& report) {
    std::vector<std::string> lines;
    for (const auto& line : report.lines) lines.push_back(describe(line));
    return lines;
}

TEST(BankSamples, EachSampleImportsAsItsExpectedSourceAndReport) {
    for (const char* name : {"capitales.csv", "vocabulaire.csv", "tableur.tsv", "banque.gift", "banque-moodle.xml"}) {
        SCOPED_TRACE(name);
        TempFolder folder;
        const fs::path sample = source_root / "samples/banks" / name;
        const fs::path stem = fs::path(name).stem();
        const PackerRun run = packer({"import", sample.string(), "-o", (folder / "quiz.json").string()});
        ASSERT_EQ(run.code, packer_done) << run.err;

        const Json written = Json::parse(read(folder / "quiz.json"));
        const Json expected = Json::parse(read(source_root / "samples/banks/expected" / (stem.string() + ".json")));
        EXPECT_EQ(written["quiz_name"], expected["quiz_name"]);
        EXPECT_EQ(written["themes"], expected["themes"]) << written["themes"].dump(2);

        std::string report;
        std::istringstream out(run.out);
        for (std::string line; std::getline(out, line);)
            if (line.starts_with("  ")) report += line.substr(2) + "\n";
        EXPECT_EQ(report, read(source_root / "samples/banks/expected" / (stem.string() + ".report.txt")));

        // What the import writes, the packer builds.
        write(folder / "runner.exe", "MZ" + std::string(4094, '\0'));
        const PackerRun build = packer({"build", (folder / "quiz.json").string(), "-o", (folder / "quiz.exe").string()});
        EXPECT_EQ(build.code, packer_done) << build.err;
    }
}

// A quiz whose texts hold what each format must escape or carry: its
// special characters, quotes, separators, line breaks, bold and italic,
// Greek, Cyrillic and emoji, and a media reference.
QuizModel awkward_quiz() {
    QuizModel quiz;
    quiz.media.push_back({"carte.bmp", "Carte", media_image, 0, 0, 20});
    Theme theme;
    theme.name = "Signes : {}=~#/\\";
    const auto rich = [](const char* utf8, bool bold) {
        bank::StyledText text;
        text.append("avant ");
        text.append(utf8, bold, !bold);
        return bank::to_stored(text).text;
    };
    theme.questions = {
        {"2 + 2 = ? {accolades} ~tilde #dièse :deux-points \\", "4", "5 ; \"cinq\"", "3, trois", "<b>pas</b> & du HTML"},
        {bank::to_stored(bank::StyledText("Première ligne\nseconde ligne")).text, "réponse", "", "", "€ œ « »"},
        {rich("gras", true), rich("italique", false), "", "", "]]> fin de CDATA"},
        {bank::to_stored(bank::StyledText("Москва ? Αθήνα ? 😀")).text, bank::to_stored(bank::StyledText("Москва")).text,
         bank::to_stored(bank::StyledText("Αθήνα")).text, "", ""},
        {"$@%0 20", "Paris", "", "", ""},
    };
    quiz.themes.push_back(theme);
    quiz.themes.push_back({"Deuxième", "", "", {{"q", "a", "w", "", "c"}}});
    return quiz;
}

TEST(BankRoundTrip, EveryFormatGivesBackTheThemesAndTheFiveTextsOfEachQuestion) {
    auto demo = parse_quiz_source(read(source_root / "samples/demo/demo.json"), source_root / "samples/demo");
    ASSERT_TRUE(demo) << demo.error();
    const struct {
        const char* name;
        QuizModel quiz;
    } quizzes[] = {{"demo", demo.value().model}, {"awkward", awkward_quiz()}};
    for (const auto& [name, quiz] : quizzes) {
        for (const BankFormat format : {BankFormat::csv, BankFormat::gift, BankFormat::moodle_xml}) {
            SCOPED_TRACE(std::string(name) + " through " + std::string(bank_format_name(format)));
            const ExportedBank exported = export_bank(format, quiz);
            const QuizModel back = imported(format, exported.bytes);
            EXPECT_EQ(question_lines(back), question_lines(quiz)) << exported.bytes;
            // CSV carries the themes' prompts too.
            if (format == BankFormat::csv && back.themes.size() == quiz.themes.size()) {
                for (std::size_t t = 0; t < quiz.themes.size(); ++t) {
                    EXPECT_EQ(bank::from_stored(back.themes[t].prompt).plain(),
                              bank::from_stored(quiz.themes[t].prompt).plain());
                }
            }
        }
    }
}

TEST(BankExport, ReportsWhatEachFormatCannotHoldAtItsLineInTheFile) {
    QuizModel quiz = awkward_quiz();
    quiz.themes[0].prompt = "Combien ?";
    quiz.themes.push_back({"Vide", "", "", {}});
    const struct {
        BankFormat format;
        const char* question_line;  // what the line of a question's report holds
        bool keeps_bold;
        bool keeps_prompts;
    } rows[] = {
        {BankFormat::csv, "carte.bmp;Paris", false, true},
        {BankFormat::gift, ":: carte.bmp {", false, false},
        {BankFormat::moodle_xml, "<question type=\"shortanswer\">", true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(bank_format_name(row.format)));
        const ExportedBank exported = export_bank(row.format, quiz);
        std::vector<std::string> file_lines;
        std::istringstream file(exported.bytes);
        for (std::string line; std::getline(file, line);) file_lines.push_back(line);
        const auto find = [&](std::string_view what) -> const ReportLine* {
            for (const auto& line : exported.report.lines)
                if (line.what.find(what) != std::string::npos) return &line;
            return nullptr;
        };
        const ReportLine* media = find("the image \"Carte\" (media id 20) written as its file name \"carte.bmp\"");
        ASSERT_NE(media, nullptr);
        ASSERT_LE(media->line, file_lines.size());
        EXPECT_NE(file_lines[media->line - 1].find(row.question_line), std::string::npos) << file_lines[media->line - 1];
        EXPECT_EQ(find("(bold and italic are lost)") == nullptr, row.keeps_bold);
        EXPECT_EQ(find("prompts of theme \"Signes") == nullptr, row.keeps_prompts);
        const ReportLine* empty = find("theme \"Vide\" holds no question");
        ASSERT_NE(empty, nullptr);
        EXPECT_EQ(empty->kind, ReportLine::Kind::skipped);
    }
}

TEST(BankRoundTrip, CommandsExportAQuizExecutableAndImportItBack) {
    TempFolder folder;
    write(folder / "runner.exe", "MZ" + std::string(4094, '\0'));
    const fs::path demo = source_root / "samples/demo/demo.json";
    ASSERT_EQ(packer({"build", demo.string(), "--runner", (folder / "runner.exe").string(), "-o",
                      (folder / "demo.exe").string()}).code,
              packer_done);
    const PackerRun exported = packer({"export", (folder / "demo.exe").string(), "-o", (folder / "demo.gift").string()});
    ASSERT_EQ(exported.code, packer_done) << exported.err;
    EXPECT_NE(exported.out.find("written as its file name \"carte.bmp\""), std::string::npos) << exported.out;
    EXPECT_NE(exported.out.find("exported 5 themes, 48 questions"), std::string::npos) << exported.out;
    const PackerRun back = packer({"import", (folder / "demo.gift").string(), "-o", (folder / "back.json").string()});
    ASSERT_EQ(back.code, packer_done) << back.err;
    EXPECT_NE(back.out.find("wrote " + (folder / "back.json").string() + ": 5 themes, 48 questions; 0 skipped"),
              std::string::npos)
        << back.out;
}

std::string utf16le_with_mark(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) bytes += static_cast<char>(unit & 0xFF), bytes += static_cast<char>(unit >> 8);
    return bytes;
}

TEST(BankCsv, ReadsTheShapesSpreadsheetsSave) {
    const struct {
        const char* what;
        std::string bytes;
        std::vector<std::string> questions;
    } rows[] = {
        {"semicolons, no header", "Géo;France;Paris;Lyon;Nice;Bravo\n",
         {"Géo | France | Paris | Lyon | Nice | Bravo"}},
        {"commas and CR LF", "Géo,France,Paris,,,\r\nGéo,Italie,Rome,,,\r\n",
         {"Géo | France | Paris |  |  | ", "Géo | Italie | Rome |  |  | "}},
        {"tabs with commas and semicolons in the texts", "Géo\tFrance, pays\tParis; ville\t\t\t\n",
         {"Géo | France, pays | Paris; ville |  |  | "}},
        {"lone carriage returns end rows", "A;q1;a1\rA;q2;a2\r", {"A | q1 | a1 |  |  | ", "A | q2 | a2 |  |  | "}},
        {"Windows-1252 bytes", "G\xE9o;\x80 et \x9C;\xE9t\xE9\n", {"Géo | € et œ | été |  |  | "}},
        {"UTF-8 with a stray Windows-1252 byte", "Géo;été;\xE9t\xE9\n", {"Géo | été | été |  |  | "}},
        {"UTF-16 with its mark", utf16le_with_mark(u"Géo\tНочь\tночь\r\n"), {"Géo | Ночь | ночь |  |  | "}},
        {"quoted cells with separators, quotes and line breaks",
         "T;\"a;b \"\"c\"\"\";\"x\r\ny\";;;\"l1\nl2\"\n", {"T | a;b \"c\" | x y |  |  | l1\nl2"}},
        {"a header in English in another order, extra column", "Answer,Question,Comment,Level\nParis,France,ok,1\n",
         {"banque | France | Paris |  |  | ok"}},
        {"a header names the two wrong answers without numbers",
         "Thème;Question;Réponse;Mauvaise réponse;Mauvaise réponse\nT;q;a;w1;w2\n", {"T | q | a | w1 | w2 | "}},
        {"an empty theme cell goes on with the theme above", "A;q1;a1\n;q2;a2\nB;q3;a3\n",
         {"A | q1 | a1 |  |  | ", "A | q2 | a2 |  |  | ", "B | q3 | a3 |  |  | "}},
        {"blank rows and rows without answer are left out", "A;q1;a1\n;;\n\nA;q2;\n",
         {"A | q1 | a1 |  |  | "}},
        {"a theme name is cut to 200 characters", std::string(250, 'x') + ";q;a\n",
         {std::string(200, 'x') + " | q | a |  |  | "}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(question_lines(imported(BankFormat::csv, row.bytes)), row.questions);
    }
}

TEST(BankText, TextsOutsideWindows1252AreRichTextTheRunnerShows) {
    const struct {
        const char* utf8;
        const char* stored;  // expected start of the stored text; empty: the text itself
        const char* runner_plain;
    } rows[] = {
        {"Café € œ", "", "Caf\xE9 \x80 \x9C"},
        {"Москва", "{\\rtf1", "??????"},
        {"α et ω", "{\\rtf1", "a et ?"},
        {"ok 👍", "{\\rtf1", "ok ??"},
        {"a { b } c \\ d", "", "a { b } c \\ d"},
        {"ligne 1\nligne 2", "{\\rtf1", "ligne 1\rligne 2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.utf8);
        const bank::StoredText stored = bank::to_stored(bank::StyledText(row.utf8));
        if (*row.stored) {
            EXPECT_TRUE(stored.text.starts_with(row.stored)) << stored.text;
        } else {
            EXPECT_EQ(stored.text, utf8_to_cp1252(row.utf8).value());
        }
        EXPECT_EQ(stored.foreign.empty(), utf8_to_cp1252(row.utf8).has_value());
        EXPECT_EQ(rich_to_plain(stored.text), row.runner_plain);
        // Nothing is lost on the way out.
        EXPECT_EQ(bank::from_stored(stored.text).plain(), row.utf8);
    }
}

TEST(BankHtml, ReducesTextsToCharactersBoldItalicAndLineBreaks) {
    const struct {
        const char* html;
        const char* plain;
        const char* styled;  // the bold and italic spans, as <b>, <i>
        int pictures = 0;
    } rows[] = {
        {"<p>Un   <b>gras</b>  et <em>italique</em></p>", "Un gras et italique", "Un <b>gras</b> et <i>italique</i>"},
        {"a<br>b<br/>c", "a\nb\nc", "a<br>b<br>c"},
        {"<p>un</p><p>deux</p>\n<div>trois</div>", "un\ndeux\ntrois", "un<br>deux<br>trois"},
        {"&eacute;t&eacute; &amp; &lt;html&gt; &#233;&#x3B1; &nbsp;&euro;&alpha;&Omega;&inconnu;",
         "été & <html> éα €αΩ&inconnu;", "été &amp; &lt;html&gt; éα €αΩ&amp;inconnu;"},
        {"<script>alert(1)</script><style>p{}</style><!-- note -->Texte", "Texte", "Texte"},
        {"2 < 3 et <img src=\"a.png\" alt='x > y'> fin", "2 < 3 et fin", "2 &lt; 3 et fin", 1},
        {"<strong><i>les deux</i></strong>", "les deux", "<b><i>les deux</i></b>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.html);
        int pictures = 0;
        const bank::StyledText text = bank::html_to_styled(row.html, pictures);
        EXPECT_EQ(text.plain(), row.plain);
        EXPECT_EQ(bank::styled_to_html(text), row.styled);
        EXPECT_EQ(pictures, row.pictures);
    }
}

// A CSV of `count` questions in one theme.
std::string one_theme_bank(std::size_t count) {
    std::string csv = "Thème;Question;Réponse\n";
    for (std::size_t i = 1; i <= count; ++i) csv += "Vocabulaire;mot " + std::to_string(i) + ";réponse\n";
    return csv;
}

TEST(BankLimits, AFullThemeGoesOnInNumberedThemesUpToFiftyThemes) {
    auto bank = import_bank(BankFormat::csv, one_theme_bank(1201), "banque");
    ASSERT_TRUE(bank) << bank.error().what;
    const QuizModel& quiz = bank.value().model;
    ASSERT_EQ(quiz.themes.size(), 3u);
    EXPECT_EQ(quiz.themes[0].name, "Vocabulaire");
    EXPECT_EQ(quiz.themes[1].name, "Vocabulaire (2)");
    EXPECT_EQ(quiz.themes[2].name, "Vocabulaire (3)");
    EXPECT_EQ(quiz.themes[0].questions.size(), 500u);
    EXPECT_EQ(quiz.themes[2].questions.size(), 201u);
    EXPECT_EQ(quiz.themes[1].questions.front().question, "mot 501");
    const auto lines = report_lines(bank.value().report);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "line 502: changed: theme \"Vocabulaire\" already holds 500 questions, the most a theme can "
                        "hold: this question and the theme's next ones go to \"Vocabulaire (2)\"");

    // 25,000 questions fill the 50 themes exactly; one more is refused.
    auto full = import_bank(BankFormat::csv, one_theme_bank(25000), "banque");
    ASSERT_TRUE(full);
    EXPECT_EQ(full.value().model.themes.size(), 50u);
    EXPECT_EQ(full.value().model.themes.back().name, "Vocabulaire (50)");
    auto over = import_bank(BankFormat::csv, one_theme_bank(25001), "banque");
    ASSERT_FALSE(over);
    EXPECT_EQ(over.error().line, 25002u);
    EXPECT_NE(over.error().what.find("51st theme"), std::string::npos);
}

TEST(BankErrors, BadFilesAreRefusedWithTheirLineAndNothingIsWritten) {
    const struct {
        const char* file;
        std::string bytes;
        const char* message;  // expected in the error, after the file's name
    } rows[] = {
        {"bank.csv", "T;q;a\nT;\"never closed;a\nT;q;a\n", ":2: a quoted field opened on this line is not closed"},
        {"bank.csv", "une seule colonne\nune autre\n", ":1: no columns found"},
        {"bank.csv", "Thème;Question;Commentaire\nT;q;c\n", ":1: the header row names no answer column"},
        {"bank.csv", "", ": the file holds no rows"},
        {"bank.csv", "Thème;Question;Réponse\nT;q;\n", ": the file holds no question that a quiz can hold"},
        {"bank.gift", "Q1 {=a}\n\nQ2 {=b\n~c\n\n// fin\n", ":3: the answer list opened on this line by { is not closed"},
        {"bank.gift", "Q1 {=a}\n\nQ2 =b}\n", ":3: a } closes no answer list"},
        {"bank.gift", "::titre Q {=a}\n", ":1: the question's title opened by :: is not closed"},
        {"bank.gift", "Vrai ? {T}\n", ": the file holds no question that a quiz can hold"},
        {"bank.xml", "<?xml version=\"1.0\"?>\n<quiz>\n  <question type=\"shortanswer\">\n</quiz>\n",
         ":4: not well-formed XML"},
        {"bank.xml", "<?xml version=\"1.0\"?>\n<questions/>\n", ":1: no <quiz> element"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file + (": " + row.bytes));
        TempFolder folder;
        write(folder / row.file, row.bytes);
        write(folder / "quiz.json", "earlier content");
        const PackerRun run = packer({"import", (folder / row.file).string(), "-o", (folder / "quiz.json").string()});
        EXPECT_EQ(run.code, packer_failed);
        EXPECT_NE(run.err.find(std::string(row.file) + row.message), std::string::npos) << run.err;
        EXPECT_EQ(read(folder / "quiz.json"), "earlier content");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
    }
}

TEST(BankCommands, FormatsAreToldByOptionNameOrContent) {
    TempFolder folder;
    const std::string gift = "$CATEGORY: T\n\nQ {=a ~b}\n";
    write(folder / "sans-extension", gift);
    write(folder / "tableau.txt", "T;q;a\n");
    const struct {
        std::vector<std::string> args;
        int code;
        const char* said;
    } rows[] = {
        {{"import", "sans-extension", "-o", "a.json"}, packer_done, "as GIFT"},
        {{"import", "tableau.txt", "-o", "b.json"}, packer_done, "as CSV"},
        {{"import", "sans-extension", "--format", "csv", "-o", "c.json"}, packer_failed, "no columns found"},
        {{"import", "sans-extension", "--format", "docx", "-o", "d.json"}, packer_bad_usage, "unknown format \"docx\""},
        {{"import", "tableau.txt", "-o", "quiz.exe"}, packer_bad_usage, "build the executable from it with packer build"},
        {{"import", "tableau.txt", "-o", "tableau.txt"}, packer_bad_usage, "is the bank itself"},
        {{"export", "a.json", "-o", "out.xml"}, packer_done, "as Moodle XML"},
        {{"export", "a.json", "-o", "out.txt"}, packer_bad_usage, "give --format csv, gift or xml"},
        {{"export", "a.json", "--format", "gift", "-o", "out.txt"}, packer_done, "as GIFT"},
        {{"export", "tableau.txt", "-o", "out.csv"}, packer_failed, "not valid JSON"},
    };
    const fs::path previous = fs::current_path();
    fs::current_path(folder.path());
    for (const auto& row : rows) {
        const PackerRun run = packer(row.args);
        EXPECT_EQ(run.code, row.code) << row.args[1] << " " << row.args.back() << ": " << run.err;
        EXPECT_NE((run.out + run.err).find(row.said), std::string::npos) << run.out << run.err;
    }
    fs::current_path(previous);
}

}  // namespace
}  // namespace kz
