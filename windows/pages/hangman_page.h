#pragma once
// The hangman page (dialog 113): the prompt, the question (a text, a picture
// or a sound), the answer with its letters hidden until found, the letter box
// with "&Tester la lettre", and the tries left.
#include <memory>

#include "host/hosted_page.h"

namespace kz::win {

std::shared_ptr<HostedPage> show_hangman_page(Shell& shell);

}  // namespace kz::win
