#include "host/question_page.h"

#include "display/rich_text_display.h"
#include "host/page_host.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

constexpr int prompt_height = 20;
constexpr int question_height = 17;

}  // namespace

QuestionPage::QuestionPage(PageShell shell, std::vector<std::pair<Place, PlaceControls>> places)
    : HostedPage(shell) {
    for (const auto& [place, controls] : places) places_.emplace_back(place, MediaPlace(controls, shell.colours.page));
}

BOOL QuestionPage::on_init_dialog() {
    HWND page = window();
    set_rich_background(GetDlgItem(page, IDC_PROMPT), shell_.colours.page);
    give_keys_to_window(IDC_PROMPT);
    for (auto& [place, shown] : places_) {
        shown.attach(page, shell_);
        give_keys_to_window(shown.controls().text);
    }
    set_font(IDC_QUESTION, question_height, false, false);
    set_font(IDC_PROMPT, prompt_height, true, false);
    return FALSE;
}

void QuestionPage::on_command(int id, int notification) {
    for (auto& [place, shown] : places_)
        if (shown.on_command(id, notification, shell_)) return;
}

void QuestionPage::show_prompt(std::string_view rich_text) {
    show_rich_text(window(), IDC_PROMPT, rich_text);
    set_rich_background(GetDlgItem(window(), IDC_PROMPT), shell_.colours.page);
}

void QuestionPage::show_item(Place place, const ShownItem& item) {
    for (auto& [where, shown] : places_)
        if (where == place) shown.show(item);
}

void QuestionPage::release_question_images() {
    for (auto& [place, shown] : places_) shown.release();
}

}  // namespace kz::win
