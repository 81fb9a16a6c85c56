// The runner's own resources, read from the built runner: every dialog
// template made into a window as the runner makes it (pages inside the main
// window at their place), with the controls, texts and kinds that the pages'
// code relies on, laid out inside their window; the theme list's menu, the
// icons and the button bitmaps. A picture of every page and dialog is kept in
// the artefacts folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <string>
#include <vector>

#include "display/rich_text_display.h"
#include "harness/harness.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

enum class Kind {
    label,         // static text
    edit,
    push,
    default_push,
    check,         // automatic check box
    radio,         // automatic radio button
    group,         // group box
    picture,       // bitmap that reports clicks
    bitmap,        // bitmap
    icon,
    media_button,  // push button showing a bitmap
    rich_view,     // read-only rich text
    rich_input,    // editable rich text
    drop_list,     // combo box without typing
    list_view,
    list_box,
    progress,
};

struct Control {
    int id;            // -1: a static without identifier, found by its text
    Kind kind;
    const wchar_t* text;  // nullptr: not checked
    bool visible;
};

struct Template {
    int id;
    const char* name;
    bool page;
    const wchar_t* caption;  // nullptr for pages
    int width, height;       // dialog units
    const wchar_t* font;
    std::vector<Control> controls;
};

const std::vector<Template>& templates() {
    static const std::vector<Template> all = {
        {107, "home", true, nullptr, 420, 215, L"Arial",
         {{1020, Kind::label, L"&Votre pr\u00E9nom ou pseudo :", true},
          {1005, Kind::edit, nullptr, true},
          {1009, Kind::push, L"&Plus d'options", true},
          {1021, Kind::label, L"&Choisissez les th\u00E8mes :", false},
          {777, Kind::list_view, nullptr, false},
          {1022, Kind::label, L"Choisissez le type d'e&xamen :", false},
          {1007, Kind::drop_list, nullptr, false},
          {1010, Kind::check, L"&Temps limit\u00E9 (en secondes) :", false},
          {1026, Kind::edit, nullptr, false},
          {1016, Kind::label, L"&Nombre de questions \u00E0 poser :", false},
          {1025, Kind::edit, nullptr, false},
          {1017, Kind::label, L"Poser les questions :", false},
          {1011, Kind::radio, L"al\u00E9atoire&ment", false},
          {1012, Kind::radio, L"&dans l'ordre", false},
          {1013, Kind::check, L"&Inverser le sens des questions", false},
          {1027, Kind::check, L"Mode entra\u00EEnement (afficher les solutions \u00E0 la fin de chaque question)",
           false}}},
        {446, "welcome", true, nullptr, 420, 215, L"MS Sans Serif", {{1019, Kind::rich_view, nullptr, true}}},
        {102, "end", true, nullptr, 420, 215, L"Arial",
         {{9741, Kind::rich_view, nullptr, true},
          {1020, Kind::push, L"&D\u00E9tails des r\u00E9sultats", true},
          {1021, Kind::push, L"&Page d'accueil", true},
          {1022, Kind::push, L"&Recommencer", true}}},
        {106, "open-answer", true, nullptr, 420, 215, L"MS Sans Serif",
         {{1012, Kind::rich_view, nullptr, true},
          {1013, Kind::rich_view, nullptr, true},
          {1028, Kind::picture, nullptr, false},
          {1026, Kind::media_button, L">", false},
          {1027, Kind::media_button, L"O", false},
          {1011, Kind::rich_input, nullptr, true},
          {-1, Kind::label, L"Votre r\u00E9ponse :", true}}},
        {108, "multiple-choice", true, nullptr, 420, 215, L"MS Sans Serif",
         {{1012, Kind::rich_view, nullptr, true},
          {1013, Kind::rich_view, nullptr, true},
          {1028, Kind::picture, nullptr, false},
          {1029, Kind::media_button, L">", false},
          {1030, Kind::media_button, L"O", false},
          {1016, Kind::rich_view, nullptr, true},
          {1017, Kind::rich_view, nullptr, true},
          {1018, Kind::rich_view, nullptr, true},
          {1010, Kind::check, nullptr, true},
          {1037, Kind::check, nullptr, true},
          {1038, Kind::check, nullptr, true},
          {1039, Kind::picture, nullptr, false},
          {1040, Kind::picture, nullptr, false},
          {1041, Kind::picture, nullptr, false},
          {1032, Kind::media_button, L">", false},
          {1031, Kind::media_button, L"O", false},
          {1034, Kind::media_button, L">", false},
          {1033, Kind::media_button, L"O", false},
          {1036, Kind::media_button, L">", false},
          {1035, Kind::media_button, L"O", false},
          {-1, Kind::label, L"Votre r\u00E9ponse :", true}}},
        {1057, "true-false", true, nullptr, 420, 215, L"MS Sans Serif",
         {{1012, Kind::rich_view, nullptr, true},
          {1013, Kind::rich_view, nullptr, true},
          {1028, Kind::picture, nullptr, false},
          {1029, Kind::media_button, L">", false},
          {1030, Kind::media_button, L"O", false},
          {-1, Kind::label, L"La r\u00E9ponse est :", true},
          {1011, Kind::rich_view, nullptr, true},
          {1033, Kind::picture, nullptr, false},
          {1031, Kind::media_button, L">", true},
          {1032, Kind::media_button, L"O", true},
          {-1, Kind::label, L"Qu'en pensez-vous ?", true},
          {1014, Kind::radio, L"C'est vrai", true},
          {1015, Kind::radio, L"C'est faux", true}}},
        {104, "pot-pourri", true, nullptr, 420, 215, L"MS Sans Serif",
         {{1012, Kind::rich_view, nullptr, true},
          {1013, Kind::rich_view, nullptr, true},
          {1028, Kind::picture, nullptr, false},
          {1029, Kind::media_button, L">", false},
          {1030, Kind::media_button, L"O", false},
          {-1, Kind::label, L"Votre r\u00E9ponse :", true},
          {1007, Kind::drop_list, nullptr, true}}},
        {113, "hangman", true, nullptr, 420, 215, L"Arial",
         {{1012, Kind::rich_view, nullptr, true},
          {1013, Kind::rich_view, nullptr, true},
          {1028, Kind::picture, nullptr, false},
          {1026, Kind::media_button, L">", false},
          {1027, Kind::media_button, L"O", false},
          {1056, Kind::label, L"Pendu", true},
          {1069, Kind::rich_input, nullptr, true},
          {1068, Kind::push, L"&Tester la lettre", true},
          {1055, Kind::label, L"Essais restants", true},
          {1054, Kind::progress, nullptr, true},
          {1071, Kind::icon, nullptr, true},
          {1014, Kind::label,
           L"Pour trouver la r\u00E9ponse, tapez les lettres qui composent la r\u00E9ponse \u00E0 l'aide du "
           L"clavier.\nSi une bonne lettre est donn\u00E9e, elle se placera automatiquement \u00E0 sa/ses places "
           L"dans la r\u00E9ponse.",
           true},
          {-1, Kind::label, L"Lettre que vous souhaitez essayer :", true}}},
        {114, "scrambled-letters", true, nullptr, 420, 215, L"Arial",
         {{1012, Kind::rich_view, nullptr, true},
          {1013, Kind::rich_view, nullptr, true},
          {1028, Kind::picture, nullptr, false},
          {1026, Kind::media_button, L">", false},
          {1027, Kind::media_button, L"O", false},
          {-1, Kind::label, L"R\u00E9ponse propos\u00E9e :", true},
          {1059, Kind::label, L"Lettres", true},
          {-1, Kind::label, L"Votre r\u00E9ponse :", true},
          {1011, Kind::rich_input, nullptr, true},
          {1014, Kind::label,
           L"Chaque mot composant la r\u00E9ponse est donn\u00E9 avec ses lettres en d\u00E9sordre.\nPour trouver "
           L"la r\u00E9ponse, remettez en place chaque lettre dans chaque mot et tapez la r\u00E9ponse dans la "
           L"zone appropri\u00E9e.",
           true}}},
        {115, "help", false, L"Aide", 343, 191, L"MS Sans Serif",
         {{1014, Kind::rich_view, nullptr, true}, {1, Kind::default_push, L"&Fermer", true}}},
        {117, "about", false, L"\u00C0 propos du questionnaire", 277, 162, L"MS Sans Serif",
         {{1, Kind::default_push, L"&Fermer", true},
          {1044, Kind::label, L"Nom du questionnaire", true},
          {1045, Kind::label, L"Auteur du questionnaire", true},
          {1046, Kind::label, L"Commentaire", true},
          {1048, Kind::label, L"Ce questionnaire a \u00E9t\u00E9 cr\u00E9\u00E9 avec %s version %s", true},
          {333, Kind::label, L"Visitez notre site Web pour plus d'informations :", true},
          {1050, Kind::label, L"http://www.savanto-quiz.fr", true},
          {1047, Kind::label, L"Questionnaire r\u00E9alis\u00E9 avec Savanto", true}}},
        {116, "image-preview", false, L"Aper\u00E7u de l'image", 120, 90, L"MS Sans Serif",
         {{1043, Kind::picture, nullptr, true}}},
        {118, "palette", false, L"Caract\u00E8res sp\u00E9ciaux", 251, 162, L"MS Sans Serif",
         {{-1, Kind::label, L"Cat\u00E9gorie :", true},
          {1012, Kind::drop_list, nullptr, true},
          {777, Kind::list_box, nullptr, true},
          {1, Kind::default_push, L"&Ins\u00E9rer", true},
          {2, Kind::push, L"&Annuler", true}}},
        {119, "correction", false, L"Examen", 310, 268, L"MS Sans Serif",
         {{1, Kind::default_push, L"&Continuer", true},
          {1015, Kind::label, L"R\u00E9ponse fausse !", true},
          {1019, Kind::label, nullptr, true},
          {1063, Kind::rich_view, nullptr, true},
          {1062, Kind::rich_view, nullptr, true},
          {45785, Kind::rich_view, nullptr, true},
          {1039, Kind::picture, nullptr, false},
          {1040, Kind::picture, nullptr, false},
          {1041, Kind::picture, nullptr, false},
          {1032, Kind::media_button, L">", false},
          {1031, Kind::media_button, L"O", false},
          {1034, Kind::media_button, L">", false},
          {1033, Kind::media_button, L"O", false},
          {1036, Kind::media_button, L">", false},
          {1035, Kind::media_button, L"O", false},
          {1060, Kind::group, L"Commentaires", false},
          {1061, Kind::rich_view, nullptr, true},
          {1066, Kind::picture, nullptr, false},
          {1065, Kind::media_button, L">", false},
          {1064, Kind::media_button, L"O", false}}},
    };
    return all;
}

