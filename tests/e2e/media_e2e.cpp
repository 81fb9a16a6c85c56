// The runner's media presentation driven on real controls under Wine: texts
// streamed into rich-edit controls, pictures fitted into static controls and
// shown in the preview window, with pictures of the results kept in the
// artefacts folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <richedit.h>

#include <optional>
#include <fstream>
#include <string>
#include <thread>

#include "display/images.h"
#include "display/rich_text_display.h"
#include "display/sound.h"
#include "harness/harness.h"
#include "res/string_table.h"
#include "resources/resource.h"
#include "win32/win_text.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr COLORREF red = RGB(220, 0, 0);
constexpr COLORREF blue = RGB(0, 0, 220);

// A 24-bit bitmap file, red on its left half and blue on its right half.
fs::path write_bitmap(const fs::path& dir, int width, int height) {
    const fs::path file = dir / ("picture-" + std::to_string(width) + "x" + std::to_string(height) + ".bmp");
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER header = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(stride * height);
    std::string pixels(static_cast<std::size_t>(stride * height), '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = x < width / 2 ? red : blue;
            char* pixel = &pixels[static_cast<std::size_t>(y * stride + x * 3)];
            pixel[0] = static_cast<char>(GetBValue(colour));
            pixel[1] = static_cast<char>(GetGValue(colour));
            pixel[2] = static_cast<char>(GetRValue(colour));
        }
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return file;
}

SIZE bitmap_size(HBITMAP bitmap) {
    BITMAP description = {};
    GetObjectW(bitmap, sizeof description, &description);
    return {description.bmWidth, description.bmHeight < 0 ? -description.bmHeight : description.bmHeight};
}

COLORREF bitmap_pixel(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}

