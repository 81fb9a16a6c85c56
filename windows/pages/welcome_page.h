#pragma once
// The welcome page (dialog 446): the quiz's welcome text, before the exam.
#include <memory>
#include <string_view>

#include "host/hosted_page.h"

namespace kz::win {

std::shared_ptr<HostedPage> show_welcome_page(Shell& shell, std::string_view rich_text);

}  // namespace kz::win
