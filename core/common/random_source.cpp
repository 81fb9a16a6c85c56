#include "common/random_source.h"

#include <chrono>

namespace kz {

DefaultRandom::DefaultRandom() {
    std::random_device device;
    const auto now = static_cast<std::uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seq{device(), device(), static_cast<std::uint32_t>(now),
                      static_cast<std::uint32_t>(now >> 32)};
    engine_.seed(seq);
}

std::uint32_t DefaultRandom::below(std::uint32_t n) {
    if (n <= 1) return 0;
    std::uniform_int_distribution<std::uint32_t> pick(0, n - 1);
    return pick(engine_);
}

}  // namespace kz
