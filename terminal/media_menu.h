#pragma once
// The pictures, sounds and music the student can open or play at this moment.
// Each is shown by its display label with a number, "[2] <Image : Carte>",
// which the commands ":voir 2" and ":jouer 2" name. The numbers of one
// question (its correction included) run on until the next answer is graded.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quiz/quiz_model.h"
#include "terminal_text.h"

namespace kz::term {

class MediaMenu {
public:
    struct Entry {
        std::string stored;  // the media reference as stored in the quiz
        std::int32_t kind = 0;
    };

    explicit MediaMenu(const QuizModel& model) : model_(model) {}

    // The line that stands for a stored quiz text: its text as shown, or for
    // a media item its display label, numbered, with the command that opens or
    // plays it. Empty for a text without plain text or a media item the quiz
    // lacks.
    ShownText line_for(std::string_view stored);

    void clear() { entries_.clear(); }
    const Entry* find(int number) const;
    // The number of the only entry that is a picture (`pictures`) or a sound
    // or music (otherwise); nothing when there is none or more than one.
    std::optional<int> only_entry(bool pictures) const;

private:
    const QuizModel& model_;
    std::vector<Entry> entries_;
};

}  // namespace kz::term
