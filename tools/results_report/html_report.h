#pragma once
// The report as one self-contained HTML page in French: inline style, inline
// SVG charts and a small inline script that sorts the tables by a click on a
// column (the page reads the same without it). Nothing is fetched from
// anywhere; the page prints on A4 and reads on a phone.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "class_report.h"

namespace kz::report {

// A file given to the report, and what came of it.
struct FileSummary {
    std::string name;  // as given, UTF-8
    std::uint64_t size = 0;
    std::uint64_t records = 0;        // whole records read
    std::uint64_t left_out = 0;       // whole records outside the chosen quizzes or dates
    std::uint64_t skipped_stretches = 0;
    std::uint64_t skipped_bytes = 0;
    std::string saved_as;                // "UTF-8" or "UTF-16" when another program saved it so, read as such
    std::uint64_t duplicates = 0;        // whole records identical to one read before, not counted again
    std::string duplicate_of;            // the files where those were met first, as words
    std::uint64_t replays = 0;           // exams after a student's first of a quiz, left out by --first
    std::string same_as;                 // the file given before under another name; not read again
    std::optional<std::string> refused;  // why it was not read
};

struct ReportSources {
    std::vector<FileSummary> files;
    std::vector<std::string> warnings;  // the first ones, as sentences
    std::uint64_t warnings_not_listed = 0;
    std::string selection;              // the quizzes and dates chosen, as a sentence; empty: all
    bool first_only = false;            // --first: each student's first exam of a quiz alone
    ReportLimits limits;
};

void write_html_report(std::ostream& out, const ClassReport& report, const ReportSources& sources);

}  // namespace kz::report
