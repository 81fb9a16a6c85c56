#pragma once
// The web page of a quiz: the web player's page template (made by the web
// build, web/) filled with the quiz, its media and the music rendered to
// audio, as files of the page's own file system, and with a
// Content-Security-Policy that allows the page nothing from outside itself.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace kz {

// A file that the page puts into the player's file system at start.
struct PageFile {
    std::string path;  // absolute, UTF-8
    std::string bytes;
};

// Where the page keeps the music rendered to audio, each piece under its
// rendered_music_name.
inline constexpr std::string_view renderings_folder = "/rendus";

struct WebQuiz {
    std::string title;      // the quiz's name, UTF-8
    std::string quiz_file;  // the path of the quiz file among the files
    std::vector<PageFile> files;
    std::optional<std::string> results_url;  // where the page sends each record
};

// The page, or what is wrong with the template.
Result<std::string, std::string> make_web_page(std::string_view page_template, const WebQuiz& quiz);

// The origin ("https://host:port") of an address to which results may be
// sent: http or https, with a host, without user name or password, without
// blanks or quotes. The reason when it cannot serve.
Result<std::string, std::string> results_origin(std::string_view url);

}  // namespace kz