SIZE window_size(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void pump_messages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A check of a picture of this test's own windows: their messages are
// handled between two pictures, or they would never be painted.
std::function<bool(const Picture&)> pumping(std::function<bool(const Picture&)> check) {
    return [check](const Picture& picture) {
        pump_messages();
        return check(picture);
    };
}

// A visible top-level window of this test program that holds the controls
// under test, with the rich-edit library and the common controls loaded.
class HostWindow {
public:
    HostWindow(int width, int height) {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        rich_edit_ = LoadLibraryW(L"RICHED20.DLL");
        WNDCLASSW host_class = {};
        host_class.lpfnWndProc = DefWindowProcW;
        host_class.hInstance = GetModuleHandleW(nullptr);
        host_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        host_class.lpszClassName = L"KzMediaHost";
        host_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&host_class);
        RECT frame = {0, 0, width, height};
        AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        window_ = CreateWindowExW(0, L"KzMediaHost", L"Media", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        pump_messages();
    }
    ~HostWindow() {
        DestroyWindow(window_);
        pump_messages();
        if (rich_edit_) FreeLibrary(rich_edit_);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND get() const { return window_; }
    bool has_rich_edit() const { return rich_edit_ != nullptr; }

    HWND add(const wchar_t* class_name, int id, DWORD style, int x, int y, int width, int height,
             DWORD ex_style = 0) {
        return CreateWindowExW(ex_style, class_name, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                               window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    }

private:
    HMODULE rich_edit_ = nullptr;
    HWND window_ = nullptr;
};

std::wstring control_text(HWND control) {
    GETTEXTLENGTHEX length_query = {GTL_DEFAULT, 1200};
    const auto length = SendMessageW(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length_query), 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GETTEXTEX query = {static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
    const auto copied = SendMessageW(control, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

// The character format common to the range, with the mask of what is common.
CHARFORMAT2W format_of(HWND control, LONG first, LONG last) {
    CHARRANGE range = {first, last};
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format = {};
    format.cbSize = sizeof format;
    SendMessageW(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

WORD alignment_at(HWND control, LONG position) {
    CHARRANGE range = {position, position};
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    PARAFORMAT2 format = {};
    format.cbSize = sizeof format;
    SendMessageW(control, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format.wAlignment;
}

LONG find_text(HWND control, const std::wstring& text) {
    FINDTEXTEXW query = {{0, -1}, text.c_str(), {0, 0}};
    return static_cast<LONG>(SendMessageW(control, EM_FINDTEXTEXW, FR_DOWN | FR_MATCHCASE,
                                          reinterpret_cast<LPARAM>(&query)));
}

// The built-in welcome text of the runner with the quiz's name in it.
std::string welcome_text(const std::string& quiz_name) {
    std::string text = load_message(str::welcome_text);
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, quiz_name);
    return text;
}

void expect_arial_11_plain(const CHARFORMAT2W& format) {
    constexpr DWORD wanted = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    EXPECT_EQ(format.dwMask & wanted, wanted) << "the format differs within the text";
    EXPECT_STREQ(format.szFaceName, L"Arial");
    EXPECT_EQ(format.yHeight, 220);
    EXPECT_EQ(format.crTextColor, RGB(0, 0, 0));
    EXPECT_EQ(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_AUTOCOLOR), 0u);
}

constexpr char coloured_rtf[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;}\\pard\\qc\\b\\i\\ul\\cf1\\f0\\fs40 Titre d'\\'e9t\\'e9\\par}";

TEST(RichTextDisplay, PlainTextIsShownInElevenPointBlackArialWhateverTheControlShowedBefore) {
    HostWindow host(640, 360);
    ASSERT_TRUE(host.has_rich_edit());
    HWND control = host.add(L"RichEdit20W", 1013, ES_MULTILINE | ES_READONLY | WS_VSCROLL, 10, 10, 600, 300);
    ASSERT_NE(control, nullptr);
    struct Row {
        const char* before;
        std::string text;
        std::wstring shown;
    };
    const Row rows[] = {
        {"", "Quelle est la capitale de l'Italie ?", L"Quelle est la capitale de l'Italie ?"},
        {coloured_rtf, "No\xEBl \xE0 Rome, \x80 et \x9C", L"No\u00EBl \u00E0 Rome, \u20AC et \u0153"},
        {coloured_rtf, "Deux\r\nlignes", L"Deux\rlignes"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        if (*row.before) {
            ASSERT_TRUE(kz::win::show_rich_text(host.get(), 1013, row.before));
        }
        ASSERT_TRUE(kz::win::show_rich_text(host.get(), 1013, row.text));
        EXPECT_EQ(control_text(control), row.shown);
        expect_arial_11_plain(format_of(control, 0, -1));
        EXPECT_EQ(alignment_at(control, 0), PFA_LEFT);
    }
}

TEST(RichTextDisplay, RichTextKeepsItsOwnFontsColoursAndSizes) {
    HostWindow host(640, 360);
    ASSERT_TRUE(host.has_rich_edit());
    HWND control = host.add(L"RichEdit20W", 1013, ES_MULTILINE | ES_READONLY, 10, 10, 600, 300);
    ASSERT_TRUE(kz::win::show_rich_text(host.get(), 1013, "texte simple d'abord"));
    ASSERT_TRUE(kz::win::show_rich_text(host.get(), 1013, coloured_rtf));
    EXPECT_EQ(control_text(control), L"Titre d'\u00E9t\u00E9");
    const CHARFORMAT2W format = format_of(control, 0, 5);
    EXPECT_STREQ(format.szFaceName, L"Times New Roman");
    EXPECT_EQ(format.yHeight, 400);
    EXPECT_EQ(format.crTextColor, RGB(255, 0, 0));
    EXPECT_EQ(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE), static_cast<DWORD>(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE));
    EXPECT_EQ(alignment_at(control, 0), PFA_CENTER);
}

TEST(RichTextDisplay, EmptyTextEmptiesTheControl) {
    HostWindow host(640, 360);
    ASSERT_TRUE(host.has_rich_edit());
    HWND control = host.add(L"RichEdit20W", 1013, ES_MULTILINE | ES_READONLY, 10, 10, 600, 300);
    ASSERT_TRUE(kz::win::show_rich_text(host.get(), 1013, coloured_rtf));
    ASSERT_FALSE(control_text(control).empty());
    EXPECT_TRUE(kz::win::show_rich_text(host.get(), 1013, ""));
    EXPECT_EQ(control_text(control), L"");
}

TEST(RichTextDisplay, MissingControlIsReportedAndNothingElseChanges) {
    HostWindow host(200, 100);
    EXPECT_FALSE(kz::win::show_rich_text(host.get(), 4242, "texte"));
}

TEST(RichTextDisplay, SymbolTextReplacesTheSelectionInItsOwnFontAndLeavesTheRestAlone) {
    HostWindow host(640, 200);
    ASSERT_TRUE(host.has_rich_edit());
    HWND control = host.add(L"RichEdit20W", 1011, ES_MULTILINE, 10, 10, 600, 150, WS_EX_CLIENTEDGE);
    struct Row {
        const char* before;
        LONG first, last;        // selection before the insertion
        const char* chars;
        const char* face;
        const char* typed;       // the box's text afterwards, as the page reads it
    };
    const Row rows[] = {
        {"Une r\xE9ponse", 4, 6, "a", "Symbol", "Une aponse"},   // Greek alpha: the byte a in Symbol
        {"Une rponse", 5, 5, "\xE9", "Arial", "Une r\xE9ponse"},  // at the caret, nothing selected
        {"Une r\xE9ponse", 0, 3, "}{\\", "Arial", "}{\\ r\xE9ponse"},  // braces and backslash too
        {"x", 1, 1, "\x80\x9C\xC7", "Arial", "x\x80\x9C\xC7"},   // euro, oe, C cedilla
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chars);
        ASSERT_TRUE(kz::win::show_rich_text(host.get(), 1011, row.before));
        CHARRANGE selection = {row.first, row.last};
        SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        ASSERT_TRUE(kz::win::insert_symbol_text(control, row.chars, row.face));
        EXPECT_EQ(kz::win::rich_edit_text(host.get(), 1011), row.typed);
        // Latin characters are held as themselves, so that they show in the
        // face that was asked for.
        if (std::string_view(row.face) != "Symbol") {
            EXPECT_EQ(control_text(control), kz::win::widen(row.typed));
        }

        const auto inserted = static_cast<LONG>(std::string_view(row.chars).size());
        const CHARFORMAT2W symbol = format_of(control, row.first, row.first + inserted);
        std::wstring face(row.face, row.face + std::string_view(row.face).size());
        EXPECT_EQ(std::wstring(symbol.szFaceName), face);
        EXPECT_EQ(symbol.yHeight, 200);  // 10 points
        // The text on either side keeps the box's own format.
        if (row.first > 0) {
            expect_arial_11_plain(format_of(control, 0, row.first));
        }
        const CHARFORMAT2W after = format_of(control, row.first + inserted, -1);
        EXPECT_STREQ(after.szFaceName, L"Arial");
        EXPECT_EQ(after.yHeight, 220);
    }
    // Every character of two palette categories, one inserted after the other
    // as the palette does, for the eye.
    ASSERT_TRUE(kz::win::show_rich_text(host.get(), 1011, "Arial : "));
    SendMessageW(control, EM_SETSEL, -1, -1);
    for (const char c : std::string_view("\xE0\xE9\xC7\x9C\x80\xA3\xBF\xBD"))
        kz::win::insert_symbol_text(control, std::string(1, c), "Arial");
    kz::win::insert_symbol_text(control, " Symbol : ", "Arial");
    for (const char c : std::string_view("abgpABGW\xA7\xA8\xA9\xAA\xB1\xA3\xB3\xA5\xE5\xF2"))
        kz::win::insert_symbol_text(control, std::string(1, c), "Symbol");
    UpdateWindow(host.get());
    EXPECT_TRUE(screenshot_when(host.get(), pumping(showing(RGB(0, 0, 0), control)),
                                artefacts_dir() / "palette-insertions.bmp"))
        << "the inserted characters are not written";
}

TEST(RichTextDisplay, AnswerBoxIsReadBackInWindows1252WithItsLineBreaks) {
    HostWindow host(640, 200);
    ASSERT_TRUE(host.has_rich_edit());
    HWND control = host.add(L"RichEdit20W", 1011, ES_MULTILINE, 10, 10, 600, 150, WS_EX_CLIENTEDGE);
    for (const char* typed : {"", "Paris", "No\xEBl \x80 \x9Cuvre", "Deux\r\nlignes", "a\r\n\r\nb"}) {
        SCOPED_TRACE(typed);
        SetWindowTextW(control, kz::win::widen(typed).c_str());
        EXPECT_EQ(kz::win::rich_edit_text(host.get(), 1011), typed);
    }
    EXPECT_EQ(kz::win::rich_edit_text(host.get(), 4242), "");
}

// What the student sees: the built-in welcome text on a page-sized control
// with the page colour behind it, and a plain text.
TEST(RichTextDisplay, WelcomeTextAndPlainTextAsTheStudentSeesThem) {
    constexpr COLORREF page_colour = RGB(255, 250, 230);
    HostWindow host(640, 360);
    ASSERT_TRUE(host.has_rich_edit());
    HWND control = host.add(L"RichEdit20W", 1019, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL, 4, 4,
                            630, 350);
    const std::string quiz_name = "Les capitales d'Europe";
    ASSERT_TRUE(kz::win::show_rich_text(host.get(), 1019, welcome_text(quiz_name)));
    kz::win::set_rich_background(control, page_colour);

    const LONG heading = find_text(control, L"Bienvenue !");
    ASSERT_GE(heading, 0);
    EXPECT_EQ(alignment_at(control, heading), PFA_CENTER);
    EXPECT_TRUE(format_of(control, heading, heading + 9).dwEffects & CFE_BOLD);
    const LONG name = find_text(control, L"Les capitales d'Europe");
    ASSERT_GE(name, 0);
    const CHARFORMAT2W name_format = format_of(control, name, name + 22);
    EXPECT_EQ(name_format.crTextColor, RGB(0, 0, 255));
    EXPECT_TRUE(name_format.dwEffects & CFE_BOLD);
    EXPECT_GE(find_text(control, L"Veuillez r\u00E9pondre aux questions"), 0);
    SendMessageW(control, EM_SETSEL, 0, 0);

    UpdateWindow(host.get());
    // The quiz's name in blue, and the page colour filling the control where
    // there is no text (bottom left).
    const auto welcome_painted = [&](const Picture& picture) {
        RECT box = {};
        GetWindowRect(control, &box);
        return picture.shows(RGB(0, 0, 255), control) &&
               picture.at(box.left + 8 - picture.frame.left, box.bottom - 8 - picture.frame.top) == page_colour;
    };
    EXPECT_TRUE(screenshot_when(host.get(), pumping(welcome_painted), artefacts_dir() / "welcome-text.bmp"))
        << "the welcome text is not shown on the page colour";

    ASSERT_TRUE(kz::win::show_rich_text(host.get(), 1019,
                                        "Un texte simple, sans mise en forme : il s'affiche en Arial 11 points, "
                                        "noir, align\xE9 \xE0 gauche.\r\nDeuxi\xE8me ligne."));
    expect_arial_11_plain(format_of(control, 0, -1));
    SendMessageW(control, EM_SETSEL, 0, 0);
    UpdateWindow(host.get());
    EXPECT_TRUE(screenshot_when(host.get(), pumping(showing(RGB(0, 0, 0), control)),
                                artefacts_dir() / "plain-text.bmp"))
        << "the plain text is not written in black";
}

TEST(Images, PicturesAreFittedIntoTheirBoxSideBySide) {
    const fs::path dir = scratch_dir("fitted-pictures");
    HostWindow host(800, 200);
    struct Row {
        int width, height, max_width, max_height;
        int shown_width, shown_height;
    };
    const Row rows[] = {
        {40, 30, 90, 90, 40, 30},       // smaller than its box: natural size
        {200, 150, 90, 90, 90, 90},     // larger: stretched to the box
        {60, 120, 90, 90, 60, 90},      // only too high
        {800, 62, 570, 62, 570, 62},    // a banner
        {300, 20, 90, 90, 90, 20},      // lower than its box but wider: narrowed to it
        {90, 90, 90, 90, 90, 90},       // exactly its box
        {200, 150, 0, 90, 200, 150},    // no box: natural size
        {200, 150, 90, 0, 200, 150},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height) + " in " +
                     std::to_string(row.max_width) + "x" + std::to_string(row.max_height));
        HWND picture = host.add(L"Static", 1028, SS_BITMAP | SS_NOTIFY, 10, 10, 20, 20);
        const fs::path file = write_bitmap(dir, row.width, row.height);
        const auto bitmap = kz::win::load_fitted_bitmap(host.get(), 1028, file, row.max_width, row.max_height);
        ASSERT_TRUE(bitmap);
        const SIZE size = bitmap_size(bitmap.get());
        EXPECT_EQ(size.cx, row.shown_width);
        EXPECT_EQ(size.cy, row.shown_height);
        EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)), bitmap.get());
        const SIZE control = window_size(picture);
        EXPECT_EQ(control.cx, row.shown_width);
        EXPECT_EQ(control.cy, row.shown_height);
        // The picture itself is there: red on the left, blue on the right.
        EXPECT_EQ(bitmap_pixel(bitmap.get(), 1, size.cy / 2), red);
        EXPECT_EQ(bitmap_pixel(bitmap.get(), size.cx - 2, size.cy / 2), blue);
        DestroyWindow(picture);
    }
}

TEST(Images, UnreadablePictureLeavesTheControlAsItWas) {
    const fs::path dir = scratch_dir("unreadable-pictures");
    HostWindow host(300, 200);
    HWND picture = host.add(L"Static", 1044, SS_BITMAP, 10, 10, 20, 20);
    const auto logo = kz::win::load_fitted_bitmap(host.get(), 1044, write_bitmap(dir, 92, 81), 92, 81);
    ASSERT_TRUE(logo);
    {
        std::ofstream(dir / "not-a-picture.bmp") << "Ceci n'est pas une image.";
    }
    for (const fs::path& file : {dir / "missing.bmp", dir / "not-a-picture.bmp"}) {
        SCOPED_TRACE(file.string());
        EXPECT_FALSE(kz::win::load_fitted_bitmap(host.get(), 1044, file, 92, 81));
        EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)), logo.get());
    }
}

