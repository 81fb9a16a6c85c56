#include "results/results_reader.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <fstream>
#include <system_error>

#include "common/cp1252.h"
#include "common/text_helpers.h"
#include "exam/exam_settings.h"
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

// Whether a line is UTF-8: it holds bytes beyond ASCII, and every one of
// them belongs to a well-formed UTF-8 sequence. A Windows-1252 text almost
// never passes: an accented letter there is one byte followed by ASCII.
bool is_utf8_line(std::string_view line) {
    bool beyond_ascii = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (static_cast<unsigned char>(line[i]) < 0x80) continue;
        char32_t code_point = 0;
        const std::size_t length = utf8_sequence(line, i, code_point);
        if (length == 0) return false;
        beyond_ascii = true;
        i += length - 1;
    }
    return beyond_ascii;
}

// A line's text in Windows-1252: as it is, or converted from UTF-8 when it
// is UTF-8 (characters that the code page lacks become '?').
void decode_line(std::string_view raw, std::uint64_t offset, TextEncoding& encoding, std::string& out) {
    if (!is_utf8_line(raw)) {
        out.assign(raw);
        return;
    }
    if (encoding.utf8_lines++ == 0 && !encoding.byte_order_mark) encoding.first_utf8_offset = offset;
    out.clear();
    for (std::size_t i = 0; i < raw.size();) {
        char32_t code_point = 0;
        const std::size_t length = static_cast<unsigned char>(raw[i]) < 0x80 ? 0 : utf8_sequence(raw, i, code_point);
        if (length == 0) {
            out += raw[i++];
            continue;
        }
        const auto byte = unicode_to_cp1252(code_point);
        if (byte) {
            out += static_cast<char>(*byte);
        } else {
            out += '?';
            ++encoding.unmapped;
        }
        i += length;
    }
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
    std::uint64_t window_offset() const { return first_ < lines_.size() ? line(0).offset : file_offset(scan_offset_); }
    std::uint64_t end_offset() const { return file_offset(scan_offset_); }
    std::uint64_t bytes_read() const { return read_offset_; }
    std::optional<std::uint64_t> size() const { return size_; }
    // The file's first bytes, as the runners examine them.
    std::string_view head() const { return head_; }

    // A file saved as UTF-16 (the "Unicode" of some editors) is read one
    // byte a character: its Windows-1252 byte, or '?' for a character that
    // the code page lacks (each half of a surrogate pair included). Offsets
    // stay those of the file.
    bool utf16() const { return utf16_ != Utf16::no; }
    std::uint64_t unmapped() const { return unmapped_; }
    // The length in the file of bytes of the text read.
    std::uint64_t file_bytes(std::uint64_t text_bytes) const { return utf16() ? 2 * text_bytes : text_bytes; }

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
        lines_.push_back(Line{file_offset(scan_offset_), scan_, std::min(length, max_results_line), too_long});
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
        if (read_offset_ == got && got >= 2) {
            const std::string_view mark(buffer_.data() + old_size, 2);
            utf16_ = mark == "\xFF\xFE" ? Utf16::little_endian : mark == "\xFE\xFF" ? Utf16::big_endian : Utf16::no;
        }
        if (utf16()) decode_utf16(old_size);
        if (head_.size() < 3)
            head_.append(buffer_.data() + old_size, std::min<std::size_t>(buffer_.size() - old_size, 3 - head_.size()));
        return got > 0;
    }

    // The chunk read from `from` on, from UTF-16 code units (after the byte
    // order mark) to bytes; an odd last byte waits for the next chunk, or
    // is a '?' at the end of the file.
    void decode_utf16(std::size_t from) {
        std::string units = std::move(odd_byte_);
        units.append(buffer_, from, std::string::npos);
        odd_byte_.clear();
        buffer_.resize(from);
        std::size_t i = units_begin_;
        units_begin_ = 0;
        for (; i + 1 < units.size(); i += 2) {
            const auto high = static_cast<unsigned char>(units[i + (utf16_ == Utf16::big_endian ? 0 : 1)]);
            const auto low = static_cast<unsigned char>(units[i + (utf16_ == Utf16::big_endian ? 1 : 0)]);
            const char32_t unit = static_cast<char32_t>(high << 8 | low);
            const auto byte = unit >= 0xD800 && unit < 0xE000 ? std::nullopt : unicode_to_cp1252(unit);
            if (!byte) ++unmapped_;
            buffer_ += byte ? static_cast<char>(*byte) : '?';
        }
        if (i < units.size()) {
            if (in_ && *in_) {
                odd_byte_ = units.substr(i);
            } else {
                buffer_ += '?';
                ++unmapped_;
            }
        }
    }

    std::uint64_t file_offset(std::uint64_t text_offset) const { return utf16() ? 2 + 2 * text_offset : text_offset; }

    std::unique_ptr<std::istream> in_;
    std::optional<std::uint64_t> size_;
    std::string buffer_;
    std::vector<Line> lines_;
    std::size_t first_ = 0;           // the window's first line in lines_
    std::size_t scan_ = 0;            // where the next line begins in the buffer
    std::uint64_t scan_offset_ = 0;   // and in the file
    std::uint64_t read_offset_ = 0;   // bytes read from the stream
    std::string head_;
    enum class Utf16 { no, little_endian, big_endian } utf16_ = Utf16::no;
    std::string odd_byte_;  // of a UTF-16 file, the last byte of a chunk, waiting for its pair
    std::size_t units_begin_ = 2;  // the first code unit, after the byte order mark
    std::uint64_t unmapped_ = 0;
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
    // A text editor that saved the file as UTF-8 may have put UTF-8's byte
    // order mark before the format line.
    const bool byte_order_mark = lines->text(0).substr(0, 3) == "\xEF\xBB\xBF";
    const int version = file_version(byte_order_mark ? lines->text(0).substr(3, 3) : lines->head());
    if (version != results_format_version) {
        const std::string_view first = lines->text(0).substr(byte_order_mark ? 3 : 0);
        ResultsOpenError refused{ResultsOpenFailure::not_results, std::string(first.substr(0, fault_line_bytes))};
        // A format line is a digit, a point and a digit; anything else is
        // some other file.
        if (first.size() == 3 && is_digit(first[0]) && first[1] == '.' && is_digit(first[2]))
            refused.failure = version < results_format_version ? ResultsOpenFailure::too_old : ResultsOpenFailure::too_new;
        return Failure::failure(std::move(refused));
    }
    lines->drop(1);
    ResultsReader reader(std::move(lines));
    reader.encoding_.byte_order_mark = byte_order_mark;
    reader.encoding_.utf16 = reader.lines_->utf16();
    return reader;
}

