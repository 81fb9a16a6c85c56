// Where the real runner delivers an exam's record, under Wine: the file the
// registry names or the Windows drive's kz.dat, the format check with the
// choice of another file, the mailed file of storage mode 2 on a system
// without mail, the results manager started from the end page, and the end
// page's buttons as the quiz allows them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/paths.h"
#include "harness/exam_window.h"
#include "harness/harness.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

// The results manager is a 32-bit program: its key is in the registry's
// 32-bit view.
constexpr wchar_t maker_key[] = L"Software\\Ondalys\\Bilanor";
constexpr REGSAM maker_view = KEY_WOW64_32KEY;

std::optional<std::wstring> registry_value(const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, maker_key, 0, KEY_QUERY_VALUE | maker_view, &key) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t data[512] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    const LONG read = RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, data, &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS) return std::nullopt;
    return std::wstring(data);
}

// A value under the results manager's key, set (or removed) for one test and
// put back as it was afterwards, since every runner of the prefix reads it.
class RegistryValue {
public:
    RegistryValue(const wchar_t* name, const std::optional<std::wstring>& value)
        : name_(name), before_(registry_value(name)) {
        set(value);
    }
    ~RegistryValue() { set(before_); }
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;

private:
    void set(const std::optional<std::wstring>& value) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, maker_key, 0, nullptr, 0, KEY_ALL_ACCESS | maker_view, nullptr, &key,
                            nullptr) !=
            ERROR_SUCCESS)
            return;
        if (value)
            RegSetValueExW(key, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                           static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(key, name_);
        RegCloseKey(key);
    }

    const wchar_t* name_;
    std::optional<std::wstring> before_;
};

// The capitals quiz cut to one question, asked at once (no welcome or home
// page): the exam ends with its first answer.
QuizModel one_question_quiz(const fs::path& results) {
    QuizModel quiz = capitals_quiz(results);
    quiz.show_welcome_page = quiz.use_home_page = 0;
    quiz.default_question_count = 1;
    return quiz;
}

// Answers the one question; the record is then being delivered.
bool answer_the_question(const RunningQuiz& run) {
    return run.window && wait_page_with(run.window, ids::answer) && answer_question(run.window, L"Paris");
}

// The message box the runner shows next: its caption and text, answered with
// the button given.
MessageBoxContent answer_message(const RunningQuiz& run, int button) {
    HWND box = wait_message_box(*run.process);
    if (!box) return {};
    const MessageBoxContent content = message_box_content(box);
    press(box, button);
    wait_until([&] { return !IsWindow(box); });
    return content;
}

// True when the file holds the format line and the one record of a student
// who answered "Paris" to "France".
bool holds_the_record(const fs::path& file) {
    const std::vector<std::string> lines = file_lines(file);
    return lines.size() == 1 + 11 + 16 && lines[0] == "1.3" && lines[1] == "Anonyme" && lines[12] ==
           text_1252("Capitales d'Europe") && lines[15] == "Paris" && lines[16] == "Paris" && lines[25] == "1";
}

TEST(ResultsDelivery, StorageModeZeroWritesWhereTheRegistrySaysOrToTheWindowsDrive) {
    const fs::path dir = scratch_dir("delivery-mode0");
    const fs::path drive_file = "C:\\kz.dat";
    struct Row {
        const char* why;
        std::optional<std::wstring> stored;
        fs::path written;
        std::wstring stored_after;
    };
    const Row rows[] = {
        {"a path in the registry", (dir / "notes.dat").wstring(), dir / "notes.dat", (dir / "notes.dat").wstring()},
        {"no path", std::nullopt, drive_file, L"C:\\kz.dat"},
        {"a path of one character", L"X", drive_file, L"C:\\kz.dat"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        std::error_code ignored;
        fs::remove(row.written, ignored);
        RegistryValue path(L"Chemin", row.stored);
        QuizModel quiz = one_question_quiz({});
        quiz.results_storage_mode = 0;
        RunningQuiz run = start_quiz(dir, quiz);
        ASSERT_TRUE(answer_the_question(run));
        ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr);
        EXPECT_TRUE(holds_the_record(row.written));
        EXPECT_EQ(registry_value(L"Chemin"), row.stored_after);
        EXPECT_TRUE(quit_runner(run));
        fs::remove(drive_file, ignored);
    }
}