// The preview runs modally on this thread; a second thread watches it, does
// what the student does, and reports what it saw.
struct PreviewWatch {
    HWND window = nullptr;
    RECT frame = {};
    SIZE picture = {};
    HBITMAP bitmap = nullptr;
    bool painted = false;  // the picture's red and blue on the screen, when asked to look
    bool closed_in_time = false;
};

HWND find_preview() {
    return FindWindowW(L"#32770", L"Aper\u00E7u de l'image");
}

template <class Action>
std::thread watch_preview(PreviewWatch& watch, HWND other, Action action, const fs::path& shot = {}) {
    return std::thread([&watch, other, action, shot] {
        // The dialog is found as soon as it is made; it shows once it is
        // laid out around its picture.
        if (!wait_until([&] { return (watch.window = find_preview()) != nullptr; }, 5s)) return;
        wait_until([&] { return IsWindowVisible(watch.window) != FALSE; }, 5s);
        GetWindowRect(watch.window, &watch.frame);
        HWND picture = GetDlgItem(watch.window, IDC_PREVIEW_PICTURE);
        watch.picture = window_size(picture);
        watch.bitmap = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
        if (!shot.empty()) {
            const auto both_halves = [picture](const Picture& shown) {
                return shown.shows(red, picture) && shown.shows(blue, picture);
            };
            watch.painted = screenshot_when(watch.window, both_halves, shot).has_value();
        }
        action(watch.window, other);
        watch.closed_in_time = wait_until([&] { return !IsWindow(watch.window); }, 2500ms);
        if (!watch.closed_in_time) PostMessageW(watch.window, WM_CLOSE, 0, 0);  // do not hang the run
    });
}

