#pragma once
// The pot-pourri page (dialog 104): the prompt, the question (a text, a
// picture or a sound) and the list of the theme's answers to choose from.
#include <memory>

#include "host/hosted_page.h"

namespace kz::win {

std::shared_ptr<HostedPage> show_pot_pourri_page(Shell& shell);

}  // namespace kz::win