// Fills in the data-file dialog the runner shows and confirms it.
bool choose_file_in_dialog(const RunningQuiz& run, const fs::path& file) {
    constexpr int file_name_box = 1148;  // the explorer-style dialog's file name
    HWND dialog = nullptr;
    const bool shown = wait_until([&] {
        for (HWND window : run.process->windows(L"#32770"))
            if (GetDlgItem(window, file_name_box)) dialog = window;
        return dialog != nullptr;
    });
    if (!shown) return false;
    SendMessageW(GetDlgItem(dialog, file_name_box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return wait_until([&] { return !IsWindow(dialog); });
}

TEST(ResultsDelivery, AFileOfAnotherFormatOrOutOfReachLetsTheStudentChooseAnother) {
    const fs::path dir = scratch_dir("delivery-format");
    struct Row {
        const char* why;
        std::optional<std::string> content;  // nothing: the file's folder does not exist
        int message;
        const wchar_t* caption;
        bool choose_another;
    };
    const Row rows[] = {
        {"a file of format 1.2, another chosen", "1.2\r\n", 2012, L"Savanto", true},
        {"a file of format 1.4, none chosen", "1.4\r\n", 2013, L"Savanto", false},
        {"a folder that does not exist, another chosen", std::nullopt, 139, L"Examen", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const fs::path file = row.content ? dir / "ancien.dat" : dir / "absent" / "kz.dat";
        const fs::path other = dir / "autre.dat";
        std::error_code ignored;
        fs::remove(other, ignored);
        if (row.content) {
            HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            WriteFile(out, row.content->data(), static_cast<DWORD>(row.content->size()), &written, nullptr);
            CloseHandle(out);
        }
        RunningQuiz run = start_quiz(dir, one_question_quiz(file));
        ASSERT_TRUE(answer_the_question(run));

        const MessageBoxContent asked = answer_message(run, row.choose_another ? IDYES : IDNO);
        EXPECT_EQ(asked.caption, row.caption);
        EXPECT_EQ(asked.text, message(row.message));
        if (row.choose_another) {
            ASSERT_TRUE(choose_file_in_dialog(run, other));
        }

        ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr);
        EXPECT_EQ(holds_the_record(other), row.choose_another);
        if (row.content) {
            EXPECT_EQ(file_bytes(file), row.content) << "the file of another format is left alone";
        }
        EXPECT_TRUE(quit_runner(run));
    }
}

// Which mapi32.dll Wine loads for the quiz, for one test: the one beside it
// ("native"), or none at all (""). Wine's own is left out either way.
class MailLibraryChoice {
public:
    explicit MailLibraryChoice(const wchar_t* load_order) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, key_, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_handle_, nullptr) ==
            ERROR_SUCCESS)
            RegSetValueExW(key_handle_, L"mapi32", 0, REG_SZ, reinterpret_cast<const BYTE*>(load_order),
                           static_cast<DWORD>((wcslen(load_order) + 1) * sizeof(wchar_t)));
    }
    ~MailLibraryChoice() {
        if (!key_handle_) return;
        RegDeleteValueW(key_handle_, L"mapi32");
        RegCloseKey(key_handle_);
    }
    MailLibraryChoice(const MailLibraryChoice&) = delete;
    MailLibraryChoice& operator=(const MailLibraryChoice&) = delete;

private:
    static constexpr wchar_t key_[] = L"Software\\Wine\\AppDefaults\\quiz.exe\\DllOverrides";
    HKEY key_handle_ = nullptr;
};

