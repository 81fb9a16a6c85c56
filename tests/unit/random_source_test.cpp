#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "common/random_source.h"

namespace kz {
namespace {

#if defined(__GLIBCXX__)
// A seed gives the same exam in every build: the draws are those that GCC's
// library makes with the same generator, which the Windows runner and the
// terminal player have always made, and which the web player, built with
// another library, must make too.
TEST(DefaultRandom, DrawsWhatGccsUniformDistributionDrawsFromTheSameSeed) {
    const std::uint32_t bounds[] = {2, 3, 7, 10, 25000, 65536, 1000003, 0x7FFFFFFFu, 0x80000001u, 0xFFFFFFFFu};
    for (const std::uint64_t seed : {0ull, 1ull, 42ull, 20261207ull, 0xFFFFFFFFFFFFFFFFull}) {
        DefaultRandom ours(seed);
        std::mt19937_64 engine(seed);
        for (int round = 0; round < 200; ++round) {
            for (const std::uint32_t n : bounds) {
                std::uniform_int_distribution<std::uint32_t> theirs(0, n - 1);
                ASSERT_EQ(ours.below(n), theirs(engine)) << "seed " << seed << ", n " << n << ", round " << round;
            }
        }
    }
}
#endif

}  // namespace
}  // namespace kz
