#include "results/results_reader.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <fstream>
#include <system_error>

#include "results/results_file.h"

namespace kz {

namespace {

constexpr std::size_t header_lines = 11;
constexpr std::size_t entry_lines = 16;
constexpr std::size_t chunk_size = 1u << 20;
constexpr std::size_t fault_line_bytes = 40;

std::optional<std::int32_t> parse_int32(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.front() == '+') return std::nullopt;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Groups of 1 to `widest` digits parted by the separators, in order, and
// nothing else: "05/12/2026 09:07" has the separators "// :". Fills one
// value per group.
bool digit_groups(std::string_view text, std::string_view separators, int widest, int* values) {
    std::size_t i = 0;
    for (std::size_t group = 0; group <= separators.size(); ++group) {
        int value = 0;
        int width = 0;
        while (i < text.size() && is_digit(text[i]) && width < widest) {
            value = value * 10 + (text[i] - '0');
            ++width;
            ++i;
        }
        if (width == 0) return false;
        values[group] = value;
        if (group < separators.size()) {
            if (i >= text.size() || text[i] != separators[group]) return false;
            ++i;
        }
    }
    return i == text.size();
}

}  // namespace

// The file's lines, read in chunks: a window of lines from the place where
// the next record may begin, kept until the reader consumes them.
class ResultsLines {
public:
    ResultsLines(std::unique_ptr<std::istream> in, std::optional<std::uint64_t> size)
        : in_(std::move(in)), size_(size) {}

    struct Line {
        std::uint64_t offset;  // of its first byte in the file
        std::size_t begin;     // of its text in the buffer
        std::size_t length;    // of its text, without CR LF (at most max_results_line)
        bool too_long;
    };

    // At least n lines in the window; false when the file ends sooner.
    bool have(std::size_t n) {
        while (lines_.size() - first_ < n) {
            if (!read_line()) return false;
        }
        return true;
    }
    const Line& line(std::size_t i) const { return lines_[first_ + i]; }
    std::string_view text(std::size_t i) const {
        const Line& l = line(i);
        return std::string_view(buffer_).substr(l.begin, l.length);
    }
    // Drops the first n lines of the window (all there are when fewer).
    void drop(std::size_t n) { first_ = std::min(first_ + n, lines_.size()); }
    // The offset of the window's first line, or of the end of what was read.
    std::uint64_t window_offset() const { return first_ < lines_.size() ? line(0).offset : scan_offset_; }
    std::uint64_t end_offset() const { return scan_offset_; }
    std::uint64_t bytes_read() const { return read_offset_; }
    std::optional<std::uint64_t> size() const { return size_; }
    // The file's first bytes, as the runners examine them.
    std::string_view head() const { return head_; }

private:
    // Reads the next line into the window; false at the end of the file.
    bool read_line() {
        std::size_t searched = scan_;
        std::uint64_t discarded = 0;  // bytes of an over-long line not kept
        for (;;) {
            const char* from = buffer_.data() + searched;
            const void* found = std::memchr(from, '\n', buffer_.size() - searched);
            if (found) {
                const std::size_t lf = static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data());
                add_line(lf, discarded, true);
                return true;
            }
            if (buffer_.size() - scan_ > max_results_line) {
                discarded += buffer_.size() - scan_ - max_results_line;
                buffer_.resize(scan_ + max_results_line);
            }
            searched = buffer_.size();
            if (!refill(searched)) {
                if (scan_ == buffer_.size() && discarded == 0) return false;
                add_line(buffer_.size(), discarded, false);
                return true;
            }
        }
    }

    // The line from scan_ to `end` (the LF, or the end of the file).
    void add_line(std::size_t end, std::uint64_t discarded, bool ended) {
        std::size_t length = end - scan_;
        const bool too_long = discarded > 0 || length > max_results_line;
        if (ended && discarded == 0 && length > 0 && buffer_[end - 1] == '\r') --length;
        lines_.push_back(Line{scan_offset_, scan_, std::min(length, max_results_line), too_long});
        const std::uint64_t raw = static_cast<std::uint64_t>(end - scan_) + discarded + (ended ? 1 : 0);
        scan_offset_ += raw;
        scan_ = ended ? end + 1 : end;
    }

