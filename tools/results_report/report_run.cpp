#include "report_run.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <system_error>
#include <unordered_set>

#include "class_report.h"
#include "csv_export.h"
#include "duplicate_records.h"
#include "first_exams.h"
#include "html_report.h"
#include "progress_bar.h"
#include "read_messages.h"
#include "report_options.h"
#include "report_text.h"
#include "results/results_reader.h"

namespace kz::report {

namespace {

namespace fs = std::filesystem;

// The page lists this many warnings; standard error gets them all.
constexpr std::size_t warnings_listed = 200;

std::string shown(const fs::path& path) {
    const auto utf8 = path.u8string();
    return terminal_safe(std::string(utf8.begin(), utf8.end()));
}

// Whether the options keep an exam.
class Selection {
public:
    explicit Selection(const ReportOptions& options)
        : quizzes_(options.quizzes.begin(), options.quizzes.end()), since_(options.since), until_(options.until) {}

    bool keeps(const ExamRecord& record) const {
        if (!quizzes_.empty() && !quizzes_.count(folded(record.quiz_name))) return false;
        if (since_ || until_) {
            const auto date = parse_record_date(record.start_date);
            const std::int64_t key = date ? date->sort_key() : 0;
            if (since_ && key < *since_) return false;
            if (until_ && key > *until_) return false;
        }
        return true;
    }

private:
    std::unordered_set<std::string> quizzes_;
    std::optional<std::int64_t> since_, until_;
};

struct Reading {
    ClassReport report;
    ReportSources sources;
    std::optional<CsvExport> csv;
    DuplicateRecords duplicates;
    std::optional<FirstExams> first;  // with --first
    bool any_refused = false;
    bool any_read = false;
};

// The first of two readings with --first: notes each student's first exam
// of each quiz, and says nothing.
void note_first_exams(const std::vector<fs::path>& inputs, const std::vector<bool>& read, const Selection& selection,
                      Reading& reading, ProgressBar& progress) {
    std::uint64_t order = 0;
    std::uint64_t done = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (!read[i]) continue;
        auto opened = ResultsReader::open(inputs[i]);
        if (!opened) continue;
        ResultsReader& reader = opened.value();
        ReadRecord record;
        SkippedBytes skipped;
        for (ResultsReader::Step step; (step = reader.next(record, skipped)) != ResultsReader::Step::end;) {
            if (step == ResultsReader::Step::record && selection.keeps(record.record) &&
                !reading.duplicates.met_before(record.record, i))
                reading.first->note(record.record, order++);
            progress.update(done + reader.position());
        }
        done += reader.position();
    }
    reading.duplicates.clear();
}

std::string names_of(const std::vector<std::size_t>& files, std::size_t self, const ReportSources& sources) {
    std::string text;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i) text += i + 1 == files.size() ? " et " : ", ";
        text += files[i] == self ? "ce même fichier" : sources.files[files[i]].name;
    }
    return text;
}

void read_file(const fs::path& path, std::size_t index, const Selection& selection, Reading& reading,
               ProgressBar& progress, std::uint64_t done_before, std::uint64_t& order, std::ostream& err) {
    FileSummary& summary = reading.sources.files[index];
    auto warn = [&](const std::string& text) {
        progress.interrupt();
        err << "results-report : avertissement : " << text << "\n";
        if (reading.sources.warnings.size() < warnings_listed) {
            reading.sources.warnings.push_back(text);
        } else {
            ++reading.sources.warnings_not_listed;
        }
    };
    auto opened = ResultsReader::open(path);
    if (!opened) {
        const std::string text = refusal_text(summary.name, opened.error());
        progress.interrupt();
        err << "results-report : " << text << "\n";
        summary.refused = text;
        reading.any_refused = true;
        return;
    }
    reading.any_read = true;
    ResultsReader& reader = opened.value();
    std::vector<std::size_t> duplicate_of;
    ReadRecord record;
    SkippedBytes skipped;
    for (;;) {
        const auto step = reader.next(record, skipped);
        if (step == ResultsReader::Step::end) break;
        if (step == ResultsReader::Step::skipped) {
            ++summary.skipped_stretches;
            summary.skipped_bytes += skipped.length;
            warn(skipped_text(summary.name, skipped));
        } else {
            if (record.glued) warn(glued_text(summary.name, record));
            ++summary.records;
            if (!selection.keeps(record.record)) {
                ++summary.left_out;
            } else if (const auto first_met = reading.duplicates.met_before(record.record, index)) {
                ++summary.duplicates;
                if (std::find(duplicate_of.begin(), duplicate_of.end(), *first_met) == duplicate_of.end())
                    duplicate_of.push_back(*first_met);
            } else if (reading.first && !reading.first->is_first(record.record, order++)) {
                ++summary.replays;
            } else {
                if (reading.csv) {
                    reading.csv->add(record.record, exam_row(record.record, reading.report.exams()), summary.name,
                                     record.offset);
                }
                reading.report.add(record.record);
            }
        }
        progress.update(done_before + reader.position());
    }
    if (const TextEncoding encoding = reader.encoding(); encoding.utf16 || encoding.utf8()) {
        summary.saved_as = encoding.utf16 ? "UTF-16" : "UTF-8";
        warn(encoding_text(summary.name, encoding));
    }
    if (summary.duplicates) {
        std::sort(duplicate_of.begin(), duplicate_of.end());
        summary.duplicate_of = names_of(duplicate_of, index, reading.sources);
        warn(summary.name + " : " +
             (summary.duplicates == 1 ? "1 examen déjà lu" : count_text(summary.duplicates) + " examens déjà lus") +
             " dans " + summary.duplicate_of + " (enregistrements identiques), compté" +
             (summary.duplicates == 1 ? "" : "s") + " une seule fois");
    }
}

