#include "svg_charts.h"

#include <algorithm>
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

}  // namespace

std::string score_histogram(const std::array<std::uint64_t, 21>& marks, double mean, double median) {
    constexpr double width = 560, height = 250, left = 40, right = 10, top = 34, bottom = 40;
    constexpr double plot_w = width - left - right, plot_h = height - top - bottom;
    const double bar_w = plot_w / 21;
    const std::uint64_t highest = *std::max_element(marks.begin(), marks.end());
    const auto [axis_top, step] = count_axis(std::max<std::uint64_t>(highest, 1));
    auto y_of = [&](double count) { return top + plot_h - count / static_cast<double>(axis_top) * plot_h; };
    auto x_of = [&](double mark) { return left + (mark + 0.5) * bar_w; };

    std::string svg = "<svg class=\"histogram\" viewBox=\"0 0 " + n(width) + " " + n(height) +
                      "\" role=\"img\" aria-label=\"Répartition des notes sur 20\">";
    for (std::uint64_t c = 0; c <= axis_top; c += step) {
        const std::string y = n(y_of(static_cast<double>(c)));
        svg += "<line class=\"grid\" x1=\"" + n(left) + "\" x2=\"" + n(width - right) + "\" y1=\"" + y + "\" y2=\"" + y + "\"/>";
        svg += "<text class=\"axis\" x=\"" + n(left - 6) + "\" y=\"" + y + "\" text-anchor=\"end\" dy=\"0.35em\">" +
               std::to_string(c) + "</text>";
    }
    for (std::size_t mark = 0; mark < marks.size(); ++mark) {
        const double x = left + static_cast<double>(mark) * bar_w;
        if (marks[mark]) {
            const double y = y_of(static_cast<double>(marks[mark]));
            svg += "<rect class=\"bar\" x=\"" + n(x + 2) + "\" y=\"" + n(y) + "\" width=\"" + n(bar_w - 4) +
                   "\" height=\"" + n(top + plot_h - y) + "\"><title>" + std::to_string(mark) + "/20 : " +
                   std::to_string(marks[mark]) + exams_word(marks[mark]) + "</title></rect>";
            svg += "<text class=\"count\" x=\"" + n(x + bar_w / 2) + "\" y=\"" + n(y - 4) +
                   "\" text-anchor=\"middle\">" + std::to_string(marks[mark]) + "</text>";
        }
        svg += "<text class=\"axis\" x=\"" + n(x + bar_w / 2) + "\" y=\"" + n(top + plot_h + 16) +
               "\" text-anchor=\"middle\">" + std::to_string(mark) + "</text>";
    }
    svg += "<line class=\"baseline\" x1=\"" + n(left) + "\" x2=\"" + n(width - right) + "\" y1=\"" + n(top + plot_h) +
           "\" y2=\"" + n(top + plot_h) + "\"/>";
    svg += "<text class=\"axis\" x=\"" + n(left + plot_w / 2) + "\" y=\"" + n(height - 6) +
           "\" text-anchor=\"middle\">Note sur 20</text>";
    const struct {
        const char* css;
        const char* label;
        double value;
        const char* anchor;
        double dx;
    } marks_drawn[] = {{"mean", "moyenne", mean, "end", -4}, {"median", "médiane", median, "start", 4}};
    for (const auto& m : marks_drawn) {
        const std::string x = n(x_of(m.value));
        svg += "<line class=\"" + std::string(m.css) + "\" x1=\"" + x + "\" x2=\"" + x + "\" y1=\"" + n(top - 16) +
               "\" y2=\"" + n(top + plot_h) + "\"/>";
        svg += "<text class=\"" + std::string(m.css) + "-label\" x=\"" + n(x_of(m.value) + m.dx) + "\" y=\"" +
               n(top - 20) + "\" text-anchor=\"" + m.anchor + "\">" + m.label + " " + french_decimal(m.value, 1) +
               "</text>";
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
