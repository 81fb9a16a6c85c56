#include "heap_count.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> live_bytes{0};
std::atomic<std::size_t> peak_bytes{0};

void note_allocation(std::size_t size) {
    const std::size_t now = live_bytes += size;
    std::size_t peak = peak_bytes.load();
    while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
    }
}

}  // namespace

// Every heap allocation of the program is counted, with its size kept in a
// small header so that deletes can be counted too.
void* operator new(std::size_t size) {
    void* block = std::malloc(size + 16);
    if (!block) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    note_allocation(size);
    return static_cast<char*>(block) + 16;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    void* block = static_cast<char*>(p) - 16;
    live_bytes -= *static_cast<std::size_t*>(block);
    std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace kz::bench {

std::size_t start_heap_measure() {
    const std::size_t now = live_bytes.load();
    peak_bytes = now;
    return now;
}

std::size_t heap_peak_since(std::size_t start) { return peak_bytes.load() - start; }

}  // namespace kz::bench
