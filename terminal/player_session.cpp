#include "player_session.h"

#include <charconv>

#include "about_box.h"
#include "engine/text_templates.h"
#include "help_dialog.h"
#include "quiz/quiz_model.h"
#include "terminal_text.h"

namespace kz::term {

namespace {
// The longest wait of the fake clock's ":attendre", a day.
constexpr int longest_wait = 86400;
}  // namespace

std::string PlayerSession::BlankPage::prompt_label() { return cp(u8"Commande"); }

void PlayerSession::BlankPage::take(const std::string&) {
    // The exam could not start (too few questions): "Suivant >" stays, as on
    // the home page, and tries the start again.
    if (context_.view.screen().next_visible) {
        context_.console.line(cp(u8"Aucune page n'est affichée : tapez :suivant pour essayer à nouveau de "
                                 u8"commencer l'examen, ou :quitter pour fermer le questionnaire."));
    } else {
        context_.console.line(cp(u8"Aucune page n'est affichée : tapez :quitter pour fermer le questionnaire."));
    }
}

PlayerSession::PlayerSession(PlayerContext& context, ExamTimers& timers, TerminalClock& clock, MediaPlayer& media)
    : context_(context),
      timers_(timers),
      clock_(clock),
      media_(media),
      welcome_(context),
      home_(context),
      open_answer_(context),
      multiple_choice_(context),
      true_false_(context),
      pot_pourri_(context),
      hangman_(context),
      scrambled_letters_(context),
      end_(context),
      blank_(context) {
    context_.view.on_game_change_unseen([this] { current_page().show_change(); });
}

TerminalPage& PlayerSession::current_page() {
    const Screen& screen = context_.view.screen();
    switch (screen.kind) {
    case ScreenKind::welcome: return welcome_;
    case ScreenKind::home: return home_;
    case ScreenKind::end: return end_;
    case ScreenKind::none: return blank_;
    case ScreenKind::question: break;
    }
    switch (screen.question_page) {
    case Page::multiple_choice: return multiple_choice_;
    case Page::true_false: return true_false_;
    case Page::pot_pourri: return pot_pourri_;
    case Page::hangman: return hangman_;
    case Page::scrambled_letters: return scrambled_letters_;
    default: return open_answer_;
    }
}

void PlayerSession::run() {
    Console& console = context_.console;
    console.line(context_.model.quiz_name);
    console.line(cp(u8"(Tapez :commandes pour la liste des commandes.)"));
    context_.engine.open();

    while (!context_.quit_requested) {
        // Seconds that passed behind a modal box count now, as the window's
        // timers would have counted them.
        deliver_due_ticks();
        if (context_.quit_requested) break;

        Screen& screen = context_.view.screen();
        TerminalPage& page = current_page();
        if (screen.generation != started_generation_) {
            started_generation_ = screen.generation;
            page.start();
        }
        if (screen.page_changed) {
            screen.page_changed = screen.game_changed = false;
            page.show();
        } else if (screen.game_changed) {
            screen.game_changed = false;
            page.show_change();
        }
        if (!answer_page(page)) {
            say_input_ended();
            return;
        }
    }
}

bool PlayerSession::answer_page(TerminalPage& page) {
    Console& console = context_.console;
    LineInput& input = console.input();
    Screen& screen = context_.view.screen();
    const std::string label = page.prompt_label();
    console.prompt(label);
    for (;;) {
        const auto deadline = clock_.is_fake() ? std::nullopt : timers_.next_due();
        const LineInput::Event event = input.wait(deadline);
        if (event.kind == LineInput::Event::Kind::ended) return false;
        if (event.kind == LineInput::Event::Kind::timed_out) {
            const std::uint64_t generation = screen.generation;
            deliver_due_ticks();
            if (screen.generation != generation || screen.page_changed || context_.quit_requested) {
                // The time ran out and the exam moved on: a line half typed
                // belonged to the question that is gone.
                input.discard_typed_ahead();
                return true;
            }
            if (console.printed_since_prompt()) console.prompt(label);
            continue;
        }
        const auto line = console.accept(event.text);
        if (!line) {
            console.prompt(label);
            continue;
        }
        const TypedLine typed = read_typed_line(*line);
        if (typed.command) {
            run_command(*typed.command, page);
        } else {
            page.take(typed.answer);
        }
        return true;
    }
}

void PlayerSession::deliver_due_ticks() {
    while (const auto timer = timers_.take_due()) {
        if (*timer == Timer::countdown) {
            context_.engine.countdown_tick();
        } else {
            context_.engine.elapsed_tick();
        }
    }
}

// ---------------------------------------------------------------- the frame's commands

void PlayerSession::run_command(const Command& command, TerminalPage& page) {
    Console& console = context_.console;
    Screen& screen = context_.view.screen();
    switch (command.kind) {
    case CommandKind::help:
        if (!screen.help_visible) {
            console.line(cp(u8"Ce questionnaire n'a pas d'aide."));
        } else {
            show_help_dialog(console, context_.engine.help_text());
        }
        break;
    case CommandKind::about:
        show_about_box(console, context_.model);
        break;
    case CommandKind::sound:
        context_.engine.toggle_mute();
        console.line(screen.muted ? cp(u8"Sons du questionnaire coupés.") : cp(u8"Sons du questionnaire rétablis."));
        break;
    case CommandKind::next:
        // The engine alone says whether "Suivant >" is shown.
        if (!screen.next_visible) {
            console.line(cp(u8"Le bouton « Suivant > » n'est pas disponible ici."));
        } else {
            page.press_next();
        }
        break;
    case CommandKind::quit:
        if (!screen.quit_visible) {
            console.line(cp(u8"Le questionnaire ne peut pas être quitté avant la fin de l'examen."));
        } else {
            context_.quit_requested = context_.engine.confirm_quit();
        }
        break;
    case CommandKind::page:
        screen.page_changed = true;
        break;
    case CommandKind::view:
        open_picture(command.argument);
        break;
    case CommandKind::play:
        play(command.argument);
        break;
    case CommandKind::stop:
        context_.engine.stop_media();
        break;
    case CommandKind::time:
        if (screen.countdown_visible) {
            console.line(cp(u8"Temps restant : ") + screen.countdown_text);
        } else {
            console.line(cp(u8"Pas de limite de temps en ce moment."));
        }
        break;
    case CommandKind::site:
        if (!media_.open_address(std::string(maker_page))) console.line(cp(u8"Impossible d'ouvrir le site Web."));
        break;
    case CommandKind::commands:
        console.line(command_list(clock_.is_fake()));
        break;
    case CommandKind::wait:
        wait_seconds(command.argument);
        break;
    case CommandKind::unknown:
        console.line(cp(u8"Commande inconnue : :") + command.word + cp(u8". Tapez :commandes pour la liste."));
        break;
    }
}

namespace {

// The menu entry that a command's argument names: its number, or, without
// a number, the only entry of the right kind.
const MediaMenu::Entry* entry_named(const MediaMenu& menu, const std::string& argument, bool pictures,
                                    int& number) {
    if (trimmed(argument).empty()) {
        const auto only = menu.only_entry(pictures);
        if (!only) return nullptr;
        number = *only;
    } else {
        const auto typed = parse_choice_number(argument, 1 << 20);
        if (!typed) return nullptr;
        number = *typed;
    }
    return menu.find(number);
}

}  // namespace

void PlayerSession::open_picture(const std::string& argument) {
    Console& console = context_.console;
    int number = 0;
    const MediaMenu::Entry* entry = entry_named(context_.menu, argument, true, number);
    if (!entry || entry->kind != media_image) {
        console.line(cp(u8"Indiquez le numéro d'une image affichée : :voir N."));
        return;
    }
    const auto file = context_.engine.image_file(entry->stored);
    const MediaPlayer::Outcome outcome = file ? media_.open_picture(*file) : MediaPlayer::Outcome::not_started;
    switch (outcome) {
    case MediaPlayer::Outcome::opened: console.line(cp(u8"Image ouverte.")); break;
    case MediaPlayer::Outcome::refused:
        console.line(cp(u8"Cette image ne peut pas être affichée : son fichier n'est pas une image BMP."));
        break;
    default: console.line(cp(u8"Aucun programme n'a pu afficher l'image.")); break;
    }
}

void PlayerSession::play(const std::string& argument) {
    Console& console = context_.console;
    int number = 0;
    const MediaMenu::Entry* entry = entry_named(context_.menu, argument, false, number);
    if (!entry || (entry->kind != media_sound && entry->kind != media_music)) {
        console.line(cp(u8"Indiquez le numéro d'un son ou d'une musique affichés : :jouer N."));
        return;
    }
    context_.view.mark_play_asked();
    context_.engine.play_media(entry->stored);
    const auto outcome = context_.view.last_play();
    if (!outcome) {
        console.line(cp(u8"Ce son est introuvable."));
        return;
    }
    switch (*outcome) {
    case MediaPlayer::Outcome::played: console.line(cp(u8"Lecture en cours (:stop pour l'arrêter).")); break;
    case MediaPlayer::Outcome::opened: console.line(cp(u8"Ouvert avec le programme par défaut.")); break;
    case MediaPlayer::Outcome::not_started: console.line(cp(u8"Aucun programme n'a pu jouer ce son.")); break;
    case MediaPlayer::Outcome::disabled: console.line(cp(u8"Les sons sont désactivés.")); break;
    case MediaPlayer::Outcome::refused:
        console.line(entry->kind == media_music
                         ? cp(u8"Cette musique ne peut pas être jouée : son fichier n'est pas une musique MIDI.")
                         : cp(u8"Ce son ne peut pas être joué : son fichier n'est pas un son WAVE."));
        break;
    }
}

void PlayerSession::wait_seconds(const std::string& argument) {
    Console& console = context_.console;
    if (!clock_.is_fake()) {
        console.line(cp(u8":attendre ne sert qu'avec l'horloge de test (--clock=fake)."));
        return;
    }
    const auto seconds = parse_choice_number(argument, longest_wait);
    if (!seconds) {
        console.line(cp(u8"Indiquez un nombre de secondes : :attendre N."));
        return;
    }
    for (int s = 0; s < *seconds && !context_.quit_requested; ++s) {
        clock_.advance(std::chrono::seconds(1));
        deliver_due_ticks();
    }
}

void PlayerSession::say_input_ended() {
    context_.console.end_line();
    const ExamState& state = context_.engine.exam_state();
    if (state.running && !state.finished) {
        context_.console.line(cp(u8"Fin des réponses : l'examen en cours est abandonné, sans résultats enregistrés."));
    } else {
        context_.console.line(cp(u8"Fin des réponses : le questionnaire se ferme."));
    }
}

}  // namespace kz::term
