#pragma once
// A progress bar on standard error while large files are read, drawn on one
// line that each update rewrites; shown only at a terminal, so that a log
// file or a pipe gets the warnings alone.
#include <cstdint>
#include <ostream>

namespace kz::report {

class ProgressBar {
public:
    ProgressBar(std::ostream& err, std::uint64_t total, bool shown) : err_(err), total_(total), shown_(shown) {}

    // `done` bytes of the total have been read.
    void update(std::uint64_t done);
    // Clears the bar so that a message can be written; the next update draws it again.
    void interrupt();
    // Clears the bar for good.
    void finish();

private:
    std::ostream& err_;
    std::uint64_t total_;
    bool shown_;
    bool drawn_ = false;
    int per_mille_ = -1;
};

}  // namespace kz::report