    // Moves the window's bytes to the front of the buffer and reads a chunk
    // after them. `searched` follows the move. False at the end of the file.
    bool refill(std::size_t& searched) {
        const std::size_t keep_from = first_ < lines_.size() ? lines_[first_].begin : scan_;
        if (keep_from > 0) {
            buffer_.erase(0, keep_from);
            lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(first_));
            first_ = 0;
            for (Line& l : lines_) l.begin -= keep_from;
            scan_ -= keep_from;
            searched -= keep_from;
        } else if (first_ == lines_.size()) {
            lines_.clear();
            first_ = 0;
        }
        if (!in_ || !*in_) return false;
        const std::size_t old_size = buffer_.size();
        buffer_.resize(old_size + chunk_size);
        in_->read(buffer_.data() + old_size, static_cast<std::streamsize>(chunk_size));
        const auto got = static_cast<std::size_t>(in_->gcount());
        buffer_.resize(old_size + got);
        read_offset_ += got;
        if (head_.size() < 3) head_.append(buffer_.data() + old_size, std::min<std::size_t>(got, 3 - head_.size()));
        return got > 0;
    }

    std::unique_ptr<std::istream> in_;
    std::optional<std::uint64_t> size_;
    std::string buffer_;
    std::vector<Line> lines_;
    std::size_t first_ = 0;           // the window's first line in lines_
    std::size_t scan_ = 0;            // where the next line begins in the buffer
    std::uint64_t scan_offset_ = 0;   // and in the file
    std::uint64_t read_offset_ = 0;   // bytes read from the stream
    std::string head_;
};

namespace {

struct Check {
    bool whole = false;
    std::size_t lines = 0;  // of the whole record
    ResultsFault fault = ResultsFault::cut_short;
    std::optional<std::size_t> fault_line;  // in the window; none when cut short
};

Check fault_at(ResultsFault fault, std::size_t line) { return Check{false, 0, fault, line}; }
Check cut_short() { return Check{false, 0, ResultsFault::cut_short, std::nullopt}; }

bool right_flag(std::string_view text) { return text == "0" || text == "1"; }

}  // namespace

ResultsReader::ResultsReader(std::unique_ptr<ResultsLines> lines) : lines_(std::move(lines)) {}
ResultsReader::ResultsReader(ResultsReader&&) noexcept = default;
ResultsReader& ResultsReader::operator=(ResultsReader&&) noexcept = default;
ResultsReader::~ResultsReader() = default;

Result<ResultsReader, ResultsOpenError> ResultsReader::open(const std::filesystem::path& file) {
    using Failure = Result<ResultsReader, ResultsOpenError>;
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) return Failure::failure({ResultsOpenFailure::unreadable, {}});
    auto in = std::make_unique<std::ifstream>(file, std::ios::binary);
    if (!*in) return Failure::failure({ResultsOpenFailure::unreadable, {}});
    std::optional<std::uint64_t> size;
    const auto bytes = std::filesystem::file_size(file, error);
    if (!error) size = bytes;
    return from_stream(std::move(in), size);
}

Result<ResultsReader, ResultsOpenError> ResultsReader::from_stream(std::unique_ptr<std::istream> bytes,
                                                                  std::optional<std::uint64_t> size) {
    using Failure = Result<ResultsReader, ResultsOpenError>;
    auto lines = std::make_unique<ResultsLines>(std::move(bytes), size);
    if (!lines->have(1)) {
        if (lines->end_offset() == 0) return ResultsReader(std::move(lines));  // an empty file
        return Failure::failure({ResultsOpenFailure::not_results, {}});
    }
    const int version = file_version(lines->head());
    if (version != results_format_version) {
        const std::string_view first = lines->text(0);
        ResultsOpenError refused{ResultsOpenFailure::not_results, std::string(first.substr(0, fault_line_bytes))};
        // A format line is a digit, a point and a digit; anything else is
        // some other file.
        if (first.size() == 3 && is_digit(first[0]) && first[1] == '.' && is_digit(first[2]))
            refused.failure = version < results_format_version ? ResultsOpenFailure::too_old : ResultsOpenFailure::too_new;
        return Failure::failure(std::move(refused));
    }
    lines->drop(1);
    return ResultsReader(std::move(lines));
}

