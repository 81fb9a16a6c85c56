// Rich text to plain text: the built-in page texts and the palette's one-character
// documents, paragraph and line ends, named characters, Unicode escapes with
// their fallback text, fonts of other character sets, skipped destinations,
// binary data, malformed documents; and the plain texts of a quiz kept once
// converted.
#include "media/rich_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/cp1252.h"
#include "engine/text_templates.h"
#include "questions/palette_characters.h"
#include "res/string_table.h"
#include "support/rich_text_samples.h"

namespace kz {
namespace {

struct Row {
    const char* name;
    std::string rtf;
    std::string plain;
};

void expect_rows(const std::vector<Row>& rows) {
    for (const auto& row : rows) EXPECT_EQ(rich_to_plain(row.rtf), row.plain) << row.name;
}

// A document as the authoring product's control writes it around a body.
std::string document(const std::string& body) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}}"
           "\\viewkind4\\uc1\\pard\\f0\\fs20 " +
           body + "\\par\r\n}";
}

// A document whose font 1 is of the given character set.
std::string in_charset(int charset, const std::string& body) {
    return "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset" + std::to_string(charset) +
           " Other;}}\\f1 " + body + "}";
}

TEST(RichToPlain, PassesTextThatIsNotRichThroughUnchanged) {
    expect_rows({
        {"empty text", "", ""},
        {"a plain answer", "Paris", "Paris"},
        {"accents and line ends", "\xE9t\xE9\r\nhiver\n", "\xE9t\xE9\r\nhiver\n"},
        {"RTF markup in capitals", "{\\RTF1 abc}", "{\\RTF1 abc}"},
        {"a blank before the brace", " {\\rtf1 abc}", " {\\rtf1 abc}"},
        {"no opening brace", "\\rtf1 abc", "\\rtf1 abc"},
        {"a media reference", "$@%0 12", "$@%0 12"},
    });
}

TEST(RichToPlain, GivesTheBuiltInWelcomeTextWithTheQuizName) {
    std::string welcome = load_message(str::welcome_text);
    ASSERT_NE(welcome.find("%s"), std::string::npos);
    welcome.replace(welcome.find("%s"), 2, "G\xE9ographie");
    EXPECT_EQ(rich_to_plain(welcome),
              "Bienvenue !\r"
              "au questionnaire G\xE9ographie\r" +
                  std::string(33, '_') +
                  "\x0B\r"
                  "\r"
                  "Veuillez r\xE9pondre aux questions qui vont suivre et cliquez sur le bouton Suivant pour "
                  "valider vos r\xE9ponses et passer \xE0 la question suivante.\x0B"
                  "Une question peut avoir plusieurs r\xE9ponses.\x0B\x0B"
                  "Attention : une fois la r\xE9ponse valid\xE9"
                  "e, vous ne pourrez plus la changer.\r");
}

TEST(RichToPlain, GivesTheBuiltInEndTextWithItsSymbolBullets) {
    EXPECT_EQ(rich_to_plain(built_in_end_text),
              "Fin de l'examen\r"
              "\r"
              "L'examen est maintenant termin\xE9.\r"
              "\r"
              "\xB7\tCliquez sur le bouton Quitter pour fermer l'examen.\r"
              "\xB7\tCliquez sur le bouton Recommencer pour relancer l'examen avec les m\xEAmes questions.\r"
              "\xB7\tCliquez sur le bouton Page d'accueil pour relancer l'examen avec des options et "
              "questions diff\xE9rentes.\r" +
                  std::string(53, '_') +
                  "\r"
                  "\r"
                  "Voici vos r\xE9sultats :\r"
                  "\r"
                  "\xB7\tR\xE9ponses justes : [JUSTES]\r"
                  "\xB7\tR\xE9ponses fausses : [FAUSSES]\r"
                  "\xB7\tScore : [SCORE]\r"
                  "\r");
}

TEST(RichToPlain, GivesBackTheByteThatThePaletteInsertsInAnyFont) {
    for (const auto& category : palette_categories()) {
        for (const char c : category.characters) {
            char wrapper[160];
            std::snprintf(wrapper, sizeof wrapper, "{\\rtf1{\\fonttbl{\\f0\\froman\\fprq2\\fcharset2 %s;}}\\pard\\f0\\fs20 %c}",
                          std::string(category.font).c_str(), c);
            EXPECT_EQ(rich_to_plain(wrapper), std::string(1, c))
                << category.font << " byte " << static_cast<int>(static_cast<unsigned char>(c));
        }
    }
}

