// Rich text to plain text: conversions per second on the documents the runner
// meets (question texts as the authoring product writes them, the built-in
// welcome and end texts, the palette's one-character documents), the cost of
// converting every question text of the largest quiz once (what building the
// question pools costs), and the time on long and hostile documents, which
// must grow in proportion to their length. Rich text to the page's HTML on
// the same documents.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "engine/text_templates.h"
#include "media/rich_text.h"
#include "res/string_table.h"

namespace {

void convert_documents(benchmark::State& state, const std::vector<std::string>& documents,
                       std::string (*convert)(std::string_view) = kz::rich_to_plain) {
    std::size_t i = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string& document = documents[i++ % documents.size()];
        bytes += document.size();
        benchmark::DoNotOptimize(convert(document));
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

std::vector<std::string> question_texts() {
    return {
        kz::bench::realistic_rtf("Quelle est la capitale de la France ?"),
        kz::bench::realistic_rtf("Paris"),
        kz::bench::realistic_rtf("En quelle ann\xE9" "e eut lieu la bataille de Marignan ?"),
        kz::bench::realistic_rtf("Quelle est la r\xE9ponse ?", true),
    };
}

std::string welcome_text() {
    std::string welcome = kz::load_message(kz::str::welcome_text);
    welcome.replace(welcome.find("%s"), 2, "G\xE9ographie de la France");
    return welcome;
}

void convert_question_texts(benchmark::State& state) { convert_documents(state, question_texts()); }
BENCHMARK(convert_question_texts);

void convert_welcome_text(benchmark::State& state) { convert_documents(state, {welcome_text()}); }
BENCHMARK(convert_welcome_text);

void convert_end_text(benchmark::State& state) {
    convert_documents(state, {std::string(kz::built_in_end_text)});
}
BENCHMARK(convert_end_text);

void convert_palette_character(benchmark::State& state) {
    convert_documents(state, {"{\\rtf1{\\fonttbl{\\f0\\froman\\fprq2\\fcharset2 Symbol;}}\\pard\\f0\\fs20 a}"});
}
BENCHMARK(convert_palette_character);

void convert_plain_answer(benchmark::State& state) {
    convert_documents(state, {"Paris"});
}
BENCHMARK(convert_plain_answer);

void html_of_question_texts(benchmark::State& state) { convert_documents(state, question_texts(), kz::rich_to_html); }
BENCHMARK(html_of_question_texts);

void html_of_welcome_and_end_texts(benchmark::State& state) {
    convert_documents(state, {welcome_text(), std::string(kz::built_in_end_text)}, kz::rich_to_html);
}
BENCHMARK(html_of_welcome_and_end_texts);

// Every text of every question of the largest quiz (50 themes of 500
// questions), each converted once through a fresh PlainTexts.
void convert_every_text_of_largest_quiz(benchmark::State& state) {
    const kz::QuizModel model = kz::bench::largest_quiz();
    const kz::QuestionText kinds[] = {kz::QuestionText::question, kz::QuestionText::answer,
                                      kz::QuestionText::first_wrong, kz::QuestionText::second_wrong,
                                      kz::QuestionText::comment};
    std::size_t texts = 0;
    for (auto _ : state) {
        const kz::PlainTexts plain(model);
        for (std::size_t t = 0; t < model.themes.size(); ++t)
            for (std::size_t q = 0; q < model.themes[t].questions.size(); ++q)
                for (const auto kind : kinds) {
                    benchmark::DoNotOptimize(plain.of(t, q, kind));
                    ++texts;
                }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(texts));
}
BENCHMARK(convert_every_text_of_largest_quiz)->Unit(benchmark::kMillisecond);

// A long document of many paragraphs, and hostile ones of the same length:
// nothing but opening braces, nothing but Unicode escapes with a large
// fallback count, a deep skipped destination. Time per byte must not grow.
std::string repeated(const std::string& piece, std::size_t length) {
    std::string text = "{\\rtf1 ";
    while (text.size() < length) text += piece;
    return text;
}

void convert_long_document(benchmark::State& state, const std::string& piece) {
    const std::string document = repeated(piece, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(kz::rich_to_plain(document));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(convert_long_document, paragraphs, std::string("Le ch\\'e2teau de {\\b Versailles}.\\par "))
    ->RangeMultiplier(8)->Range(1 << 10, 1 << 22)->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(convert_long_document, opening_braces, std::string("{"))
    ->RangeMultiplier(8)->Range(1 << 10, 1 << 22)->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(convert_long_document, unicode_escapes, std::string("\\uc99999 \\u233 xyz"))
    ->RangeMultiplier(8)->Range(1 << 10, 1 << 22)->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(convert_long_document, skipped_destination, std::string("{\\*\\foo \\'e9{x}\\bin1 }"))
    ->RangeMultiplier(8)->Range(1 << 10, 1 << 22)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
