#include "pages/true_false_page.h"

#include "host/page_host.h"
#include "host/question_page.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

constexpr int statement_height = 17;

class TrueFalsePage final : public QuestionPage, public TrueFalseReader {
public:
    explicit TrueFalsePage(PageShell shell)
        : QuestionPage(shell,
                       {{Place::question, {IDC_QUESTION, IDC_QUESTION_IMAGE, IDC_TF_PLAY, IDC_TF_STOP}},
                        {Place::statement, {IDC_TF_ANSWER, IDC_TF_ANSWER_IMAGE, IDC_TF_ANSWER_PLAY, IDC_TF_ANSWER_STOP}}}) {}

    void clear_answer() override {
        CheckDlgButton(window(), IDC_TF_TRUE, BST_UNCHECKED);
        CheckDlgButton(window(), IDC_TF_FALSE, BST_UNCHECKED);
    }

    std::optional<TrueFalseChoice> true_false_choice() override {
        if (IsDlgButtonChecked(window(), IDC_TF_TRUE) == BST_CHECKED) return TrueFalseChoice::says_true;
        if (IsDlgButtonChecked(window(), IDC_TF_FALSE) == BST_CHECKED) return TrueFalseChoice::says_false;
        return std::nullopt;
    }

private:
    BOOL on_init_dialog() override {
        QuestionPage::on_init_dialog();
        set_font(IDC_TF_ANSWER, statement_height, true, false);
        return FALSE;
    }
};

}  // namespace

std::shared_ptr<HostedPage> show_true_false_page(Shell& shell) {
    return make_page<TrueFalsePage>(shell, IDD_TRUE_FALSE);
}

}  // namespace kz::win