TEST(RichToPlain, EndsParagraphsAndLinesAsTheControlDoes) {
    expect_rows({
        {"paragraphs end with a carriage return", "{\\rtf1 a\\par b\\par c}", "a\rb\rc"},
        {"the last paragraph mark is dropped", "{\\rtf1 a\\par}", "a"},
        {"only one mark is dropped", "{\\rtf1 a\\par\\par}", "a\r"},
        {"an empty paragraph alone", "{\\rtf1\\par}", ""},
        {"formatting after the last mark", "{\\rtf1 a\\par\\pard\\f1\\fs20\r\n}", "a"},
        {"a skipped group after the last mark", "{\\rtf1 a\\par{\\*\\foo x}{\\pict 00}}", "a"},
        {"hidden text after the mark is text", "{\\rtf1 a\\par{\\v x}}", "a\rx"},
        {"a blank after the delimiter is text", "{\\rtf1 a\\par  }", "a\r "},
        {"a line break is VT and is kept at the end", "{\\rtf1 a\\line b\\line}", "a\x0B" "b\x0B"},
        {"page and section breaks end paragraphs", "{\\rtf1 a\\page b\\sect c\\page}", "a\rb\rc"},
        {"tab", "{\\rtf1 a\\tab b}", "a\tb"},
        {"a raw tab is a tab", "{\\rtf1 a\tb}", "a\tb"},
        {"backslash before a line end", "{\\rtf1 a\\\r\nb\\\nc}", "a\rb\rc"},
        {"line ends of the source are not text", "{\\rtf1 a\r\nb\nc\rd}", "abcd"},
        {"table cells and rows", "{\\rtf1\\trowd\\cellx1000\\cellx2000 a\\cell b\\cell\\row c}", "a\tb\t\rc"},
    });
}

TEST(RichToPlain, GivesNamedCharactersTheirWesternBytes) {
    expect_rows({
        {"dashes and quotes", "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}",
         "\x97\x96\x91\x92\x93\x94\x95"},
        {"non-breaking space and hyphen", "{\\rtf1 a\\~b\\_c}", "a\xA0" "b-c"},
        {"optional hyphen is not kept", "{\\rtf1 porte\\-manteau}", "portemanteau"},
        {"escaped braces and backslash", "{\\rtf1 a\\{b\\}c\\\\d}", "a{b}c\\d"},
        {"en and em spaces are blanks", "{\\rtf1 a\\enspace b\\emspace c}", "a b c"},
        {"joiners and direction marks have no Western form", "{\\rtf1 \\zwj\\zwnj\\ltrmark\\rtlmark}", "????"},
        {"unknown control words are ignored", "{\\rtf1 a\\foo b\\bar12 c}", "abc"},
        {"control words are case sensitive", "{\\rtf1 a\\PAR b}", "ab"},
    });
}

