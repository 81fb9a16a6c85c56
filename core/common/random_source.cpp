#include "common/random_source.h"

#include <chrono>

namespace kz {

namespace {

// The high and low halves of the 128-bit product of two 64-bit numbers.
struct Product {
    std::uint64_t high;
    std::uint64_t low;
};

Product multiply(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t a_low = a & 0xFFFFFFFFu, a_high = a >> 32;
    const std::uint64_t b_low = b & 0xFFFFFFFFu, b_high = b >> 32;
    const std::uint64_t low_low = a_low * b_low;
    const std::uint64_t high_low = a_high * b_low;
    const std::uint64_t low_high = a_low * b_high;
    const std::uint64_t high_high = a_high * b_high;
    const std::uint64_t middle = (low_low >> 32) + (high_low & 0xFFFFFFFFu) + (low_high & 0xFFFFFFFFu);
    return {high_high + (high_low >> 32) + (low_high >> 32) + (middle >> 32),
            (middle << 32) | (low_low & 0xFFFFFFFFu)};
}

}  // namespace

DefaultRandom::DefaultRandom() {
    std::random_device device;
    const auto now = static_cast<std::uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seq{device(), device(), static_cast<std::uint32_t>(now),
                      static_cast<std::uint32_t>(now >> 32)};
    engine_.seed(seq);
}

// Multiplication with rejection of the few biased products (Lemire, "Fast
// random integer generation in an interval", 2019). This is the draw that
// GCC's standard library makes for a uniform distribution over a 64-bit
// generator, written out so that every build draws the same values from the
// same seed: the Windows runner and the terminal player (GCC's library) and
// the web player (LLVM's library, whose distribution draws otherwise).
std::uint32_t DefaultRandom::below(std::uint32_t n) {
    if (n <= 1) return 0;
    const std::uint64_t range = n;
    Product product = multiply(engine_(), range);
    if (product.low < range) {
        const std::uint64_t threshold = (0 - range) % range;
        while (product.low < threshold) product = multiply(engine_(), range);
    }
    return static_cast<std::uint32_t>(product.high);
}

}  // namespace kz
