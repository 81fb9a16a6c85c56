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
    // The page's places fit each picture in the box the exam type gives with it.
    QuestionPage(PageShell shell, std::vector<std::pair<Place, PlaceControls>> places);

    BOOL on_init_dialog() override;
    void on_command(int id, int notification) override;

private:
    std::vector<std::pair<Place, MediaPlace>> places_;
};

}  // namespace kz::win
