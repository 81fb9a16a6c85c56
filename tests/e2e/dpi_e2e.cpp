// The runner's windows at other dots per inch, under Wine: the main window and
// its page, the correction dialog and the palette told that they moved to a
// screen of 120 or 144 dots per inch (WM_DPICHANGED, as Windows tells a
// program that declares per-monitor awareness) grow their layout and fonts
// with it, and the main window, which needs 812 pixels of height at 144, is
// made to fit a smaller work area with its buttons in reach. The same
// windows at the prefix's own dots per inch are photographed to be looked
// at (build/windows/artefacts/dpi-<dots per inch>/).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iostream>
#include <optional>
#include <vector>
#include <string>

#include "harness/correction_window.h"
#include "harness/exam_window.h"
#include "harness/harness.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int palette_characters = 777;
constexpr int frame_buttons[] = {ids::about, ids::help, ids::next, ids::quit};

// Tells a window of the runner that it is now on a screen of this many dots
// per inch, with the place Windows would suggest (where it is). The
// suggested rectangle is written into the runner's memory, where the message
// points.
bool send_dpi_changed(const Process& process, HWND window, int dpi) {
    RECT suggested = {};
    GetWindowRect(window, &suggested);
    void* remote = VirtualAllocEx(process.handle(), nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return false;
    SIZE_T written = 0;
    DWORD_PTR result = 0;
    const bool sent =
        WriteProcessMemory(process.handle(), remote, &suggested, sizeof suggested, &written) &&
        written == sizeof suggested &&
        SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote),
                            SMTO_ABORTIFHUNG, 10000, &result) != 0;
    VirtualFreeEx(process.handle(), remote, 0, MEM_RELEASE);
    return sent;
}

SIZE client_size(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

SIZE window_size(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

RECT screen_rect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT work_area() {
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

::testing::AssertionResult contains(const RECT& outer, const RECT& inner) {
    if (inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
        inner.bottom <= outer.bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << inner.left << ", " << inner.top << ")-(" << inner.right << ", "
                                         << inner.bottom << ") is not within (" << outer.left << ", " << outer.top
                                         << ")-(" << outer.right << ", " << outer.bottom << ")";
}

// The client area in screen coordinates.
RECT client_on_screen(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

// The size of what is drawn in the control: the box around its pixels of
// another colour than its background (the top-left pixel's); nothing when
// it shows nothing.
SIZE ink_size(HWND control) {
    const auto picture = picture_of(control);
    if (!picture) return {0, 0};
    const COLORREF background = picture->at(0, 0);
    RECT ink = {picture->width, picture->height, -1, -1};
    for (int y = 0; y < picture->height; ++y)
        for (int x = 0; x < picture->width; ++x) {
            if (picture->at(x, y) == background) continue;
            ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x),
                   std::max<LONG>(ink.bottom, y)};
        }
    return ink.right < ink.left ? SIZE{0, 0} : SIZE{ink.right - ink.left + 1, ink.bottom - ink.top + 1};
}

int ink_height(HWND control) { return ink_size(control).cy; }

// True once the window and its children have nothing left to paint and each
// of these controls shows something drawn.
bool painted(HWND window, std::initializer_list<int> controls) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    bool pending = false;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM pending) -> BOOL {
            *reinterpret_cast<bool*>(pending) = GetUpdateRect(child, nullptr, FALSE) != 0;
            return !*reinterpret_cast<bool*>(pending);
        },
        reinterpret_cast<LPARAM>(&pending));
    if (pending) return false;
    for (const int control : controls)
        if (ink_height(GetDlgItem(window, control)) == 0) return false;
    return true;
}

double ratio(LONG after, LONG before) { return before > 0 ? static_cast<double>(after) / before : 0.0; }

// The capitals quiz asked at once, open answers, in training mode.
RunningQuiz start_exam(const fs::path& dir) {
    QuizModel quiz = capitals_quiz(dir / "resultats.dat");
    quiz.show_welcome_page = quiz.use_home_page = 0;
    quiz.default_training_mode = 1;
    quiz.default_question_count = 3;
    return start_quiz(dir, quiz);
}

