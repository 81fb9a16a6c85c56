#include "pages/typeless_question_page.h"

#include "display/rich_text_display.h"
#include "host/page_host.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

class TypelessQuestionPage final : public HostedPage {
public:
    explicit TypelessQuestionPage(Shell& shell) : HostedPage(shell) {}

    void show_prompt(std::string_view rich_text) override { show_text(IDC_PROMPT, rich_text); }

    void show_item(Place place, const ShownItem& item) override {
        if (place == Place::question && item.kind == ShownItem::Kind::text) show_text(IDC_QUESTION, item.text);
    }

private:
    void show_text(int id, std::string_view rich_text) {
        if (!window() || !GetDlgItem(window(), id)) return;
        show_rich_text(window(), id, rich_text);
        set_rich_background(GetDlgItem(window(), id), shell_.colours.page);
    }
};

}  // namespace

std::shared_ptr<HostedPage> show_typeless_question_page(Shell& shell, int template_id) {
    auto hosted = std::make_shared<TypelessQuestionPage>(shell);
    host_page(hosted, template_id, shell);
    return hosted;
}

}  // namespace kz::win