const wchar_t* class_of_kind(Kind kind) {
    switch (kind) {
    case Kind::label:
    case Kind::picture:
    case Kind::bitmap:
    case Kind::icon: return L"Static";
    case Kind::edit: return L"Edit";
    case Kind::rich_view:
    case Kind::rich_input: return L"RichEdit20W";
    case Kind::drop_list: return L"ComboBox";
    case Kind::list_view: return L"SysListView32";
    case Kind::list_box: return L"ListBox";
    case Kind::progress: return L"msctls_progress32";
    default: return L"Button";
    }
}

// Why the control is not of its kind, or nothing.
std::string kind_mismatch(HWND control, Kind kind) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (lstrcmpiW(class_of(control).c_str(), class_of_kind(kind)) != 0)
        return "class " + std::string(class_of(control).begin(), class_of(control).end());
    const LONG button = style & BS_TYPEMASK;
    const LONG picture = style & SS_TYPEMASK;
    bool fits = true;
    switch (kind) {
    case Kind::label: fits = picture != SS_BITMAP && picture != SS_ICON; break;
    case Kind::picture: fits = picture == SS_BITMAP && (style & SS_NOTIFY); break;
    case Kind::bitmap: fits = picture == SS_BITMAP; break;
    case Kind::icon: fits = picture == SS_ICON; break;
    case Kind::push: fits = button == BS_PUSHBUTTON && !(style & BS_BITMAP); break;
    case Kind::default_push: fits = button == BS_DEFPUSHBUTTON; break;
    case Kind::check: fits = button == BS_AUTOCHECKBOX; break;
    case Kind::radio: fits = button == BS_AUTORADIOBUTTON; break;
    case Kind::group: fits = button == BS_GROUPBOX; break;
    case Kind::media_button: fits = button == BS_PUSHBUTTON && (style & BS_BITMAP); break;
    case Kind::rich_view: fits = (style & ES_READONLY) && (style & ES_MULTILINE); break;
    case Kind::rich_input: fits = !(style & ES_READONLY); break;
    case Kind::drop_list: fits = (style & 3) == CBS_DROPDOWNLIST; break;
    case Kind::list_view: fits = (style & LVS_TYPEMASK) == LVS_REPORT; break;
    default: break;
    }
    return fits ? std::string() : "style " + std::to_string(style);
}