HWND open_palette(const RunningQuiz& run) {
    if (!wait_until([&] { return item_visible(run.window, ids::palette); })) return nullptr;
    click_control(run.window, ids::palette);
    return run.process->wait_window(L"#32770", 10s, wide_text("Caractères spéciaux"));
}

class MainWindowAtAnotherDpi : public ::testing::TestWithParam<int> {};

// The window, its page and the title's font grow by the same scale: the
// screen's (dpi / 96) when the window fits the work area so, else the largest
// that fits it, the window then taking the work area's whole height or
// width. Every button of the frame stays on the screen, and the next page,
// made after the change, is laid out at the same scale.
TEST_P(MainWindowAtAnotherDpi, GrowsItsLayoutAndFontsAndStaysWithinTheWorkArea) {
    const int dpi = GetParam();
    const fs::path dir = scratch_dir("dpi-main-" + std::to_string(dpi));
    RunningQuiz run = start_exam(dir);
    ASSERT_NE(run.window, nullptr);
    HWND page = wait_page_with(run.window, ids::answer);
    ASSERT_NE(page, nullptr);
    HWND title = GetDlgItem(run.window, ids::title);
    ASSERT_TRUE(wait_until([&] { return ink_height(title) > 0; }));
    const HWND texts[] = {GetDlgItem(page, ids::prompt), GetDlgItem(page, ids::question)};
    for (HWND text : texts) ASSERT_TRUE(wait_until([&] { return ink_height(text) > 0; }));
    const SIZE client = client_size(run.window), page_size = window_size(page);
    const int title_ink = ink_height(title);
    const SIZE texts_ink[] = {ink_size(texts[0]), ink_size(texts[1])};
    const double screen_scale = dpi / 96.0;

    ASSERT_TRUE(send_dpi_changed(*run.process, run.window, dpi));
    ASSERT_TRUE(wait_until([&] { return client_size(run.window).cy != client.cy; }));
    const SIZE grown = client_size(run.window);
    const double scale = ratio(grown.cy, client.cy);
    EXPECT_NEAR(ratio(grown.cx, client.cx), scale, 0.02);
    EXPECT_LE(scale, screen_scale + 0.01);
    const RECT work = work_area(), window = screen_rect(run.window);
    EXPECT_TRUE(contains(work, window)) << "the window leaves the work area";
    if (scale < screen_scale - 0.01) {
        // Within a hundredth: the layout's scale is one of whole dots per inch.
        EXPECT_TRUE(window.bottom - window.top >= (work.bottom - work.top) * 99 / 100 ||
                    window.right - window.left >= (work.right - work.left) * 99 / 100)
            << "made smaller than the work area needs";
    }
    EXPECT_NEAR(ratio(window_size(page).cy, page_size.cy), scale, 0.02);
    EXPECT_NEAR(ratio(window_size(page).cx, page_size.cx), scale, 0.02);
    EXPECT_TRUE(wait_until([&] { return std::abs(ratio(ink_height(title), title_ink) - scale) < 0.2; }))
        << "the title's letters are " << ink_height(title) << " pixels high, were " << title_ink;
    const auto near_scale = [&](LONG after, LONG before) { return std::abs(ratio(after, before) - scale) < 0.2; };
    // The prompt's and the question's rich texts grow with them, in height
    // and width, each in its own fonts.
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(wait_until([&] {
            const SIZE ink = ink_size(texts[i]);
            return near_scale(ink.cx, texts_ink[i].cx) && near_scale(ink.cy, texts_ink[i].cy);
        })) << "the letters of text " << i << " take " << ink_size(texts[i]).cx << " x " << ink_size(texts[i]).cy
            << " pixels, took " << texts_ink[i].cx << " x " << texts_ink[i].cy;
    for (const int button : frame_buttons)
        EXPECT_TRUE(contains(client_on_screen(run.window), screen_rect(GetDlgItem(run.window, button))))
            << "button " << button << " is cut off";

    // The next question's page, made at the screen's own dots per inch, is
    // laid out as the window is.
    const SIZE scaled_page = window_size(page);
    ASSERT_TRUE(answer_question(run.window, capitals_questions()[0].answer));
    ASSERT_TRUE(wait_until([&] { return question_number(run.window) == 2; }));
    HWND next_page = current_page(run.window);
    ASSERT_NE(next_page, nullptr);
    EXPECT_NEAR(window_size(next_page).cx, scaled_page.cx, 2);
    EXPECT_NEAR(window_size(next_page).cy, scaled_page.cy, 2);
    EXPECT_TRUE(wait_until([&] { return near_scale(ink_height(GetDlgItem(next_page, ids::question)), texts_ink[1].cy); }));
    EXPECT_TRUE(quit_runner(run));
}

