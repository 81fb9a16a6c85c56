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
#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

// A record read back, with the offset of its first byte in the file.
struct ReadRecord {
    std::uint64_t offset = 0;
    ExamRecord record;
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

private:
    explicit ResultsReader(std::unique_ptr<ResultsLines> lines);
    std::unique_ptr<ResultsLines> lines_;
    std::optional<SkippedBytes> pending_;  // a stretch being skipped, not yet reported
    bool pending_blank_ = true;            // that stretch holds only empty lines so far
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
