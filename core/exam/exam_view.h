#pragma once
// The exam's window as the engine sees it: a passive view that shows what it
// is told and hands back what the student entered. The Windows pages and the
// terminal player implement it; the engine makes every decision.
#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exam/correction_request.h"
#include "exam/home_form.h"
#include "exam/message.h"

namespace kz {

// The pages of the main window. Each front end gives each page its own form.
enum class Page {
    welcome,
    home,
    open_answer,
    multiple_choice,
    true_false,
    pot_pourri,
    hangman,
    scrambled_letters,
    end,
};

// The main window's two one-second timers.
enum class Timer : int { countdown = 1, elapsed = 20 };

enum class Focus { next_button, answer_field, name_field, details_button, letter_box };

// Where the special-characters palette inserts: the typed answer, or the
// hangman's letter box (each inserted character is then tested at once).
enum class PaletteTarget { answer_field, letter_box };

// The places of a question page that show a quiz text, an image or a media
// item's play and stop buttons.
enum class Place { question, box_1, box_2, box_3, statement };

// The longest typed answer that is graded, in characters: the rest is cut
// off, and a front end's answer box takes no more.
inline constexpr std::size_t typed_answer_limit = 1023;

// The student's verdict on a true/false statement.
enum class TrueFalseChoice { says_true, says_false };

// What one place shows.
struct ShownItem {
    enum class Kind {
        text,   // `text` is a rich text (or plain text) to show
        image,  // `image_file` fitted within box_width x box_height
        media,  // play and stop buttons for the sound or music of `text`
    };
    Kind kind = Kind::text;
    std::string text;                  // the text as stored: rich text or media reference
    std::filesystem::path image_file;  // valid during the call only: load it at once
    int box_width = 0;
    int box_height = 0;
};

struct EndPage {
    std::string text;  // rich text, placeholders expanded
    bool details_button = true;
    bool home_button = true;
    bool restart_button = true;
};

class ExamView : public MessageBoxes {
public:
    // Pages. Showing a page replaces the current one.
    virtual void show_welcome_page(std::string_view rich_text) = 0;
    virtual void show_home_page(const HomeForm& form) = 0;
    virtual void show_question_page(Page page) = 0;
    virtual void show_end_page(const EndPage& page) = 0;

    // The frame.
    virtual void set_title(std::string_view title) = 0;
    virtual void show_next(bool visible) = 0;
    virtual void show_quit(bool visible) = 0;
    virtual void show_help_button(bool visible) = 0;
    virtual void show_sound_icon(bool muted) = 0;
    virtual void show_countdown(bool visible) = 0;  // the clock icon and the countdown text
    virtual void set_countdown_text(std::string_view text) = 0;
    virtual void focus(Focus target) = 0;
    virtual void set_palette_target(PaletteTarget target) = 0;
    virtual void clear_palette_target() = 0;
    virtual void start_timer(Timer timer) = 0;
    virtual void stop_timer(Timer timer) = 0;

    // The question page.
    virtual void show_prompt(std::string_view rich_text) = 0;
    virtual void show_item(Place place, const ShownItem& item) = 0;
    virtual void show_candidates(const std::vector<std::string>& entries) = 0;  // pot-pourri, nothing selected
    virtual void show_masked_answer(std::string_view masked) = 0;                // hangman
    virtual void show_tries_left(int tries_left, std::string_view text) = 0;     // hangman, of 5
    virtual void show_letters_line(std::string_view letters) = 0;               // scrambled letters
    // Empties the page's input: the typed answer, the ticks, the true/false
    // choice, the list selection or the letter box.
    virtual void clear_answer() = 0;
    // Frees the images that the page and the correction dialog loaded for the
    // question just answered.
    virtual void release_question_images() = 0;

    // The student's answer, read when it is graded.
    virtual std::string typed_answer() = 0;           // plain text of the answer field
    virtual std::array<bool, 3> ticked_boxes() = 0;   // multiple choice, boxes 1 to 3
    virtual std::optional<std::string> selected_candidate() = 0;  // pot-pourri
    virtual std::optional<TrueFalseChoice> true_false_choice() = 0;  // nothing when neither is chosen

    // The home page's choices, read when the exam starts.
    virtual HomeChoices read_home_choices() = 0;

    // The correction dialog of training mode, modal; returns when it closes.
    // `comment` is the question's comment as stored (rich text, media
    // reference or empty).
    virtual void show_correction(const CorrectionRequest& request, std::string_view comment) = 0;

    // Sound and music. Paths come from the media extraction; playing returns at once.
    virtual void play_sound(const std::filesystem::path& file) = 0;
    virtual void stop_sound() = 0;
    virtual void play_music(const std::filesystem::path& file) = 0;
    virtual void stop_music() = 0;
};

}  // namespace kz