HWND find_static_with_text(HWND dialog, const wchar_t* text) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == -1 || GetDlgCtrlID(child) == 0xFFFF)
            if (window_text(child) == text) return child;
    return nullptr;
}

// A rectangle of the dialog in dialog units, in the dialog's client pixels,
// with its place and its size each converted on their own, as the dialog
// manager converts a control's.
RECT dialog_units(HWND dialog, int x, int y, int width, int height) {
    RECT place = {x, y, 0, 0};
    RECT size = {width, height, 0, 0};
    MapDialogRect(dialog, &place);
    MapDialogRect(dialog, &size);
    return {place.left, place.top, place.left + size.left, place.top + size.top};
}

RECT client_rect_in(HWND parent, HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

INT_PTR CALLBACK passive_dialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void pump_messages(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(20);
    } while (GetTickCount() < end);
}

class RunnerResources : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                              ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        rich_edit_ = LoadLibraryW(L"RICHED20.DLL");
        ASSERT_NE(rich_edit_, nullptr);
        resources_ = LoadLibraryExW(runner_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(resources_, nullptr) << "the runner's resources cannot be read";
        // The main window's class, as start-up registers it.
        WNDCLASSEXW main_class = {};
        main_class.cbSize = sizeof main_class;
        GetClassInfoExW(nullptr, L"#32770", &main_class);
        main_class.style |= CS_GLOBALCLASS;
        main_class.cbWndExtra = DLGWINDOWEXTRA;
        main_class.hInstance = GetModuleHandleW(nullptr);
        main_class.lpszClassName = L"QuizKZClasse";
        RegisterClassExW(&main_class);
    }
    void TearDown() override {
        if (resources_) FreeLibrary(resources_);
        if (rich_edit_) FreeLibrary(rich_edit_);
    }

    HWND create(int id, HWND parent) {
        return CreateDialogParamW(resources_, MAKEINTRESOURCEW(id), parent, passive_dialog, 0);
    }

    HMODULE rich_edit_ = nullptr;
    HMODULE resources_ = nullptr;
};

