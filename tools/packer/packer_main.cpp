// The packer's entry point: hands the command line, as UTF-8, to run_packer.
#include <iostream>
#include <string>
#include <vector>

#include "packer_commands.h"

#ifdef _WIN32
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
    return kz::run_packer(utf8_arguments(), std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    return kz::run_packer(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
#endif