INSTANTIATE_TEST_SUITE_P(Dpi, MainWindowAtAnotherDpi, ::testing::Values(120, 144),
                         [](const auto& info) { return "At" + std::to_string(info.param); });

TEST(DialogsAtAnotherDpi, TheCorrectionRefitsItselfAndThePaletteGrowsItsCharacters) {
    const fs::path dir = scratch_dir("dpi-dialogs");
    RunningQuiz run = start_exam(dir);
    ASSERT_NE(run.window, nullptr);
    ASSERT_NE(wait_page_with(run.window, ids::answer), nullptr);

    HWND palette = open_palette(run);
    ASSERT_NE(palette, nullptr);
    const auto item_height = [&] {
        return static_cast<int>(SendDlgItemMessageW(palette, palette_characters, LB_GETITEMHEIGHT, 0, 0));
    };
    const int characters_height = item_height();
    const SIZE palette_client = client_size(palette);
    ASSERT_TRUE(send_dpi_changed(*run.process, palette, 144));
    ASSERT_TRUE(wait_until([&] { return client_size(palette).cy != palette_client.cy; }));
    EXPECT_NEAR(ratio(client_size(palette).cx, palette_client.cx), 1.5, 0.02);
    EXPECT_NEAR(ratio(client_size(palette).cy, palette_client.cy), 1.5, 0.02);
    EXPECT_NEAR(ratio(item_height(), characters_height), 1.5, 0.1)
        << "the characters are " << item_height() << " pixels high, were " << characters_height;
    for (const int button : {IDOK, IDCANCEL})
        EXPECT_TRUE(contains(client_on_screen(palette), screen_rect(GetDlgItem(palette, button))));
    click(palette, IDCANCEL);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(palette); }));

    // No answer is a wrong answer: the correction opens.
    ASSERT_TRUE(press(run.window, ids::next));
    HWND correction = wait_correction(*run.process);
    ASSERT_NE(correction, nullptr);
    const RECT before = client_on_screen(correction);
    const auto margin = [&] {  // from the last row shown to the window's edge
        return screen_rect(correction).bottom - screen_rect(GetDlgItem(correction, correction_ids::places[0].text)).bottom;
    };
    const LONG margin_before = margin();
    ASSERT_TRUE(send_dpi_changed(*run.process, correction, 144));
    const auto height = [](const RECT& rect) { return rect.bottom - rect.top; };
    ASSERT_TRUE(wait_until([&] { return height(client_on_screen(correction)) != height(before); }));
    const RECT after = client_on_screen(correction);
    EXPECT_NEAR(ratio(after.right - after.left, before.right - before.left), 1.5, 0.02);
    // Still ending under the last row shown, by the margin at the new size.
    EXPECT_NEAR(ratio(margin(), margin_before), 1.5, 0.1);
    EXPECT_TRUE(contains(after, screen_rect(GetDlgItem(correction, IDOK))));
    click(correction, IDOK);
    EXPECT_TRUE(quit_runner(run));
}

// The GDI objects of the process other than Wine's cached device contexts
// (three objects each: the context, its region, its bitmap).
std::optional<int> objects_besides_contexts(const Process& process) {
    const auto count = gdi_object_count(process);
    const auto cached = device_context_count(process);
    if (!count || !cached) return std::nullopt;
    return *count - 3 * *cached;
}

