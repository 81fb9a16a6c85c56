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
    for (const char* name : {"capitales.csv", "vocabulaire.csv", "tableur.tsv", "banque.gift", "banque-moodle.xml",
                             "banque-medias.xml"}) {
        SCOPED_TRACE(name);
        TempFolder folder;
        const fs::path sample = source_root / "samples/banks" / name;
        const fs::path stem = fs::path(name).stem();
        const fs::path source = folder / (stem.string() + ".json");
        const PackerRun run = packer({"import", sample.string(), "-o", source.string()});
        ASSERT_EQ(run.code, packer_done) << run.err;

        const Json written = Json::parse(read(source));
        const Json expected = Json::parse(read(source_root / "samples/banks/expected" / (stem.string() + ".json")));
        EXPECT_EQ(written["quiz_name"], expected["quiz_name"]);
        EXPECT_EQ(written["themes"], expected["themes"]) << written["themes"].dump(2);
        // The pictures and sounds a bank carries, beside the source.
        EXPECT_EQ(written.value("media", Json::array()), expected.value("media", Json::array()));
        for (const auto& row : written.value("media", Json::array()))
            EXPECT_TRUE(fs::exists(folder / fs::u8path(row["file"].get<std::string>()))) << row.dump();

        std::string report;
        std::istringstream out(run.out);
        for (std::string line; std::getline(out, line);)
            if (line.starts_with("  ")) report += line.substr(2) + "\n";
        EXPECT_EQ(report, read(source_root / "samples/banks/expected" / (stem.string() + ".report.txt")));

        // What the import writes, the packer builds.
        write(folder / "runner.exe", "MZ" + std::string(4094, '\0'));
        const PackerRun build = packer({"build", source.string(), "-o", (folder / "quiz.exe").string()});
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
        const bank::ReadText read = bank::html_to_styled(row.html);
        EXPECT_EQ(read.text.plain(), row.plain);
        EXPECT_EQ(bank::styled_to_html(read.text), row.styled);
        EXPECT_EQ(static_cast<int>(read.media.size()), row.pictures);
    }
}

// The report lines of an import, as the command prints them.
std::string report_text(BankFormat format, std::string_view bytes) {
    auto bank = import_bank(format, bytes, "banque");
    EXPECT_TRUE(bank) << bank.error().what;
    std::string text;
    if (bank)
        for (const auto& line : report_lines(bank.value().report)) text += line + "\n";
    return text;
}

