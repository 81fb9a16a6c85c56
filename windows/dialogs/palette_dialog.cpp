#include "dialogs/palette_dialog.h"

#include <algorithm>
#include <vector>

#include "display/rich_text_display.h"
#include "questions/palette_characters.h"
#include "res/string_table.h"
#include "resources/resource.h"
#include "win32/dialog_window.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

constexpr int column_width = 30;
constexpr int list_font_height = 30;

// Faces that hold the signs of the Symbol font at their Unicode places, tried
// in this order where the "Symbol" face lacks its own character set (Wine's
// has only some of its signs): the first that draws every sign of the
// category shows them.
constexpr const wchar_t* sign_faces[] = {L"Symbol", L"Segoe UI Symbol", L"Arial Unicode MS", L"Lucida Sans Unicode",
                                         L"DejaVu Sans"};

// Whether the font draws every character of the text.
bool draws_all(HWND window, HFONT font, const std::wstring& text) {
    HDC dc = GetDC(window);
    if (!dc) return false;
    const HGDIOBJ before = SelectObject(dc, font);
    std::vector<WORD> glyphs(text.size(), 0xFFFF);
    const bool drawn =
        GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) ==
            static_cast<DWORD>(text.size()) &&
        std::find(glyphs.begin(), glyphs.end(), WORD{0xFFFF}) == glyphs.end();
    SelectObject(dc, before);
    ReleaseDC(window, dc);
    return drawn;
}

OwnedFont font_of(LOGFONTW description, const std::wstring& face, BYTE character_set) {
    face.copy(description.lfFaceName, LF_FACESIZE - 1);
    description.lfFaceName[std::min<std::size_t>(face.size(), LF_FACESIZE - 1)] = L'\0';
    description.lfCharSet = character_set;
    return OwnedFont(CreateFontIndirectW(&description));
}

// A category's list: its font and its entries, one character each.
struct CategoryList {
    OwnedFont font;
    std::wstring entries;
};

// The characters in the category's face. The symbol font shows its bytes as
// its signs (Windows puts them at U+F020 to U+F0FF); where it cannot, the
// signs themselves are shown in a face that has them.
CategoryList category_list(HWND window, const PaletteCategory& category, LOGFONTW description) {
    const std::wstring face = widen(category.font);
    if (category.font != "Symbol") return {font_of(description, face, DEFAULT_CHARSET), widen(category.characters)};

    CategoryList by_byte{font_of(description, face, SYMBOL_CHARSET), {}};
    std::wstring private_bytes;
    std::wstring signs;
    for (const char byte : category.characters) {
        const auto code = static_cast<unsigned char>(byte);
        by_byte.entries += static_cast<wchar_t>(code);
        private_bytes += static_cast<wchar_t>(0xF000 + code);
        signs += static_cast<wchar_t>(symbol_font_sign(code));  // every sign lies in the first plane
    }
    if (draws_all(window, by_byte.font.get(), private_bytes)) return by_byte;
    for (const wchar_t* candidate : sign_faces) {
        OwnedFont font = font_of(description, candidate, DEFAULT_CHARSET);
        if (draws_all(window, font.get(), signs)) return {std::move(font), signs};
    }
    return by_byte;
}

