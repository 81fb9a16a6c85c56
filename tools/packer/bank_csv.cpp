// Question banks as spreadsheets save them: one question a row, in the
// columns theme; question; answer; wrong answer 1; wrong answer 2; comment,
// named by a header row in French or English or, without one, in that order.
#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "bank_formats.h"
#include "common/cp1252.h"
#include "common/text_helpers.h"
#include "questions/matcher.h"

namespace kz::bank {
namespace {

enum Column { theme, question, answer, first_wrong, second_wrong, comment, prompt, reverse_prompt, column_count };

constexpr std::array<const char*, column_count> french_headers = {
    "Thème", "Question", "Réponse", "Mauvaise réponse 1", "Mauvaise réponse 2", "Commentaire", "Consigne",
    "Consigne inverse"};

// What each column holds, for report lines.
constexpr std::array<const char*, column_count> column_words = {
    "theme",        "question", "answer", "first wrong answer", "second wrong answer",
    "comment",      "prompt",   "reverse prompt"};

// Header names, as compared: lower case, without accents or punctuation.
enum Language { both, fr, en };
struct HeaderName {
    const char* name;
    int column;      // Column, or -1 for an unnumbered wrong answer
    Language language;
};
constexpr HeaderName header_names[] = {
    {"theme", theme, both},          {"themes", theme, both},          {"categorie", theme, fr},
    {"category", theme, en},      {"topic", theme, en},          {"question", question, both},
    {"questions", question, both},  {"enonce", question, fr},       {"intitule", question, fr},
    {"question text", question, en},
    {"reponse", answer, fr},       {"bonne reponse", answer, fr},  {"reponse juste", answer, fr},
    {"reponse correcte", answer, fr}, {"solution", answer, both},   {"answer", answer, en},
    {"right answer", answer, en}, {"correct answer", answer, en},
    {"mauvaise reponse 1", first_wrong, fr}, {"fausse reponse 1", first_wrong, fr},
    {"reponse fausse 1", first_wrong, fr},   {"distracteur 1", first_wrong, fr},
    {"wrong answer 1", first_wrong, en},    {"wrong 1", first_wrong, en},
    {"mauvaise reponse 2", second_wrong, fr}, {"fausse reponse 2", second_wrong, fr},
    {"reponse fausse 2", second_wrong, fr},   {"distracteur 2", second_wrong, fr},
    {"wrong answer 2", second_wrong, en},    {"wrong 2", second_wrong, en},
    {"mauvaise reponse", -1, fr},  {"fausse reponse", -1, fr},     {"reponse fausse", -1, fr},
    {"distracteur", -1, fr},       {"wrong answer", -1, en},      {"wrong", -1, en},
    {"commentaire", comment, fr},  {"remarque", comment, fr},      {"explication", comment, fr},
    {"comment", comment, en},     {"comments", comment, en},     {"feedback", comment, en},
    {"explanation", comment, en},
    {"consigne", prompt, fr},      {"prompt", prompt, en},
    {"consigne inverse", reverse_prompt, fr}, {"reverse prompt", reverse_prompt, en},
};

struct Record {
    std::size_t line = 0;
    std::vector<std::string> fields;
};

// A header cell as compared: lower case, accents and punctuation removed,
// blanks collapsed.
std::string header_key(std::string_view cell) {
    std::string key;
    for (const char c : utf8_to_cp1252(cell).value_or(std::string(cell))) {
        for (char folded : fold_accent(c)) {
            folded = to_lower_1252(folded);
            if ((folded >= 'a' && folded <= 'z') || (folded >= '0' && folded <= '9'))
                key += folded;
            else if (!key.empty() && key.back() != ' ')
                key += ' ';
        }
    }
    while (!key.empty() && key.back() == ' ') key.pop_back();
    return key;
}

const HeaderName* find_header(std::string_view cell) {
    const std::string key = header_key(cell);
    for (const auto& name : header_names)
        if (key == name.name) return &name;
    return nullptr;
}

// Reads records separated by line ends, fields separated by `separator`,
// with quoted fields that may hold separators, doubled quotes and line ends.
// Stops after `limit` records, or at a quoted field that is not closed, which
// `error` then tells.
std::vector<Record> read_records(std::string_view text, char separator, std::optional<BankError>& error,
                                 std::size_t limit = static_cast<std::size_t>(-1)) {
    std::vector<Record> records;
    std::size_t line = 1;
    std::size_t i = 0;
    const std::size_t n = text.size();
    const auto at_line_end = [&](std::size_t k) { return text[k] == '\n' || text[k] == '\r'; };
    const auto skip_line_end = [&] {
        if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        ++i;
        ++line;
    };
    while (i < n && records.size() < limit) {
        Record record;
        record.line = line;
        while (true) {
            std::string field;
            std::size_t j = i;
            while (j < n && text[j] == ' ') ++j;
            if (j < n && text[j] == '"') {
                const std::size_t opened = line;
                i = j + 1;
                while (true) {
                    if (i >= n) {
                        error = BankError{opened, "a quoted field opened on this line is not closed (a \" is missing)"};
                        return records;
                    }
                    const char c = text[i];
                    if (c == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == '\r' || c == '\n') {
                        field += '\n';
                        skip_line_end();
                        continue;
                    }
                    field += c;
                    ++i;
                }
                // Text after the closing quote belongs to the field, as
                // spreadsheets read it.
                while (i < n && text[i] != separator && !at_line_end(i)) field += text[i++];
            } else {
                while (i < n && text[i] != separator && !at_line_end(i)) field += text[i++];
            }
            record.fields.push_back(std::move(field));
            if (i < n && text[i] == separator) {
                ++i;
                if (i >= n) record.fields.emplace_back();
                continue;
            }
            if (i < n) skip_line_end();
            break;
        }
        records.push_back(std::move(record));
    }
    return records;
}

bool blank_record(const Record& record) {
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const std::string& f) { return StyledText(f).empty(); });
}

