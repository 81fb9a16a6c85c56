#pragma once
// packer web: a quiz as one self-contained web page that plays it in any
// browser (web_page.h), from a quiz executable or a quiz source.
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

namespace kz {

struct WebCommand {
    std::filesystem::path quiz;    // quiz.exe or quiz.json
    std::filesystem::path output;  // quiz.html
    std::optional<std::filesystem::path> player;  // the page template; by default the web build's
    std::optional<std::string> results_url;        // where the page sends each exam's record
};

int web_command(const WebCommand& command, std::ostream& out, std::ostream& err);

}  // namespace kz
