// Rich text to HTML for a page: the text it shows is the plain text, hostile
// documents give nothing but the allowed markup, and the formatting of small
// documents comes out as written.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "media/rich_text.h"
#include "shared/rich_html_check.h"
#include "support/rich_text_samples.h"

namespace kz {
namespace {

// The fragment keeps to the rules and shows what the text holds.
void expect_shows_its_text(const std::string& text) {
    const std::string html = rich_to_html(text);
    const PageFragment fragment = read_page_fragment(html);
    ASSERT_EQ(fragment.error, "") << text << "\n" << html;
    const std::string expected = text_a_fragment_shows(text);
    EXPECT_EQ(narrowed_as_plain_text(fragment, expected), expected) << text << "\n" << html;
}

TEST(RichToHtml, ShowsThePlainTextOfEveryKnownAndRandomDocument) {
    for (const auto& text : test::known_rich_texts()) expect_shows_its_text(text);
    std::mt19937 random(23);
    for (int round = 0; round < 3000; ++round) expect_shows_its_text(test::random_rich_text(random));
}

TEST(RichToHtml, ShowsATextThatIsNotRichLineByLine) {
    const std::string texts[] = {"",     "Paris",  "a\r\nb\rc\nd", "a\r\n", "a\n\n", "\r\n",
                                 "\n\r", "x\r\n\r\ny", "caf\xE9 \x80 \x81 \x9F <&>\"", std::string("a\0b\vc\td", 7)};
    for (const auto& text : texts) expect_shows_its_text(text);
}

TEST(RichToHtml, WritesOnlyTheAllowedMarkupWhateverTheDocumentHolds) {
    const struct {
        const char* name;
        std::string rtf;
        const char* never_written;
    } rows[] = {
        {"unknown control words", "{\\rtf1 \\onclick1 \\script a\\href{\\style x}}", "onclick"},
        {"a link to a script", "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"javascript:alert(1)\"}{\\fldrslt x}}}", "javascript"},
        {"a font named as markup", "{\\rtf1{\\fonttbl{\\f0\\fswiss <script>alert(1)</script>;}}\\f0 a}", "script"},
        {"a font named with quotes", "{\\rtf1{\\fonttbl{\\f0 Arial\" onload=\"x;}}\\f0 a}", "onload"},
        {"text that looks like markup", "{\\rtf1 <p style=\"x\">\\'3cb\\'3e&amp;</p>}", "<b>"},
        {"huge colour numbers", "{\\rtf1{\\colortbl;\\red99999999999\\green-5\\blue300;}\\cf1 a\\cf99999999 b\\cf-1 c}", "99999"},
        {"a colour table without end", "{\\rtf1{\\colortbl;\\red1;\\red2" + std::string(5000, ';') + "}\\cf4000 a}", "red"},
        {"enormous sizes and indents", "{\\rtf1\\fs99999999999\\li-99999999\\fi99999999\\ri2147483647 a\\fs-3 b\\up99 c}", "99999"},
        {"deep nesting", "{\\rtf1 " + std::string(3000, '{') + "\\b x" + std::string(3000, '}') + "y}", "<b"},
        {"a symbol font", "{\\rtf1{\\fonttbl{\\f0\\fcharset2\\fnil Wingdings;}}\\f0 \\'e0\\'4a}", "Wingdings"},
        {"characters HTML would read otherwise", "{\\rtf1 \\u128?\\u130?\\u0?\\u-10179?x\\u-8704?\\u65535?}", "&#128;"},
    };
    for (const auto& row : rows) {
        const std::string html = rich_to_html(row.rtf);
        const PageFragment fragment = read_page_fragment(html);
        EXPECT_EQ(fragment.error, "") << row.name << "\n" << html;
        EXPECT_EQ(html.find(row.never_written), std::string::npos) << row.name << "\n" << html;
        EXPECT_EQ(narrowed_as_plain_text(fragment, rich_to_plain(row.rtf)), rich_to_plain(row.rtf)) << row.name;
    }
    std::mt19937 random(29);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 200, '\0');
        for (char& byte : bytes) byte = static_cast<char>(random());
        for (const std::string& text : {bytes, "{\\rtf1 " + bytes}) {
            const PageFragment fragment = read_page_fragment(rich_to_html(text));
            ASSERT_EQ(fragment.error, "") << ::testing::PrintToString(text);
            const std::string expected = text_a_fragment_shows(text);
            ASSERT_EQ(narrowed_as_plain_text(fragment, expected), expected) << ::testing::PrintToString(text);
        }
    }
}