class ImagePreview : public testing::Test {
protected:
    void SetUp() override {
        resources_ = LoadLibraryExW(runner_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(resources_, nullptr) << "the runner's resources cannot be read";
        dir_ = scratch_dir("preview");
    }
    void TearDown() override {
        if (resources_) FreeLibrary(resources_);
    }
    HMODULE resources_ = nullptr;
    fs::path dir_;
};

TEST_F(ImagePreview, ShowsThePictureCentredAndWholeAndFreesItOnClosing) {
    RECT work = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const int screen_width = GetSystemMetrics(SM_CXSCREEN), screen_height = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        const char* name;
        int width, height;
    } pictures[] = {{"image-preview", 300, 200}, {"image-preview-larger-than-the-screen", 2400, 1200}};
    for (const auto& row : pictures) {
        SCOPED_TRACE(row.name);
        const fs::path file = write_bitmap(dir_, row.width, row.height);
        PreviewWatch watch;
        auto watcher = watch_preview(
            watch, nullptr, [](HWND preview, HWND) { PostMessageW(preview, WM_COMMAND, IDCANCEL, 0); },
            artefacts_dir() / (std::string(row.name) + ".bmp"));
        kz::win::show_image_preview(file, resources_);
        watcher.join();
        ASSERT_NE(watch.window, nullptr) << "no preview window";
        EXPECT_TRUE(watch.painted) << "the picture's two halves are not on the screen";
        EXPECT_TRUE(watch.closed_in_time);
        EXPECT_EQ(watch.frame.right - watch.frame.left, watch.picture.cx + 20);
        EXPECT_EQ(watch.frame.bottom - watch.frame.top, watch.picture.cy + 35);
        if (row.width + 20 <= work.right - work.left && row.height + 35 <= work.bottom - work.top) {
            // At its natural size, the picture itself centred on the screen.
            EXPECT_EQ(watch.picture.cx, row.width);
            EXPECT_EQ(watch.picture.cy, row.height);
            EXPECT_EQ(watch.frame.left, (screen_width - row.width) / 2);
            EXPECT_EQ(watch.frame.top, (screen_height - row.height) / 2);
        } else {
            // Reduced with its proportions to the work area, and wholly on it.
            EXPECT_NEAR(static_cast<double>(watch.picture.cx) / watch.picture.cy,
                        static_cast<double>(row.width) / row.height, 0.01);
            EXPECT_TRUE(watch.frame.left >= work.left && watch.frame.top >= work.top &&
                        watch.frame.right <= work.right && watch.frame.bottom <= work.bottom);
            EXPECT_LE(std::min(work.right - work.left - (watch.frame.right - watch.frame.left),
                               work.bottom - work.top - (watch.frame.bottom - watch.frame.top)),
                      1)
                << "reduced no further than the work area asks";
        }
        ASSERT_NE(watch.bitmap, nullptr);
        EXPECT_EQ(GetObjectType(watch.bitmap), 0u) << "the preview's bitmap outlives it";
    }
}

