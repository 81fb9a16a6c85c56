#include "pages/pot_pourri_page.h"

#include "host/question_page.h"
#include "resources/resource.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

class PotPourriPage final : public QuestionPage, public CandidateReader {
public:
    explicit PotPourriPage(PageShell shell)
        : QuestionPage(shell, {{Place::question, {IDC_QUESTION, IDC_QUESTION_IMAGE, IDC_POT_PLAY, IDC_POT_STOP}}}) {}

    // The entries in the engine's order: inserted at the end, so that the
    // list's own sorting, which would put them in another collation's order,
    // never applies. Nothing is selected.
    void show_candidates(const std::vector<std::string>& entries) override {
        HWND list = GetDlgItem(window(), IDC_POT_ANSWERS);
        SendMessageW(list, CB_RESETCONTENT, 0, 0);
        for (const std::string& entry : entries) {
            const std::wstring text = widen(entry);
            SendMessageW(list, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
        }
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }

    std::optional<std::string> selected_candidate() override {
        HWND list = GetDlgItem(window(), IDC_POT_ANSWERS);
        const auto selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
        if (selected == CB_ERR) return std::nullopt;
        const auto length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
        if (length == CB_ERR) return std::nullopt;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        return narrow(text);
    }
};

}  // namespace

std::shared_ptr<HostedPage> show_pot_pourri_page(Shell& shell) {
    return make_page<PotPourriPage>(shell, IDD_POT_POURRI);
}

}  // namespace kz::win
