#include "support/temp_folder.h"

#include <random>
#include <system_error>

#include "quiz/byte_source.h"

namespace kz::test {

TempFolder::TempFolder() {
    std::random_device device;
    for (;;) {
        path_ = std::filesystem::temp_directory_path() / ("kz_test_" + std::to_string(device()));
        if (std::filesystem::create_directory(path_)) break;
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string file_bytes(const std::filesystem::path& file) { return read_whole_file(file).value_or(""); }

}  // namespace kz::test