TEST(RichToPlain, ReadsUnicodeEscapesWithTheirFallbackText) {
    expect_rows({
        {"one fallback character by default", "{\\rtf1 caf\\u233?}", "caf\xE9"},
        {"no fallback with uc0", "{\\rtf1\\uc0 caf\\u233 s}", "caf\xE9s"},
        {"two fallback characters with uc2", "{\\rtf1\\uc2 a\\u233 xyb}", "a\xE9" "b"},
        {"hexadecimal fallback bytes count one each", "{\\rtf1\\uc2 a\\u233\\'e9\\'e9b}", "a\xE9" "b"},
        {"uc holds within its group only", "{\\rtf1 a{\\uc2 \\u233 xy}\\u233?b}", "a\xE9\xE9" "b"},
        {"a brace ends the fallback", "{\\rtf1\\uc3 a\\u233{b}c}", "a\xE9" "bc"},
        {"a control word ends the fallback", "{\\rtf1\\uc2 a\\u233\\par xyz}", "a\xE9\rxyz"},
        {"escaped braces are fallback characters", "{\\rtf1 a\\u233\\{x}", "a\xE9x"},
        {"a negative count is none", "{\\rtf1\\uc-1 a\\u233?b}", "a\xE9?b"},
        {"a negative value names a unit above 32767", "{\\rtf1 \\u-1?}", "?"},
        {"values wrap around in 32 and then 16 bits", "{\\rtf1 \\u4294967361?\\u65601?}", "AA"},
        {"euro sign", "{\\rtf1 \\u8364?}", "\x80"},
        {"oe ligature", "{\\rtf1 \\u339?uvre}", "\x9Cuvre"},
        {"best fit: Greek alpha", "{\\rtf1 \\u945?}", "a"},
        {"best fit: signs", "{\\rtf1 \\u8804?\\u8805?\\u8734?}", "==8"},
        {"best fit: c with caron", "{\\rtf1 \\u269?}", "c"},
        {"Cyrillic has no Western form", "{\\rtf1 \\u1046?}", "?"},
        {"Chinese has no Western form", "{\\rtf1 \\u20013?}", "?"},
        {"surrogate halves give one mark each", "{\\rtf1 \\u-10179?\\u-8704?}", "??"},
        {"carriage return and line feed end paragraphs", "{\\rtf1 a\\u13?b\\u10?c\\u13?}", "a\rb\rc"},
        {"a zero unit is dropped", "{\\rtf1 a\\u0?b}", "ab"},
    });
}

TEST(RichToPlain, DecodesBytesInTheCodePageOfTheirFont) {
    expect_rows({
        {"Western escapes", "{\\rtf1 \\'e9t\\'E9 \\'80 \\'9c \\'81}", "\xE9t\xE9 \x80 \x9C \x81"},
        {"raw Western bytes", "{\\rtf1 \xE9t\xE9}", "\xE9t\xE9"},
        {"zero, carriage-return and line-feed bytes are dropped", "{\\rtf1 a\\'00b\\'0dc\\'0ad}", "abcd"},
        {"Cyrillic font", in_charset(204, "\\'c6\\'e8 x"), "?? x"},
        {"Central European font", in_charset(238, "\\'e8\\'9a\\'e9"), "c\x9A\xE9"},
        {"Greek font", in_charset(161, "\\'e1\\'e2"), "a\xDF"},
        {"Mac font", in_charset(77, "\\'8e"), "\xE9"},
        {"DOS font of a French system", in_charset(255, "\\'82\\'9b"), "\xE9\xF8"},
        {"default character set is Western", in_charset(1, "\\'e0"), "\xE0"},
        {"unknown character set is Western", in_charset(99, "\\'e0"), "\xE0"},
        {"Japanese pair", in_charset(128, "\\'82\\'a0x"), "?x"},
        {"Japanese single high byte", in_charset(128, "\\'b1"), "?"},
        {"Japanese pair of raw bytes", in_charset(128, "\x82\xA0x"), "?x"},
        {"Japanese lead byte cut by a control word", in_charset(128, "\\'82\\par x"), "?\rx"},
        {"document code page without fonts", "{\\rtf1\\ansi\\ansicpg1251 \\'e0}", "?"},
        {"a font without character set is Western", "{\\rtf1\\ansicpg1251{\\fonttbl{\\f0 A;}}\\f0 \\'e0}", "\xE0"},
        {"an unknown font takes the document code page", "{\\rtf1\\ansicpg1251\\f7 \\'e0}", "?"},
        {"explicit code page of a font", "{\\rtf1{\\fonttbl{\\f0\\fcharset0\\cpg1251 A;}}\\f0 \\'e0}", "?"},
        {"default font applies from the start", "{\\rtf1\\deff1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 B;}}\\'e0}",
         "?"},
        {"plain returns to the default font",
         "{\\rtf1\\deff0{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 B;}}\\f1\\'e0\\plain\\'e0}", "?\xE0"},
        {"a font chosen in a group ends with it",
         "{\\rtf1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 B;}}\\f0{\\f1 \\'e0}\\'e0}", "?\xE0"},
        {"font entries without groups", "{\\rtf1{\\fonttbl\\f0\\fcharset0 A;\\f1\\fcharset204 B;}\\f1\\'e0}", "?"},
        {"symbol font keeps its bytes", in_charset(2, "a\\'b7\\'e5"), "a\xB7\xE5"},
    });
}

