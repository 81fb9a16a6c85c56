#pragma once
// The scrambled-letters page (dialog 114): the prompt, the question (a text,
// a picture or a sound), the answer's letters shuffled word by word, and the
// box the student types the answer in.
#include <memory>

#include "host/hosted_page.h"

namespace kz::win {

std::shared_ptr<HostedPage> show_scrambled_letters_page(Shell& shell);

}  // namespace kz::win
