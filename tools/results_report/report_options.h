#pragma once
// The command line of results-report.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "class_report.h"
#include "common/result.h"

namespace kz::report {

struct ReportOptions {
    std::vector<std::filesystem::path> inputs;             // results files
    std::filesystem::path output = "rapport.html";         // -o, --output
    std::optional<std::filesystem::path> csv_folder;       // --csv
    std::vector<std::string> quizzes;                      // --quiz, each as `folded` keys (Windows-1252)
    std::vector<std::string> quiz_names;                   // the same as given, UTF-8
    std::optional<std::int64_t> since;                     // --since: first minute kept (yyyymmddhhmm)
    std::optional<std::int64_t> until;                     // --until: last minute kept
    std::string since_text, until_text;                    // as given
    ReportLimits limits;                                   // --limit: rows of every list of the page
    bool first = false;                                    // --first: each student's first exam of a quiz
    bool progress = true;                                  // --no-progress
    bool help = false;                                     // -h, --help
};

// The arguments after the program's name, UTF-8. The error is a sentence
// in French, UTF-8.
Result<ReportOptions, std::string> parse_report_options(const std::vector<std::string>& arguments);

// The text of --help, UTF-8.
std::string report_usage();

// What the options choose, as a sentence of the report ("Questionnaires :
// Quiz découverte ; examens du 02/03/2026 au 31/03/2026."); empty when
// every exam is kept.
std::string selection_text(const ReportOptions& options);

}  // namespace kz::report
