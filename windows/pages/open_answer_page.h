#pragma once
// The open-answer page (dialog 106): the theme's prompt, the question (a
// text, a picture or a sound) and the box the student types the answer in.
#include <memory>

#include "host/hosted_page.h"

namespace kz::win {

std::shared_ptr<HostedPage> show_open_answer_page(Shell& shell);

}  // namespace kz::win