TEST(RichToPlain, SkipsDestinationsThatHoldNoText) {
    expect_rows({
        {"tables and document information",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}a}", "a"},
        {"ignorable destinations", "{\\rtf1 a{\\*\\generator Riched20 5.50;}{\\*\\inconnu x{y}}b}", "ab"},
        {"an ignorable known word is read", "{\\rtf1 a{\\*\\par x}c}", "a\rxc"},
        {"ignorable marker before text", "{\\rtf1 a{\\* x}c}", "ac"},
        {"ignorable marker inside a group", "{\\rtf1 a{x\\*\\foo y}c}", "axc"},
        {"an unknown destination without marker keeps its text", "{\\rtf1 a{\\foo bar}b}", "abarb"},
        {"picture data", "{\\rtf1 a{\\pict\\wmetafile8\\picw10 0102ab{\\*\\blipuid 00}cdef}b}", "ab"},
        {"headers, footers and footnotes", "{\\rtf1 a{\\header H}{\\footerl F}{\\footnote N}b}", "ab"},
        {"field result without its instruction", "{\\rtf1 a{\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}{\\fldrslt{lien}}}b}",
         "alienb"},
        {"object result without its data", "{\\rtf1 a{\\object\\objemb{\\*\\objclass P}{\\*\\objdata 01}{\\result R}}b}", "aRb"},
        {"bullet text of the control is not text", "{\\rtf1{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}item}", "item"},
        {"list text of a word processor is text", "{\\rtf1{\\listtext\\pard 1.\\tab}item}", "1.\titem"},
        {"shape picture", "{\\rtf1 a{\\*\\shppict{\\pict 0102}}{\\nonshppict{\\pict 0304}}b}", "ab"},
        {"escaped brace inside a skipped group", "{\\rtf1 a{\\*\\foo \\} \\'7d}b}", "ab"},
    });
}

TEST(RichToPlain, ReadsBinaryDataOnlyInsideDestinations) {
    expect_rows({
        {"braces inside a picture's binary data", std::string("{\\rtf1 a{\\pict\\bin4 }{\\x}b}"), "ab"},
        {"binary count beyond the end", "{\\rtf1 a{\\pict\\bin999999999 xyz}b}", "a"},
        {"negative binary count", "{\\rtf1 a{\\pict\\bin-5 xyz}b}", "ab"},
        {"binary data in the body is read as text", "{\\rtf1 a\\bin3 xyzb}", "axyzb"},
    });
}

TEST(RichToPlain, ReadsMalformedDocumentsWithoutLosingTheRest) {
    expect_rows({
        {"missing closing brace", "{\\rtf1 abc\\par def", "abc\rdef"},
        {"missing closing brace after a mark", "{\\rtf1 abc{\\par", "abc"},
        {"reading ends with the document's group", "{\\rtf1 abc}}def", "abc"},
        {"a second document is not read", "{\\rtf1 abc}{\\rtf1 def}", "abc"},
        {"escape without digits", "{\\rtf1 a\\'zzb}", "azzb"},
        {"escape with one digit", "{\\rtf1 a\\'eg b}", "ag b"},
        {"escape cut by a brace", "{\\rtf1 a{\\'e}b}", "ab"},
        {"escape at the end", "{\\rtf1 a\\'", "a"},
        {"backslash at the end", "{\\rtf1 a\\", "a"},
        {"Unicode escape without value", "{\\rtf1 a\\u", "a"},
        {"enormous parameters", "{\\rtf1 a\\fs99999999999999999999999 b\\uc99999999999 c}", "abc"},
        {"zero bytes in the document", std::string("{\\rtf1 a\0b}", 11), "ab"},
        {"unclosed skipped group", "{\\rtf1 a{\\*\\foo {x}b", "a"},
        {"long control word", "{\\rtf1 a\\" + std::string(5000, 'p') + " b}", "ab"},
        {"nesting within the limit", "{\\rtf1 " + std::string(500, '{') + "x" + std::string(500, '}') + "y}", "xy"},
        {"nesting beyond the limit is skipped", "{\\rtf1 " + std::string(5000, '{') + "x" + std::string(5000, '}') + "y}", "y"},
        {"only opening braces", std::string("{\\rtf1 a") + std::string(1000000, '{'), "a"},
    });
}

