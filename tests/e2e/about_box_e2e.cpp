// The About box of the real runner under Wine, opened with the main window's
// "À propos..." button: the quiz's own texts, the creator line, the maker's
// notice and link, and every way of closing it.
#include <gtest/gtest.h>

#include <ostream>
#include <windows.h>

#include <string>

#include "common/cp1252.h"
#include "harness/harness.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int about_button = 1000;
constexpr int quit_button = 1001;
const std::wstring about_caption = L"\u00C0 propos du questionnaire";

std::string cp1252(const char* utf8) { return utf8_to_cp1252(utf8).value(); }

std::wstring wide(const char* utf8) {
    const std::u16string text = cp1252_to_utf16(cp1252(utf8));
    return std::wstring(text.begin(), text.end());
}

// A quiz executable made of the built runner and a one-question quiz with
// these header texts.
fs::path make_quiz(const fs::path& dir, const std::string& name, const std::string& author,
                   const std::string& comment, const std::string& product, const std::string& version) {
    const auto runner = read_whole_file(runner_path());
    if (!runner) return {};
    QuizModel quiz;
    quiz.product_name = product;
    quiz.product_version = version;
    quiz.quiz_name = name;
    quiz.author = author;
    quiz.comment = comment;
    Theme theme;
    theme.name = "Capitales";
    theme.prompt = "Quelle est la capitale de ce pays ?";
    theme.reverse_prompt = "De quel pays est-ce la capitale ?";
    theme.questions.push_back({"Italie", "Rome", "", "", ""});
    quiz.themes.push_back(theme);
    auto executable = build_quiz_executable(*runner, quiz, {});
    if (!executable) return {};
    const fs::path file = dir / "quiz.exe";
    FILE* out = _wfopen(file.c_str(), L"wb");
    if (!out) return {};
    fwrite(executable.value().data(), 1, executable.value().size(), out);
    fclose(out);
    return file;
}

struct AboutCase {
    const char* name;
    const char* author;
    const char* comment;
    const char* product;
    const char* version;
    const char* creator_line;  // as the box must show it
    const char* closed_by;
    const char* screenshot;    // file in the artefacts folder
};

// Test logs name a row by the way the box is closed.
void PrintTo(const AboutCase& row, std::ostream* out) { *out << "closed by " << row.closed_by; }

class AboutBox : public testing::TestWithParam<AboutCase> {};

TEST_P(AboutBox, ShowsTheQuizAndItsMakerAndCloses) {
    const AboutCase& row = GetParam();
    const fs::path dir = scratch_dir(std::string("about-") + row.closed_by);
    const fs::path quiz =
        make_quiz(dir, cp1252(row.name), cp1252(row.author), cp1252(row.comment), cp1252(row.product),
                  cp1252(row.version));
    ASSERT_FALSE(quiz.empty()) << "the test quiz could not be built";
    auto process = Process::start(quiz);
    ASSERT_TRUE(process);
    HWND window = process->wait_window(L"QuizKZClasse", 20s);
    ASSERT_NE(window, nullptr);

    click(window, about_button);
    HWND about = process->wait_window(L"#32770", 10s, about_caption);
    ASSERT_NE(about, nullptr) << "no About box";
    EXPECT_EQ(GetWindow(about, GW_OWNER), window);
    EXPECT_FALSE(IsWindowEnabled(window)) << "the About box is not modal";

    EXPECT_EQ(item_text(about, 1044), wide(row.name));
    EXPECT_EQ(item_text(about, 1045), wide(row.author));
    EXPECT_EQ(item_text(about, 1046), wide(row.comment));
    EXPECT_EQ(item_text(about, 1048), wide(row.creator_line));
    EXPECT_EQ(item_text(about, 1047), L"Questionnaire r\u00E9alis\u00E9 avec Savanto");
    EXPECT_EQ(item_text(about, 333), L"Visitez notre site Web pour plus d'informations :");
    EXPECT_EQ(item_text(about, 1050), L"http://www.savanto-quiz.fr");
    EXPECT_EQ(item_text(about, IDOK), L"&Fermer");

    // The quiz's name in navy (when it has one) and the link in blue, once painted.
    const auto painted = [&](const Picture& picture) {
        return (!*row.name || picture.shows(RGB(0, 0, 128), GetDlgItem(about, 1044))) &&
               picture.shows(RGB(0, 0, 255), GetDlgItem(about, 1050));
    };
    EXPECT_TRUE(screenshot_when(about, painted, artefacts_dir() / row.screenshot))
        << "the About box never showed its name in navy and its link in blue";

    const std::string way = row.closed_by;
    if (way == "fermer")
        click(about, IDOK);
    else if (way == "escape")
        PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
    else
        PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(about) || !IsWindowVisible(about); }, 5s))
        << "the About box stays open";
    EXPECT_TRUE(wait_until([&] { return IsWindowEnabled(window) != FALSE; })) << "the quiz stays disabled";
    EXPECT_TRUE(IsWindowVisible(window)) << "closing the About box closed the quiz";

    // The exam has not ended: "Quitter" asks first.
    click(window, quit_button);
    HWND question = wait_message_box(*process);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(message_box_content(question).text, message(104));
    press(question, IDYES);
    EXPECT_TRUE(process->wait_exit(10s));
}

INSTANTIATE_TEST_SUITE_P(
    RealRunner, AboutBox,
    testing::Values(
        AboutCase{"Géographie de l'Europe", "Mme Dupont",
                  "Pour la classe de 5e : capitales, fleuves et montagnes.", "Savanto", "2.0.5",
                  "Ce questionnaire a été créé avec Savanto version 2.0.5", "fermer", "about-box.bmp"},
        // Only the template is a format: a "%" of the product's name or
        // version is shown as it is.
        AboutCase{"100 % réussite", "", "", "Savanto %s", "2.0 (100%) %d %s",
                  "Ce questionnaire a été créé avec Savanto %s version 2.0 (100%) %d %s", "closebox",
                  "about-box-percent.bmp"},
        AboutCase{"Les fleuves", "Équipe & co",
                  "Un commentaire assez long pour tenir sur deux lignes : les fleuves de France, leurs sources, "
                  "leurs affluents et les villes qu'ils traversent.",
                  "Savanto", "3.1",
                  "Ce questionnaire a été créé avec Savanto version 3.1", "escape", "about-box-long-comment.bmp"}),
    [](const testing::TestParamInfo<AboutCase>& info) { return std::string("ClosedBy_") + info.param.closed_by; });

}  // namespace
}  // namespace kz::e2e
