#pragma once
// results-report from its command line to its files: reads every results
// file once, record by record, and writes the HTML page and the CSV files.
#include <iosfwd>
#include <string>
#include <vector>

namespace kz::report {

inline constexpr int report_done = 0;
inline constexpr int report_failed = 1;     // a file refused or unreadable, an output not written
inline constexpr int report_bad_usage = 2;  // wrong command line

// Input of at least this many bytes shows a progress bar at a terminal.
inline constexpr unsigned long long progress_threshold = 16ull << 20;

// `arguments` are the arguments after the program's name, UTF-8. The
// summary goes to `out`; warnings, errors and the progress bar to `err`,
// the bar only when `err_is_terminal`.
int run_results_report(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                       bool err_is_terminal);

}  // namespace kz::report
