#pragma once
// Sends the results file to the quiz's author through the system's Simple
// MAPI, loaded only when a mail is sent.
#include <windows.h>

#include "exam/platform.h"
#include "win32/owner_window.h"

namespace kz::win {

class MapiMailSender final : public MailSender {
public:
    // The mail client's window is owned by `owner`'s window at the time of
    // each sending.
    explicit MapiMailSender(const OwnerWindow& owner) : owner_(owner) {}
    bool send_results_mail(const ResultsMail& mail) override;

private:
    const OwnerWindow& owner_;
};

}  // namespace kz::win
