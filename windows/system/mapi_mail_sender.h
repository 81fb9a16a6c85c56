#pragma once
// Sends the results file to the quiz's author through the system's Simple
// MAPI, loaded only when a mail is sent.
#include <windows.h>

#include "exam/platform.h"

namespace kz::win {

class MapiMailSender final : public MailSender {
public:
    // `owner` is the main window, read at each sending.
    explicit MapiMailSender(const HWND& owner) : owner_(owner) {}
    bool send_results_mail(const ResultsMail& mail) override;

private:
    const HWND& owner_;
};

}  // namespace kz::win