TEST(ResultsDelivery, StorageModeTwoMailsAFileOfTheTemporaryFolderAndSaysWhenTheMailFails) {
    const fs::path dir = scratch_dir("delivery-mail");
    struct Row {
        const char* why;
        bool mail_system;  // a mail system beside the quiz (Wine's own is left out)
        bool refuses;
    };
    const Row rows[] = {
        {"a mail system that accepts", true, false},
        {"a mail system that refuses", true, true},
        {"no mail system", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        std::error_code ignored;
        fs::remove(dir / "mapi32.dll", ignored);
        fs::remove(dir / "mail.txt", ignored);
        if (row.mail_system) fs::copy_file(env_path("KZ_MAPI"), dir / "mapi32.dll");
        MailLibraryChoice library(row.mail_system ? L"native" : L"");
        SetEnvironmentVariableW(L"KZ_MAPI_REFUSES", row.refuses ? L"1" : nullptr);

        QuizModel quiz = one_question_quiz({});
        quiz.results_storage_mode = 2;
        quiz.mail_recipient = "prof@ecole.fr";
        RunningQuiz run = start_quiz(dir, quiz);
        // The file is named after the minute the exam ended in.
        auto name_now = [] {
            SYSTEMTIME now = {};
            GetLocalTime(&now);
            wchar_t name[64] = {};
            swprintf(name, 64, L"result%02u%02u%04u%02u%02u.dat", now.wDay, now.wMonth, now.wYear, now.wHour,
                     now.wMinute);
            return fs::temp_directory_path() / name;
        };
        const fs::path before = name_now();
        ASSERT_TRUE(answer_the_question(run));
        if (row.refuses || !row.mail_system) {
            const MessageBoxContent told = answer_message(run, IDOK);
            EXPECT_EQ(told.caption, L"Examen");
            EXPECT_EQ(told.text, message(2018));
        }
        ASSERT_NE(wait_page_with(run.window, ids::end_text), nullptr);
        EXPECT_TRUE(no_message_box(*run.process));
        const fs::path after = name_now();
        const fs::path file = holds_the_record(before) ? before : after;
        EXPECT_TRUE(holds_the_record(file)) << "the file stays in the temporary folder";
        if (row.mail_system) {
            const std::string path = path_to_cp1252(file);
            EXPECT_EQ(file_lines(dir / "mail.txt"),
                      (std::vector<std::string>{text_1252("Capitales et fleuves"), "prof@ecole.fr", "prof@ecole.fr",
                                                path, path}))
                << "subject, recipient, and the file by its full path";
        }
        EXPECT_TRUE(quit_runner(run));
        SetEnvironmentVariableW(L"KZ_MAPI_REFUSES", nullptr);
        fs::remove(before, ignored);
        fs::remove(after, ignored);
    }
}

TEST(ResultsDelivery, DetailsStartsTheResultsManagerTheRegistryNamesOrTheOneBesideTheQuiz) {
    const fs::path dir = scratch_dir("delivery-details");
    const fs::path elsewhere = scratch_dir("delivery-details-manager");
    struct Row {
        const char* why;
        std::optional<std::wstring> stored;
        fs::path program;  // copied from the marker program; empty: none
    };
    const Row rows[] = {
        {"the registry's program", (elsewhere / "Bilanor.exe").wstring(), elsewhere / "Bilanor.exe"},
        {"the default beside the quiz", std::nullopt, dir / "Elevor.exe"},
        {"no program at all", std::nullopt, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        std::error_code ignored;
        fs::remove(dir / "Elevor.exe", ignored);
        if (!row.program.empty()) fs::copy_file(env_path("KZ_MARKER"), row.program, fs::copy_options::overwrite_existing);
        fs::path marker = row.program;
        marker += ".started";
        fs::remove(marker, ignored);
        RegistryValue manager(L"Chemin EXE", row.stored);
        RunningQuiz run = start_quiz(dir, one_question_quiz(dir / "resultats.dat"));
        ASSERT_TRUE(answer_the_question(run));
        HWND page = wait_page_with(run.window, ids::end_text);
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(press(page, ids::details));
        if (row.program.empty()) {
            const MessageBoxContent told = answer_message(run, IDOK);
            EXPECT_EQ(told.caption, L"Savanto");
            EXPECT_EQ(told.text, message(2014));
            EXPECT_EQ(current_page(run.window), page) << "the end page stays";
        } else {
            EXPECT_TRUE(wait_until([&] { return fs::exists(marker); }, 15s)) << "the program did not start";
            EXPECT_TRUE(no_message_box(*run.process));
        }
        EXPECT_TRUE(quit_runner(run));
    }
}

TEST(ResultsDelivery, TheEndPageShowsTheButtonsTheQuizAllows) {
    const fs::path dir = scratch_dir("delivery-end-page");
    struct Row {
        const char* why;
        std::int32_t QuizModel::*hidden;
    };
    const Row rows[] = {
        {"no results manager", &QuizModel::end_page_details_button},
        {"no way home", &QuizModel::end_page_home_button},
        {"no new try", &QuizModel::end_page_restart_button},
        {"no end page", &QuizModel::show_end_page},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        QuizModel quiz = one_question_quiz(dir / "resultats.dat");
        quiz.*row.hidden = 0;
        RunningQuiz run = start_quiz(dir, quiz);
        ASSERT_TRUE(answer_the_question(run));
        if (row.hidden == &QuizModel::show_end_page) {
            // The last question page stays, without "Suivant >".
            EXPECT_TRUE(wait_until([&] { return !item_visible(run.window, ids::next); }));
            EXPECT_NE(GetDlgItem(current_page(run.window), ids::answer), nullptr);
        } else {
            HWND page = wait_page_with(run.window, ids::end_text);
            ASSERT_NE(page, nullptr);
            const std::pair<int, std::int32_t QuizModel::*> buttons[] = {
                {ids::details, &QuizModel::end_page_details_button},
                {ids::home, &QuizModel::end_page_home_button},
                {ids::restart, &QuizModel::end_page_restart_button}};
            for (const auto& [id, flag] : buttons) EXPECT_EQ(item_visible(page, id), flag != row.hidden) << id;
        }
        EXPECT_TRUE(quit_runner(run));
    }
}

}  // namespace
}  // namespace kz::e2e