// Any Windows-1252 text (without zero bytes and line ends, which the control
// does not keep) written as the control writes it comes back whole, whether
// its high bytes are written raw or escaped.
TEST(RichToPlain, GivesBackAnyWesternTextWrittenAsRichText) {
    std::mt19937 random(12);
    for (int round = 0; round < 500; ++round) {
        std::string text;
        std::string raw = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0\\fs20 ";
        std::string escaped = raw;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            const auto c = static_cast<unsigned char>(random() % 256);
            if (c == 0 || c == '\r' || c == '\n') continue;
            text += static_cast<char>(c);
            const bool special = c == '\\' || c == '{' || c == '}';
            raw += special ? std::string{'\\', static_cast<char>(c)} : std::string(1, static_cast<char>(c));
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\'%02x", c);
            escaped += c >= 0x80 || special ? std::string(hex) : std::string(1, static_cast<char>(c));
        }
        EXPECT_EQ(rich_to_plain(raw + "\\par}"), text) << raw;
        EXPECT_EQ(rich_to_plain(escaped + "\\par}"), text) << escaped;
    }
}

TEST(RichToPlain, WritesNoMoreThanTheDocumentHoldsOnRandomFragments) {
    static const char* fragments[] = {"{", "}", "\\par ", "\\u233", "\\uc2 ", "\\'e9", "\\'", "\\*", "\\bin3 ", "\\pict ",
                                      "\\f1 ", "{\\fonttbl{\\f1\\fcharset128 J;}}", "\\fcharset2 ", "a", " ", "\x82",
                                      "\\", "\\~", "\\line", "\\u-1", "\\ansicpg1251 ", "\t", "\r\n", "\\fldrslt "};
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string rtf = "{\\rtf1 ";
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) rtf += fragments[random() % std::size(fragments)];
        EXPECT_LE(rich_to_plain(rtf).size(), rtf.size()) << rtf;
    }
}

