#pragma once
// The report's charts, drawn as inline SVG: no script and no file, they
// scale with the page and print sharp.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "class_report.h"

namespace kz::report {

// Where the labels of two vertical lines go, beside the top of their own
// line so that they never overlap: on one row, each to the side of its line
// that keeps it inside the chart and off the other; when they cannot share a
// row, the second goes on a row below, on the side away from the other line.
struct PlacedLabel {
    bool right = true;  // to the right of its line (else to its left)
    int row = 0;        // 0: the upper row
};
std::vector<PlacedLabel> place_line_labels(const std::vector<double>& xs, const std::vector<double>& widths,
                                           double chart_width);

// Exams per mark out of 20 (0 to 20) as bars, with the mean and the median
// (marks out of 20) marked by lines, each labelled beside its top.
std::string score_histogram(const std::array<std::uint64_t, 21>& exams_per_mark, double mean, double median);

// A share (0 to 1) as a small horizontal bar.
std::string share_bar(double share);

// A student's scores over time, oldest first: a line through one point per
// exam, each with its date, quiz and score as a tooltip.
std::string score_trend(const std::vector<const ExamRow*>& exams);

}  // namespace kz::report