// The fonts a dialog sets on its controls go with it (the About box's when
// it closes, over a page that stays), and a change of dots per inch remakes
// the window's and its page's fonts without keeping the old ones.
TEST(DialogFonts, GoWithTheirDialogAndAreRemadeWithoutLeftoversAtEachDpiChange) {
    const fs::path dir = scratch_dir("dpi-fonts");
    RunningQuiz run = start_exam(dir);
    ASSERT_NE(run.window, nullptr);
    ASSERT_NE(wait_page_with(run.window, ids::answer), nullptr);
    const auto about_box_round = [&] {
        if (!press(run.window, ids::about)) return false;
        HWND box = run.process->wait_window(L"#32770", 10s, wide_text("À propos du questionnaire"));
        if (!box) return false;
        click(box, IDOK);
        return wait_until([&] { return !IsWindow(box); });
    };
    const auto dpi_round = [&] {
        return send_dpi_changed(*run.process, run.window, 144) && send_dpi_changed(*run.process, run.window, 96);
    };
    std::vector<int> counts;
    for (int round = 0; round < 8; ++round) {
        ASSERT_TRUE(about_box_round()) << "round " << round + 1;
        ASSERT_TRUE(dpi_round()) << "round " << round + 1;
        // Counted once the window is painted and the count holds still:
        // painting makes and deletes objects of its own.
        std::optional<int> count;
        ASSERT_TRUE(wait_until([&] {
            if (!painted(run.window, {})) return false;
            const auto first = objects_besides_contexts(*run.process);
            Sleep(50);
            count = objects_besides_contexts(*run.process);
            return first && count && *first == *count;
        })) << "the GDI objects cannot be counted";
        counts.push_back(*count);
    }
    // The first round makes what is then kept (the template's font at the
    // window's size); every round after leaves the count where it was.
    std::string all;
    for (const int count : counts) all += std::to_string(count) + " ";
    std::cout << "GDI objects: " << all << "\n";
    EXPECT_EQ(counts[1], counts.back()) << all;
    EXPECT_TRUE(quit_runner(run));
}

// At the prefix's own dots per inch (the registry's LogPixels): a question
// page, the palette and the correction fit the work area with every button
// inside its window. Their pictures are kept to be looked at.
TEST(DpiOfThePrefix, AQuestionPageThePaletteAndTheCorrectionFitTheScreen) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const fs::path shots = artefacts_dir() / ("dpi-" + std::to_string(dpi));
    fs::create_directories(shots);
    RunningQuiz run = start_exam(scratch_dir("dpi-prefix"));
    ASSERT_NE(run.window, nullptr);
    HWND page = wait_page_with(run.window, ids::answer);
    ASSERT_NE(page, nullptr);
    const RECT work = work_area();
    EXPECT_TRUE(contains(work, screen_rect(run.window)));
    EXPECT_TRUE(contains(client_on_screen(run.window), screen_rect(page)));
    for (const int button : frame_buttons)
        EXPECT_TRUE(contains(client_on_screen(run.window), screen_rect(GetDlgItem(run.window, button))));
    EXPECT_TRUE(wait_until([&] { return painted(run.window, {ids::about, ids::help, ids::next, ids::quit}); }));
    EXPECT_TRUE(screenshot(run.window, shots / "question-page.bmp"));

    HWND palette = open_palette(run);
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(contains(work, screen_rect(palette)));
    for (const int control : {IDOK, IDCANCEL, palette_characters})
        EXPECT_TRUE(contains(client_on_screen(palette), screen_rect(GetDlgItem(palette, control))));
    EXPECT_TRUE(wait_until([&] { return painted(palette, {IDOK, IDCANCEL, palette_characters}); }));
    EXPECT_TRUE(screenshot(palette, shots / "palette.bmp"));
    click(palette, IDCANCEL);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(palette); }));

    ASSERT_TRUE(press(run.window, ids::next));
    HWND correction = wait_correction(*run.process);
    ASSERT_NE(correction, nullptr);
    EXPECT_TRUE(contains(work, screen_rect(correction)));
    for (const int control : {IDOK, correction_ids::places[0].text})
        EXPECT_TRUE(contains(client_on_screen(correction), screen_rect(GetDlgItem(correction, control))));
    EXPECT_TRUE(wait_until([&] { return painted(correction, {IDOK, correction_ids::heading}); }));
    EXPECT_TRUE(screenshot(correction, shots / "correction.bmp"));
    click(correction, IDOK);
    EXPECT_TRUE(quit_runner(run));
}

}  // namespace
}  // namespace kz::e2e
