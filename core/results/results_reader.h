#pragma once
// Reads the results data file back, one exam record at a time, in the order
// the runners appended them, with memory that depends on the largest record
// and not on the file.
//
// The file has no markers between records: a record is 11 header lines and
// then as many entries of 16 lines as its last line says. A record cut short
// (a runner stopped while writing, a copy that did not finish) or a line that
// does not hold what its place calls for is skipped, and reading starts again
// at the first later line where a whole record begins. Every stretch of bytes
// skipped that way is reported once, with its offset and the first fault found
// in it; every whole record around it is still read.
//
// A runner that appends after a record cut short in the middle of a line
// does not always end that line first: the next record's first line (the
// student's name) then follows the cut text on the same line. The record
// found right after a skipped stretch has its start looked for inside its
// first line (see GluedStart).
//
// The file is Windows-1252 as the runners write it. A file that a text
// editor has saved again as UTF-8 (with or without a byte order mark) is
// still read: a line that holds UTF-8 sequences and nothing else beyond ASCII
// is UTF-8, and its texts are converted back to Windows-1252. The decision
// is made line by line because runners keep appending Windows-1252 records
// to a file after an editor has converted what it held. A file saved as
// UTF-16 (with its byte order mark, as editors write it) is read too, whole.
#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "common/result.h"
#include "results/exam_record.h"

namespace kz {

// Lines longer than this are taken for damage: no runner writes one.
inline constexpr std::size_t max_results_line = 4u << 20;

enum class ResultsFault {
    cut_short,        // the file ends before the record does
    bad_number,       // a line that holds a number in a record does not hold one
    bad_entry_count,  // the last header line is not a count of 0 to 500 entries
    bad_date,         // the start date is not day/month/year hour:minute
    bad_time,         // an entry's start or end time is not hour:minute:second
    bad_right_flag,   // an entry's right flag is neither 1 nor 0
    line_too_long,    // a line of more than max_results_line bytes
};

// A stretch of the file that holds no whole record.
struct SkippedBytes {
    std::uint64_t offset = 0;  // its first byte: where a record seemed to begin
    std::uint64_t length = 0;
    ResultsFault fault = ResultsFault::cut_short;  // why that record was not whole
    std::uint64_t fault_offset = 0;                // the line at fault (the end of the file when cut short)
    std::string fault_line;                        // the beginning of that line, Windows-1252, at most 40 bytes
};

// How the start of a record glued onto a cut line was found.
enum class GluedBy {
    known_name,     // the line ends with the name of a student of another record of the file
    field_pattern,  // the cut line held a number, a date or a time, which ends where the name begins
    capitals,       // a guess: the capitalised words that end the line, after the cut text
};

// A record whose first line began inside a line of the record cut short
// before it.
struct GluedStart {
    std::string cut_text;  // what the line held before the name, Windows-1252, at most 40 bytes from its end
    GluedBy by = GluedBy::known_name;
};

// A record read back, with the offset of its first byte in the file.
struct ReadRecord {
    std::uint64_t offset = 0;
    ExamRecord record;
    std::optional<GluedStart> glued;  // set when the record began inside a cut line
};

// What the reader found of the file's text encoding.
struct TextEncoding {
    bool utf16 = false;                   // the whole file is UTF-16; the rest says nothing of it but `unmapped`
    bool byte_order_mark = false;         // the file begins with UTF-8's byte order mark
    std::uint64_t utf8_lines = 0;         // lines read as UTF-8
    std::uint64_t first_utf8_offset = 0;  // the first of them (or of the mark)
    std::uint64_t unmapped = 0;           // characters that Windows-1252 lacks, read as '?'
    bool utf8() const { return byte_order_mark || utf8_lines > 0; }
};

class ResultsLines;  // the file's lines, read in chunks

enum class ResultsOpenFailure {
    unreadable,   // no such file, no right to read it, or a folder
    not_results,  // its first line is not a format line
    too_old,      // a format line of an earlier version ("1.2")
    too_new,      // a format line of a later version ("1.4", "2.0")
};

struct ResultsOpenError {
    ResultsOpenFailure failure = ResultsOpenFailure::unreadable;
    std::string format_line;  // the file's first line, Windows-1252, at most 40 bytes
};

class ResultsReader {
public:
    // Opens a results file and checks its format line the way the runners do
    // (first byte and third byte: "1x3" passes). An empty file holds no record.
    static Result<ResultsReader, ResultsOpenError> open(const std::filesystem::path& file);
    // The same from any stream of the file's bytes.
    static Result<ResultsReader, ResultsOpenError> from_stream(std::unique_ptr<std::istream> bytes,
                                                              std::optional<std::uint64_t> size = std::nullopt);

    ResultsReader(ResultsReader&&) noexcept;
    ResultsReader& operator=(ResultsReader&&) noexcept;
    ~ResultsReader();

    enum class Step { record, skipped, end };

    // The next thing in the file: a whole record (into `record`, whose storage
    // is reused), a stretch of skipped bytes before the next whole record (into
    // `skipped`), or the end of the file.
    Step next(ReadRecord& record, SkippedBytes& skipped);

    // Bytes of the file read so far, and its size when known, for progress.
    std::uint64_t position() const;
    std::optional<std::uint64_t> size() const;

    // What has been read as UTF-8 or UTF-16 so far.
    TextEncoding encoding() const;

private:
    explicit ResultsReader(std::unique_ptr<ResultsLines> lines);
    void find_glued_start(std::size_t record_lines, std::size_t stretch_lines);
    void look_ahead_names(std::size_t from_line);
    void remember_name(std::string_view name);
    std::unique_ptr<ResultsLines> lines_;
    std::optional<SkippedBytes> pending_;  // a stretch being skipped, not yet reported
    bool pending_blank_ = true;            // that stretch holds only empty lines so far
    std::size_t pending_lines_ = 0;        // lines in that stretch
    std::size_t glued_bytes_ = 0;            // of the next record's first line, that belong to the cut record
    std::optional<GluedStart> glued_;
    std::unordered_set<std::string> names_;  // students of the records read, folded
    TextEncoding encoding_;
};

// Header values that the report shows: the start date and the entry times
// as numbers. Nothing when the text is not of the form the runners write.
struct RecordDate {
    int day = 0, month = 0, year = 0, hour = 0, minute = 0;
    // yyyymmddhhmm: dates in order.
    std::int64_t sort_key() const;
};
std::optional<RecordDate> parse_record_date(std::string_view text);
// Seconds since midnight of "hh:mm:ss".
std::optional<int> parse_clock_time(std::string_view text);

// Seconds from the first entry's start to the last entry's end; an exam that
// runs past midnight counts the night's wrap once. Nothing without entries or
// with a time that does not read.
std::optional<int> time_spent(const ExamRecord& record);

}  // namespace kz
