#pragma once
// Random-access reading of the runner's own file (or of a quiz held in memory
// by tests and tools).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

namespace kz {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Copies up to n bytes from the offset; returns how many were copied
    // (fewer at the end of the source or on a read error).
    virtual std::size_t read_at(std::uint64_t offset, void* buffer, std::size_t n) const = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
    std::uint64_t size() const override { return bytes_.size(); }
    std::size_t read_at(std::uint64_t offset, void* buffer, std::size_t n) const override;

private:
    std::string bytes_;
};

// A file opened for reading, shared with other readers. Closed on destruction.
class FileSource final : public ByteSource {
public:
    static std::unique_ptr<FileSource> open(const std::filesystem::path& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::uint64_t size() const override { return size_; }
    std::size_t read_at(std::uint64_t offset, void* buffer, std::size_t n) const override;

private:
    FileSource(std::FILE* file, std::uint64_t size) : file_(file), size_(size) {}
    std::FILE* file_;
    std::uint64_t size_;
};

// Opens a file with the platform's own path type (wide on Windows).
std::FILE* open_file(const std::filesystem::path& path, const char* mode);

// Whole-file helpers for tools and tests. Nothing on failure.
std::optional<std::string> read_whole_file(const std::filesystem::path& path);
[[nodiscard]] bool write_whole_file(const std::filesystem::path& path, std::string_view bytes);

}  // namespace kz
