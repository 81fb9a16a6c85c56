#include "pages/open_answer_page.h"

#include "host/answer_box_page.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

class OpenAnswerPage final : public AnswerBoxPage {
public:
    explicit OpenAnswerPage(PageShell shell)
        : AnswerBoxPage(shell, {{Place::question, {IDC_QUESTION, IDC_QUESTION_IMAGE, IDC_OPEN_PLAY, IDC_OPEN_STOP}}},
                        IDC_OPEN_ANSWER) {}
};

}  // namespace

std::shared_ptr<HostedPage> show_open_answer_page(Shell& shell) {
    return make_page<OpenAnswerPage>(shell, IDD_OPEN_ANSWER);
}

}  // namespace kz::win
