// Conversions per second: the portable rich-to-plain converter against the
// rich-edit control (a hidden RichEdit20A: window text set, whole range read
// back), on the same documents, in the same process. Run under Wine or
// Windows: rich_text_control_bench.exe [documents]
#include <windows.h>
#include <richedit.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "media/rich_text.h"
#include "res/string_table.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> documents(int count) {
    const auto quiz = kz::bench::largest_quiz();
    std::vector<std::string> out;
    std::string welcome = kz::load_message(103);
    welcome.replace(welcome.find("%s"), 2, quiz.quiz_name);
    out.push_back(welcome);
    for (const auto& theme : quiz.themes)
        for (const auto& q : theme.questions) {
            if (static_cast<int>(out.size()) >= count) return out;
            out.push_back(q.question);
            out.push_back(q.answer);
        }
    return out;
}

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    const auto docs = documents(count);

    HMODULE library = LoadLibraryW(L"RICHED20.DLL");
    HWND control = CreateWindowExW(0, L"RichEdit20A", L"", WS_POPUP | ES_MULTILINE, 0, 0, 300, 200, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!library || !control) {
        std::fprintf(stderr, "no rich-edit control\n");
        return 1;
    }

    std::size_t checksum = 0;
    auto start = Clock::now();
    std::string buffer(1 << 16, '\0');
    for (const auto& doc : docs) {
        SetWindowTextA(control, doc.c_str());
        TEXTRANGEA range = {{0, -1}, buffer.data()};
        checksum += static_cast<std::size_t>(SendMessageA(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
    }
    const double control_seconds = seconds_since(start);

    start = Clock::now();
    int rounds = 0;
    do {
        for (const auto& doc : docs) checksum += kz::rich_to_plain(doc).size();
        ++rounds;
    } while (seconds_since(start) < 1.0);
    const double converter_seconds = seconds_since(start) / rounds;

    const double n = static_cast<double>(docs.size());
    std::printf("documents: %zu (the built-in welcome text and questions/answers of the largest quiz)\n", docs.size());
    std::printf("rich-edit control: %10.0f conversions/s (%.3f ms each)\n", n / control_seconds,
                1000 * control_seconds / n);
    std::printf("portable converter: %10.0f conversions/s (%.3f ms each)\n", n / converter_seconds,
                1000 * converter_seconds / n);
    std::printf("ratio: %.0f times faster (checksum %zu)\n", control_seconds / converter_seconds, checksum);
    DestroyWindow(control);
    FreeLibrary(library);
    return 0;
}