// The separator that cuts the first rows into the same number of columns
// most often; ties go to tab, then semicolon (French spreadsheets), then
// comma, which texts hold more often than the others.
std::optional<char> find_separator(std::string_view text) {
    std::optional<char> best;
    std::tuple<std::size_t, std::size_t> best_score{0, 0};
    for (const char candidate : {'\t', ';', ','}) {
        // A quoted field left open shows on every separator: the rows
        // before it still tell which one cuts them.
        std::optional<BankError> ignored;
        const auto records = read_records(text, candidate, ignored, 30);
        std::map<std::size_t, std::size_t> counts;  // columns -> rows
        for (const auto& record : records)
            if (!blank_record(record)) ++counts[record.fields.size()];
        std::size_t columns = 0, rows = 0;
        for (const auto& [c, r] : counts)
            if (r > rows || (r == rows && c > columns)) columns = c, rows = r;
        if (columns < 2) continue;
        const std::tuple<std::size_t, std::size_t> score{rows, columns};
        if (score > best_score) best_score = score, best = candidate;
    }
    return best;
}

std::string separator_name(char separator) {
    switch (separator) {
    case '\t': return "tab";
    case ';': return "semicolon";
    default: return "comma";
    }
}

std::string ordinal_column(std::size_t index) { return "column " + std::to_string(index + 1); }

// "-12", "-3,5", "-1.5e3": a negative number, which a spreadsheet reads as a
// number, not as a formula.
bool is_negative_number(std::string_view text) {
    if (!text.starts_with("-")) return false;
    std::size_t i = 1;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        return i > start;
    };
    if (!digits()) return false;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        if (!digits()) return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (!digits()) return false;
    }
    return i == text.size();
}

// Spreadsheets run a cell that begins with "=", "+", "-" or "@" (or a tab
// or a carriage return) as a formula: a bank made from someone else's quiz
// could run "=HYPERLINK(...)" or "+cmd|..." when it is opened. Such a cell
// is written after an apostrophe, which spreadsheets read as "this is text"
// and import takes off again; a text that already begins with apostrophes
// before such a sign gets one more, so that every text comes back as it was.
bool needs_formula_guard(std::string_view text) {
    const std::size_t apostrophes = std::min(text.find_first_not_of('\''), text.size());
    const std::string_view rest = text.substr(apostrophes);
    if (rest.empty() || std::string_view("=+-@\t\r").find(rest.front()) == std::string_view::npos) return false;
    return apostrophes > 0 || !is_negative_number(rest);
}

