#pragma once
// What every question page has: the theme's prompt (20 bold) and the question
// (17), both on the page's colour, and places that show a text, a picture or
// a sound. A page of an exam type names its places and adds its own controls.
#include <utility>
#include <vector>

#include "host/hosted_page.h"
#include "host/media_place.h"

namespace kz::win {

class QuestionPage : public HostedPage {
public:
    void show_prompt(std::string_view rich_text) override;
    void show_item(Place place, const ShownItem& item) override;
    void release_question_images() override;

protected:
    // `picture_box` is the largest size of the page's pictures, in pixels.
    QuestionPage(Shell& shell, std::vector<std::pair<Place, PlaceControls>> places, SIZE picture_box);

    BOOL on_init_dialog() override;
    void on_command(int id, int notification) override;

private:
    std::vector<std::pair<Place, MediaPlace>> places_;
};

}  // namespace kz::win
