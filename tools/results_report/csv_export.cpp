#include "csv_export.h"

#include <system_error>

#include "common/cp1252.h"
#include "results/results_reader.h"

namespace kz::report {

namespace {

bool is_number(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digits = true;
        } else if ((text[i] == ',' || text[i] == '.') && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

std::string yes_no(bool value) { return value ? "oui" : "non"; }

// The expected or given answers of an entry, plain, joined by " + ".
std::string joined(const std::array<std::string, answer_slots>& slots) {
    std::string out;
    for (const std::string& slot : slots) {
        const std::string plain = plain_utf8(slot);
        if (plain.empty()) continue;
        if (!out.empty()) out += " + ";
        out += plain;
    }
    return out;
}

std::string number(long long n) { return std::to_string(n); }

}  // namespace

std::string csv_field(std::string_view utf8, bool text) {
    std::string value(utf8);
    if (text && !value.empty() && std::string_view("=+-@\t\r").find(value.front()) != std::string_view::npos &&
        !is_number(value))
        value.insert(0, 1, '\'');
    if (value.find_first_of(";\"\r\n") == std::string::npos) return value;
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::optional<CsvFile> CsvFile::create(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return std::nullopt;
    out << "\xEF\xBB\xBF";
    return CsvFile(std::move(out));
}

void CsvFile::row(const std::vector<Field>& fields) {
    line_.clear();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) line_ += ';';
        line_ += csv_field(fields[i].value, fields[i].text);
    }
    line_ += "\r\n";
    out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
}

bool CsvFile::close() {
    out_.flush();
    const bool good = static_cast<bool>(out_);
    out_.close();
    return good && !out_.fail();
}

std::optional<CsvExport> CsvExport::create(const std::filesystem::path& folder, std::string& error) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    auto exams = CsvFile::create(folder / "examens.csv");
    auto entries = CsvFile::create(folder / "questions.csv");
    if (!exams || !entries) {
        const auto u8 = (folder / (exams ? "questions.csv" : "examens.csv")).u8string();
        error = "impossible d'écrire " + std::string(u8.begin(), u8.end());
        return std::nullopt;
    }
    exams->row({{"Fichier"}, {"Octet"}, {"Élève"}, {"Questionnaire"}, {"Date"}, {"Type"}, {"Questions"},
                {"Justes"}, {"Score (%)"}, {"Note /20"}, {"Temps passé (s)"}, {"Temps limité"},
                {"Limite par question (s)"}, {"Ordre"}, {"Sens"}});
    entries->row({{"Fichier"}, {"Octet de l'examen"}, {"Élève"}, {"Questionnaire"}, {"Date"}, {"Type"}, {"N°"},
                  {"Thème"}, {"Consigne"}, {"Question"}, {"Réponse attendue"}, {"Réponse donnée"}, {"Juste"},
                  {"Début"}, {"Fin"}, {"Durée (s)"}});
    return CsvExport(folder, std::move(*exams), std::move(*entries));
}

void CsvExport::add(const ExamRecord& record, const ExamRow& row, const std::string& file_name,
                    std::uint64_t offset) {
    const std::string type = exam_type_name(row.type_code);
    exams_.row({{file_name}, {number(static_cast<long long>(offset)), false}, {row.student}, {row.quiz},
                {row.date}, {type}, {number(row.questions), false}, {number(row.right), false},
                {number(row.score), false}, {number(marks_of(row.score)), false},
                {row.seconds ? number(*row.seconds) : "", false}, {yes_no(row.time_limit_on)},
                {number(row.time_limit), false}, {row.random_order ? "aléatoire" : "dans l'ordre"},
                {row.inverted ? "inversé" : "normal"}});
    for (std::size_t i = 0; i < record.entries.size(); ++i) {
        const QuestionRecord& entry = record.entries[i];
        const auto start = parse_clock_time(entry.start_time);
        const auto end = parse_clock_time(entry.end_time);
        std::string seconds;
        if (start && end) seconds = number(*end >= *start ? *end - *start : *end - *start + 24 * 3600);
        entries_.row({{file_name}, {number(static_cast<long long>(offset)), false}, {row.student}, {row.quiz},
                      {row.date}, {type}, {number(static_cast<long long>(i + 1)), false},
                      {plain_.of(entry.theme_name)}, {plain_.of(entry.prompt)}, {plain_.of(entry.question)},
                      {joined(entry.expected)}, {joined(entry.given)}, {entry.right ? "1" : "0", false},
                      {cp1252_to_utf8(entry.start_time), false}, {cp1252_to_utf8(entry.end_time), false},
                      {seconds, false}});
    }
}

bool CsvExport::write_summaries(const ClassReport& report) {
    auto questions = CsvFile::create(folder_ / csv_file_names[2]);
    auto students = CsvFile::create(folder_ / csv_file_names[3]);
    if (!questions || !students) return false;
    questions->row({{"Questionnaire"}, {"Thème"}, {"Question"}, {"Posée"}, {"Justes"}, {"Réussite (%)"},
                    {"Discrimination"}, {"Examens de la discrimination"}, {"Discrimination incertaine"},
                    {"Intervalle à 95 % : de"}, {"à"}, {"Réponse fausse 1"}, {"Fois"}, {"Réponse fausse 2"},
                    {"Fois"}, {"Réponse fausse 3"}, {"Fois"}, {"Types d'examen"}});
    for (const QuizStats* quiz : report.quizzes()) {
        for (const QuestionStats& q : quiz->questions) {
            const Discrimination d = discrimination(q);
            const bool value = d.kind == Discrimination::Kind::value;
            std::vector<CsvFile::Field> row = {
                {quiz->name}, {q.theme}, {q.question}, {number(static_cast<long long>(q.asked)), false},
                {number(static_cast<long long>(q.right)), false}, {french_decimal(q.facility() * 100, 1), false},
                {value ? french_decimal(d.value, 3) : "", false}, {number(static_cast<long long>(d.exams)), false},
                {value ? yes_no(d.uncertain()) : ""}, {value ? french_decimal(d.low, 3) : "", false},
                {value ? french_decimal(d.high, 3) : "", false}};
            const auto wrong = q.wrong_answers.top(3);
            for (std::size_t i = 0; i < 3; ++i) {
                if (i < wrong.size()) {
                    row.push_back({wrong[i].shown.empty() ? "(sans réponse)" : wrong[i].shown});
                    row.push_back({(wrong[i].exact ? "" : "≤ ") + number(static_cast<long long>(wrong[i].count)),
                                   !wrong[i].exact});
                } else {
                    row.push_back({""});
                    row.push_back({"", false});
                }
            }
            row.push_back({exam_types_text(q.type_mask)});
            questions->row(row);
        }
    }
    students->row({{"Élève"}, {"Examens"}, {"Moyenne (%)"}, {"Moyenne /20"}, {"Premier examen"},
                   {"Dernier examen"}, {"Dernière note /20"}});
    for (const StudentStats* student : report.students()) {
        const double mean = student->exams ? student->percent_sum / static_cast<double>(student->exams) : 0;
        students->row({{student->name}, {number(static_cast<long long>(student->exams)), false},
                       {french_decimal(mean, 1), false}, {french_decimal(mean / 5, 1), false},
                       {day_text(student->first_date)}, {student->last_date_text},
                       {number(marks_of(student->last_score)), false}});
    }
    const bool questions_written = questions->close();
    return students->close() && questions_written;
}

bool CsvExport::close() {
    const bool exams = exams_.close();
    const bool entries = entries_.close();
    return exams && entries;
}

}  // namespace kz::report