std::string unguarded(std::string_view cell) {
    if (cell.starts_with("'") && needs_formula_guard(cell.substr(1))) cell.remove_prefix(1);
    return std::string(cell);
}

}  // namespace

Result<ImportedBank, BankError> import_csv(std::string_view bytes, std::string_view default_theme) {
    using R = Result<ImportedBank, BankError>;
    ImportedBank bank;
    const DecodedFile file = decode_file(bytes);
    const std::string& text = file.utf8;
    if (StyledText(text).empty()) return R::failure({0, "the file holds no rows"});
    const auto separator = find_separator(text);
    if (!separator)
        return R::failure({1, "no columns found: separate the columns by semicolons, commas or tabs "
                              "(theme; question; answer; wrong answer 1; wrong answer 2; comment)"});
    std::optional<BankError> unreadable;
    std::vector<Record> records = read_records(text, *separator, unreadable);
    if (unreadable) return R::failure(*unreadable);

    // Where each column is: named by a header row, or in the usual order.
    std::array<std::optional<std::size_t>, column_count> where{};
    std::size_t first_row = 0;
    std::string header_language;
    std::size_t used_columns = 6;
    const auto header_at = std::find_if(records.begin(), records.end(), [](const Record& r) { return !blank_record(r); });
    if (header_at != records.end()) {
        std::size_t known = 0;
        for (const auto& cell : header_at->fields) known += find_header(cell) ? 1 : 0;
        if (known >= 2) {
            bool french = false, english = false;
            for (std::size_t c = 0; c < header_at->fields.size(); ++c) {
                const std::string& cell = header_at->fields[c];
                const HeaderName* name = find_header(cell);
                if (!name) {
                    if (!StyledText(cell).empty())
                        bank.report.add(header_at->line, ReportLine::Kind::note,
                                        ordinal_column(c) + " " + quote_text(cell) + " is not a column of a quiz: ignored");
                    continue;
                }
                french = french || name->language == fr;
                english = english || name->language == en;
                int column = name->column;
                if (column < 0) column = !where[first_wrong] ? first_wrong : second_wrong;
                if (where[column]) {
                    bank.report.add(header_at->line, ReportLine::Kind::note,
                                    ordinal_column(c) + " " + quote_text(cell) + " names a column already given (" +
                                        ordinal_column(*where[column]) + "): ignored");
                    continue;
                }
                where[column] = c;
            }
            if (!where[question] || !where[answer])
                return R::failure({header_at->line, std::string("the header row names no ") +
                                                        (!where[question] ? "question" : "answer") +
                                                        " column (for example \"Question\" and \"Réponse\")"});
            header_language = french && english ? "French and English" : english ? "English" : "French";
            first_row = static_cast<std::size_t>(header_at - records.begin()) + 1;
            used_columns = 0;
        }
    }
    if (header_language.empty())
        for (std::size_t c = 0; c < 6; ++c) where[c] = c;

    bank.report.reading = "separator: " + separator_name(*separator) + ", encoding: " + file.encoding +
                          (header_language.empty() ? ", no header row (columns in the usual order)"
                                                   : ", header row in " + header_language);

    ThemeBuilder builder{std::string(default_theme), bank.report};
    std::string current_theme;
    std::size_t extra_rows = 0, first_extra_line = 0;
    const auto cell = [&](const Record& record, Column column) -> std::string {
        if (!where[column] || *where[column] >= record.fields.size()) return {};
        return unguarded(record.fields[*where[column]]);
    };
    for (std::size_t r = first_row; r < records.size(); ++r) {
        const Record& record = records[r];
        if (blank_record(record)) continue;
        if (used_columns > 0)
            for (std::size_t c = used_columns; c < record.fields.size(); ++c)
                if (!StyledText(record.fields[c]).empty()) {
                    if (extra_rows++ == 0) first_extra_line = record.line;
                    break;
                }
        // An empty theme cell goes on with the theme of the row above, as
        // spreadsheets show grouped rows.
        if (where[theme]) {
            StyledText named(cell(record, theme));
            named.trim();
            if (!named.empty()) current_theme = named.plain();
        }
        if (where[prompt] || where[reverse_prompt])
            builder.set_prompts(current_theme, StyledText(cell(record, prompt)), StyledText(cell(record, reverse_prompt)),
                                record.line);
        BankQuestion q{StyledText(cell(record, question)), StyledText(cell(record, answer)),
                       StyledText(cell(record, first_wrong)), StyledText(cell(record, second_wrong)),
                       StyledText(cell(record, comment)), {}};
        if (auto error = builder.add(current_theme, std::move(q), record.line)) return R::failure(*error);
    }
    if (extra_rows > 0)
        bank.report.add(first_extra_line, ReportLine::Kind::note,
                        "columns after the sixth are not columns of a quiz: ignored (" + std::to_string(extra_rows) +
                            (extra_rows == 1 ? " row holds" : " rows hold") + " some, the first on this line)");
    bank.model = builder.finish(default_theme);
    std::stable_sort(bank.report.lines.begin(), bank.report.lines.end(),
                     [](const ReportLine& a, const ReportLine& b) { return a.line < b.line; });
    return bank;
}