namespace {

// Whether a whole record begins at the window's line `base`: every line
// there, each holding what its place calls for.
Check check_record(ResultsLines& lines, std::size_t base = 0) {
    if (!lines.have(base + header_lines)) return cut_short();
    for (std::size_t i = 0; i < header_lines; ++i)
        if (lines.line(base + i).too_long) return fault_at(ResultsFault::line_too_long, i);
    for (std::size_t i : {1, 4, 6, 7, 8, 9})
        if (!parse_int32(lines.text(base + i))) return fault_at(ResultsFault::bad_number, i);
    if (!parse_record_date(lines.text(base + 5))) return fault_at(ResultsFault::bad_date, 5);
    const auto last = parse_int32(lines.text(base + 10));
    if (!last || *last < -1 || *last >= static_cast<std::int32_t>(max_record_entries))
        return fault_at(ResultsFault::bad_entry_count, 10);

    const auto entries = static_cast<std::size_t>(*last + 1);
    for (std::size_t e = 0; e < entries; ++e) {
        const std::size_t first = header_lines + e * entry_lines;
        if (!lines.have(base + first + entry_lines)) return cut_short();
        for (std::size_t i = first; i < first + entry_lines; ++i)
            if (lines.line(base + i).too_long) return fault_at(ResultsFault::line_too_long, i);
        if (!right_flag(lines.text(base + first + 13))) return fault_at(ResultsFault::bad_right_flag, first + 13);
        for (std::size_t i : {first + 14, first + 15})
            if (!parse_clock_time(lines.text(base + i))) return fault_at(ResultsFault::bad_time, i);
    }
    return Check{true, header_lines + entries * entry_lines, ResultsFault::cut_short, std::nullopt};
}

// The record at the window's start, known to be whole, into `record`; its
// first `glued` bytes belong to the record cut short before it.
void fill_record(const ResultsLines& lines, std::size_t entries, std::size_t glued, TextEncoding& encoding,
                 ExamRecord& record) {
    auto number = [&](std::size_t i) { return parse_int32(lines.text(i)).value_or(0); };
    auto text = [&](std::string& to, std::size_t i) {
        decode_line(lines.text(i), lines.line(i).offset, encoding, to);
    };
    decode_line(lines.text(0).substr(glued), lines.line(0).offset + glued, encoding, record.student_name);
    record.type_code = number(1);
    text(record.quiz_name, 2);
    text(record.runner_path, 3);
    record.score = number(4);
    text(record.start_date, 5);
    record.time_limit_on = number(6);
    record.time_limit = number(7);
    record.random_order = number(8);
    record.inverted = number(9);
    record.end_time.clear();
    record.entries.resize(entries);
    for (std::size_t e = 0; e < entries; ++e) {
        const std::size_t base = header_lines + e * entry_lines;
        QuestionRecord& entry = record.entries[e];
        text(entry.theme_name, base);
        text(entry.prompt, base + 1);
        text(entry.question, base + 2);
        for (std::size_t k = 0; k < answer_slots; ++k) {
            text(entry.expected[k], base + 3 + 2 * k);
            text(entry.given[k], base + 4 + 2 * k);
        }
        entry.right = number(base + 13);
        text(entry.start_time, base + 14);
        text(entry.end_time, base + 15);
    }
}

// What a line of a record holds, by its place: the fields whose form is
// fixed tell where a cut value of theirs ends.
enum class Field { text, number, right_flag, date, clock };

Field field_at(std::size_t line) {
    if (line < header_lines) {
        switch (line) {
        case 0: case 2: case 3: return Field::text;
        case 5: return Field::date;
        default: return Field::number;
        }
    }
    const std::size_t place = (line - header_lines) % entry_lines;
    if (place == 13) return Field::right_flag;
    if (place >= 14) return Field::clock;
    return Field::text;
}

// The length of the beginning of `text` that a cut value of the field could
// be: digits where the runner writes digits, its separators in their places.
std::size_t fixed_field_prefix(Field field, std::string_view text) {
    auto pattern = [&](std::string_view form) {
        std::size_t i = 0;
        while (i < text.size() && i < form.size() &&
               (form[i] == '9' ? is_digit(text[i]) : text[i] == form[i]))
            ++i;
        return i;
    };
    switch (field) {
    case Field::text: return 0;
    case Field::right_flag: return !text.empty() && (text[0] == '0' || text[0] == '1') ? 1 : 0;
    case Field::date: return pattern("99/99/9999 99:99");
    case Field::clock: return pattern("99:99:99");
    case Field::number: {
        std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
        while (i < text.size() && i < 11 && is_digit(text[i])) ++i;
        return i;
    }
    }
    return 0;
}

bool is_upper(char c) { return to_lower_1252(c) != c; }
bool is_lower(char c) { return to_upper_1252(c) != c || c == '\xDF' || c == '\xB5'; }

// The small words that join the parts of a name ("Jean de la Fontaine").
bool is_particle(std::string_view word) {
    static constexpr std::string_view particles[] = {"de", "du", "des", "la", "le", "les", "van", "von", "der",
                                                     "den", "di", "da", "del", "y", "e", "et"};
    for (std::string_view p : particles)
        if (word == p) return true;
    return false;
}

// A word that begins a name: a capital, or "d'" / "l'" and a capital.
bool begins_name(std::string_view word) {
    if (word.empty()) return false;
    if (is_upper(word[0])) return true;
    return word.size() > 2 && (word[0] == 'd' || word[0] == 'l') && word[1] == '\'' && is_upper(word[2]);
}

// Where a name of capitalised words (particles between them) that ends the
// text begins, at or after `from`, also when it is glued to a lower-case
// word before it ("merJean"); npos when the text does not end so.
std::size_t capital_tail(std::string_view text, std::size_t from) {
    std::size_t start = std::string_view::npos;
    std::size_t end = text.size();
    while (end > from) {
        const std::size_t blank = text.find_last_of(" \t", end - 1);
        const std::size_t begin = blank == std::string_view::npos ? 0 : blank + 1;
        const std::string_view word = text.substr(begin, end - begin);
        if (begin < from) break;
        if (!word.empty()) {
            if (begins_name(word)) {
                start = begin;
            } else if (!is_particle(word)) {
                for (std::size_t k = word.size(); k-- > 1;) {
                    if (is_lower(word[k - 1]) && is_upper(word[k])) {
                        start = begin + k;
                        break;
                    }
                }
                break;
            }
        }
        if (blank == std::string_view::npos) break;
        end = blank;
    }
    return start;
}

// Whether the text before `name_start` is the end of a cut value rather than
// the beginning of the name: the line is longer than a name can be, the name
// follows a lower-case letter without a blank ("merJean"), or the text before
// it holds a sign that no name holds (a digit, a brace, a colon ...) or a
// lower-case word other than a particle.
bool cut_text_before(std::string_view line, std::size_t name_start) {
    if (name_start == 0) return false;
    if (line.size() > max_student_name) return true;
    if (is_lower(line[name_start - 1]) && is_upper(line[name_start])) return true;
    for (std::size_t i = 0; i < name_start; ++i) {
        const char c = line[i];
        if (!(is_upper(c) || is_lower(c) || c == ' ' || c == '\t' || c == '-' || c == '\'' || c == '.')) return true;
    }
    std::size_t i = 0;
    while (i < name_start) {
        const std::size_t blank = std::min(line.find_first_of(" \t", i), name_start);
        const std::string_view word = line.substr(i, blank - i);
        if (!word.empty() && is_lower(word[0]) && !is_particle(word)) return true;
        i = blank + 1;
    }
    return false;
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
                pending_.reset();
                const bool blank = pending_blank_;
                pending_blank_ = true;
                if (more && !blank) find_glued_start(check.lines, pending_lines_);
                pending_lines_ = 0;
                stretch.length = lines_->window_offset() + lines_->file_bytes(glued_bytes_) - stretch.offset;
                if (stretch.fault == ResultsFault::cut_short) stretch.fault_offset = lines_->end_offset();
                // Empty lines alone between records, or at the end, lose nothing.
                if (!blank) {
                    skipped = std::move(stretch);
                    return Step::skipped;
                }
            }
            if (!more) return Step::end;
            record.offset = lines_->line(0).offset + lines_->file_bytes(glued_bytes_);
            fill_record(*lines_, (check.lines - header_lines) / entry_lines, glued_bytes_, encoding_, record.record);
            record.glued = std::move(glued_);
            glued_.reset();
            glued_bytes_ = 0;
            remember_name(record.record.student_name);
            lines_->drop(check.lines);
            return Step::record;
        }
        if (!pending_) {
            SkippedBytes stretch;
            stretch.offset = lines_->line(0).offset;
            stretch.fault = check.fault;
            if (check.fault_line) {
                stretch.fault_offset = lines_->line(*check.fault_line).offset;
                TextEncoding ignored;
                decode_line(lines_->text(*check.fault_line), 0, ignored, stretch.fault_line);
                if (stretch.fault_line.size() > fault_line_bytes) stretch.fault_line.resize(fault_line_bytes);
            }
            pending_ = std::move(stretch);
        }
        if (lines_->line(0).length != 0 || lines_->line(0).too_long) pending_blank_ = false;
        ++pending_lines_;
        lines_->drop(1);
    }
}

