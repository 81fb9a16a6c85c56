#include "results/results_file.h"

#include <cstdio>
#include <optional>
#include <system_error>
#include <thread>

#include "quiz/byte_source.h"

namespace kz {

namespace {

void add_line(std::string& out, std::string_view value) {
    for (char c : value) out += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
    out += "\r\n";
}

void add_line(std::string& out, long long number) { add_line(out, std::to_string(number)); }

// The lock that makes runners recording into the same file take turns. A
// folder is used because creating one is atomic on every file system the
// runners meet, and it needs nothing beyond the standard library.
class AppendLock {
public:
    explicit AppendLock(const std::filesystem::path& file) {
        lock_ = file;
        lock_ += ".lock";
    }
    ~AppendLock() {
        if (held_) {
            std::error_code ignored;
            std::filesystem::remove(lock_, ignored);
        }
    }
    AppendLock(const AppendLock&) = delete;
    AppendLock& operator=(const AppendLock&) = delete;

    enum class Attempt { taken, busy, unavailable };

    Attempt try_take(std::chrono::milliseconds abandoned_after) {
        std::error_code error;
        if (std::filesystem::create_directory(lock_, error)) {
            held_ = true;
            return Attempt::taken;
        }
        if (!std::filesystem::exists(lock_, error)) return Attempt::unavailable;
        const auto stamp = std::filesystem::last_write_time(lock_, error);
        if (!error && std::filesystem::file_time_type::clock::now() - stamp > abandoned_after) {
            std::filesystem::remove(lock_, error);
        }
        return Attempt::busy;
    }

private:
    std::filesystem::path lock_;
    bool held_ = false;
};

enum class Step { done, retry, give_up };

struct AttemptResult {
    Step step;
    AppendOutcome outcome;
};

// The first three bytes and the size of an existing file; nothing when it
// cannot be opened.
struct FileHead {
    std::string first_bytes;
    std::uint64_t size = 0;
    char last_byte = 0;
};

std::optional<FileHead> read_head(const std::filesystem::path& file) {
    auto source = FileSource::open(file);
    if (!source) return std::nullopt;
    FileHead head;
    head.size = source->size();
    char bytes[3] = {};
    head.first_bytes.assign(bytes, source->read_at(0, bytes, sizeof bytes));
    if (head.size > 0) source->read_at(head.size - 1, &head.last_byte, 1);
    return head;
}

bool create_with_format_line(const std::filesystem::path& file) {
    std::FILE* out = open_file(file, "wb");
    if (!out) return false;
    const bool written = std::fwrite(results_format_line.data(), 1, results_format_line.size(), out) ==
                         results_format_line.size();
    return (std::fclose(out) == 0) && written;
}

// One write of the whole record at the end of the file; on failure the file
// is cut back to its former size.
bool append_in_one_piece(const std::filesystem::path& file, std::uint64_t size_before,
                         std::string_view bytes) {
    std::FILE* out = open_file(file, "ab");
    if (!out) return false;
    std::setvbuf(out, nullptr, _IONBF, 0);
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    written = (std::fclose(out) == 0) && written;
    if (!written) {
        std::error_code ignored;
        std::filesystem::resize_file(file, size_before, ignored);
    }
    return written;
}

AttemptResult attempt_append(const std::filesystem::path& file, std::string_view record) {
    std::error_code error;
    const bool exists = std::filesystem::exists(file, error);
    if (error) return {Step::retry, AppendOutcome::unreachable};
    if (exists && std::filesystem::is_directory(file, error)) return {Step::give_up, AppendOutcome::unreachable};

    std::optional<FileHead> head;
    if (exists) {
        head = read_head(file);
        // Held by another program, or not a file at all: try again shortly.
        if (!head) return {Step::retry, AppendOutcome::unreachable};
    }

    std::uint64_t size_before = 0;
    bool line_ended = true;
    if (head && head->size > 0) {
        const int version = file_version(head->first_bytes);
        if (version < results_format_version) return {Step::give_up, AppendOutcome::too_old};
        if (version > results_format_version) return {Step::give_up, AppendOutcome::too_new};
        size_before = head->size;
        line_ended = head->last_byte == '\n';
    } else {
        if (!create_with_format_line(file)) return {Step::give_up, AppendOutcome::unreachable};
        size_before = results_format_line.size();
    }

    // A file whose last line lacks its end (a format line alone, or a record
    // cut short by a crash) gets one, so the record starts on a line of its own.
    std::string bytes;
    if (!line_ended) bytes = "\r\n";
    bytes.append(record);
    if (!append_in_one_piece(file, size_before, bytes)) return {Step::retry, AppendOutcome::unreachable};
    return {Step::done, AppendOutcome::appended};
}

}  // namespace

std::string format_record(const ExamRecord& record) {
    std::string out;
    out.reserve(1024 + record.entries.size() * 512);
    add_line(out, record.student_name);
    add_line(out, record.type_code);
    add_line(out, record.quiz_name);
    add_line(out, record.runner_path);
    add_line(out, record.score);
    add_line(out, record.start_date);
    add_line(out, record.time_limit_on);
    add_line(out, record.time_limit);
    add_line(out, record.random_order);
    add_line(out, record.inverted);
    add_line(out, static_cast<long long>(record.entries.size()) - 1);
    for (const QuestionRecord& entry : record.entries) {
        add_line(out, entry.theme_name);
        add_line(out, entry.prompt);
        add_line(out, entry.question);
        for (std::size_t k = 0; k < answer_slots; ++k) {
            add_line(out, entry.expected[k]);
            add_line(out, entry.given[k]);
        }
        add_line(out, entry.right);
        add_line(out, entry.start_time);
        add_line(out, entry.end_time);
    }
    return out;
}

int file_version(std::string_view first_bytes) {
    auto byte = [&](std::size_t i) {
        return i < first_bytes.size() ? static_cast<unsigned char>(first_bytes[i]) : 0;
    };
    return byte(0) * 1000 + byte(2) * 100;
}

AppendOutcome append_record(const std::filesystem::path& file, std::string_view record,
                            const AppendPatience& patience) {
    if (file.empty()) return AppendOutcome::unreachable;
    const auto deadline = std::chrono::steady_clock::now() + patience.wait;
    for (;;) {
        AttemptResult result{Step::retry, AppendOutcome::unreachable};
        {
            AppendLock lock(file);
            const auto taken = lock.try_take(patience.abandoned_lock);
            // Without a lock folder (a folder where none can be made) the
            // record is still written, only without taking turns.
            if (taken != AppendLock::Attempt::busy) result = attempt_append(file, record);
        }
        if (result.step != Step::retry) return result.outcome;
        if (std::chrono::steady_clock::now() >= deadline) return result.outcome;
        std::this_thread::sleep_for(patience.pause);
    }
}

}  // namespace kz
