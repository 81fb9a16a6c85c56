// results-report's entry point: hands the command line, as UTF-8, to
// run_results_report, and says whether standard error is a terminal.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "report_run.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#include <shellapi.h>

namespace {

// The wide command line as UTF-8, so that file names outside the ANSI code
// page survive.
std::vector<std::string> utf8_arguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return args;
    for (int i = 1; i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(size > 0 ? size - 1 : 0, '\0');
        if (size > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), size, nullptr, nullptr);
        args.push_back(std::move(arg));
    }
    LocalFree(wide);
    return args;
}

}  // namespace

int main() {
    SetConsoleOutputCP(CP_UTF8);
    const bool terminal = _isatty(_fileno(stderr)) != 0;
    return kz::report::run_results_report(utf8_arguments(), std::cout, std::cerr, terminal);
}
#else
#include <unistd.h>

int main(int argc, char** argv) {
    const bool terminal = isatty(fileno(stderr)) != 0;
    return kz::report::run_results_report(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                                          terminal);
}
#endif