// A document as the authoring product's control writes it around a body.
std::string document(const std::string& body) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 "
           "Times New Roman;}{\\f2\\fmodern Lucida Sans Typewriter;}{\\f3\\fcharset2 Wingdings;}{\\f4\\fnil Zapf;}}"
           "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;\\red255\\green255\\blue0;}"
           "\\viewkind4\\uc1\\pard\\f0\\fs20 " +
           body + "\\par\r\n}";
}

constexpr const char* arial_10 = "font-family:Arial, Helvetica, sans-serif;font-size:10pt";

std::string span(const std::string& style, const std::string& text) {
    return "<span style=\"" + style + "\">" + text + "</span>";
}

TEST(RichToHtml, WritesTheFormattingOfSmallDocuments) {
    const std::string a10 = arial_10;
    const struct {
        const char* name;
        std::string rtf;
        std::string html;
    } rows[] = {
        {"a centred bold red title in 14 points", document("\\qc\\b\\cf1\\fs28 Titre\\par\\pard\\b0\\cf0\\fs20 Texte"),
         "<p style=\"text-align:center\">" +
             span("font-family:Arial, Helvetica, sans-serif;font-size:14pt;font-weight:bold;color:#ff0000", "Titre") +
             "</p><p>" + span(a10, "Texte") + "</p>"},
        {"italic, underline kinds and strike-out, each ended",
         document("{\\i a}{\\uldb b\\ul0 c}{\\ulwave d\\ulnone e}{\\strike f}\\strike\\ul g"),
         "<p>" + span(a10 + ";font-style:italic", "a") + span(a10 + ";text-decoration:underline", "b") +
             span(a10, "c") + span(a10 + ";text-decoration:underline", "d") + span(a10, "e") +
             span(a10 + ";text-decoration:line-through", "f") +
             span(a10 + ";text-decoration:underline line-through", "g") + "</p>"},
        {"raised and lowered characters are smaller",
         document("m{\\super 2}H{\\sub 2}O{\\up6 x\\up0 y}{\\dn4 z}\\super\\nosupersub w"),
         "<p>" + span(a10, "m") +
             span("font-family:Arial, Helvetica, sans-serif;font-size:6.66pt;vertical-align:super", "2") +
             span(a10, "H") +
             span("font-family:Arial, Helvetica, sans-serif;font-size:6.66pt;vertical-align:sub", "2") +
             span(a10, "O") +
             span("font-family:Arial, Helvetica, sans-serif;font-size:6.66pt;vertical-align:super", "x") +
             span(a10, "y") +
             span("font-family:Arial, Helvetica, sans-serif;font-size:6.66pt;vertical-align:sub", "z") +
             span(a10, "w") + "</p>"},
        {"colours, highlight over background, the automatic colour",
         document("\\cf2 a\\cf0 b\\cb3 c\\highlight1 d\\highlight0 e\\cb0\\cf9 f"),
         "<p>" + span(a10 + ";color:#000080", "a") + span(a10, "b") + span(a10 + ";background-color:#ffff00", "c") +
             span(a10 + ";background-color:#ff0000", "d") + span(a10 + ";background-color:#ffff00", "e") +
             span(a10, "f") + "</p>"},
        // The symbol set's bytes show as the signs the Symbol font draws: "c"
        // is the Greek chi, 0xB7 the bullet.
        {"fonts by name, by family class, of the symbol set, unknown",
         document("\\f1 a\\f2 b\\f3 c\\'b7\\f4 d\\f7 e\\plain f"),
         "<p>" + span("font-family:'Times New Roman', Times, serif;font-size:10pt", "a") +
             span("font-family:'Courier New', Courier, monospace;font-size:10pt", "b") +
             span("font-family:Symbol;font-size:10pt", "&#967;&#8226;") + span("font-size:10pt", "de") +
             span("font-family:Arial, Helvetica, sans-serif", "f") + "</p>"},
        {"sizes kept between 4 and 144 points; \\fs alone is 12 points", document("\\fs1 a\\fs9999 b\\fs c\\fs17 d"),
         "<p>" + span("font-family:Arial, Helvetica, sans-serif;font-size:4pt", "a") +
             span("font-family:Arial, Helvetica, sans-serif;font-size:144pt", "b") +
             span("font-family:Arial, Helvetica, sans-serif;font-size:12pt", "c") +
             span("font-family:Arial, Helvetica, sans-serif;font-size:8.5pt", "d") + "</p>"},
        {"alignment and indents in points, kept to the paragraph's end, reset by \\pard",
         "{\\rtf1\\qr a\\par\\qj\\li720\\ri283\\fi-360 b\\par\\pard\\li-50 c\\par{\\qc d\\par}e}",
         "<p style=\"text-align:right\">a</p>"
         "<p style=\"text-align:justify;margin-left:36pt;margin-right:14.15pt;text-indent:-18pt\">b</p>"
         "<p>c</p><p style=\"text-align:center\">d</p><p>e</p>"},
        {"empty paragraphs and line breaks keep their lines", "{\\rtf1 \\par a\\line\\par b\\line c\\par\\par}",
         "<p><br></p><p>a<br><br></p><p>b<br>c</p><p><br></p>"},
        {"the last paragraph mark ends the last paragraph", "{\\rtf1 a\\par}", "<p>a</p>"},
        {"an empty document shows nothing", "{\\rtf1\\pard\\fs20}", ""},
        {"characters escaped, beyond ASCII as references", "{\\rtf1 <a href=\"x\">&\\tab\\u233?\\u8364?\\u-10179?\\u-8704?}",
         "<p>&lt;a href=&quot;x&quot;&gt;&amp;\t&#233;&#8364;&#128512;</p>"},
        {"a lone half of a pair and a C1 control as U+FFFD", "{\\rtf1 \\u-10179?a\\u128?}", "<p>&#65533;a&#65533;</p>"},
        {"a plain text in 11-point black Arial, line by line", "Paris\r\n\r\nLyon\n",
         "<p>" + span("font-family:Arial, Helvetica, sans-serif;font-size:11pt;color:#000000", "Paris") +
             "</p><p><br></p><p>" +
             span("font-family:Arial, Helvetica, sans-serif;font-size:11pt;color:#000000", "Lyon") + "</p>"},
    };
    for (const auto& row : rows) EXPECT_EQ(rich_to_html(row.rtf), row.html) << row.name;
}

// The words that the reader learnt for the page's formatting change nothing
// of the plain text: after \* a word that only the formatting reads still
// makes its group skipped, as it did when the reader did not know it.
TEST(RichToPlain, KeepsItsTextWhereTheWordsOfThePageFormattingAre) {
    const struct {
        const char* name;
        const char* rtf;
        const char* plain;
    } rows[] = {
        {"a word only the formatting reads, after \\*", "{\\rtf1 a{\\*\\super x}b{\\*\\ulwave y}c}", "abc"},
        {"a word known before, after \\*", "{\\rtf1 a{\\*\\cf1 x}b}", "axb"},
        {"formatting words in the text", "{\\rtf1{\\fonttbl{\\f0\\fmodern C;}}a\\super b\\dn3 c\\uldb d\\strikedl e}", "abcde"},
        {"the colour table holds no text", "{\\rtf1{\\colortbl;\\red1 x;y}a}", "a"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(rich_to_plain(row.rtf), row.plain) << row.name;
        expect_shows_its_text(row.rtf);
    }
}

}  // namespace
}  // namespace kz
