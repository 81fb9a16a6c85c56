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

// "kz.dat : enregistré en UTF-8 par un éditeur de texte ..." when the reader
// read some of the file as UTF-8.
std::string encoding_text(const std::string& file, const TextEncoding& encoding);

// "kz.dat, octet 1 234 : un examen commence au milieu de la ligne d'un
// enregistrement interrompu ..." for a record glued onto a cut line.
std::string glued_text(const std::string& file, const ReadRecord& record);

}  // namespace kz::report
