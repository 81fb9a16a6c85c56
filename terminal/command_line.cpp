#include "command_line.h"

#include <charconv>

#include "system_programs.h"
#include "terminal_clock.h"

namespace kz::term {

namespace {

std::string utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

using Parsed = Result<PlayerOptions, std::string>;

}  // namespace

Parsed parse_command_line(const std::vector<std::string>& arguments) {
    PlayerOptions options;
    bool quiz_given = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value_of = [&](std::string_view name) -> std::optional<std::string> {
            if (argument.starts_with(std::string(name) + "=")) return argument.substr(name.size() + 1);
            if (argument == name && i + 1 < arguments.size()) return arguments[++i];
            return std::nullopt;
        };
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--no-sound") {
            options.sound = false;
        } else if (argument == "--results" || argument.starts_with("--results=")) {
            const auto path = value_of("--results");
            if (!path || path->empty())
                return Parsed::failure(utf8(u8"--results attend le chemin du fichier de résultats."));
            options.results = path_from_utf8(*path);
        } else if (argument.starts_with("--seed=")) {
            const std::string text = argument.substr(7);
            std::uint64_t seed = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
            if (text.empty() || error != std::errc() || end != text.data() + text.size())
                return Parsed::failure(utf8(u8"--seed attend un nombre entier positif : ") + text);
            options.seed = seed;
        } else if (argument == "--clock=system") {
            options.fake_clock.reset();
        } else if (argument == "--clock=fake") {
            options.fake_clock = fake_clock_start;
        } else if (argument.starts_with("--clock=fake:")) {
            const auto start = parse_local_time(std::string_view(argument).substr(13));
            if (!start)
                return Parsed::failure(utf8(u8"--clock=fake: attend une date et une heure "
                                            u8"AAAA-MM-JJTHH:MM:SS : ") + argument.substr(13));
            options.fake_clock = *start;
        } else if (argument.starts_with("-") && argument != "-") {
            return Parsed::failure(utf8(u8"Option inconnue : ") + argument);
        } else if (quiz_given) {
            return Parsed::failure(utf8(u8"Un seul questionnaire à la fois : ") + argument);
        } else {
            options.quiz = path_from_utf8(argument);
            quiz_given = true;
        }
    }
    if (!quiz_given && !options.help)
        return Parsed::failure(utf8(u8"Indiquez le questionnaire à lancer (player --help pour l'aide)."));
    return options;
}

std::string usage_text() {
    return utf8(
        u8"player — fait passer un questionnaire Savanto dans un terminal.\n"
        u8"\n"
        u8"Utilisation :\n"
        u8"  player [options] QUESTIONNAIRE\n"
        u8"\n"
        u8"QUESTIONNAIRE est un questionnaire exécutable (.exe) ou un conteneur de questionnaire.\n"
        u8"Chaque invite est une ligne qui commence par « ? » ; chaque réponse est une ligne.\n"
        u8"Une ligne qui commence par « : » est une commande (:commandes en donne la liste).\n"
        u8"Les réponses peuvent venir d'un fichier : player quiz.exe < reponses.txt\n"
        u8"\n"
        u8"Options :\n"
        u8"  --results CHEMIN   fichier des résultats (sinon la variable KZ_RESULTS,\n"
        u8"                     sinon kz.dat dans le dossier personnel) ; remplace aussi\n"
        u8"                     le fichier choisi par l'auteur du questionnaire, qui\n"
        u8"                     n'est utilisé que s'il s'agit d'un fichier de résultats\n"
        u8"                     (nom en .dat, ou première ligne « 1.3 »)\n"
        u8"  --no-sound         ne jamais jouer de son ni de musique\n"
        u8"  --help             cette aide\n"
        u8"\n"
        u8"Options de test (pour rejouer un examen à l'identique) :\n"
        u8"  --seed=N           tirages au sort fixés par le nombre N\n"
        u8"  --clock=fake[:AAAA-MM-JJTHH:MM:SS]\n"
        u8"                     horloge fixe (par défaut 2026-12-05T09:07:03) qui n'avance\n"
        u8"                     qu'avec la commande :attendre N\n"
        u8"\n"
        u8"Variables d'environnement :\n"
        u8"  KZ_RESULTS          fichier des résultats (comme --results)\n"
        u8"  KZ_RESULTS_MANAGER  programme de gestion des résultats (« Détails des résultats »)\n"
        u8"  KZ_SOUND_PLAYER     programme qui joue les sons et la musique (il reçoit le fichier)\n"
        u8"  KZ_OPEN_COMMAND     programme qui ouvre les images (sinon xdg-open)\n"
        u8"\n"
        u8"Code de sortie : 0 questionnaire fermé, 1 questionnaire refusé, 2 ligne de commande erronée\n"
        u8"ou fichier de résultats qui n'est pas un fichier ordinaire (tube nommé, périphérique).\n");
}

}  // namespace kz::term
