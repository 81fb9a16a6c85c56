// The portable rich-to-plain converter against the rich-edit control itself:
// for every document of a corpus, the text that the control holds once the
// document is set into it (read back through its ANSI interface) and the
// converter's output must be the same bytes.
#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "engine/text_templates.h"
#include "media/rich_text.h"
#include "res/string_table.h"
#include "shared/rich_text_corpus.h"

namespace kz::e2e {
namespace {

class RichEditLibrary {
public:
    RichEditLibrary() : module_(LoadLibraryW(L"RICHED20.DLL")) {}
    ~RichEditLibrary() {
        if (module_) FreeLibrary(module_);
    }
    explicit operator bool() const { return module_ != nullptr; }

private:
    HMODULE module_;
};

// A hidden rich-edit control of either class.
class RichEdit {
public:
    explicit RichEdit(const wchar_t* class_name)
        : window_(CreateWindowExW(0, class_name, L"", WS_POPUP | ES_MULTILINE, 0, 0, 400, 300, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr)) {
        SendMessageW(window_, EM_EXLIMITTEXT, 0, 1 << 24);
    }
    ~RichEdit() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_;
};

// What the control holds for the document: window text set through the ANSI
// interface, the whole range read back through it.
std::string control_plain_text(HWND ansi_control, const std::string& document) {
    SetWindowTextA(ansi_control, document.c_str());
    const LRESULT length = SendMessageA(ansi_control, WM_GETTEXTLENGTH, 0, 0);
    std::string buffer(static_cast<std::size_t>(length) * 2 + 16, '\0');
    TEXTRANGEA range = {{0, -1}, buffer.data()};
    const LRESULT copied = SendMessageA(ansi_control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    buffer.resize(static_cast<std::size_t>(copied));
    return buffer;
}

DWORD CALLBACK collect_rtf(DWORD_PTR cookie, LPBYTE bytes, LONG count, LONG* done) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(bytes), count);
    *done = count;
    return 0;
}

// A document as the rich-edit control writes it: runs of text in various
// fonts, sizes, colours and effects, paragraphs, tabs, line breaks, bullets,
// accented and other Unicode characters, streamed out as RTF.
std::string generated_document(HWND wide_control, std::mt19937& random) {
    SetWindowTextW(wide_control, L"");
    static const wchar_t* faces[] = {L"Arial", L"Times New Roman", L"Courier New", L"Symbol", L"Tahoma"};
    static const std::wstring pieces[] = {
        L"Paris", L"la tour Eiffel", L"\u00E9t\u00E9", L"No\u00EBl", L"\u0152uvre", L"\u20AC 12",
        L"c'est-\u00E0-dire", L"aujourd'hui", L"\u00AB guillemets \u00BB", L"\u2014", L"\u2013",
        L"\u2018a\u2019", L"\u201Cb\u201D", L"\u2022", L"\u03B1\u03B2\u03B3", L"\u0416\u0438\u0432",
        L"\u4E2D\u6587", L"x\ty", L"{accolades}", L"back\\slash", L"Stra\u00DFe",
        L"\u00A0ins\u00E9cable", L"1+1=2", L" ", L"S\u00F8ren", L"\u00FF\u0178",
    };
    const int runs = 1 + static_cast<int>(random() % 8);
    for (int r = 0; r < runs; ++r) {
        CHARFORMAT2W format = {};
        format.cbSize = sizeof format;
        format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_COLOR;
        wcscpy(format.szFaceName, faces[random() % std::size(faces)]);
        format.yHeight = 160 + 20 * static_cast<LONG>(random() % 20);
        format.dwEffects = (random() % 2 ? CFE_BOLD : 0) | (random() % 3 == 0 ? CFE_ITALIC : 0) |
                           (random() % 4 == 0 ? CFE_UNDERLINE : 0);
        format.crTextColor = RGB(random() % 256, random() % 256, random() % 256);
        SendMessageW(wide_control, EM_SETSEL, -1, -1);
        SendMessageW(wide_control, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        if (random() % 5 == 0) {
            PARAFORMAT2 paragraph = {};
            paragraph.cbSize = sizeof paragraph;
            paragraph.dwMask = PFM_NUMBERING | PFM_ALIGNMENT;
            paragraph.wNumbering = random() % 2 ? PFN_BULLET : 0;
            paragraph.wAlignment = static_cast<WORD>(1 + random() % 3);
            SendMessageW(wide_control, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
        }
        std::wstring text = pieces[random() % std::size(pieces)];
        if (random() % 3 == 0) text += L"\r";
        SendMessageW(wide_control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    std::string rtf;
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&rtf), 0, collect_rtf};
    SendMessageW(wide_control, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return rtf;
}

TEST(RichTextDifferential, ConverterGivesTheControlsOwnText) {
    ASSERT_EQ(GetACP(), 1252u) << "the control's ANSI interface must use Windows-1252 here";
    RichEditLibrary library;
    ASSERT_TRUE(library) << "RICHED20.DLL";
    RichEdit ansi(L"RichEdit20A");
    RichEdit wide(L"RichEdit20W");
    ASSERT_NE(ansi.get(), nullptr);
    ASSERT_NE(wide.get(), nullptr);

    std::vector<std::string> corpus = hand_written_rich_texts();
    std::mt19937 random(20261207);
    for (int i = 0; i < 400; ++i) corpus.push_back(generated_document(wide.get(), random));

    int identical = 0;
    int shown = 0;
    for (std::size_t i = 0; i < corpus.size(); ++i) {
        const std::string expected = control_plain_text(ansi.get(), corpus[i]);
        const std::string actual = rich_to_plain(corpus[i]);
        if (actual == expected) {
            ++identical;
        } else if (shown++ < 25) {
            ADD_FAILURE() << "document " << i << ":\n" << corpus[i] << "\ncontrol:   " << ::testing::PrintToString(expected)
                          << "\nconverter: " << ::testing::PrintToString(actual);
        }
    }
    std::printf("rich-text corpus: %zu documents, %d identical\n", corpus.size(), identical);
    EXPECT_EQ(identical, static_cast<int>(corpus.size()));
}

// Where Wine's built-in control is known to differ from the rich-edit control
// that the runner meets on Windows, the converter follows Windows. Each
// difference stays pinned here, so that a change on either side is seen.
TEST(RichTextDifferential, KnownDifferencesOfWinesControlStayAsTheyAre) {
    std::string welcome = load_message(103);
    welcome.replace(welcome.find("%s"), 2, "G\xE9ographie");
    struct Case {
        const char* what;
        std::string document;
        std::string wine_control;
        std::string converter;
    };
    const Case cases[] = {
        {"a manual line break is VT on Windows, a blank on Wine",
         "{\\rtf1\\ansi a\\line b}", "a b", "a\vb"},
        {"the built-in welcome text holds line breaks", welcome, "", ""},
        {"the built-in end text has Symbol bullets", std::string(built_in_end_text), "", ""},
        {"text in a symbol font keeps its bytes (the answer box reads them back so)",
         "{\\rtf1{\\fonttbl{\\f0\\froman\\fprq2\\fcharset2 Symbol;}}\\pard\\f0\\fs20 \xB1" "a}", "??", "\xB1" "a"},
        {"a field shows its result on Windows, nothing on Wine",
         "{\\rtf1\\ansi {\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt lien}} fin}", " fin", "lien fin"},
        {"table cells and rows are tab and paragraph on Windows, nothing on Wine",
         "{\\rtf1\\ansi a\\cell b\\row c}", "abc", "a\tb\rc"},
    };
    RichEditLibrary library;
    RichEdit ansi(L"RichEdit20A");
    for (const auto& c : cases) {
        const std::string control = control_plain_text(ansi.get(), c.document);
        const std::string converted = rich_to_plain(c.document);
        if (c.wine_control.empty()) {
            // Once line breaks and the Symbol bullet (the only symbol-font
            // character of the built-in texts) are read alike, the two
            // texts are the same.
            std::string as_wine_reads_it = converted;
            for (char& ch : as_wine_reads_it) {
                if (ch == '\v') ch = ' ';
                if (ch == '\xB7') ch = '?';
            }
            EXPECT_EQ(as_wine_reads_it, control) << c.what;
            EXPECT_NE(as_wine_reads_it, converted) << c.what << ": no difference left to pin";
        } else {
            EXPECT_EQ(control, c.wine_control) << c.what;
            EXPECT_EQ(converted, c.converter) << c.what;
        }
    }
}

}  // namespace
}  // namespace kz::e2e