void expect_controls(HWND dialog, const Template& shape) {
    for (const Control& control : shape.controls) {
        SCOPED_TRACE("control " + std::to_string(control.id));
        HWND item = control.id == -1 ? find_static_with_text(dialog, control.text) : GetDlgItem(dialog, control.id);
        ASSERT_NE(item, nullptr) << "missing";
        EXPECT_EQ(kind_mismatch(item, control.kind), "");
        if (control.text && control.id != -1) {
            EXPECT_EQ(window_text(item), control.text);
        }
        EXPECT_EQ((GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE) != 0, control.visible);
    }
}

// Every control lies inside its window's client area (give or take the pixel
// that converting a control's place and size one by one may add at the edge).
void expect_inside(HWND dialog) {
    RECT client = {};
    GetClientRect(dialog, &client);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT rect = client_rect_in(dialog, child);
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right + 1 &&
                    rect.bottom <= client.bottom + 1)
            << "control " << GetDlgCtrlID(child) << " at (" << rect.left << "," << rect.top << ")-(" << rect.right
            << "," << rect.bottom << ") outside " << client.right << "x" << client.bottom;
    }
}

std::wstring font_face(HWND window) {
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfFaceName;
}

// Sample contents, so that the pictures show pages as a student sees them.
void fill_for_picture(HWND page, int id) {
    auto show = [page](int control, const char* text) { kz::win::show_rich_text(page, control, text); };
    const char* prompt = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs28\\b Quelle est la capitale de ce pays ?}";
    switch (id) {
    case 446:
        show(1019, "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\pard\\qc\\b\\f0\\fs36 Bienvenue !\\par}");
        break;
    case 102:
        show(9741, "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\pard\\qc\\b\\f0\\fs44 Fin de l'examen\\par}");
        break;
    case 106:
    case 104:
    case 113:
    case 114:
        show(1012, prompt);
        show(1013, "L'Italie");
        break;
    case 108:
        show(1012, prompt);
        show(1013, "L'Italie");
        show(1016, "Rome");
        show(1017, "Milan");
        show(1018, "Naples");
        break;
    case 1057:
        show(1012, prompt);
        show(1013, "L'Italie");
        show(1011, "Rome");
        break;
    default:
        break;
    }
    if (id == 107)  // the options as "&Plus d'options" shows them
        for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            ShowWindow(child, SW_SHOW);
}

