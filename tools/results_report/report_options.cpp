#include "report_options.h"

#include <charconv>

#include "common/cp1252.h"
#include "report_text.h"

namespace kz::report {

namespace {

std::filesystem::path path_of(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

Result<ReportOptions, std::string> parse_report_options(const std::vector<std::string>& arguments) {
    using Failure = Result<ReportOptions, std::string>;
    ReportOptions options;
    bool options_ended = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        if (options_ended || argument.size() < 2 || argument[0] != '-') {
            options.inputs.push_back(path_of(argument));
            continue;
        }
        if (argument == "--") {
            options_ended = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") {
            options.help = true;
            continue;
        }
        if (argument == "--no-progress") {
            options.progress = false;
            continue;
        }
        if (argument == "--first") {
            options.first = true;
            continue;
        }
        // An option with a value: "--csv dossier" or "--csv=dossier".
        std::string value;
        if (const auto equals = argument.find('='); equals != std::string::npos && argument.rfind("--", 0) == 0) {
            value = argument.substr(equals + 1);
            argument.resize(equals);
        } else if (argument == "-o" || argument == "--output" || argument == "--csv" || argument == "--quiz" ||
                   argument == "--since" || argument == "--until" || argument == "--limit") {
            if (i + 1 >= arguments.size()) return Failure::failure("l'option " + argument + " attend une valeur");
            value = arguments[++i];
        } else {
            return Failure::failure("option inconnue : " + terminal_safe(argument));
        }

        if (argument == "-o" || argument == "--output") {
            if (value.empty()) return Failure::failure("l'option " + argument + " attend un nom de fichier");
            options.output = path_of(value);
        } else if (argument == "--csv") {
            if (value.empty()) return Failure::failure("l'option --csv attend un dossier");
            options.csv_folder = path_of(value);
        } else if (argument == "--quiz") {
            const auto name = utf8_to_cp1252(value);
            if (!name || tidy_blanks(*name).empty())
                return Failure::failure("nom de questionnaire impossible : " + terminal_safe(value));
            options.quizzes.push_back(folded(*name));
            options.quiz_names.push_back(value);
        } else if (argument == "--since" || argument == "--until") {
            const auto day = day_key(value);
            if (!day)
                return Failure::failure("date illisible pour " + argument + " : " + terminal_safe(value) +
                                        " (AAAA-MM-JJ ou JJ/MM/AAAA)");
            if (argument == "--since") {
                options.since = *day;
                options.since_text = value;
            } else {
                options.until = *day + 2359;
                options.until_text = value;
            }
        } else if (argument == "--limit") {
            std::size_t limit = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), limit);
            if (error != std::errc() || end != value.data() + value.size())
                return Failure::failure("nombre illisible pour --limit : " + terminal_safe(value));
            options.limits = ReportLimits::all_lists(limit);
        } else {
            return Failure::failure("option inconnue : " + terminal_safe(argument));
        }
    }
    if (options.help) return options;
    if (options.inputs.empty()) return Failure::failure("indiquez au moins un fichier de résultats");
    if (options.since && options.until && *options.since > *options.until)
        return Failure::failure("la date de --since est après celle de --until");
    return options;
}

std::string report_usage() {
    return "Usage : results-report FICHIER... [-o RAPPORT.html] [--csv DOSSIER] [--quiz NOM]\n"
           "                      [--since DATE] [--until DATE] [--first] [--limit N] [--no-progress]\n"
           "\n"
           "Lit un ou plusieurs fichiers de résultats des questionnaires (kz.dat, format 1.3)\n"
           "et en fait un rapport pour l'enseignant : une page HTML autonome (sans réseau,\n"
           "imprimable sur A4, lisible sur un téléphone) et, sur demande, des fichiers CSV.\n"
           "\n"
           "  -o, --output FICHIER  la page du rapport (par défaut : rapport.html)\n"
           "  --csv DOSSIER         écrit aussi, séparés par des points-virgules, en UTF-8 :\n"
           "                        DOSSIER/examens.csv (un examen par ligne),\n"
           "                        DOSSIER/questions.csv (une question posée par ligne),\n"
           "                        DOSSIER/statistiques-questions.csv (une question par ligne :\n"
           "                        posée, réussite, discrimination, réponses fausses) et\n"
           "                        DOSSIER/eleves.csv (un élève par ligne)\n"
           "  --quiz NOM            seulement les examens de ce questionnaire (répétable)\n"
           "  --since DATE          seulement les examens de ce jour ou après (AAAA-MM-JJ ou JJ/MM/AAAA)\n"
           "  --until DATE          seulement les examens de ce jour ou avant\n"
           "  --first               seulement le premier examen de chaque élève à chaque\n"
           "                        questionnaire (les examens rejoués par « Recommencer »,\n"
           "                        dont l'élève connaît les questions, ne comptent pas)\n"
           "  --limit N             lignes de chaque liste de la page (par défaut : " + std::to_string(default_list_limit) + " ; 0 :\n"
           "                        toutes) : les questionnaires aux plus d'examens, les examens\n"
           "                        les plus récents, les questions les plus posées, les élèves\n"
           "                        vus le plus récemment ; les statistiques comptent tout, et\n"
           "                        les fichiers CSV ont les listes complètes\n"
           "  --no-progress         pas de barre de progression sur la sortie d'erreur\n"
           "  -h, --help            cette aide\n"
           "\n"
           "Un passage endommagé d'un fichier (examen interrompu, ligne illisible) est ignoré\n"
           "avec un avertissement qui donne le fichier et la position en octets ; tous les\n"
           "examens entiers sont lus. Un examen présent deux fois (même fichier donné deux\n"
           "fois, copie d'un fichier) est compté une fois. Un fichier enregistré en UTF-8 ou\n"
           "en UTF-16 par un éditeur de texte est lu comme tel. Un fichier d'un autre format\n"
           "est refusé.\n"
           "\n"
           "Code de sortie : 0 rapport écrit ; 1 un fichier refusé ou illisible (le rapport est\n"
           "fait des autres), ou rapport impossible à écrire ; 2 ligne de commande erronée.\n";
}

std::string selection_text(const ReportOptions& options) {
    std::string text;
    if (!options.quiz_names.empty()) {
        text += options.quiz_names.size() == 1 ? "Questionnaire choisi : " : "Questionnaires choisis : ";
        for (std::size_t i = 0; i < options.quiz_names.size(); ++i) text += (i ? ", " : "") + options.quiz_names[i];
        text += ".";
    }
    if (options.since || options.until) {
        if (!text.empty()) text += " ";
        text += "Examens";
        if (options.since) text += " à partir du " + options.since_text;
        if (options.until) text += std::string(options.since ? " et" : "") + " jusqu'au " + options.until_text;
        text += ".";
    }
    if (options.first) {
        if (!text.empty()) text += " ";
        text += "Seul le premier examen de chaque élève à chaque questionnaire est compté.";
    }
    return text;
}

}  // namespace kz::report