TEST_F(ImagePreview, ClosesOnEveryWayOfLeavingIt) {
    const fs::path file = write_bitmap(dir_, 120, 80);
    HostWindow other(200, 100);
    struct Row {
        const char* way;
        void (*action)(HWND preview, HWND other);
    };
    const Row rows[] = {
        {"click on the picture",
         [](HWND preview, HWND) {
             PostMessageW(preview, WM_COMMAND, MAKEWPARAM(IDC_PREVIEW_PICTURE, STN_CLICKED),
                          reinterpret_cast<LPARAM>(GetDlgItem(preview, IDC_PREVIEW_PICTURE)));
         }},
        {"click in the window", [](HWND preview, HWND) { PostMessageW(preview, WM_LBUTTONDOWN, MK_LBUTTON, 0); }},
        {"Enter", [](HWND preview, HWND) { PostMessageW(preview, WM_COMMAND, IDOK, 0); }},
        {"close box", [](HWND preview, HWND) { PostMessageW(preview, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"another window activated", [](HWND, HWND other) { SetForegroundWindow(other); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.way);
        PreviewWatch watch;
        auto watcher = watch_preview(watch, other.get(), row.action);
        kz::win::show_image_preview(file, resources_);
        watcher.join();
        ASSERT_NE(watch.window, nullptr);
        EXPECT_TRUE(watch.closed_in_time);
    }
}

TEST_F(ImagePreview, UnreadablePictureGivesAnEmptyPreviewThatStillCloses) {
    PreviewWatch watch;
    auto watcher = watch_preview(watch, nullptr, [](HWND preview, HWND) { PostMessageW(preview, WM_CLOSE, 0, 0); });
    kz::win::show_image_preview(dir_ / "missing.bmp", resources_);
    watcher.join();
    ASSERT_NE(watch.window, nullptr);
    EXPECT_TRUE(watch.closed_in_time);
    EXPECT_EQ(watch.bitmap, nullptr);
}

// A short MIDI sequence: one note.
fs::path write_tune(const fs::path& file) {
    const unsigned char tune[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                                  'M', 'T', 'r', 'k', 0, 0, 0, 12, 0x00, 0x90, 0x3C, 0x40,
                                  0x60, 0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00};
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(tune), sizeof tune);
    return file;
}

// What the music alias answers: its mode, or nothing when it is not open.
std::optional<std::wstring> music_mode() {
    wchar_t answer[100] = {};
    if (mciSendStringW(L"status finch mode", answer, 100, nullptr) != 0) return std::nullopt;
    return std::wstring(answer);
}

TEST(Music, PlaysFromAPathWithBlanksAndStops) {
    const fs::path dir = scratch_dir("music");
    const fs::path tune = write_tune(dir / L"Musiques du quiz" / L"air de f\u00EAte.mid");
    kz::win::play_music(tune);
    EXPECT_EQ(music_mode(), L"playing");
    kz::win::play_music(tune);  // again: from the start, still one music
    EXPECT_EQ(music_mode(), L"playing");
    kz::win::stop_music();
    EXPECT_EQ(music_mode(), std::nullopt) << "the music is still open";
    kz::win::stop_music();  // stopping nothing is harmless
    EXPECT_EQ(music_mode(), std::nullopt);
}

TEST(Music, FileThatIsNoSequenceStopsTheMusicPlayingAndPlaysNothing) {
    const fs::path dir = scratch_dir("not-music");
    kz::win::play_music(write_tune(dir / "tune.mid"));
    ASSERT_EQ(music_mode(), L"playing");
    std::ofstream(dir / "text.mid") << "Ceci n'est pas une musique.";
    for (const fs::path& file : {dir / "text.mid", dir / "missing.mid"}) {
        SCOPED_TRACE(file.string());
        kz::win::play_music(file);
        EXPECT_EQ(music_mode(), std::nullopt);
    }
    kz::win::stop_music();
}

}  // namespace
}  // namespace kz::e2e
