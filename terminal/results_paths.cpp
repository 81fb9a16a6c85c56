#include "results_paths.h"

#include <cctype>
#include <string>
#include <system_error>

#include "common/paths.h"
#include "quiz/media_table.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kz::term {

namespace {

#if defined(_WIN32)
// Paths of the system's device space ("\\.\pipe\...", "\\?\...") and the
// reserved device names, which name a device with any extension and in any
// folder ("C:\Temp\nul.dat", "CON.dat").
bool names_a_device(const std::filesystem::path& path) {
    const std::wstring text = path.native();
    if (text.starts_with(L"\\\\.\\") || text.starts_with(L"\\\\?\\") || text.starts_with(L"//./") ||
        text.starts_with(L"//?/"))
        return true;
    const std::filesystem::path name = path.filename();
    return !name.empty() && !is_safe_media_name(path_to_cp1252(name));
}
#endif

// Up to four first bytes of a plain file. Opened without waiting, in case
// the path has become something else since it was looked at.
std::string first_bytes(const std::filesystem::path& path) {
    char bytes[4] = {};
    std::size_t got = 0;
#if defined(_WIN32)
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    DWORD read = 0;
    if (GetFileType(file) == FILE_TYPE_DISK && ReadFile(file, bytes, sizeof bytes, &read, nullptr)) got = read;
    CloseHandle(file);
#else
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) return {};
    struct stat status{};
    if (fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
        const ssize_t read_count = read(file, bytes, sizeof bytes);
        if (read_count > 0) got = static_cast<std::size_t>(read_count);
    }
    close(file);
#endif
    return std::string(bytes, got);
}

bool is_digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

PathKind path_kind(const std::filesystem::path& path) {
    if (path.empty()) return PathKind::missing;
#if defined(_WIN32)
    if (names_a_device(path)) return PathKind::not_a_file;
#endif
    // Links are followed: a link to a named pipe is a named pipe.
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    switch (status.type()) {
    case std::filesystem::file_type::regular: return PathKind::regular;
    case std::filesystem::file_type::not_found:
    case std::filesystem::file_type::none:
        // Nothing there, or a place the student cannot look into: the
        // results file cannot be made there and the exam asks for another.
        return PathKind::missing;
    default: return PathKind::not_a_file;
    }
}

bool names_results_file(const std::filesystem::path& path) {
    const PathKind kind = path_kind(path);
    if (kind == PathKind::not_a_file) return false;
    std::string extension = path_to_cp1252(path.extension());
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".dat") return true;
    if (kind != PathKind::regular) return false;
    // "1.3" alone, or followed by the end of its line.
    const std::string head = first_bytes(path);
    return head.size() >= 3 && is_digit(head[0]) && head[1] == '.' && is_digit(head[2]) &&
           (head.size() == 3 || head[3] == '\r' || head[3] == '\n');
}

}  // namespace kz::term
