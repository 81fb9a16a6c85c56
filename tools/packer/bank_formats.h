#pragma once
// The readers and writers of each question-bank format, and the HTML and
// Markdown of the texts that GIFT and Moodle XML carry.
#include <string>
#include <string_view>

#include "bank.h"
#include "bank_text.h"

namespace kz::bank {

Result<ImportedBank, BankError> import_csv(std::string_view bytes, std::string_view default_theme);
Result<ImportedBank, BankError> import_gift(std::string_view bytes, std::string_view default_theme);
Result<ImportedBank, BankError> import_moodle_xml(std::string_view bytes, std::string_view default_theme);

ExportedBank export_csv(const QuizModel& quiz);
ExportedBank export_gift(const QuizModel& quiz);
ExportedBank export_moodle_xml(const QuizModel& quiz);

// What an HTML text shows: its characters with bold (b, strong), italic (i,
// em) and line breaks (br, and the ends of paragraphs, blocks and list
// items); blanks collapsed as a browser does; entities decoded; scripts,
// styles and comments dropped. `pictures` counts the images it drops.
StyledText html_to_styled(std::string_view html, int& pictures);
// Markdown's emphasis (**bold**, __bold__, *italic*, _italic_) as styles;
// the rest of the text as it is written.
StyledText markdown_to_styled(std::string_view markdown);
// Basic HTML: characters escaped, <b>, <i> and <br>.
std::string styled_to_html(const StyledText& text);

}  // namespace kz::bank
