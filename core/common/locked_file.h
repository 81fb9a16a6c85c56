#pragma once
// A file that several processes write in turn, each holding the system's own
// lock while it reads and writes. The lock is a byte-range lock on one byte
// far past any data the file will ever hold (at 1 GiB, where database engines
// put theirs), so it never stands in the way of a program that only reads the
// file. The system lets the lock go when its holder closes the file or dies,
// however it dies, so a runner that crashes never blocks the others; and the
// same range lock holds on a network share, between Windows clients (SMB) and
// between Windows and Unix clients of a Samba or NFS server.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "common/result.h"

namespace kz {

class LockedFile {
public:
    enum class Failure {
        missing_folder,  // the folder that should hold the file does not exist
        not_a_file,      // a folder, a pipe or a device: nothing to append to
        unreachable,     // no right to open it, or another program holds it
    };

    // Opens a regular file for reading and writing, creating it empty when it
    // is missing. The lock is not taken yet.
    static Result<LockedFile, Failure> open(const std::filesystem::path& file);

    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&& other) noexcept;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile();

    enum class Lock {
        taken,
        busy,         // another process holds it
        unsupported,  // the file system keeps no locks
    };
    // One attempt at the lock, without waiting.
    [[nodiscard]] Lock try_lock();

    std::optional<std::uint64_t> size() const;
    // Copies up to n bytes from the offset; returns how many were copied.
    std::size_t read_at(std::uint64_t offset, void* buffer, std::size_t n) const;
    // Writes the bytes at the end of the file in one write; false when they
    // were not all written.
    [[nodiscard]] bool append(std::string_view bytes);
    [[nodiscard]] bool truncate(std::uint64_t size);

private:
    explicit LockedFile(int descriptor) : descriptor_(descriptor) {}
    void release();

    int descriptor_ = -1;
    bool locked_ = false;
};

}  // namespace kz