// Runs written as "plain<b>bold</b><i>italic</i>", characters in UTF-8.
std::string runs_text(const std::vector<StyledRun>& runs) {
    std::string out;
    for (const auto& run : runs) {
        std::string utf8;
        for (std::size_t i = 0; i < run.text.size(); ++i) {
            char32_t cp = run.text[i];
            if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < run.text.size())
                cp = 0x10000 + ((cp - 0xD800) << 10) + (run.text[++i] - 0xDC00);
            std::string one;
            if (cp < 0x80) {
                one = std::string(1, static_cast<char>(cp));
            } else if (cp < 0x800) {
                one = {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
            } else if (cp < 0x10000) {
                one = {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                       static_cast<char>(0x80 | (cp & 0x3F))};
            } else {
                one = {static_cast<char>(0xF0 | (cp >> 18)), static_cast<char>(0x80 | ((cp >> 12) & 0x3F)),
                       static_cast<char>(0x80 | ((cp >> 6) & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
            }
            utf8 += one;
        }
        out += (run.bold ? "<b>" : "") + std::string(run.italic ? "<i>" : "") + utf8 +
               (run.italic ? "</i>" : "") + (run.bold ? "</b>" : "");
    }
    return out;
}

TEST(RichToRuns, KeepsTheCharactersTheCodePageLacksWithTheirBoldAndItalic) {
    const struct {
        const char* name;
        std::string rtf;
        const char* runs;
    } rows[] = {
        {"plain text is one run", "caf\xE9 \x80", "caf\u00E9 \u20AC"},
        {"Unicode escapes keep their character", "{\\rtf1 \\u1052?\\u1086? \\u945?}", "\u041C\u043E \u03B1"},
        {"surrogate pairs", "{\\rtf1 ok \\u-10179?\\u-8704?}", "ok \U0001F600"},
        {"bold and italic, switched on and off", "{\\rtf1 a \\b b\\i c\\b0 d\\i0 e}", "a <b>b</b><b><i>c</i></b><i>d</i>e"},
        {"a group's style ends with it", "{\\rtf1 a{\\b b}c}", "a<b>b</b>c"},
        {"plain ends bold and italic", "{\\rtf1\\b\\i a\\plain b}", "<b><i>a</i></b>b"},
        {"bytes of a Cyrillic font", in_charset(204, "\\'c6"), "\u0416"},
        {"the last paragraph mark is dropped as in the plain text", "{\\rtf1 a\\par b\\par}", "a\rb"},
        {"a line break is a vertical tab", "{\\rtf1 a\\line b}", "a\vb"},
    };
    for (const auto& row : rows) EXPECT_EQ(runs_text(rich_to_runs(row.rtf)), row.runs) << row.name;
}

TEST(RichToRuns, HoldTheCharactersOfThePlainTextOneForOne) {
    static const char* fragments[] = {"{", "}", "\\par ", "\\u233", "\\u1046?", "\\u-10179?", "\\uc2 ", "\\'e9",
                                      "\\b ", "\\b0 ", "\\i ", "\\i0 ", "\\plain ", "\\*", "\\pict ",
                                      "{\\fonttbl{\\f1\\fcharset204 C;}}", "\\f1 ", "a", " ", "\x82", "\\line", "\t"};
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::string rtf = "{\\rtf1 ";
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) rtf += fragments[random() % std::size(fragments)];
        const std::string plain = rich_to_plain(rtf);
        std::u16string units;
        for (const auto& run : rich_to_runs(rtf)) units += run.text;
        ASSERT_EQ(units.size(), plain.size()) << rtf;
        for (std::size_t i = 0; i < units.size(); ++i) {
            if (const auto byte = unicode_to_cp1252(units[i])) {
                EXPECT_EQ(static_cast<char>(*byte), plain[i]) << rtf;
            }
        }
    }
}

QuizModel two_question_model() {
    QuizModel model;
    model.themes.resize(2);
    model.themes[1].questions.resize(2);
    auto& q = model.themes[1].questions[1];
    q.question = document("Capitale de la France ?");
    q.answer = document("Paris");
    q.first_wrong = document("Lyon");
    q.second_wrong = "Marseille";
    q.comment = document("Depuis \\'e9t\\'e9 987.");
    return model;
}

TEST(PlainTexts, GivesThePlainFormOfEachTextOfAQuestion) {
    const QuizModel model = two_question_model();
    const PlainTexts plain(model);
    EXPECT_EQ(plain.of(1, 1, QuestionText::question), "Capitale de la France ?");
    EXPECT_EQ(plain.of(1, 1, QuestionText::answer), "Paris");
    EXPECT_EQ(plain.of(1, 1, QuestionText::first_wrong), "Lyon");
    EXPECT_EQ(plain.of(1, 1, QuestionText::second_wrong), "Marseille");
    EXPECT_EQ(plain.of(1, 1, QuestionText::comment), "Depuis \xE9t\xE9 987.");
    EXPECT_EQ(plain.of(1, 0, QuestionText::answer), "");
}

TEST(PlainTexts, ConvertsEachTextOnceAndKeepsIt) {
    QuizModel model = two_question_model();
    const PlainTexts plain(model);
    const std::string& first = plain.of(1, 1, QuestionText::answer);
    model.themes[1].questions[1].answer = document("Lyon");
    const std::string& again = plain.of(1, 1, QuestionText::answer);
    EXPECT_EQ(&first, &again);
    EXPECT_EQ(again, "Paris");
    // A text not asked for before is converted when first asked for.
    model.themes[1].questions[1].question = document("Autre");
    EXPECT_EQ(plain.of(1, 1, QuestionText::question), "Autre");
}

TEST(PlainTextIsEmpty, AgreesWithThePlainTextOnKnownAndRandomDocuments) {
    for (const auto& text : test::known_rich_texts())
        EXPECT_EQ(plain_text_is_empty(text), rich_to_plain(text).empty()) << text;
    std::mt19937 random(5);
    int empty = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string text = test::random_rich_text(random, 12);
        const bool expected = rich_to_plain(text).empty();
        empty += expected ? 1 : 0;
        ASSERT_EQ(plain_text_is_empty(text), expected) << text;
    }
    EXPECT_GT(empty, 2000) << "the random documents must give both answers";
    EXPECT_LT(empty, 18000) << "the random documents must give both answers";
}

