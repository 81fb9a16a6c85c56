#include "svg_charts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "report_text.h"

namespace kz::report {

namespace {

std::string n(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    std::string text = buffer;
    if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0) text.resize(text.size() - 2);
    return text;
}

// A round top for the count axis (1, 2 or 5 times a power of ten) and its step.
std::pair<std::uint64_t, std::uint64_t> count_axis(std::uint64_t highest) {
    std::uint64_t step = 1;
    for (;;) {
        for (std::uint64_t factor : {1, 2, 5}) {
            if (highest <= step * factor * 4) {
                const std::uint64_t s = step * factor;
                return {std::max<std::uint64_t>(s, (highest + s - 1) / s * s), s};
            }
        }
        step *= 10;
    }
}

std::string exams_word(std::uint64_t count) { return count == 1 ? " examen" : " examens"; }


// The width that a label of `chars` characters takes at the chart's font
// size of 12 (a little more than a sans-serif face needs, so that the
// layout holds whatever the face).
double label_width(std::size_t chars, double font) { return static_cast<double>(chars) * font * 0.6; }

std::size_t characters(const std::string& utf8) {
    std::size_t count = 0;
    for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace

std::vector<PlacedLabel> place_line_labels(const std::vector<double>& xs, const std::vector<double>& widths,
                                           double chart_width) {
    constexpr double gap = 5, apart = 8, margin = 2;
    auto span = [&](std::size_t i, bool right) {
        return right ? std::pair{xs[i] + gap, xs[i] + gap + widths[i]} : std::pair{xs[i] - gap - widths[i], xs[i] - gap};
    };
    auto fits = [&](std::pair<double, double> s) { return s.first >= margin && s.second <= chart_width - margin; };
    // One row: the left line's label to its left and the right line's to
    // its right never meet; the other placements are tried when one of
    // those would leave the chart.
    const std::size_t l = xs[0] <= xs[1] ? 0 : 1, r = 1 - l;
    for (const auto& [left_right, right_right] : {std::pair{false, true}, std::pair{true, true},
                                                 std::pair{false, false}, std::pair{true, false}}) {
        const auto a = span(l, left_right), b = span(r, right_right);
        if (fits(a) && fits(b) && (a.second + apart <= b.first || b.second + apart <= a.first)) {
            std::vector<PlacedLabel> placed(2);
            placed[l] = {left_right, 0};
            placed[r] = {right_right, 0};
            return placed;
        }
    }
    // Two rows: the first label on the upper row, where only its own line
    // reaches; the second below, on the side away from the other line,
    // which crosses its row.
    std::vector<PlacedLabel> placed(2);
    placed[0] = {fits(span(0, true)) || !fits(span(0, false)), 0};
    const bool away = xs[1] >= xs[0];
    placed[1] = {fits(span(1, away)) ? away : !away, 1};
    return placed;
}

std::string score_histogram(const std::array<std::uint64_t, 21>& marks, double mean, double median) {
    constexpr double width = 440, left = 36, right = 8, bottom = 40, row_height = 16, font = 12, count_font = 11;
    constexpr double plot_w = width - left - right;
    const double bar_w = plot_w / 21;
    auto x_of = [&](double mark) { return left + (std::clamp(mark, 0.0, 20.0) + 0.5) * bar_w; };

    const struct {
        const char* css;
        std::string label;
        double value;
    } lines[] = {{"mean", "moyenne " + french_decimal(mean, 1), mean}, {"median", "médiane " + french_decimal(median, 1), median}};
    const std::vector<double> xs = {x_of(mean), x_of(median)};
    const std::vector<double> widths = {label_width(characters(lines[0].label), font),
                                        label_width(characters(lines[1].label), font)};
    const auto placed = place_line_labels(xs, widths, width);
    const int rows = std::max(placed[0].row, placed[1].row) + 1;
    auto row_y = [&](int row) { return 14 + row * row_height; };
    const double top = row_y(rows - 1) + 20;
    const double height = top + 190 + bottom;
    const double plot_h = height - top - bottom;

    // Counts above the bars, turned upright when they are wider than a bar;
    // the axis then leaves room above the highest bar for them.
    const std::uint64_t highest = std::max<std::uint64_t>(*std::max_element(marks.begin(), marks.end()), 1);
    const std::size_t widest = std::to_string(highest).size();
    const bool upright = label_width(widest, count_font) > bar_w - 2;
    const double room = upright ? label_width(widest, count_font) + 6 : 0;
    const auto needed = static_cast<std::uint64_t>(std::ceil(static_cast<double>(highest) * plot_h / (plot_h - room)));
    const auto [axis_top, step] = count_axis(std::max(highest, needed));
    auto y_of = [&](double count) { return top + plot_h - count / static_cast<double>(axis_top) * plot_h; };

    std::string svg = "<svg class=\"histogram\" viewBox=\"0 0 " + n(width) + " " + n(height) +
                      "\" role=\"img\" aria-label=\"Répartition des notes sur 20\">";
    for (std::uint64_t c = 0; c <= axis_top; c += step) {
        const std::string y = n(y_of(static_cast<double>(c)));
        svg += "<line class=\"grid\" x1=\"" + n(left) + "\" x2=\"" + n(width - right) + "\" y1=\"" + y + "\" y2=\"" + y + "\"/>";
        svg += "<text class=\"axis\" x=\"" + n(left - 5) + "\" y=\"" + y + "\" text-anchor=\"end\" dy=\"0.35em\">" +
               std::to_string(c) + "</text>";
    }
    for (std::size_t mark = 0; mark < marks.size(); ++mark) {
        const double x = left + static_cast<double>(mark) * bar_w;
        if (marks[mark]) {
            const double y = y_of(static_cast<double>(marks[mark]));
            svg += "<rect class=\"bar\" x=\"" + n(x + 1.5) + "\" y=\"" + n(y) + "\" width=\"" + n(bar_w - 3) +
                   "\" height=\"" + n(top + plot_h - y) + "\"><title>" + std::to_string(mark) + "/20 : " +
                   std::to_string(marks[mark]) + exams_word(marks[mark]) + "</title></rect>";
            const std::string cx = n(x + bar_w / 2), cy = n(y - 4);
            svg += upright ? "<text class=\"count\" x=\"" + cx + "\" y=\"" + cy + "\" transform=\"rotate(-90 " + cx +
                                 " " + cy + ")\" dy=\"0.35em\">" + std::to_string(marks[mark]) + "</text>"
                           : "<text class=\"count\" x=\"" + cx + "\" y=\"" + cy + "\" text-anchor=\"middle\">" +
                                 std::to_string(marks[mark]) + "</text>";
        }
        svg += "<text class=\"axis\" x=\"" + n(x + bar_w / 2) + "\" y=\"" + n(top + plot_h + 16) +
               "\" text-anchor=\"middle\">" + std::to_string(mark) + "</text>";
    }
    svg += "<line class=\"baseline\" x1=\"" + n(left) + "\" x2=\"" + n(width - right) + "\" y1=\"" + n(top + plot_h) +
           "\" y2=\"" + n(top + plot_h) + "\"/>";
    svg += "<text class=\"axis\" x=\"" + n(left + plot_w / 2) + "\" y=\"" + n(height - 6) +
           "\" text-anchor=\"middle\">Note sur 20</text>";
    // Each line rises to its label's row; the label sits beside its top.
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string x = n(xs[i]);
        const double y = row_y(placed[i].row);
        svg += "<line class=\"" + std::string(lines[i].css) + "\" x1=\"" + x + "\" x2=\"" + x + "\" y1=\"" + n(y - 10) +
               "\" y2=\"" + n(top + plot_h) + "\"/>";
        svg += "<text class=\"" + std::string(lines[i].css) + "-label\" x=\"" +
               n(placed[i].right ? xs[i] + 5 : xs[i] - 5) + "\" y=\"" + n(y) + "\" text-anchor=\"" +
               (placed[i].right ? "start" : "end") + "\">" + lines[i].label + "</text>";
    }
    return svg + "</svg>";
}

std::string share_bar(double share) {
    const double filled = std::clamp(share, 0.0, 1.0) * 100;
    return "<svg class=\"share\" viewBox=\"0 0 100 10\" aria-hidden=\"true\"><rect class=\"empty\" width=\"100\" "
           "height=\"10\"/><rect class=\"filled\" width=\"" + n(filled) + "\" height=\"10\"/></svg>";
}

std::string score_trend(const std::vector<const ExamRow*>& exams) {
    constexpr double width = 240, height = 48, pad = 5;
    std::string svg = "<svg class=\"trend\" viewBox=\"0 0 " + n(width) + " " + n(height) +
                      "\" role=\"img\" aria-label=\"Scores dans l'ordre des examens\">";
    svg += "<line class=\"grid\" x1=\"0\" x2=\"" + n(width) + "\" y1=\"" + n(height / 2) + "\" y2=\"" +
           n(height / 2) + "\"/>";
    if (exams.empty()) return svg + "</svg>";
    auto x_of = [&](std::size_t i) {
        return exams.size() == 1 ? width / 2
                                 : pad + static_cast<double>(i) * (width - 2 * pad) / static_cast<double>(exams.size() - 1);
    };
    auto y_of = [&](std::int32_t percent) {
        return height - pad - std::clamp(percent, 0, 100) / 100.0 * (height - 2 * pad);
    };
    std::string points;
    for (std::size_t i = 0; i < exams.size(); ++i) {
        if (i) points += ' ';
        points += n(x_of(i)) + "," + n(y_of(exams[i]->score));
    }
    if (exams.size() > 1) svg += "<polyline class=\"line\" points=\"" + points + "\"/>";
    for (std::size_t i = 0; i < exams.size(); ++i) {
        const ExamRow& exam = *exams[i];
        svg += "<circle class=\"point\" cx=\"" + n(x_of(i)) + "\" cy=\"" + n(y_of(exam.score)) + "\" r=\"2.6\"><title>" +
               html_escaped(exam.date + " — " + exam.quiz + " — " + std::to_string(marks_of(exam.score)) + "/20 (" +
                            std::to_string(exam.score) + " %)") +
               "</title></circle>";
    }
    return svg + "</svg>";
}

}  // namespace kz::report
