#include "common/locked_file.h"

#include <cerrno>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/locking.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kz {

namespace {

// The byte that writers lock. Locks on Windows are mandatory for the range
// they cover, so the byte lies where no results file reaches, and within the
// 32-bit offsets that the runtime's lock call takes.
constexpr std::int64_t lock_byte = 0x40000000;

#ifdef _WIN32

int open_descriptor(const std::filesystem::path& file) {
    // Shared for reading and writing, like the results manager opens it; the
    // lock, not the sharing mode, makes writers take turns.
    return _wsopen(file.c_str(), _O_RDWR | _O_CREAT | _O_BINARY | _O_NOINHERIT, _SH_DENYNO,
                   _S_IREAD | _S_IWRITE);
}

bool is_regular(int descriptor) {
    struct _stati64 status {};
    return _fstati64(descriptor, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
}

// The runtime's _locking is the system's LockFile on the range that starts
// at the file position.
int lock_range(int descriptor, int mode) {
    if (_lseeki64(descriptor, lock_byte, SEEK_SET) < 0) return -1;
    return _locking(descriptor, mode, 1);
}

// Every file system of Windows, local or shared, keeps range locks, so a
// refusal means another holder (the runtime does not always say so in errno).
LockedFile::Lock take_lock(int descriptor) {
    return lock_range(descriptor, _LK_NBLCK) == 0 ? LockedFile::Lock::taken : LockedFile::Lock::busy;
}

void drop_lock(int descriptor) { lock_range(descriptor, _LK_UNLCK); }

long long end_of(int descriptor) { return _lseeki64(descriptor, 0, SEEK_END); }

long long read_some(int descriptor, std::uint64_t offset, void* buffer, std::size_t n) {
    if (_lseeki64(descriptor, static_cast<long long>(offset), SEEK_SET) < 0) return -1;
    return _read(descriptor, buffer, static_cast<unsigned>(n));
}

long long write_at_end(int descriptor, const char* bytes, std::size_t n) {
    if (_lseeki64(descriptor, 0, SEEK_END) < 0) return -1;
    return _write(descriptor, bytes, static_cast<unsigned>(n));
}

bool cut(int descriptor, std::uint64_t size) { return _chsize_s(descriptor, static_cast<long long>(size)) == 0; }

void close_descriptor(int descriptor) { _close(descriptor); }

#else

int open_descriptor(const std::filesystem::path& file) {
    // Not blocking, so that a named pipe in the file's place cannot hold the
    // open; the mode is set back once the file is known to be a regular one.
    return ::open(file.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
}

bool is_regular(int descriptor) {
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return false;
    const int flags = fcntl(descriptor, F_GETFL);
    return flags >= 0 && fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// Locks that belong to the open file rather than to the process where the
// system has them, so that two threads of one process take turns too.
int lock_range(int descriptor, short type) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = lock_byte;
    range.l_len = 1;
#ifdef F_OFD_SETLK
    if (fcntl(descriptor, F_OFD_SETLK, &range) == 0) return 0;
    if (errno != EINVAL) return -1;
#endif
    return fcntl(descriptor, F_SETLK, &range);
}

LockedFile::Lock take_lock(int descriptor) {
    if (lock_range(descriptor, F_WRLCK) == 0) return LockedFile::Lock::taken;
    return errno == EACCES || errno == EAGAIN || errno == EINTR ? LockedFile::Lock::busy
                                                                : LockedFile::Lock::unsupported;
}

void drop_lock(int descriptor) { lock_range(descriptor, F_UNLCK); }

long long end_of(int descriptor) { return lseek(descriptor, 0, SEEK_END); }

long long read_some(int descriptor, std::uint64_t offset, void* buffer, std::size_t n) {
    return pread(descriptor, buffer, n, static_cast<off_t>(offset));
}

// The file is open for appending: every write lands at its end.
long long write_at_end(int descriptor, const char* bytes, std::size_t n) { return ::write(descriptor, bytes, n); }

bool cut(int descriptor, std::uint64_t size) { return ftruncate(descriptor, static_cast<off_t>(size)) == 0; }

void close_descriptor(int descriptor) { ::close(descriptor); }

#endif

}  // namespace

Result<LockedFile, LockedFile::Failure> LockedFile::open(const std::filesystem::path& file) {
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return Result<LockedFile, Failure>::failure(Failure::not_a_file);

    const int descriptor = open_descriptor(file);
    if (descriptor < 0) {
        const bool missing = errno == ENOENT || errno == ENOTDIR || file.empty();
        return Result<LockedFile, Failure>::failure(missing ? Failure::missing_folder : Failure::unreachable);
    }
    if (!is_regular(descriptor)) {
        close_descriptor(descriptor);
        return Result<LockedFile, Failure>::failure(Failure::not_a_file);
    }
    return LockedFile(descriptor);
}

LockedFile::LockedFile(LockedFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), locked_(std::exchange(other.locked_, false)) {}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
    if (this != &other) {
        release();
        descriptor_ = std::exchange(other.descriptor_, -1);
        locked_ = std::exchange(other.locked_, false);
    }
    return *this;
}

LockedFile::~LockedFile() { release(); }

void LockedFile::release() {
    if (descriptor_ < 0) return;
    if (locked_) drop_lock(descriptor_);
    close_descriptor(descriptor_);
    descriptor_ = -1;
    locked_ = false;
}

LockedFile::Lock LockedFile::try_lock() {
    if (locked_) return Lock::taken;
    const Lock lock = take_lock(descriptor_);
    locked_ = lock == Lock::taken;
    return lock;
}

std::optional<std::uint64_t> LockedFile::size() const {
    const long long end = end_of(descriptor_);
    if (end < 0) return std::nullopt;
    return static_cast<std::uint64_t>(end);
}

std::size_t LockedFile::read_at(std::uint64_t offset, void* buffer, std::size_t n) const {
    std::size_t copied = 0;
    while (copied < n) {
        const long long got = read_some(descriptor_, offset + copied, static_cast<char*>(buffer) + copied, n - copied);
        if (got <= 0) break;
        copied += static_cast<std::size_t>(got);
    }
    return copied;
}

bool LockedFile::append(std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const long long put = write_at_end(descriptor_, bytes.data() + written, bytes.size() - written);
        if (put <= 0) return false;
        written += static_cast<std::size_t>(put);
    }
    return true;
}

bool LockedFile::truncate(std::uint64_t size) { return cut(descriptor_, size); }

}  // namespace kz
