#pragma once
// The heap in use by a benchmark program: every allocation is counted by the
// program's own operator new (heap_count.cpp, linked into the benchmarks that
// measure memory), so a run can report the peak above where it started.
#include <cstddef>

namespace kz::bench {

// Starts a measure: the peak is set back to the heap in use now, which is
// returned.
std::size_t start_heap_measure();
// The highest heap in use since the measure started, above its start.
std::size_t heap_peak_since(std::size_t start);

}  // namespace kz::bench
