#pragma once
// The CSV files of the report, for a spreadsheet: "examens.csv" with one
// row per exam and "questions.csv" with one row per question entry, written
// as the records are read; then "statistiques-questions.csv" with one row
// per question of each quiz (its statistics) and "eleves.csv" with one row
// per student. Semicolons between fields, decimals with a comma and a UTF-8
// byte order mark, as a French spreadsheet expects. They hold every row,
// whatever the page lists.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "class_report.h"
#include "report_text.h"
#include "results/exam_record.h"

namespace kz::report {

// One field: quoted when it holds a semicolon, a quote or a line end. A text
// that a spreadsheet would take for a formula (it begins with =, +, -, @ and
// is not a number) gets an apostrophe in front, so that opening the file
// never runs anything a student typed.
std::string csv_field(std::string_view utf8, bool text);

class CsvFile {
public:
    // Nothing when the file cannot be created.
    static std::optional<CsvFile> create(const std::filesystem::path& file);
    struct Field {
        std::string value;
        bool text = true;
    };
    void row(const std::vector<Field>& fields);
    // Flushes; false when a write failed.
    bool close();

private:
    explicit CsvFile(std::ofstream out) : out_(std::move(out)) {}
    std::ofstream out_;
    std::string line_;
};

// The files, in the order they are named to the teacher.
inline constexpr const char* csv_file_names[] = {"examens.csv", "questions.csv", "statistiques-questions.csv",
                                                 "eleves.csv"};

class CsvExport {
public:
    // Creates the folder when needed and both files with their header rows.
    // The error names what could not be written, UTF-8.
    static std::optional<CsvExport> create(const std::filesystem::path& folder, std::string& error);

    void add(const ExamRecord& record, const ExamRow& row, const std::string& file_name, std::uint64_t offset);
    // The questions' statistics and the students, once every record is in;
    // false when a file could not be written.
    bool write_summaries(const ClassReport& report);
    bool close();

private:
    CsvExport(std::filesystem::path folder, CsvFile exams, CsvFile entries)
        : folder_(std::move(folder)), exams_(std::move(exams)), entries_(std::move(entries)) {}
    std::filesystem::path folder_;
    CsvFile exams_;
    CsvFile entries_;
    PlainTexts plain_;
};

}  // namespace kz::report
