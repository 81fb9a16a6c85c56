#include "quiz/byte_source.h"

#include <cstring>

namespace kz {

std::size_t MemorySource::read_at(std::uint64_t offset, void* buffer, std::size_t n) const {
    if (offset >= bytes_.size()) return 0;
    const std::size_t count = std::min<std::uint64_t>(n, bytes_.size() - offset);
    std::memcpy(buffer, bytes_.data() + offset, count);
    return count;
}

std::FILE* open_file(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    std::wstring wide_mode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wide_mode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

namespace {

bool seek(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::optional<std::uint64_t> file_size(std::FILE* file) {
#ifdef _WIN32
    if (_fseeki64(file, 0, SEEK_END) != 0) return std::nullopt;
    const long long end = _ftelli64(file);
#else
    if (fseeko(file, 0, SEEK_END) != 0) return std::nullopt;
    const off_t end = ftello(file);
#endif
    if (end < 0) return std::nullopt;
    return static_cast<std::uint64_t>(end);
}

}  // namespace

std::unique_ptr<FileSource> FileSource::open(const std::filesystem::path& path) {
    std::FILE* file = open_file(path, "rb");
    if (!file) return nullptr;
    const auto size = file_size(file);
    if (!size) {
        std::fclose(file);
        return nullptr;
    }
    return std::unique_ptr<FileSource>(new FileSource(file, *size));
}

FileSource::~FileSource() { std::fclose(file_); }

std::size_t FileSource::read_at(std::uint64_t offset, void* buffer, std::size_t n) const {
    if (offset >= size_ || !seek(file_, offset)) return 0;
    return std::fread(buffer, 1, n, file_);
}

std::optional<std::string> read_whole_file(const std::filesystem::path& path) {
    auto source = FileSource::open(path);
    if (!source) return std::nullopt;
    std::string bytes(source->size(), '\0');
    if (source->read_at(0, bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
    return bytes;
}

bool write_whole_file(const std::filesystem::path& path, std::string_view bytes) {
    std::FILE* file = open_file(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return (std::fclose(file) == 0) && written;
}

}  // namespace kz