bool write_page(const fs::path& output, const ClassReport& report, const ReportSources& sources) {
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    write_html_report(out, report, sources);
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace

int run_results_report(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                       bool err_is_terminal) {
    const auto parsed = parse_report_options(arguments);
    if (!parsed) {
        err << "results-report : " << parsed.error() << "\n(results-report --help pour l'aide)\n";
        return report_bad_usage;
    }
    const ReportOptions& options = parsed.value();
    if (options.help) {
        out << report_usage();
        return report_done;
    }

    // A report written over a results file would lose that class's results.
    std::vector<fs::path> outputs = {options.output};
    if (options.csv_folder)
        for (const char* name : csv_file_names) outputs.push_back(*options.csv_folder / name);
    for (const fs::path& output : outputs) {
        for (const fs::path& input : options.inputs) {
            std::error_code error;
            if (fs::equivalent(output, input, error)) {
                err << "results-report : " << shown(output) << " est un des fichiers de résultats lus ; "
                    << "choisissez un autre nom pour le rapport\n";
                return report_bad_usage;
            }
        }
    }

    Reading reading{ClassReport(options.limits), {}, std::nullopt, {}, std::nullopt};
    reading.sources.limits = options.limits;
    reading.sources.selection = selection_text(options);
    reading.sources.first_only = options.first;
    if (options.first) reading.first.emplace();
    if (options.csv_folder) {
        std::string error;
        reading.csv = CsvExport::create(*options.csv_folder, error);
        if (!reading.csv) {
            err << "results-report : " << terminal_safe(error) << "\n";
            return report_failed;
        }
    }

    // A file named twice (or under two names) is read once.
    std::vector<bool> read(options.inputs.size(), true);
    std::uint64_t total = 0;
    std::vector<std::uint64_t> sizes;
    for (std::size_t i = 0; i < options.inputs.size(); ++i) {
        const fs::path& input = options.inputs[i];
        FileSummary summary;
        summary.name = shown(input);
        std::error_code error;
        const auto size = fs::is_regular_file(input, error) ? fs::file_size(input, error) : 0;
        summary.size = error ? 0 : size;
        sizes.push_back(summary.size);
        for (std::size_t j = 0; j < i && read[i]; ++j) {
            if (read[j] && fs::equivalent(input, options.inputs[j], error)) {
                read[i] = false;
                summary.same_as = reading.sources.files[j].name;
            }
        }
        if (read[i]) total += summary.size;
        reading.sources.files.push_back(std::move(summary));
    }
    ProgressBar progress(err, options.first ? 2 * total : total,
                         options.progress && err_is_terminal && total >= progress_threshold);
    const Selection selection(options);
    std::uint64_t done = 0;
    if (options.first) {
        note_first_exams(options.inputs, read, selection, reading, progress);
        done = total;
    }
    std::uint64_t order = 0;
    for (std::size_t i = 0; i < options.inputs.size(); ++i) {
        if (!read[i]) {
            const FileSummary& summary = reading.sources.files[i];
            progress.interrupt();
            const std::string text = summary.name + " : même fichier que " + summary.same_as + ", lu une seule fois";
            err << "results-report : avertissement : " << text << "\n";
            reading.sources.warnings.push_back(text);
            continue;
        }
        read_file(options.inputs[i], i, selection, reading, progress, done, order, err);
        done += sizes[i];
    }
    progress.finish();

    bool written = true;
    if (reading.csv && !(reading.csv->write_summaries(reading.report) && reading.csv->close())) {
        err << "results-report : impossible d'écrire les fichiers CSV dans " << shown(*options.csv_folder) << "\n";
        written = false;
    }
    if (!reading.any_read) {
        err << "results-report : aucun fichier de résultats n'a pu être lu ; pas de rapport\n";
        return report_failed;
    }
    if (!write_page(options.output, reading.report, reading.sources)) {
        err << "results-report : impossible d'écrire " << shown(options.output) << "\n";
        return report_failed;
    }

    std::uint64_t skipped = 0;
    for (const FileSummary& file : reading.sources.files) skipped += file.skipped_stretches;
    out << shown(options.output) << " : " << count_text(reading.report.exams())
        << (reading.report.exams() == 1 ? " examen, " : " examens, ") << count_text(reading.report.students().size())
        << (reading.report.students().size() == 1 ? " élève, " : " élèves, ")
        << count_text(reading.report.quizzes().size())
        << (reading.report.quizzes().size() == 1 ? " questionnaire" : " questionnaires");
    if (skipped) out << " ; " << count_text(skipped) << (skipped == 1 ? " passage ignoré" : " passages ignorés");
    out << "\n";
    if (options.csv_folder && written) {
        for (std::size_t i = 0; i < std::size(csv_file_names); ++i)
            out << (i ? ", " : "") << shown(*options.csv_folder / csv_file_names[i]);
        out << "\n";
    }
    return reading.any_refused || !written ? report_failed : report_done;
}

}  // namespace kz::report
