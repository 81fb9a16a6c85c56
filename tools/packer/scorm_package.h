#pragma once
// packer scorm: the quiz's web page as a SCORM 1.2 package, which a learning
// platform (a Moodle "SCORM package" activity, and the others) installs and
// starts for each signed-in student, and whose gradebook then receives each
// exam's score, status and questions from the page.
#include <iosfwd>
#include <string>
#include <string_view>

#include "web_command.h"

namespace kz {

// The page's name in the package, the resource the platform launches.
inline constexpr std::string_view scorm_launch_file = "index.html";

// The package's manifest: one organization with one item, one resource of
// SCORM type "sco" launched by the page, every file of the package listed;
// title from the quiz's name, identifier from its name, version from its
// contents (so that a changed quiz is a new version of the same package).
std::string scorm_manifest(std::string_view title_utf8, std::string_view quiz_file);

int scorm_command(const WebCommand& command, std::ostream& out, std::ostream& err);

}  // namespace kz
