#include "frame_commands.h"

#include <utility>

#include "terminal_text.h"

namespace kz::term {

namespace {

CommandKind kind_of(std::string_view word) {
    // Words are compared in small letters without accents or hyphens, so
    // that ":À-propos", ":apropos" and ":APROPOS" are the same command.
    std::string key;
    for (char c : folded(word))
        if (c != '-' && c != '_') key += c;
    static constexpr std::pair<std::string_view, CommandKind> words[] = {
        {"aide", CommandKind::help},        {"apropos", CommandKind::about},
        {"son", CommandKind::sound},        {"muet", CommandKind::sound},
        {"suivant", CommandKind::next},     {"quitter", CommandKind::quit},
        {"page", CommandKind::page},        {"voir", CommandKind::view},
        {"jouer", CommandKind::play},       {"ecouter", CommandKind::play},
        {"stop", CommandKind::stop},        {"temps", CommandKind::time},
        {"site", CommandKind::site},        {"commandes", CommandKind::commands},
        {"?", CommandKind::commands},       {"attendre", CommandKind::wait},
    };
    for (const auto& [name, kind] : words)
        if (key == name) return kind;
    return CommandKind::unknown;
}

}  // namespace

TypedLine read_typed_line(std::string_view line) {
    const std::string_view text = trimmed(line);
    if (!text.starts_with(':')) return TypedLine{std::nullopt, std::string(line)};
    if (text.starts_with("::")) {
        // The answer keeps its own blanks; only the doubled colon becomes one.
        const std::size_t colon = line.find("::");
        return TypedLine{std::nullopt, std::string(line.substr(0, colon)) + std::string(line.substr(colon + 1))};
    }
    const std::string_view rest = text.substr(1);
    const std::size_t blank = rest.find_first_of(" \t");
    Command command;
    command.word = std::string(rest.substr(0, blank));
    command.argument = blank == rest.npos ? std::string() : std::string(trimmed(rest.substr(blank)));
    command.kind = kind_of(command.word);
    return TypedLine{std::move(command), {}};
}

std::string command_list(bool with_fake_clock) {
    std::string list = cp(
        u8"Commandes, à taper à n'importe quelle invite :\n"
        u8"  :aide         l'aide du questionnaire (bouton « Aide »)\n"
        u8"  :apropos      à propos du questionnaire (bouton « À propos... »)\n"
        u8"  :son          couper ou rétablir les sons du questionnaire\n"
        u8"  :suivant      bouton « Suivant > » (au jeu du pendu : valider le mot tel qu'il est)\n"
        u8"  :quitter      bouton « Quitter »\n"
        u8"  :page         afficher la page de nouveau\n"
        u8"  :voir N       ouvrir l'image numéro N\n"
        u8"  :jouer N      écouter le son ou la musique numéro N\n"
        u8"  :stop         arrêter le son et la musique\n"
        u8"  :temps        le temps qui reste pour répondre\n"
        u8"  :site         ouvrir le site Web indiqué dans « À propos »\n"
        u8"  :commandes    cette liste (aussi :?)\n"
        u8"Une réponse qui commence par deux-points se tape avec deux : « ::texte » répond « :texte ».");
    if (with_fake_clock)
        list += cp(u8"\n  :attendre N   horloge de test : laisser passer N secondes");
    return list;
}

}  // namespace kz::term