namespace {

// Students' names as one whatever their case and blanks.
std::string folded_name(std::string_view name) {
    std::string out;
    bool blank = false;
    for (char c : name) {
        if (c == ' ' || c == '\t') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += to_lower_1252(c);
    }
    return out;
}

// Where a name may begin: after a blank or a sign, or where a capital
// follows a lower-case letter.
bool name_may_begin(std::string_view line, std::size_t at) {
    if (at == 0) return true;
    const char before = line[at - 1];
    const bool letter = is_upper(before) || is_lower(before);
    return !letter || (is_lower(before) && is_upper(line[at]));
}

// The byte of a raw line where its `chars`-th character begins, the line
// being UTF-8 or Windows-1252.
std::size_t raw_offset(std::string_view raw, std::size_t chars) {
    if (!is_utf8_line(raw)) return chars;
    std::size_t i = 0;
    for (std::size_t c = 0; c < chars && i < raw.size(); ++c) {
        char32_t code_point = 0;
        const std::size_t length = static_cast<unsigned char>(raw[i]) < 0x80 ? 1 : utf8_sequence(raw, i, code_point);
        i += length ? length : 1;
    }
    return i;
}

constexpr std::size_t names_kept = 8192;
constexpr std::size_t records_looked_ahead = 64;
constexpr std::uint64_t bytes_looked_ahead = 16u << 20;

}  // namespace

