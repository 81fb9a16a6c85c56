#pragma once
// Question banks in and out of a quiz: CSV as spreadsheets save it, GIFT (the
// plain-text question format of learning platforms) and Moodle XML. An import
// gives a quiz with default settings and the bank's themes and questions; an
// export writes a quiz's themes and questions. Both say, line by line, what
// they skipped or changed and why.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "quiz/quiz_model.h"

namespace kz {

enum class BankFormat { csv, gift, moodle_xml };

// "CSV", "GIFT", "Moodle XML".
std::string_view bank_format_name(BankFormat format);
// The word of --format: csv, gift, xml (or moodle).
std::optional<BankFormat> bank_format_from_word(std::string_view word);
// .csv, .tsv, .gift and .xml name their format; other names say nothing.
std::optional<BankFormat> bank_format_from_extension(const std::filesystem::path& file);
// A file's format told from its content: XML when it begins with an XML
// declaration or <quiz>, GIFT when it has categories or answer lists in
// braces, CSV otherwise.
BankFormat guess_bank_format(std::string_view bytes);
// Moodle XML is read with an XML library that not every build of the packer
// has (the Windows build has none); writing it needs none.
bool moodle_xml_import_available();

struct ReportLine {
    enum class Kind { skipped, changed, note };
    std::size_t line = 0;  // line of the file read or written; 0 when none
    Kind kind = Kind::note;
    std::string what;      // UTF-8
};

struct BankReport {
    std::string reading;  // how the file was read or written, for its first line
    std::vector<ReportLine> lines;

    void add(std::size_t line, ReportLine::Kind kind, std::string what);
    std::size_t count(ReportLine::Kind kind) const;
};

// "line 12: skipped: a true/false question has no counterpart in a quiz".
std::string describe(const ReportLine& line);

struct BankError {
    std::size_t line = 0;  // 0 when the fault has no line
    std::string what;      // UTF-8
};

struct ImportedBank {
    QuizModel model;
    BankReport report;
    // The bytes of each media row of the model (pictures and sounds that the
    // bank carried), row for row; the rows name no file yet.
    std::vector<std::string> media_bytes;
};

struct ExportedBank {
    std::string bytes;
    BankReport report;
};

// The bytes of a file beside a bank, by its path relative to the bank's
// folder (UTF-8, '/' between folders); nothing when there is no such file.
using BankFiles = std::function<std::optional<std::string>(const std::string& relative_path)>;

// Reads a bank. `default_theme` (UTF-8) names the theme of questions that
// come before any theme is named (the file's name, usually). A bank whose
// every question was skipped gives a quiz without themes, and the report
// says why. Pictures and sounds become media rows of the quiz where a text
// of a question is that picture or sound: those a Moodle XML bank carries,
// those written inside their address, and those that a hand-written bank
// names by a relative address (<img src="images/coeur.png">), from `beside`.
Result<ImportedBank, BankError> import_bank(BankFormat format, std::string_view bytes,
                                            std::string_view default_theme, const BankFiles& beside = {});

// Writes the themes and questions of a quiz. Rich texts become plain text
// (basic HTML in Moodle XML), media references the media's file name.
ExportedBank export_bank(BankFormat format, const QuizModel& quiz);

}  // namespace kz
