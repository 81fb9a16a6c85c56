#pragma once
// The multiple-choice page (dialog 108): the prompt, the question, and three
// proposals (a text, a picture or a sound) each with the box the student ticks.
#include <memory>

#include "host/hosted_page.h"

namespace kz::win {

std::shared_ptr<HostedPage> show_multiple_choice_page(Shell& shell);

}  // namespace kz::win