namespace {

// A cell as spreadsheets read it back: quoted when it holds the separator,
// a quote, a line end or blanks at its ends.
void append_cell(std::string& out, std::string_view text, std::size_t& line) {
    const bool quote = text.find_first_of(";\"\n\r") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        if (c == '\n') ++line;
        out += c;
    }
    out += '"';
}

}  // namespace

ExportedBank export_csv(const QuizModel& quiz) {
    ExportedBank bank;
    const bool prompts = std::any_of(quiz.themes.begin(), quiz.themes.end(), [](const Theme& t) {
        return !t.prompt.empty() || !t.reverse_prompt.empty();
    });
    const std::size_t columns = prompts ? column_count : 6;
    bank.report.reading = std::string("separator: semicolon, encoding: UTF-8 with BOM, header row in French") +
                          (prompts ? ", with the themes' prompts in two more columns" : "");
    std::string& out = bank.bytes;
    out = "\xEF\xBB\xBF";
    for (std::size_t c = 0; c < columns; ++c) {
        if (c > 0) out += ';';
        out += french_headers[c];
    }
    out += "\r\n";
    std::size_t line = 2;
    for (const Theme& theme : quiz.themes) {
        const std::string name = outgoing_name(theme.name);
        if (theme.questions.empty()) {
            bank.report.add(line, ReportLine::Kind::skipped,
                            "theme " + quote_text(name) + " holds no question: a row is a question, so it has none");
            continue;
        }
        for (const QuestionEntry& entry : theme.questions) {
            const std::size_t row_line = line;
            const BankQuestion q = outgoing_question(quiz, entry, row_line, false, bank.report);
            std::vector<std::string> cells = {name, q.question.plain(), q.answer.plain(), q.first_wrong.plain(),
                                              q.second_wrong.plain(), q.comment.plain()};
            if (prompts)
                for (const std::string* stored : {&theme.prompt, &theme.reverse_prompt})
                    cells.push_back(outgoing_text(quiz, *stored).text.plain());
            for (std::size_t c = 0; c < cells.size(); ++c) {
                if (c > 0) out += ';';
                if (needs_formula_guard(cells[c])) {
                    // A theme's name and prompts are told once, on its first row.
                    if (c == 0 || c >= 6 ? &entry == &theme.questions.front() : true)
                        bank.report.add(row_line, ReportLine::Kind::changed,
                                        std::string(column_words[c]) + " " + quote_text(cells[c]) +
                                            " begins as a spreadsheet formula: written after an apostrophe, so "
                                            "that spreadsheets show it as text (import takes the apostrophe off)");
                    cells[c].insert(0, 1, '\'');
                }
                append_cell(out, cells[c], line);
            }
            out += "\r\n";
            ++line;
        }
    }
    return bank;
}

}  // namespace kz::bank
