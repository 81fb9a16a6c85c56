// Start-up of the real runner under Wine: the damaged-file message for every
// file that holds no usable quiz, and the main window for a packed quiz.
#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "harness/exam_window.h"
#include "harness/harness.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/quiz_loader.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

// Starts the program and expects message 111 and nothing else, then its exit.
void expect_damaged_file_message(const fs::path& program) {
    auto process = Process::start(program);
    ASSERT_TRUE(process) << program;
    HWND box = process->wait_window(L"#32770", 20s);
    ASSERT_NE(box, nullptr) << "no message box for " << program;
    const auto content = message_box_content(box);
    EXPECT_EQ(content.caption, L"Savanto");
    EXPECT_EQ(content.text, message(111));
    EXPECT_TRUE(process->windows(L"QuizKZClasse").empty());
    click(box, IDOK);
    EXPECT_TRUE(process->wait_exit(10s));
    EXPECT_EQ(process->exit_code(), 0u);
}

fs::path pack_demo(const fs::path& dir) {
    const fs::path quiz = dir / "demo.exe";
    const fs::path source = source_dir() / "samples" / "demo" / "demo.json";
    const int code = run_program(packer_path(), L"build \"" + source.wstring() + L"\" --runner \"" +
                                                    runner_path().wstring() + L"\" -o \"" + quiz.wstring() + L"\"");
    return code == 0 ? quiz : fs::path();
}

TEST(RunnerStart, LeavesTheQuizMarkerBytesFree) {
    const auto runner = read_whole_file(runner_path());
    ASSERT_TRUE(runner);
    ASSERT_GT(runner->size(), 199u);
    EXPECT_EQ(runner->substr(192, 7), std::string(7, '\0'));
    EXPECT_EQ(runner->substr(0, 2), "MZ");
}

TEST(RunnerStart, BareRunnerShowsTheDamagedFileMessage) {
    const fs::path dir = scratch_dir("bare");
    const fs::path copy = dir / "runner.exe";
    fs::copy_file(runner_path(), copy);
    expect_damaged_file_message(copy);
}

TEST(RunnerStart, EveryDamagedContainerShowsTheDamagedFileMessage) {
    const fs::path dir = scratch_dir("damaged");
    const fs::path quiz = pack_demo(dir);
    ASSERT_FALSE(quiz.empty()) << "the packer could not build the demo quiz";
    for (const wchar_t* kind :
         {L"bad-marker", L"overlay-past-end", L"stream-past-end", L"stream-before-overlay", L"no-stream-offset",
          L"truncated-stream", L"long-line", L"nul-in-line", L"bad-theme-count", L"negative-theme-count",
          L"bad-question-count", L"count-as-binary", L"huge-media-count", L"long-media-name", L"long-scrambled"}) {
        SCOPED_TRACE(fs::path(kind).string());
        const fs::path damaged = dir / (std::wstring(kind) + L".exe");
        ASSERT_EQ(run_program(packer_path(), std::wstring(L"damage ") + kind + L" \"" + quiz.wstring() +
                                                 L"\" -o \"" + damaged.wstring() + L"\""),
                  0);
        expect_damaged_file_message(damaged);
    }
}

TEST(RunnerStart, PackedQuizOpensTheMainWindowWithItsName) {
    const fs::path dir = scratch_dir("demo");
    const fs::path quiz = pack_demo(dir);
    ASSERT_FALSE(quiz.empty());
    auto process = Process::start(quiz);
    ASSERT_TRUE(process);
    HWND window = process->wait_window(L"QuizKZClasse", 20s);
    ASSERT_NE(window, nullptr);
    const auto file = FileSource::open(quiz);
    ASSERT_TRUE(file);
    const auto quiz_model = load_quiz(*file, *check_container(*file));
    ASSERT_TRUE(quiz_model);
    const std::u16string name = cp1252_to_utf16(quiz_model.value().quiz_name);
    EXPECT_FALSE(name.empty());
    // The quiz's banner takes the place of its name in the title band.
    if (quiz_model.value().show_banner != 0) {
        EXPECT_TRUE(item_visible(window, 1041));
        EXPECT_FALSE(item_visible(window, 1004));
    } else {
        EXPECT_EQ(item_text(window, 1004), std::wstring(name.begin(), name.end()));
    }
    EXPECT_EQ(class_of(window), L"QuizKZClasse");
    // The quiz's own colours around and on its first page, once painted.
    const auto window_colour = static_cast<COLORREF>(quiz_model.value().window_colour);
    const auto page_colour = static_cast<COLORREF>(quiz_model.value().page_colour);
    const auto painted = [&](const Picture& picture) {
        return picture.shows(window_colour) && exam_window_painted(window, page_colour)(picture);
    };
    EXPECT_TRUE(screenshot_when(window, painted, artefacts_dir() / "main-window.bmp"))
        << "the window is not painted in the quiz's colours";
    // The exam has not ended: "Quitter" asks first.
    click(window, 1001);
    HWND question = wait_message_box(*process);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(message_box_content(question).text, message(104));
    press(question, IDYES);
    EXPECT_TRUE(process->wait_exit(10s));
}

}  // namespace
}  // namespace kz::e2e