void ResultsReader::remember_name(std::string_view name) {
    if (names_.size() < names_kept) names_.insert(folded_name(name));
}

// The names of the whole records that follow, so that a student whose
// first record of the file is the glued one is still known.
void ResultsReader::look_ahead_names(std::size_t from_line) {
    const std::uint64_t start = lines_->line(0).offset;
    std::size_t i = from_line;
    for (std::size_t found = 0; found < records_looked_ahead && lines_->have(i + 1) &&
                                lines_->line(i).offset - start < bytes_looked_ahead;) {
        const Check check = check_record(*lines_, i);
        if (!check.whole) {
            ++i;
            continue;
        }
        std::string name;
        TextEncoding ignored;
        decode_line(lines_->text(i), 0, ignored, name);
        remember_name(name);
        i += check.lines;
        ++found;
    }
}

// The record at the window's start follows a skipped stretch of
// `stretch_lines` lines, which began where the record cut short began. When
// that record was cut inside a line and the runner appended this one
// without ending the line, the student's name follows the cut text: the
// name is the end of the line, of at most max_student_name characters. Its
// beginning is, in this order of trust: where a name of another record of
// the file ends the line; where the cut line's value ends when its place
// holds a number, a date or a time; where capitalised words end the line
// after cut text. With none of these, the line is the name, as written.
void ResultsReader::find_glued_start(std::size_t record_lines, std::size_t stretch_lines) {
    glued_bytes_ = 0;
    glued_.reset();
    const std::string_view raw = lines_->text(0);
    if (raw.empty()) return;
    std::string line;
    TextEncoding ignored;
    decode_line(raw, 0, ignored, line);
    const std::size_t from = line.size() > max_student_name ? line.size() - max_student_name : 0;

    auto glue = [&](std::size_t at, GluedBy by) {
        glued_bytes_ = raw_offset(raw, at);
        const std::size_t shown = std::min(at, fault_line_bytes);
        glued_ = GluedStart{line.substr(at - shown, shown), by};
    };

    look_ahead_names(record_lines);
    for (std::size_t at = from; at < line.size(); ++at) {
        if (!name_may_begin(line, at) || !names_.count(folded_name(std::string_view(line).substr(at)))) continue;
        if (at == 0) return;  // the whole line is a student's name
        if (cut_text_before(line, at)) {
            glue(at, GluedBy::known_name);
            return;
        }
    }
    const std::size_t value = fixed_field_prefix(field_at(stretch_lines), line);
    if (value > 0 && line.find_first_not_of(" \t", value) != std::string::npos) {
        glue(value, GluedBy::field_pattern);
        return;
    }
    const std::size_t tail = capital_tail(line, from);
    if (tail != std::string::npos && cut_text_before(line, tail)) glue(tail, GluedBy::capitals);
}

TextEncoding ResultsReader::encoding() const {
    TextEncoding encoding = encoding_;
    encoding.unmapped += lines_->unmapped();
    return encoding;
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