TEST(BankImport, AShortAnswersWildcardsAreTakenOutAndSaid) {
    const struct {
        const char* what;
        BankFormat format;
        std::string bytes;
        const char* answer;  // the stored answer; empty: the question is skipped
        const char* said;    // in the report
    } rows[] = {
        {"GIFT short answer", BankFormat::gift, "Unité de fréquence ? {=*hertz*}\n", "hertz",
         "answer \"*hertz*\": \"*\" stands for any text in the platform's short answers, which a quiz's typed "
         "answers do not have; kept as \"hertz\""},
        {"GIFT: a right answer that accepts anything is not the one kept", BankFormat::gift,
         "Capitale ? {=* =Paris}\n", "Paris", "a right answer that is only \"*\" accepts any text"},
        {"GIFT: only a wildcard", BankFormat::gift, "Dites quelque chose {=*}\n", "",
         "skipped: every right answer is only \"*\""},
        {"GIFT multiple choice: an asterisk is a character", BankFormat::gift, "Opération ? {=2*3 ~2+3}\n", "2*3", ""},
        {"Moodle XML short answer", BankFormat::moodle_xml,
         "<quiz><question type=\"shortanswer\"><questiontext><text>Unité ?</text></questiontext>"
         "<answer fraction=\"100\"><text>*hertz*</text></answer>"
         "<answer fraction=\"0\"><text>*</text><feedback><text>Non</text></feedback></answer></question></quiz>",
         "hertz", "kept as \"hertz\""},
        {"Moodle XML: an escaped asterisk is one", BankFormat::moodle_xml,
         "<quiz><question type=\"shortanswer\"><questiontext><text>Produit ?</text></questiontext>"
         "<answer fraction=\"100\"><text>a\\*b</text></answer></question></quiz>",
         "a*b", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        auto bank = import_bank(row.format, row.bytes, "banque");
        ASSERT_TRUE(bank) << bank.error().what;
        const QuizModel& quiz = bank.value().model;
        if (*row.answer) {
            ASSERT_EQ(quiz.themes.size(), 1u);
            EXPECT_EQ(quiz.themes[0].questions[0].answer, row.answer);
        } else {
            EXPECT_TRUE(quiz.themes.empty());
        }
        const std::string report = report_text(row.format, row.bytes);
        if (*row.said) {
            EXPECT_NE(report.find(row.said), std::string::npos) << report;
        } else {
            EXPECT_EQ(report.find("stands for any text"), std::string::npos) << report;
        }
    }
}

TEST(BankImport, SuperscriptsAndSubscriptsAreRichTextAndAnswersKeepTheirMeaningInPlainText) {
    const struct {
        const char* what;
        BankFormat format;
        std::string bytes;
        const char* question_html;  // part of the stored question as the web page shows it
        const char* answer;         // the stored answer: plain text
        const char* first_wrong;
    } rows[] = {
        {"Moodle XML, HTML", BankFormat::moodle_xml,
         "<quiz><question type=\"multichoice\"><questiontext format=\"html\"><text>Que vaut 10&lt;sup&gt;3&lt;/sup&gt; ?"
         "</text></questiontext><answer fraction=\"100\"><text>10&lt;sup&gt;3&lt;/sup&gt; m&lt;sup&gt;2&lt;/sup&gt;"
         "</text></answer><answer fraction=\"0\"><text>10&lt;sup&gt;-6&lt;/sup&gt;</text></answer></question></quiz>",
         "vertical-align:super\">3</span>", "10\xB3 m\xB2", "10^-6"},
        {"GIFT, Moodle's own format", BankFormat::gift, "Formule de l'eau ? {=H<sub>2</sub>O ~CO<sub>2</sub>}\n",
         nullptr, "H_2O", "CO_2"},
        {"GIFT, Markdown", BankFormat::gift, "[markdown]Le XIX<sup>e</sup> siècle ? {=x<sup>n+1</sup> ~x<sup>n</sup>}\n",
         "vertical-align:super\">e</span>", "x^(n+1)", "x^n"},
        {"Moodle XML, an ordinal", BankFormat::moodle_xml,
         "<quiz><question type=\"shortanswer\"><questiontext format=\"html\"><text>Rang ?</text></questiontext>"
         "<answer fraction=\"100\" format=\"html\"><text>1&lt;sup&gt;er&lt;/sup&gt;</text></answer></question></quiz>",
         nullptr, "1er", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const QuizModel quiz = imported(row.format, row.bytes);
        ASSERT_EQ(quiz.themes.size(), 1u);
        const QuestionEntry& q = quiz.themes[0].questions[0];
        if (row.question_html) {
            EXPECT_NE(rich_to_html(q.question).find(row.question_html), std::string::npos) << rich_to_html(q.question);
        }
        EXPECT_EQ(q.answer, row.answer);
        EXPECT_EQ(q.first_wrong, row.first_wrong);
        EXPECT_NE(report_text(row.format, row.bytes).find("answer: superscript and subscript written in plain text"),
                  std::string::npos);
    }
}

TEST(BankExport, SuperscriptsAndSubscriptsLeaveInAFormThatKeepsTheirMeaning) {
    bank::StyledText formula;
    formula.append("H");
    formula.append("2", false, false, bank::Shift::subscript);
    formula.append("O et 10");
    formula.append("-6", false, false, bank::Shift::superscript);
    formula.append(" m");
    formula.append("3", false, false, bank::Shift::superscript);
    QuizModel quiz;
    quiz.themes.push_back({"Chimie", "", "", {{bank::to_stored(formula).text, "eau", "", "", ""}}});
    const struct {
        BankFormat format;
        const char* written;
    } rows[] = {
        {BankFormat::csv, "H_2O et 10^-6 m³"},
        {BankFormat::gift, "H_2O et 10^-6 m³"},
        {BankFormat::moodle_xml, "H<sub>2</sub>O et 10<sup>-6</sup> m<sup>3</sup>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(bank_format_name(row.format)));
        const ExportedBank exported = export_bank(row.format, quiz);
        EXPECT_NE(exported.bytes.find(row.written), std::string::npos) << exported.bytes;
        // Moodle XML keeps them; the others say what they wrote.
        bool said = false;
        for (const auto& line : exported.report.lines)
            said = said || line.what == "question: superscript and subscript written in plain text, \"H_2O et 10^-6 m³\"";
        EXPECT_EQ(said, row.format != BankFormat::moodle_xml);
    }
    // Through Moodle XML they come back as they were.
    const QuizModel back = imported(BankFormat::moodle_xml, export_bank(BankFormat::moodle_xml, quiz).bytes);
    ASSERT_EQ(back.themes.size(), 1u);
    EXPECT_EQ(rich_to_html(back.themes[0].questions[0].question), rich_to_html(quiz.themes[0].questions[0].question));
}

TEST(BankExport, SpreadsheetFormulasAreWrittenAsTextAndImportGivesTheTextBack) {
    const std::vector<std::string> texts = {
        "=HYPERLINK(\"http://x\";\"clic\")", "+cmd|' /C calc'!A0", "@SUM(A1:A2)", "-1+1", "-12,5", "'=déjà",
        "''-3", "l'=signe", "Paris"};
    QuizModel quiz;
    Theme theme{"=Thème", "", "", {}};
    for (const auto& text : texts) theme.questions.push_back({*utf8_to_cp1252(text), *utf8_to_cp1252(text), "", "", ""});
    quiz.themes.push_back(theme);
    const ExportedBank exported = export_bank(BankFormat::csv, quiz);

    // No cell of the file begins as a formula, but a negative number.
    std::istringstream file(exported.bytes);
    std::string line;
    std::getline(file, line);
    while (std::getline(file, line)) {
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ';');) {
            if (!cell.empty() && cell != "-12,5") {
                EXPECT_EQ(std::string_view("=+-@").find(cell[0]), std::string_view::npos) << line;
            }
        }
    }
    EXPECT_NE(exported.bytes.find("'-1+1;'-1+1"), std::string::npos);
    EXPECT_NE(exported.bytes.find("-12,5;-12,5"), std::string::npos);
    EXPECT_NE(exported.bytes.find("'''-3"), std::string::npos);
    std::size_t said = 0;
    for (const auto& report : exported.report.lines)
        said += report.what.find("begins as a spreadsheet formula") != std::string::npos;
    EXPECT_EQ(said, 1u + 2 * 6);  // the theme once, question and answer of six rows

    EXPECT_EQ(question_lines(imported(BankFormat::csv, exported.bytes)), question_lines(quiz));
}

TEST(BankExport, GiftEscapesWhatItCanAndSkipsWhatItCannotHold) {
    QuizModel quiz;
    quiz.themes.push_back({"Signes", "", "", {
        {"Flèche ?", "a->b", "", "", ""},                 // a short answer GIFT reads as matching
        {"Remise ?", "%50% de remise", "", "", ""},       // a short answer GIFT reads as a mark
        {"Flèche ?", "a->b", "a<-b", "", "Voir -> ici"},  // a multiple choice holds both
        {"[html] n'est pas un format", "<b>gras</b> & co", "", "", "%20% ou %30%"},
        {"Choix ?", "%50% de remise", "rien", "", ""},
        {"Produit ?", "2*3", "", "", ""},                 // "*" is no wildcard here
    }});
    for (auto& question : quiz.themes[0].questions) question.question = *utf8_to_cp1252(question.question);
    const ExportedBank exported = export_bank(BankFormat::gift, quiz);
    std::size_t skipped = 0;
    for (const auto& line : exported.report.lines)
        if (line.kind == ReportLine::Kind::skipped) {
            ++skipped;
            EXPECT_NE(line.what.find("cannot be written in GIFT"), std::string::npos) << line.what;
        }
    EXPECT_EQ(skipped, 2u);
    QuizModel expected = quiz;
    expected.themes[0].questions.erase(expected.themes[0].questions.begin(), expected.themes[0].questions.begin() + 2);
    EXPECT_EQ(question_lines(imported(BankFormat::gift, exported.bytes)), question_lines(expected)) << exported.bytes;
}

TEST(BankImport, EntitiesThatNoTableDefinesAreSaid) {
    const struct {
        BankFormat format;
        std::string bytes;
        const char* said;
    } rows[] = {
        {BankFormat::moodle_xml,
         "<quiz><question type=\"shortanswer\"><questiontext format=\"plain_text\"><text>&eacute;t&eacute; ?</text>"
         "</questiontext><answer fraction=\"100\"><text>oui</text></answer></question></quiz>",
         "an entity that no table defines is kept as written: &eacute;"},
        {BankFormat::moodle_xml,
         "<quiz><question type=\"shortanswer\"><questiontext format=\"html\"><text>&lt;b&gt;&amp;inconnu;&lt;/b&gt; "
         "&amp;foo; ?</text></questiontext><answer fraction=\"100\"><text>oui</text></answer></question></quiz>",
         "entities that no table defines are kept as written: &inconnu;, &foo;"},
        {BankFormat::gift, "[html]Le &nbsp;&bidule; ? {=oui}\n", "kept as written: &bidule;"},
    };
    for (const auto& row : rows) {
        const std::string report = report_text(row.format, row.bytes);
        EXPECT_NE(report.find(row.said), std::string::npos) << report;
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
