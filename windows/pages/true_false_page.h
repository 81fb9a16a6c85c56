#pragma once
// The true/false page (dialog 1057): the prompt, the question, the answer
// shown with it (a text, a picture or a sound), and "C'est vrai" or "C'est
// faux" for the student to choose.
#include <memory>

#include "host/hosted_page.h"

namespace kz::win {

std::shared_ptr<HostedPage> show_true_false_page(Shell& shell);

}  // namespace kz::win