TEST(PlainTexts, TellsWhetherATextIsEmptyBeforeAndAfterConvertingIt) {
    const struct {
        const char* name;
        std::string stored;
        bool empty;
    } rows[] = {
        {"no text", "", true},
        {"a plain answer", "Paris", false},
        {"only formatting and the last mark", document(""), true},
        {"an empty paragraph before the last mark", "{\\rtf1\\par\\par}", false},
        {"only a skipped destination", "{\\rtf1{\\*\\foo x}{\\pict 01}}", true},
        {"a media reference", "$@%0 12", false},
    };
    QuizModel model;
    model.themes.resize(1);
    for (const auto& row : rows) model.themes[0].questions.push_back({row.stored, row.stored, "", "", ""});
    const PlainTexts plain(model);
    for (std::size_t q = 0; q < std::size(rows); ++q) {
        EXPECT_EQ(plain.is_empty(0, q, QuestionText::question), rows[q].empty) << rows[q].name;
        EXPECT_EQ(plain.of(0, q, QuestionText::answer).empty(), rows[q].empty) << rows[q].name;
        EXPECT_EQ(plain.is_empty(0, q, QuestionText::answer), rows[q].empty) << rows[q].name;
    }
    EXPECT_TRUE(plain.is_empty(1, 0, QuestionText::question));
    EXPECT_TRUE(plain.is_empty(0, std::size(rows), QuestionText::question));
}

// The texts of a quiz repeat their header, which PlainTexts reads once: texts
// that begin with the same header, or with one that differs in a byte, one
// group more or less, in fonts, code page or state of the document's group,
// and go on with anything, convert as each does alone.
TEST(PlainTexts, ConvertTextsThatShareTheirHeaderAsEachAlone) {
    static const char* const headers[] = {
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset128 J;}}"
        "{\\colortbl ;\\red0\\green0\\blue128;}",
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset128 J;}}"
        "{\\colortbl ;\\red0\\green0\\blue128;}",
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset128 J;}}",
        "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 B;}}",
        "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 B;}}{\\*\\generator x;}",
        "{\\rtf1\\uc2\\b{\\fonttbl{\\f0\\fcharset2 Symbol;}}",
        "{\\rtf1{\\pict\\bin3 }}}",
        "{\\rtf1\\ansicpg1251{\\*\\generator x;}",
        "{\\rtf1 {}",
        "{\\rtf1 a{}",
    };
    std::mt19937 random(17);
    QuizModel model;
    model.themes.resize(1);
    for (int i = 0; i < 4000; ++i) {
        const auto body = [&] { return test::random_rich_text(random, 10).substr(7); };
        const std::string header = headers[random() % std::size(headers)];
        model.themes[0].questions.push_back({header + body(), header + body(), "", "", ""});
    }
    const PlainTexts plain(model);
    for (std::size_t q = 0; q < model.themes[0].questions.size(); ++q) {
        const QuestionEntry& entry = model.themes[0].questions[q];
        ASSERT_EQ(plain.of(0, q, QuestionText::question), rich_to_plain(entry.question)) << entry.question;
        ASSERT_EQ(plain.is_empty(0, q, QuestionText::answer), rich_to_plain(entry.answer).empty()) << entry.answer;
    }
}

TEST(PlainTexts, GivesAnEmptyTextForAQuestionThatDoesNotExist) {
    const QuizModel model = two_question_model();
    const PlainTexts plain(model);
    EXPECT_EQ(plain.of(2, 0, QuestionText::question), "");
    EXPECT_EQ(plain.of(0, 0, QuestionText::question), "");
    EXPECT_EQ(plain.of(1, 2, QuestionText::answer), "");
    EXPECT_EQ(plain.of(1, 1, static_cast<QuestionText>(9)), "");
}

}  // namespace
}  // namespace kz

namespace kz {
namespace {

// A character typed into a page's field reads as the runner's field reads it.
TEST(NarrowTypedCharacter, GivesTheByteTheBestFitOrAQuestionMarkPerHalf) {
    const std::pair<char32_t, std::string> rows[] = {
        {U'a', "a"}, {U'\u00E9', "\xE9"}, {U'\u20AC', "\x80"}, {U'\u03B1', "a"},
        {U'\u2264', "="}, {U'\u4E2D', "?"}, {U'\U0001F600', "??"},
    };
    for (const auto& [typed, read] : rows) EXPECT_EQ(narrow_typed_character(typed), read) << static_cast<std::uint32_t>(typed);
}

}  // namespace
}  // namespace kz
