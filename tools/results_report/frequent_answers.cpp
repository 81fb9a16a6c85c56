#include "frequent_answers.h"

#include <algorithm>

namespace kz::report {

void FrequentAnswers::add(std::string_view key, std::string_view shown) {
    ++arrivals_;
    for (Slot& slot : slots_) {
        if (slot.key == key) {
            ++slot.count;
            return;
        }
    }
    if (slots_.size() < capacity_) {
        slots_.push_back(Slot{std::string(key), std::string(shown), 1, 0, arrivals_});
        return;
    }
    // The rarest answer gives its place; the newcomer inherits its count,
    // which is as often as the newcomer can have come unnoticed.
    auto rarest = std::min_element(slots_.begin(), slots_.end(),
                                   [](const Slot& a, const Slot& b) { return a.count < b.count; });
    rarest->key.assign(key);
    rarest->shown.assign(shown);
    rarest->overcount = rarest->count;
    rarest->count += 1;
    rarest->arrival = arrivals_;
}

std::vector<FrequentAnswers::Answer> FrequentAnswers::top(std::size_t n) const {
    std::vector<const Slot*> order;
    for (const Slot& slot : slots_) order.push_back(&slot);
    std::sort(order.begin(), order.end(), [](const Slot* a, const Slot* b) {
        return a->count != b->count ? a->count > b->count : a->arrival < b->arrival;
    });
    std::vector<Answer> answers;
    for (std::size_t i = 0; i < order.size() && i < n; ++i)
        answers.push_back(Answer{order[i]->shown, order[i]->count, order[i]->overcount == 0});
    return answers;
}

}  // namespace kz::report
