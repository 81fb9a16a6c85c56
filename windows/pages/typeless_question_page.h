#pragma once
// The question page of an exam type that has no page of its own in this
// runner yet: its template, in the page's colours, with the theme's prompt
// and the question text. Nothing else of it is filled or read.
#include <memory>

#include "host/hosted_page.h"

namespace kz::win {

std::shared_ptr<HostedPage> show_typeless_question_page(Shell& shell, int template_id);

}  // namespace kz::win
