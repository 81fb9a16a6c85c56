#include "pages/multiple_choice_page.h"

#include "host/question_page.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

constexpr int ticks[] = {IDC_CHOICE_TICK_1, IDC_CHOICE_TICK_2, IDC_CHOICE_TICK_3};

class MultipleChoicePage final : public QuestionPage, public TickedBoxesReader {
public:
    explicit MultipleChoicePage(PageShell shell)
        : QuestionPage(shell,
                       {{Place::question, {IDC_QUESTION, IDC_QUESTION_IMAGE, IDC_CHOICE_PLAY, IDC_CHOICE_STOP}},
                        {Place::box_1, {IDC_CHOICE_TEXT_1, IDC_CHOICE_IMAGE_1, IDC_CHOICE_PLAY_1, IDC_CHOICE_STOP_1}},
                        {Place::box_2, {IDC_CHOICE_TEXT_2, IDC_CHOICE_IMAGE_2, IDC_CHOICE_PLAY_2, IDC_CHOICE_STOP_2}},
                        {Place::box_3, {IDC_CHOICE_TEXT_3, IDC_CHOICE_IMAGE_3, IDC_CHOICE_PLAY_3, IDC_CHOICE_STOP_3}}}) {}

    void clear_answer() override {
        for (const int tick : ticks) CheckDlgButton(window(), tick, BST_UNCHECKED);
    }

    std::array<bool, 3> ticked_boxes() override {
        std::array<bool, 3> ticked{};
        for (std::size_t k = 0; k < ticked.size(); ++k)
            ticked[k] = IsDlgButtonChecked(window(), ticks[k]) == BST_CHECKED;
        return ticked;
    }
};

}  // namespace

std::shared_ptr<HostedPage> show_multiple_choice_page(Shell& shell) {
    return make_page<MultipleChoicePage>(shell, IDD_MULTIPLE_CHOICE);
}

}  // namespace kz::win
