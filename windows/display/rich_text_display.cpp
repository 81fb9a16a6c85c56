#include "display/rich_text_display.h"

#include <richedit.h>

#include <algorithm>
#include <string>

#include "win32/rich_edit_stream.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

constexpr std::string_view rtf_start = "{\\rtf";
constexpr std::string_view symbol_face_name = "Symbol";

// The runner's format for plain texts: 11-point black Arial, no effect, and
// left-aligned paragraphs without indents or bullets, so that nothing of a
// rich text shown earlier carries over.
void apply_plain_format(HWND control) {
    CHARFORMAT2W character = {};
    character.cbSize = sizeof character;
    character.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
                       CFM_STRIKEOUT | CFM_OUTLINE | CFM_SUBSCRIPT | CFM_SUPERSCRIPT | CFM_BACKCOLOR;
    character.dwEffects = CFE_AUTOBACKCOLOR;
    character.yHeight = 220;  // twips
    character.crTextColor = RGB(0, 0, 0);
    character.bCharSet = ANSI_CHARSET;
    wcscpy_s(character.szFaceName, L"Arial");
    SendMessageW(control, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&character));

    PARAFORMAT2 paragraph = {};
    paragraph.cbSize = sizeof paragraph;
    paragraph.dwMask = PFM_ALIGNMENT | PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_NUMBERING;
    paragraph.wAlignment = PFA_LEFT;
    CHARRANGE all = {0, -1};
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    SendMessageW(control, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
}

// Shows the start of a text just loaded.
void show_start(HWND control) {
    CHARRANGE start = {0, 0};
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    SendMessageW(control, WM_VSCROLL, SB_TOP, 0);
}

// A text put inside a rich-text group: its backslashes and braces escaped so
// that it cannot change the document around it.
std::string rtf_escaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == '{' || c == '}') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

}  // namespace

bool show_rich_text(HWND dialog, int id, std::string_view text) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return false;
    bool streamed = false;
    if (text.substr(0, rtf_start.size()) == rtf_start) {
        streamed = stream_in(control, SF_RTF, text);
    } else {
        // Plain text goes in as UTF-16, converted from Windows-1252 here, so
        // that the system's code page plays no part.
        apply_plain_format(control);
        const std::wstring wide = widen(text);
        streamed = stream_in(control, SF_TEXT | SF_UNICODE,
                             std::string_view(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)));
        apply_plain_format(control);
    }
    show_start(control);
    return streamed;
}

bool insert_symbol_text(HWND control, std::string_view chars, std::string_view face) {
    // One font and 10-point text (\fs20). "Symbol" is declared with the symbol
    // character set, so that its bytes show as its signs. Any other face is
    // declared with the Windows-1252 set: declared as symbols, its accented
    // letters would be held as signs that the face has not got, shown as empty
    // boxes and read back as nothing a student typed.
    const bool symbol_face =
        face.size() == symbol_face_name.size() &&
        std::equal(face.begin(), face.end(), symbol_face_name.begin(),
                   [](char a, char b) { return (a | 0x20) == (b | 0x20); });
    const std::string wrapper = std::string("{\\rtf1{\\fonttbl{\\f0\\froman\\fprq2\\fcharset") +
                                (symbol_face ? "2 " : "0 ") + rtf_escaped(face) + ";}}\\pard\\f0\\fs20 " +
                                rtf_escaped(chars) + "}";
    return stream_in(control, SF_RTF | SFF_SELECTION, wrapper);
}

std::string rich_edit_text(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return {};
    GETTEXTLENGTHEX length_query = {GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const auto length = SendMessageW(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length_query), 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    GETTEXTEX query = {};
    query.cb = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
    query.flags = GT_USECRLF;
    query.codepage = 1200;  // UTF-16
    const auto copied = SendMessageW(control, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                     reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));

    // The control holds the signs of a symbol font at U+F000 + byte.
    std::string text;
    text.reserve(wide.size());
    std::size_t run = 0;  // start of the characters not yet converted
    for (std::size_t i = 0; i <= wide.size(); ++i) {
        const bool symbol = i < wide.size() && wide[i] >= 0xF000 && wide[i] <= 0xF0FF;
        if (i < wide.size() && !symbol) continue;
        text += narrow(std::wstring_view(wide).substr(run, i - run));
        if (symbol) text += static_cast<char>(wide[i] & 0xFF);
        run = i + 1;
    }
    return text;
}

void set_rich_background(HWND control, COLORREF colour) {
    SendMessageW(control, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(colour));
}

}  // namespace kz::win
