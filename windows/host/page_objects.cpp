#include "host/page_objects.h"

namespace kz::win {

void PageObjects::store(int slot, OwnedGdiObject object) {
    if (slot < 1 || slot > slot_count || !object) return;
    OwnedGdiObject& place = slots_[static_cast<std::size_t>(slot - 1)];
    if (place) replaced_.push_back(std::move(place));
    place = std::move(object);
}

void PageObjects::clear() {
    if (holds_ > 0) {
        for (OwnedGdiObject& object : slots_)
            if (object) held_back_.push_back(std::move(object));
        for (OwnedGdiObject& object : replaced_) held_back_.push_back(std::move(object));
        replaced_.clear();
        return;
    }
    for (OwnedGdiObject& object : slots_) object.reset();
    replaced_.clear();
}

PageObjects::Hold::Hold(PageObjects& objects) : objects_(objects) { ++objects_.holds_; }

PageObjects::Hold::~Hold() {
    if (--objects_.holds_ == 0) objects_.held_back_.clear();
}

}  // namespace kz::win
