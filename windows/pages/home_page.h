#pragma once
// The home page (dialog 107): the student's name and, as far as the quiz
// allows, the themes, the exam type, the number of questions, the time limit,
// the order, the direction and training mode.
#include <memory>

#include "host/hosted_page.h"

namespace kz::win {

std::shared_ptr<HostedPage> show_home_page(Shell& shell, const HomeForm& form);

}  // namespace kz::win
