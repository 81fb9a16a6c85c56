#pragma once
// packer web: a quiz as one self-contained web page that plays it in any
// browser (web_page.h), from a quiz executable or a quiz source.
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "common/result.h"

namespace kz {

struct WebCommand {
    std::filesystem::path quiz;    // quiz.exe or quiz.json
    std::filesystem::path output;  // quiz.html
    std::optional<std::filesystem::path> player;  // the page template; by default the web build's
    std::optional<std::string> results_url;        // where the page sends each exam's record
};

// The page of the command's quiz, and what its summary says; warnings go to
// `err` as they are found.
struct MadeWebPage {
    std::string page;
    std::string title;          // the quiz's name, UTF-8
    std::string quiz_file;      // the quiz file's bytes as the page carries it
    std::string summary;        // "3 themes, 24 questions, ...; page 1.2 MB for a quiz of 500 KB"
};
Result<MadeWebPage, std::string> make_quiz_web_page(const WebCommand& command, std::ostream& err);

int web_command(const WebCommand& command, std::ostream& out, std::ostream& err);

}  // namespace kz
