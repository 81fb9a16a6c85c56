// Importing a question bank of 25,000 questions, the most a quiz holds (50
// themes of 500): from CSV as a spreadsheet saves it, with and without
// writing the quiz's source, and from the GIFT and Moodle XML that the
// packer exports of the same bank; and exporting it back to CSV.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "bank.h"
#include "quiz_source.h"

namespace {

// Ten themes of 2,500 questions each (each is cut into five themes of 500),
// with accents, separators and quotes in the texts as teachers write them.
const std::string& spreadsheet_bank() {
    static const std::string csv = [] {
        std::string out = "\xEF\xBB\xBFThème;Question;Réponse;Mauvaise réponse 1;Mauvaise réponse 2;Commentaire\r\n";
        for (int i = 0; i < 25000; ++i) {
            const std::string n = std::to_string(i);
            out += "Thème " + std::to_string(i / 2500 + 1) + ";Quelle est la réponse n° " + n +
                   " à cette question d'entraînement ?;réponse " + n + ";fausse " + n + ";\"autre; fausse\";" +
                   (i % 3 == 0 ? "\"Un commentaire « entre guillemets » et \"\"cité\"\"\"" : "") + "\r\n";
        }
        return out;
    }();
    return csv;
}

const kz::QuizModel& imported_bank() {
    static const kz::QuizModel quiz = [] {
        auto bank = kz::import_bank(kz::BankFormat::csv, spreadsheet_bank(), "banque");
        if (!bank) throw std::runtime_error(bank.error().what);
        if (bank.value().model.themes.size() != 50) throw std::runtime_error("the bank does not fill 50 themes");
        return bank.value().model;
    }();
    return quiz;
}

void import_format(benchmark::State& state, kz::BankFormat format) {
    const std::string bytes =
        format == kz::BankFormat::csv ? spreadsheet_bank() : kz::export_bank(format, imported_bank()).bytes;
    for (auto _ : state) {
        auto bank = kz::import_bank(format, bytes, "banque");
        if (!bank) state.SkipWithError(bank.error().what.c_str());
        benchmark::DoNotOptimize(bank);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["questions"] = 25000;
}

void BM_ImportCsv(benchmark::State& state) { import_format(state, kz::BankFormat::csv); }
void BM_ImportGift(benchmark::State& state) { import_format(state, kz::BankFormat::gift); }
void BM_ImportMoodleXml(benchmark::State& state) { import_format(state, kz::BankFormat::moodle_xml); }

// What "packer import bank.csv -o quiz.json" does but for the file reading
// and writing: import, then the quiz's source written and read back.
void BM_ImportCsvToSource(benchmark::State& state) {
    for (auto _ : state) {
        auto bank = kz::import_bank(kz::BankFormat::csv, spreadsheet_bank(), "banque");
        const std::string source = kz::write_quiz_source(bank.value().model, {});
        auto check = kz::parse_quiz_source(source, ".");
        benchmark::DoNotOptimize(check);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * spreadsheet_bank().size()));
}

void BM_ExportCsv(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(kz::export_bank(kz::BankFormat::csv, imported_bank()));
}

BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCsvToSource)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportGift)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportMoodleXml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
