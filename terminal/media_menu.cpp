#include "media_menu.h"

#include "quiz/media_table.h"
#include "terminal_text.h"

namespace kz::term {

ShownText MediaMenu::line_for(std::string_view stored) {
    const std::string plain = plain_of(stored);
    if (!is_media_reference(plain)) return shown_of(stored);
    const MediaEntry* item = media_of_reference(model_, plain);
    if (!item) return {};
    const bool picture = item->kind == media_image;
    const bool playable = item->kind == media_sound || item->kind == media_music;
    if (!picture && !playable) return {};

    entries_.push_back(Entry{plain, item->kind});
    const std::string number = std::to_string(entries_.size());
    return ShownText("[" + number + "] " + display_label(model_, plain) +
                     (picture ? cp(u8" (:voir ") : cp(u8" (:jouer ")) + number + ")");
}

const MediaMenu::Entry* MediaMenu::find(int number) const {
    if (number < 1 || static_cast<std::size_t>(number) > entries_.size()) return nullptr;
    return &entries_[static_cast<std::size_t>(number) - 1];
}

std::optional<int> MediaMenu::only_entry(bool pictures) const {
    std::optional<int> found;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if ((entries_[i].kind == media_image) != pictures) continue;
        if (found) return std::nullopt;
        found = static_cast<int>(i + 1);
    }
    return found;
}

}  // namespace kz::term
