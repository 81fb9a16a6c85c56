// Question banks made into quizzes: a teacher's spreadsheet of 25,000
// questions, the most a quiz holds, imported and built by the Windows packer
// and opened by the real runner, whose home page lists the fifty themes that
// the import cut the spreadsheet's ten themes into; and the texts that the
// import stores for characters outside Windows-1252, shown by the runner's
// rich-text display as they were written.
#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>

#include <fstream>
#include <string>

#include "bank_text.h"
#include "display/rich_text_display.h"
#include "harness/exam_window.h"
#include "harness/harness.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

// Ten themes of 2,500 questions, saved as a French spreadsheet saves them:
// semicolons, UTF-8 with its mark, a header row.
void write_spreadsheet(const fs::path& file) {
    std::string csv = "\xEF\xBB\xBFTh\xC3\xA8me;Question;R\xC3\xA9ponse;Mauvaise r\xC3\xA9ponse 1;"
                      "Mauvaise r\xC3\xA9ponse 2;Commentaire\r\n";
    for (int i = 0; i < 25000; ++i) {
        const std::string n = std::to_string(i + 1);
        csv += "Th\xC3\xA8me " + std::to_string(i / 2500 + 1) + ";Question " + n + ";r\xC3\xA9ponse " + n +
               ";faux " + n + ";\"autre; faux\";\r\n";
    }
    std::ofstream(file, std::ios::binary) << csv;
}

TEST(BankImport, SpreadsheetOfTwentyFiveThousandQuestionsOpensWithItsFiftyThemes) {
    const fs::path dir = scratch_dir("bank-import");
    const fs::path csv = dir / "banque.csv", source = dir / "banque.json", quiz = dir / "banque.exe";
    write_spreadsheet(csv);
    ASSERT_EQ(run_program(packer_path(), L"import \"" + csv.wstring() + L"\" -o \"" + source.wstring() + L"\"", 120s), 0);
    ASSERT_EQ(run_program(packer_path(), L"build \"" + source.wstring() + L"\" --runner \"" + runner_path().wstring() +
                                             L"\" -o \"" + quiz.wstring() + L"\""),
              0);

    RunningQuiz run{Process::start(quiz, dir), nullptr, quiz};
    ASSERT_TRUE(run.process);
    run.window = run.process->wait_window(L"QuizKZClasse", 30s);
    ASSERT_NE(run.window, nullptr);
    ASSERT_NE(wait_page_with(run.window, ids::welcome_text, 20s), nullptr);
    ASSERT_TRUE(press(run.window, ids::next));
    HWND page = wait_page_with(run.window, ids::home_themes, 20s);
    ASSERT_NE(page, nullptr);
    HWND themes = GetDlgItem(page, ids::home_themes);
    EXPECT_EQ(list_item_count(themes), 50);
    EXPECT_EQ(list_item_text(*run.process, themes, 0), L"Th\u00E8me 1");
    EXPECT_EQ(list_item_text(*run.process, themes, 1), L"Th\u00E8me 1 (2)");
    EXPECT_EQ(list_item_text(*run.process, themes, 49), L"Th\u00E8me 10 (5)");
    // The list shows with the home page's other options.
    ASSERT_TRUE(press(page, ids::more_options));
    EXPECT_TRUE(wait_until([&] { return item_visible(page, ids::home_themes); }, 3s));
    const auto painted = [&](const Picture& picture) {
        return picture.shows(RGB(0, 0, 0), themes) && exam_window_painted(run.window, RGB(255, 255, 255))(picture);
    };
    EXPECT_TRUE(screenshot_when(run.window, painted, artefacts_dir() / "bank-import-home-page.bmp"))
        << "the themes are not written in the list";
    EXPECT_TRUE(quit_runner(run));
}

TEST(BankImport, TextsOutsideWindows1252ShowInTheRunnersRichTextDisplay) {
    ASSERT_NE(LoadLibraryW(L"RICHED20.DLL"), nullptr);
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    constexpr int control_id = 100;
    HWND control = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_CHILD | ES_MULTILINE, 0, 0, 400, 300, parent,
                                   reinterpret_cast<HMENU>(control_id), GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    const struct {
        const char* utf8;
        const wchar_t* shown;
    } rows[] = {
        {"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", L"\u041C\u043E\u0441\u043A\u0432\u0430"},
        {"\xCE\x93\xCE\xB5\xCE\xB9\xCE\xAC \xCF\x83\xCE\xBF\xCF\x85 !", L"\u0393\u03B5\u03B9\u03AC \u03C3\u03BF\u03C5 !"},
        {"ok \xF0\x9F\x98\x80 \xC3\xA9t\xC3\xA9 {x} \\", L"ok \U0001F600 \u00E9t\u00E9 {x} \\"},
    };
    for (const auto& row : rows) {
        const std::string stored = bank::to_stored(bank::StyledText(row.utf8)).text;
        ASSERT_TRUE(stored.starts_with("{\\rtf")) << stored;
        ASSERT_TRUE(win::show_rich_text(parent, control_id, stored)) << stored;
        wchar_t shown[256] = {};
        GetWindowTextW(control, shown, 256);
        EXPECT_EQ(std::wstring(shown), row.shown) << stored;
    }
    DestroyWindow(parent);
}

}  // namespace
}  // namespace kz::e2e
