#pragma once
// What the report says, in French, of a file it could not read and of the
// bytes it skipped: on standard error and in the page.
#include <string>

#include "results/results_reader.h"

namespace kz::report {

// "kz.dat : fichier au format 1.2, plus ancien que le format 1.3 que lit ce
// programme ..." File names are UTF-8.
std::string refusal_text(const std::string& file, const ResultsOpenError& error);

// "kz.dat, octet 1 234 : 350 octets ignorés (nombre de questions illisible
// à l'octet 1 300 : « deux »)"
std::string skipped_text(const std::string& file, const SkippedBytes& skipped);

}  // namespace kz::report
