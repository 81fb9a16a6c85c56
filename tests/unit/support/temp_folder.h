#pragma once
// A folder of its own for a test, deleted with everything in it at the end.
#include <filesystem>
#include <string>

namespace kz::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// The whole content of a file; empty when it cannot be read.
std::string file_bytes(const std::filesystem::path& file);

}  // namespace kz::test