TEST_F(RunnerResources, PagesHaveTheirControlsAndFitInTheMainWindow) {
    HWND main = create(101, nullptr);
    ASSERT_NE(main, nullptr) << "dialog 101";
    EXPECT_EQ(class_of(main), L"QuizKZClasse");
    EXPECT_EQ(window_text(main), L"Examen");
    EXPECT_EQ(font_face(main), L"MS Sans Serif");
    RECT client = {};
    GetClientRect(main, &client);
    const RECT expected_client = dialog_units(main, 0, 0, 440, 311);
    EXPECT_EQ(client.right, expected_client.right);
    EXPECT_EQ(client.bottom, expected_client.bottom);
    for (const int icon : {1019, 1021, 1018})
        EXPECT_NE(SendDlgItemMessageW(main, icon, STM_GETICON, 0, 0), 0) << "icon control " << icon;
    EXPECT_EQ(class_of(GetDlgItem(main, 5123)), L"RichEdit20W");
    expect_inside(main);
    ShowWindow(main, SW_SHOW);
    const RECT next = client_rect_in(main, GetDlgItem(main, 1002));

    for (const Template& shape : templates()) {
        if (!shape.page) continue;
        SCOPED_TRACE(shape.name);
        HWND page = create(shape.id, main);
        ASSERT_NE(page, nullptr);
        const LONG style = GetWindowLongW(page, GWL_STYLE);
        EXPECT_TRUE(style & WS_CHILD);
        EXPECT_TRUE(style & WS_BORDER);
        EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION);
        EXPECT_EQ(font_face(page), shape.font);
        RECT page_client = {};
        GetClientRect(page, &page_client);
        const RECT size = dialog_units(page, 0, 0, shape.width, shape.height);
        EXPECT_EQ(page_client.right, size.right);
        EXPECT_EQ(page_client.bottom, size.bottom);
        expect_controls(page, shape);
        expect_inside(page);

        // The page host's place: 15, 85 pixels; the page stays clear of the
        // frame's buttons and of its right edge.
        SetWindowPos(page, nullptr, 15, 85, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        const RECT placed = client_rect_in(main, page);
        EXPECT_LE(placed.right, client.right);
        EXPECT_LE(placed.bottom, next.top) << "the page covers the frame's buttons";

        // A picture of the page, kept to be looked at: the checks above are the test.
        fill_for_picture(page, shape.id);
        ShowWindow(page, SW_SHOW);
        pump_messages(300);
        screenshot(main, artefacts_dir() / ("page-" + std::to_string(shape.id) + "-" + shape.name + ".bmp"));
        DestroyWindow(page);
    }
    DestroyWindow(main);
}

TEST_F(RunnerResources, DialogsHaveTheirControlsInsideThem) {
    for (const Template& shape : templates()) {
        if (shape.page) continue;
        SCOPED_TRACE(shape.name);
        HWND dialog = create(shape.id, nullptr);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(window_text(dialog), shape.caption);
        EXPECT_EQ(font_face(dialog), shape.font);
        const LONG style = GetWindowLongW(dialog, GWL_STYLE);
        EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
        if (shape.id != 116) {  // the preview fits itself to its picture
            RECT client = {};
            GetClientRect(dialog, &client);
            const RECT size = dialog_units(dialog, 0, 0, shape.width, shape.height);
            EXPECT_EQ(client.right, size.right);
            EXPECT_EQ(client.bottom, size.bottom);
        }
        expect_controls(dialog, shape);
        expect_inside(dialog);
        if (shape.id == 119) {
            kz::win::show_rich_text(dialog, 1063, "Rome");
            kz::win::show_rich_text(dialog, 1062, "Roma");
            kz::win::show_rich_text(dialog, 45785, "la Ville \xE9ternelle");
            kz::win::show_rich_text(dialog, 1061, "Capitale de l'Italie depuis 1871.");
            SetDlgItemTextW(dialog, 1019, L"La r\u00E9ponse \u00E9tait :");
            ShowWindow(GetDlgItem(dialog, 1060), SW_SHOW);
        }
        // A picture of the dialog, kept to be looked at: the checks above are the test.
        ShowWindow(dialog, SW_SHOW);
        pump_messages(300);
        screenshot(dialog, artefacts_dir() / ("dialog-" + std::to_string(shape.id) + "-" + shape.name + ".bmp"));
        DestroyWindow(dialog);
    }
}

