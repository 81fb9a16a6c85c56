#pragma once
// The records that runners append in the stress runs of the results file:
// each names its runner and its number and carries a long prompt, so that
// every write is several kilobytes and two of them would interleave if the
// runners did not take turns.
#include <cstddef>
#include <string>
#include <string_view>

namespace kz::stress {

std::string stress_record(int runner, int number);

struct RecordCount {
    std::size_t whole = 0;  // whole records, each found once
    std::string fault;      // where the file stops being whole records; empty when it never does
};

// Reads a results file made only of stress records, after its format line.
RecordCount count_whole_records(std::string_view file);

}  // namespace kz::stress
