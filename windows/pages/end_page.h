#pragma once
// The end page (dialog 102): the end text with the student's results, and
// the ways on that the quiz offers (results details, home page, restart).
#include <memory>

#include "host/hosted_page.h"

namespace kz::win {

std::shared_ptr<HostedPage> show_end_page(Shell& shell, const EndPage& content);

}  // namespace kz::win