namespace {

// Whether a whole record begins at the window's first line: every line
// there, each holding what its place calls for.
Check check_record(ResultsLines& lines) {
    if (!lines.have(header_lines)) return cut_short();
    for (std::size_t i = 0; i < header_lines; ++i)
        if (lines.line(i).too_long) return fault_at(ResultsFault::line_too_long, i);
    for (std::size_t i : {1, 4, 6, 7, 8, 9})
        if (!parse_int32(lines.text(i))) return fault_at(ResultsFault::bad_number, i);
    if (!parse_record_date(lines.text(5))) return fault_at(ResultsFault::bad_date, 5);
    const auto last = parse_int32(lines.text(10));
    if (!last || *last < -1 || *last >= static_cast<std::int32_t>(max_record_entries))
        return fault_at(ResultsFault::bad_entry_count, 10);

    const auto entries = static_cast<std::size_t>(*last + 1);
    for (std::size_t e = 0; e < entries; ++e) {
        const std::size_t base = header_lines + e * entry_lines;
        if (!lines.have(base + entry_lines)) return cut_short();
        for (std::size_t i = base; i < base + entry_lines; ++i)
            if (lines.line(i).too_long) return fault_at(ResultsFault::line_too_long, i);
        if (!right_flag(lines.text(base + 13))) return fault_at(ResultsFault::bad_right_flag, base + 13);
        for (std::size_t i : {base + 14, base + 15})
            if (!parse_clock_time(lines.text(i))) return fault_at(ResultsFault::bad_time, i);
    }
    return Check{true, header_lines + entries * entry_lines, ResultsFault::cut_short, std::nullopt};
}

// The record at the window's start, known to be whole, into `record`.
void fill_record(const ResultsLines& lines, std::size_t entries, ExamRecord& record) {
    auto number = [&](std::size_t i) { return parse_int32(lines.text(i)).value_or(0); };
    record.student_name.assign(lines.text(0));
    record.type_code = number(1);
    record.quiz_name.assign(lines.text(2));
    record.runner_path.assign(lines.text(3));
    record.score = number(4);
    record.start_date.assign(lines.text(5));
    record.time_limit_on = number(6);
    record.time_limit = number(7);
    record.random_order = number(8);
    record.inverted = number(9);
    record.end_time.clear();
    record.entries.resize(entries);
    for (std::size_t e = 0; e < entries; ++e) {
        const std::size_t base = header_lines + e * entry_lines;
        QuestionRecord& entry = record.entries[e];
        entry.theme_name.assign(lines.text(base));
        entry.prompt.assign(lines.text(base + 1));
        entry.question.assign(lines.text(base + 2));
        for (std::size_t k = 0; k < answer_slots; ++k) {
            entry.expected[k].assign(lines.text(base + 3 + 2 * k));
            entry.given[k].assign(lines.text(base + 4 + 2 * k));
        }
        entry.right = number(base + 13);
        entry.start_time.assign(lines.text(base + 14));
        entry.end_time.assign(lines.text(base + 15));
    }
}

}  // namespace

ResultsReader::Step ResultsReader::next(ReadRecord& record, SkippedBytes& skipped) {
    for (;;) {
        Check check;
        const bool more = lines_->have(1);
        if (more) check = check_record(*lines_);
        if (!more || check.whole) {
            // A skipped stretch is reported before the record that ends it.
            if (pending_) {
                SkippedBytes stretch = std::move(*pending_);
                stretch.length = lines_->window_offset() - stretch.offset;
                if (stretch.fault == ResultsFault::cut_short) stretch.fault_offset = lines_->end_offset();
                pending_.reset();
                const bool blank = pending_blank_;
                pending_blank_ = true;
                // Empty lines alone between records, or at the end, lose nothing.
                if (!blank) {
                    skipped = std::move(stretch);
                    return Step::skipped;
                }
            }
            if (!more) return Step::end;
            record.offset = lines_->line(0).offset;
            fill_record(*lines_, (check.lines - header_lines) / entry_lines, record.record);
            lines_->drop(check.lines);
            return Step::record;
        }
        if (!pending_) {
            SkippedBytes stretch;
            stretch.offset = lines_->line(0).offset;
            stretch.fault = check.fault;
            if (check.fault_line) {
                stretch.fault_offset = lines_->line(*check.fault_line).offset;
                stretch.fault_line = std::string(lines_->text(*check.fault_line).substr(0, fault_line_bytes));
            }
            pending_ = std::move(stretch);
        }
        if (lines_->line(0).length != 0 || lines_->line(0).too_long) pending_blank_ = false;
        lines_->drop(1);
    }
}

std::uint64_t ResultsReader::position() const { return lines_->bytes_read(); }
std::optional<std::uint64_t> ResultsReader::size() const { return lines_->size(); }

std::int64_t RecordDate::sort_key() const {
    return (((static_cast<std::int64_t>(year) * 100 + month) * 100 + day) * 100 + hour) * 100 + minute;
}

std::optional<RecordDate> parse_record_date(std::string_view text) {
    int g[5];
    if (!digit_groups(text, "// :", 4, g)) return std::nullopt;
    return RecordDate{g[0], g[1], g[2], g[3], g[4]};
}

std::optional<int> parse_clock_time(std::string_view text) {
    int g[3];
    if (!digit_groups(text, "::", 2, g)) return std::nullopt;
    return g[0] * 3600 + g[1] * 60 + g[2];
}

std::optional<int> time_spent(const ExamRecord& record) {
    if (record.entries.empty()) return std::nullopt;
    const auto start = parse_clock_time(record.entries.front().start_time);
    const auto end = parse_clock_time(record.entries.back().end_time);
    if (!start || !end) return std::nullopt;
    int seconds = *end - *start;
    if (seconds < 0) seconds += 24 * 3600;
    return seconds;
}

}  // namespace kz
