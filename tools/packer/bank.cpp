#include "bank.h"

#include <algorithm>

#include "bank_formats.h"

namespace kz {

std::string_view bank_format_name(BankFormat format) {
    switch (format) {
    case BankFormat::csv: return "CSV";
    case BankFormat::gift: return "GIFT";
    case BankFormat::moodle_xml: break;
    }
    return "Moodle XML";
}

std::optional<BankFormat> bank_format_from_word(std::string_view word) {
    std::string lower(word);
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (lower == "csv") return BankFormat::csv;
    if (lower == "gift") return BankFormat::gift;
    if (lower == "xml" || lower == "moodle") return BankFormat::moodle_xml;
    return std::nullopt;
}

std::optional<BankFormat> bank_format_from_extension(const std::filesystem::path& file) {
    const auto utf8 = file.extension().u8string();
    std::string extension(utf8.begin(), utf8.end());
    if (extension.empty()) return std::nullopt;
    extension.erase(0, 1);
    if (extension == "tsv" || extension == "TSV") return BankFormat::csv;
    if (extension == "txt" || extension == "TXT") return std::nullopt;
    return bank_format_from_word(extension);
}

BankFormat guess_bank_format(std::string_view bytes) {
    const std::string text = bank::decode_file(bytes.substr(0, 64 * 1024)).utf8;
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && (text.compare(first, 5, "<?xml") == 0 || text.compare(first, 5, "<quiz") == 0))
        return BankFormat::moodle_xml;
    // GIFT: a category, a title or a comment opening a line, or a line that
    // ends an answer list in braces.
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
            line.remove_suffix(1);
        if (line.starts_with("$CATEGORY:") || line.starts_with("::") || line.starts_with("//")) return BankFormat::gift;
        if (line.ends_with("}")) {
            const auto open = line.rfind('{');
            if (open != std::string_view::npos) {
                const std::string_view inside = line.substr(open + 1);
                if (inside.find('=') != std::string_view::npos || inside.find('~') != std::string_view::npos)
                    return BankFormat::gift;
            }
        }
        start = end + 1;
    }
    return BankFormat::csv;
}

bool moodle_xml_import_available() {
#ifdef KZ_HAVE_PUGIXML
    return true;
#else
    return false;
#endif
}

void BankReport::add(std::size_t line, ReportLine::Kind kind, std::string what) {
    lines.push_back({line, kind, std::move(what)});
}

std::size_t BankReport::count(ReportLine::Kind kind) const {
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [&](const ReportLine& l) { return l.kind == kind; }));
}

std::string describe(const ReportLine& line) {
    std::string text = line.line > 0 ? "line " + std::to_string(line.line) + ": " : "";
    switch (line.kind) {
    case ReportLine::Kind::skipped: text += "skipped: "; break;
    case ReportLine::Kind::changed: text += "changed: "; break;
    case ReportLine::Kind::note: break;
    }
    return text + line.what;
}

Result<ImportedBank, BankError> import_bank(BankFormat format, std::string_view bytes,
                                            std::string_view default_theme, const BankFiles& beside) {
    switch (format) {
    case BankFormat::csv: return bank::import_csv(bytes, default_theme);
    case BankFormat::gift: return bank::import_gift(bytes, default_theme, beside);
    case BankFormat::moodle_xml: break;
    }
    return bank::import_moodle_xml(bytes, default_theme, beside);
}

ExportedBank export_bank(BankFormat format, const QuizModel& quiz) {
    switch (format) {
    case BankFormat::csv: return bank::export_csv(quiz);
    case BankFormat::gift: return bank::export_gift(quiz);
    case BankFormat::moodle_xml: break;
    }
    return bank::export_moodle_xml(quiz);
}

}  // namespace kz