// Controls whose place on the window is fixed stand exactly there.
TEST_F(RunnerResources, ControlsWithAGivenPlaceAreThere) {
    struct Place {
        int dialog, control, x, y, width, height;
    };
    const Place places[] = {
        {101, 1004, 61, 0, 379, 38}, {101, 1041, 61, 0, 379, 38}, {101, 6137, 79, 295, 110, 8},
        {446, 1019, 16, 16, 380, 179}, {102, 9741, 4, 4, 299, 207}, {115, 1014, 36, 7, 300, 156},
        {114, 1011, -1, -1, 400, 31},
    };
    HWND main = create(101, nullptr);
    ASSERT_NE(main, nullptr);
    for (const Place& place : places) {
        SCOPED_TRACE(std::to_string(place.dialog) + "/" + std::to_string(place.control));
        HWND dialog = place.dialog == 101 ? main : create(place.dialog, main);
        ASSERT_NE(dialog, nullptr);
        const RECT expected = dialog_units(dialog, place.x, place.y, place.width, place.height);
        const RECT actual = client_rect_in(dialog, GetDlgItem(dialog, place.control));
        if (place.x >= 0) {
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
        }
        EXPECT_EQ(actual.right - actual.left, expected.right - expected.left);
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom - expected.top);
        if (dialog != main) DestroyWindow(dialog);
    }
    DestroyWindow(main);
}

TEST_F(RunnerResources, ThemeListMenuOffersTheThreeSelections) {
    HMENU menu = LoadMenuW(resources_, MAKEINTRESOURCEW(127));
    ASSERT_NE(menu, nullptr);
    wchar_t text[64] = {};
    GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Popup");
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    const std::pair<UINT, const wchar_t*> items[] = {
        {40001, L"Tout s\u00E9lectionner"}, {40002, L"Tout d\u00E9selectionner"}, {40003, L"Inverser la s\u00E9lection"}};
    ASSERT_EQ(GetMenuItemCount(popup), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(GetMenuItemID(popup, i), items[i].first);
        GetMenuStringW(popup, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, items[i].second);
    }
    DestroyMenu(menu);
}

TEST_F(RunnerResources, IconsComeInBothSizesAndButtonBitmapsInTheirs) {
    for (const int id : {102, 108, 109, 110, 122, 123, 124, 125})
        for (const int size : {16, 32}) {
            SCOPED_TRACE("icon " + std::to_string(id) + " at " + std::to_string(size));
            HICON icon = static_cast<HICON>(LoadImageW(resources_, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr);
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP colour = {};
            GetObjectW(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, size);
            EXPECT_EQ(colour.bmHeight, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    struct Bitmap {
        int id, width, height;
    };
    for (const Bitmap& expected : {Bitmap{111, 92, 81}, Bitmap{114, 5, 9}, Bitmap{115, 8, 8}}) {
        SCOPED_TRACE("bitmap " + std::to_string(expected.id));
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageW(resources_, MAKEINTRESOURCEW(expected.id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
        ASSERT_NE(bitmap, nullptr);
        BITMAP description = {};
        GetObjectW(bitmap, sizeof description, &description);
        EXPECT_EQ(description.bmWidth, expected.width);
        EXPECT_EQ(description.bmHeight, expected.height);
        if (expected.id == 114) {
            // The triangle's tip and the button face around it.
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, bitmap);
            EXPECT_EQ(GetPixel(dc, 4, 4), RGB(0, 0, 0));
            EXPECT_EQ(GetPixel(dc, 0, 4), RGB(0, 0, 0));
            EXPECT_EQ(GetPixel(dc, 4, 0), GetSysColor(COLOR_3DFACE));
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        DeleteObject(bitmap);
    }
}

}  // namespace
}  // namespace kz::e2e
