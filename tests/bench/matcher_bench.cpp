// Matches per second on typical answers, every tolerance on: the comparison
// runs once per graded answer and, in multiple-choice grading, once per
// proposal against the whole question pool.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "questions/matcher.h"

namespace {

const std::vector<std::pair<std::string, std::string>>& typical_pairs() {
    static const std::vector<std::pair<std::string, std::string>> pairs = {
        {"la tour Eiffel", "Tour Eiffel"},
        {"l'\xC9lys\xE9" "e", "Elysee"},
        {"aujourd'hui", "aujourdhui"},
        {"Christophe Colomb", "christophe colomb"},
        {"Le Petit Prince (Antoine de Saint-Exup\xE9ry)", "le petit prince"},
        {"\x8Cuvre compl\xE8te", "oeuvre complete"},
        {"1789", "1792"},
        {"The Beatles", "Rolling Stones"},
    };
    return pairs;
}

void match_typical_answers(benchmark::State& state) {
    const kz::MatchOptions options{true, true, true, true};
    const auto& pairs = typical_pairs();
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& [a, b] = pairs[i++ % pairs.size()];
        std::string first = a, second = b;  // callers pass copies
        benchmark::DoNotOptimize(kz::match_answer(first, second, options));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(match_typical_answers);

void match_longest_answers(benchmark::State& state) {
    const kz::MatchOptions options{true, true, true, true};
    std::string a;
    while (a.size() < 1000) a += "le \x9C" "uvre de l'\xE9t\xE9, ";
    const std::string b = a;
    for (auto _ : state) {
        std::string first = a, second = b;
        benchmark::DoNotOptimize(kz::match_answer(first, second, options));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(match_longest_answers);

}  // namespace

BENCHMARK_MAIN();