class PaletteDialog final : public DialogWindow {
public:
    explicit PaletteDialog(Shell& shell)
        : shell_(shell), opened_for_(shell.palette) {}

private:
    BOOL on_init_dialog() override {
        HWND window = this->window();
        HWND categories = GetDlgItem(window, IDC_PALETTE_CATEGORY);
        for (std::size_t k = 0; k < palette_category_count; ++k) {
            const std::wstring name = widen(palette_category_name(k));
            SendMessageW(categories, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
        SendMessageW(categories, CB_SETCURSEL, palette_opening_category, 0);
        SendDlgItemMessageW(window, IDC_PALETTE_CHARACTERS, LB_SETCOLUMNWIDTH, scaled(column_width), 0);
        show_category();
        return TRUE;
    }

    bool on_close() override {
        EndDialog(window(), 0);
        return true;
    }

    // On a screen of other dots per inch: the columns and the characters at
    // the new size, the character chosen kept.
    void on_rescaled(int /*old_dpi*/) override {
        HWND list = GetDlgItem(window(), IDC_PALETTE_CHARACTERS);
        const auto chosen = SendMessageW(list, LB_GETCURSEL, 0, 0);
        const auto first_shown = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
        SendMessageW(list, LB_SETCOLUMNWIDTH, scaled(column_width), 0);
        show_category();
        SendMessageW(list, LB_SETTOPINDEX, first_shown, 0);
        if (chosen >= 0) SendMessageW(list, LB_SETCURSEL, chosen, 0);
    }

    void on_command(int id, int notification) override {
        switch (id) {
        case IDC_PALETTE_CATEGORY:
            if (notification == CBN_SELCHANGE) show_category();
            break;
        case IDC_PALETTE_CHARACTERS:
            if (notification == LBN_DBLCLK) insert();
            break;
        case IDOK:
            insert();
            break;
        case IDCANCEL:
            EndDialog(window(), 2);
            break;
        default:
            break;
        }
    }

    // The category's characters, one entry each in table order, in the
    // category's face at 30 pixels. Symbol's bytes are given as themselves,
    // which the symbol font shows as its signs, or, where the face lacks its
    // character set, as the signs they stand for.
    void show_category() {
        HWND window = this->window();
        const auto selected = SendDlgItemMessageW(window, IDC_PALETTE_CATEGORY, CB_GETCURSEL, 0, 0);
        if (selected < 0 || static_cast<std::size_t>(selected) >= palette_category_count) return;
        category_ = &palette_categories()[static_cast<std::size_t>(selected)];

        HWND list = GetDlgItem(window, IDC_PALETTE_CHARACTERS);
        LOGFONTW description = {};
        const auto current = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
        GetObjectW(current ? static_cast<HGDIOBJ>(current) : GetStockObject(DEFAULT_GUI_FONT), sizeof description,
                   &description);
        description.lfHeight = scaled(list_font_height);
        CategoryList shown = category_list(window, *category_, description);

        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (const wchar_t character : shown.entries) {
            const wchar_t entry[2] = {character, L'\0'};
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        }
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(shown.font.get()), TRUE);
        list_font_ = std::move(shown.font);
    }

    // The target is the answer box of the question the palette was opened
    // for: once the time limit has moved the exam on, nothing is inserted
    // anywhere and the palette closes.
    bool target_still_current() const {
        HWND target = opened_for_.target;
        return target && IsWindow(target) && shell_.palette.target == target &&
               shell_.palette.serial == opened_for_.serial;
    }

    void insert() {
        HWND window = this->window();
        const auto selected = SendDlgItemMessageW(window, IDC_PALETTE_CHARACTERS, LB_GETCURSEL, 0, 0);
        if (selected < 0 || !category_ || static_cast<std::size_t>(selected) >= category_->characters.size()) return;
        if (!target_still_current()) {
            EndDialog(window, 0);
            return;
        }
        set_item_text(window, IDCANCEL, load_message(str::close_button));
        insert_symbol_text(opened_for_.target, category_->characters.substr(static_cast<std::size_t>(selected), 1),
                           category_->font);
        if (!opened_for_.letter_test) return;
        // The hangman tests the character as a letter at once.
        HWND page = GetParent(opened_for_.target);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_HANGMAN_TEST, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_HANGMAN_TEST)));
        EndDialog(window, 1);
    }

    Shell& shell_;
    const PaletteSlot opened_for_;  // the target as it was when the palette opened
    const PaletteCategory* category_ = nullptr;
    OwnedFont list_font_;  // freed when the palette closes
};

}  // namespace

INT_PTR show_palette_dialog(Shell& shell) {
    if (!shell.palette.target) return 0;
    PaletteDialog dialog(shell);
    return dialog.run_modal(shell.runner.instance, IDD_PALETTE, shell.main_window);
}

}  // namespace kz::win
