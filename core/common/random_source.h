#pragma once
// Every random draw of an exam (question order, wrong proposals, box shuffles,
// true/false statements, scrambled letters) goes through this interface, so
// tests can play whole exams with a seeded source.
#include <cstdint>
#include <random>

namespace kz {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniform value in [0, n); n must be at least 1. No modulo bias.
    virtual std::uint32_t below(std::uint32_t n) = 0;
};

// A good generator seeded once: from the clock and the system's entropy by
// default, or from a fixed seed for reproducible runs.
class DefaultRandom final : public RandomSource {
public:
    DefaultRandom();
    explicit DefaultRandom(std::uint64_t seed) : engine_(seed) {}
    std::uint32_t below(std::uint32_t n) override;

private:
    std::mt19937_64 engine_;
};

}  // namespace kz
