// Pictures and sounds of questions, through the real player: the display
// labels, the default program for pictures, the sound player for sounds,
// and the files handed to them.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "player_process.h"
#include "quiz_files.h"

namespace kz::test {
namespace {

const std::string picture_bytes = "BM" + std::string(60, '\x11') + "image";
const std::string sound_bytes = "RIFF" + std::string(4, '\x22') + "WAVEfmt " + std::string(32, '\x22') + "data";

std::string media_quiz_source() {
    return R"({
  "quiz_name": "Sons et images", "show_welcome_page": 0, "use_home_page": 0,
  "allow_multiple_choice": 0, "allow_true_false": 0, "allow_pot_pourri": 0,
  "allow_hangman": 0, "allow_scrambled_letters": 0,
  "default_question_count": 2, "default_random_order": 0, "default_training_mode": 0,
  "default_time_limit_on": 0, "results_storage_mode": 0,
  "themes": [ { "name": "Médias", "prompt": "Qu'est-ce ?", "reverse_prompt": "",
    "questions": [ { "question": { "media": 20 }, "answer": "Paris" },
                   { "question": { "media": 30 }, "answer": "la" } ] } ],
  "media": [
    { "id": 20, "kind": "image", "file_name": "carte.bmp", "label": "Carte", "file": "carte.bmp" },
    { "id": 30, "kind": "sound", "file_name": "la.wav", "label": "Note", "file": "la.wav" } ]
})";
}

// A program that keeps a copy of the file it is given, named after its role,
// the names of the files it was given (one a line) beside it, and the rights
// of the player's own folder, which holds the folder of the copies.
std::filesystem::path copying_program(const std::filesystem::path& folder, const std::string& role) {
    const auto script = folder / (role + ".sh");
    std::ofstream(script) << "#!/bin/sh\nbasename \"$1\" >> \"$KZ_TEST_OUT/" << role << ".name\"\n"
                          << "stat -c %a \"$(dirname \"$(dirname \"$1\")\")\" > \"$KZ_TEST_OUT/" << role << ".rights\"\n"
                          << "cp \"$1\" \"$KZ_TEST_OUT/" << role << "\"\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    return script;
}

// The file once the program has written it (they run on their own).
std::string bytes_when_written(const std::filesystem::path& file) {
    for (int i = 0; i < 500 && !std::filesystem::exists(file); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return file_bytes(file);
}

struct MediaFolder {
    TestFolder folder;
    std::filesystem::path quiz;
    MediaFolder() {
        std::ofstream(folder / "carte.bmp", std::ios::binary) << picture_bytes;
        std::ofstream(folder / "la.wav", std::ios::binary) << sound_bytes;
        quiz = pack_quiz(folder.path(), media_quiz_source());
        std::filesystem::create_directories(folder / "out");
        std::filesystem::create_directories(folder / "tmp");
    }
};

TEST(MediaPlay, PicturesOpenOnRequestAndASoundQuestionPlaysAtOnce) {
    MediaFolder media;
    const auto results = media.folder / "kz.dat";
    PlayerConversation player(
        {{media.quiz.string(), "--results", results.string(), "--clock=fake"},
         {{"KZ_OPEN_COMMAND", copying_program(media.folder.path(), "ouvre").string()},
          {"KZ_SOUND_PLAYER", copying_program(media.folder.path(), "joue").string()},
          {"KZ_TEST_OUT", (media.folder / "out").string()},
          {"TMPDIR", (media.folder / "tmp").string()}},
         media.folder.path()});

    EXPECT_NE(player.until_prompt().find("Qu'est-ce ?\n[1] <Image : Carte> (:voir 1)\n? Votre réponse : "),
              std::string::npos);
    player.answer(":voir 1");
    EXPECT_NE(player.until_prompt().find("Image ouverte."), std::string::npos);
    EXPECT_EQ(bytes_when_written(media.folder / "out" / "ouvre"), picture_bytes);
    // The program is given a file named from the item's kind, never from the quiz.
    EXPECT_EQ(file_bytes(media.folder / "out" / "ouvre.name"), "image-1.bmp\n");

    player.answer("Paris");
    EXPECT_NE(player.until_prompt().find("[1] <Son : Note> (:jouer 1) — lecture en cours, :stop pour l'arrêter\n"),
              std::string::npos);
    EXPECT_EQ(bytes_when_written(media.folder / "out" / "joue"), sound_bytes);
    EXPECT_EQ(file_bytes(media.folder / "out" / "joue.name"), "son-1.wav\n");

    player.answer("do");
    player.until_prompt();
    player.answer("4");
    const PlayerRun run = player.finish();

    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(file_bytes(results),
              "1.3\r\n" +
                  record_header("Anonyme", 1, "Sons et images", media.quiz, 50, "05/12/2026 09:07", 0, 30, 0, 0, 1) +
                  record_entry("M\xE9" "dias", "Qu'est-ce ?", "<Image : Carte>", {{"Paris", "Paris"}}, 1,
                               "09:07:03", "09:07:03") +
                  record_entry("M\xE9" "dias", "Qu'est-ce ?", "<Son : Note>", {{"la", "do"}}, 0, "09:07:03",
                               "09:07:03"));
    // Neither the extracted items nor the player's copies outlive it.
    EXPECT_TRUE(std::filesystem::is_empty(media.folder / "tmp"));
}

// A quiz names its items as it likes and puts in them what it likes: another
// program gets a copy named from the item's kind alone, and only when its
// first bytes are those of that kind's format.
TEST(MediaPlay, ItemsReachOtherProgramsUnderTheirKindsNameAndOnlyInTheirKindsFormat) {
    struct Row {
        const char* kind;
        const char* file_name;  // as the quiz names it
        std::string bytes;
        const char* command;  // none: a sound or music plays by itself as the question is shown
        const char* handed;   // the names the program was given; empty when refused
        const char* said;
    };
    const std::string midi_bytes = "MThd" + std::string("\0\0\0\6\0\0\0\1\0\x60", 10) + "MTrk";
    const Row rows[] = {
        {"image", "evil.exe", picture_bytes, ":voir 1", "image-1.bmp\n", "Image ouverte."},
        {"image", "x.desktop", "[Desktop Entry]\nType=Application\nExec=touch pris\n", ":voir 1", "",
         "Cette image ne peut pas être affichée : son fichier n'est pas une image BMP."},
        {"image", "photo.bmp", "\x89PNG\r\n\x1a\n" + std::string(20, '\0'), ":voir 1", "",
         "Cette image ne peut pas être affichée : son fichier n'est pas une image BMP."},
        {"sound", "x.sh", "#!/bin/sh\ntouch pris\n", ":jouer 1", "",
         "Ce son ne peut pas être joué : son fichier n'est pas un son WAVE."},
        {"music", "air.desktop", midi_bytes, "", "musique-1.mid\n", "[1] <Musique : Objet> (:jouer 1) — lecture en cours"},
        {"music", "air.mid", sound_bytes, ":jouer 1", "",
         "Cette musique ne peut pas être jouée : son fichier n'est pas une musique MIDI."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file_name);
        TestFolder folder;
        std::ofstream(folder / "item", std::ios::binary) << row.bytes;
        const auto quiz = pack_quiz(folder.path(), std::string(R"({
  "quiz_name": "Pièges", "show_welcome_page": 0, "use_home_page": 0,
  "allow_multiple_choice": 0, "allow_true_false": 0, "allow_pot_pourri": 0,
  "allow_hangman": 0, "allow_scrambled_letters": 0, "default_question_count": 1,
  "default_training_mode": 0, "default_time_limit_on": 0, "results_storage_mode": 0,
  "themes": [ { "name": "Médias", "prompt": "Qu'est-ce ?", "reverse_prompt": "",
    "questions": [ { "question": { "media": 5 }, "answer": "rien" } ] } ],
  "media": [ { "id": 5, "kind": ")") + row.kind + R"(", "file_name": ")" + row.file_name +
                                                   R"(", "label": "Objet", "file": "item" } ]
})");
        std::filesystem::create_directories(folder / "out");
        std::filesystem::create_directories(folder / "tmp");

        PlayerConversation player({{quiz.string(), "--results", (folder / "kz.dat").string(), "--clock=fake"},
                                   {{"KZ_OPEN_COMMAND", copying_program(folder.path(), "ouvre").string()},
                                    {"KZ_SOUND_PLAYER", copying_program(folder.path(), "joue").string()},
                                    {"KZ_TEST_OUT", (folder / "out").string()},
                                    {"TMPDIR", (folder / "tmp").string()}},
                                   folder.path()});
        std::string output = player.until_prompt();
        if (*row.command) {
            player.answer(row.command);
            output = player.until_prompt();
        }
        EXPECT_NE(output.find(row.said), std::string::npos) << output;
        // The programs run on their own; the player waits at its prompt meanwhile.
        const std::string role = std::string(row.kind) == "image" ? "ouvre" : "joue";
        if (*row.handed != '\0') {
            EXPECT_EQ(bytes_when_written(folder / "out" / role), row.bytes);
            EXPECT_EQ(file_bytes(folder / "out" / (role + ".name")), row.handed);
            EXPECT_EQ(file_bytes(folder / "out" / (role + ".rights")), "700\n");
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            EXPECT_TRUE(std::filesystem::is_empty(folder / "out"));
        }
        player.answer("rien");
        player.until_prompt();
        player.answer("4");
        EXPECT_EQ(player.finish().exit_code, 0);
        EXPECT_FALSE(std::filesystem::exists(folder / "pris"));
        EXPECT_TRUE(std::filesystem::is_empty(folder / "tmp"));
    }
}

TEST(MediaPlay, WithoutSoundNothingPlaysEvenOnRequest) {
    MediaFolder media;
    const PlayerRun run = run_player(
        {{media.quiz.string(), "--results", (media.folder / "kz.dat").string(), "--no-sound", "--clock=fake"},
         {{"KZ_SOUND_PLAYER", copying_program(media.folder.path(), "joue").string()},
          {"KZ_TEST_OUT", (media.folder / "out").string()},
          {"TMPDIR", (media.folder / "tmp").string()}},
         media.folder.path()},
        "Paris\n:jouer 1\n:jouer 2\nla\n4\n");

    EXPECT_NE(run.output.find("[1] <Son : Note> (:jouer 1)\n? Votre réponse : :jouer 1\nLes sons sont désactivés.\n"
                              "? Votre réponse : :jouer 2\nIndiquez le numéro d'un son ou d'une musique affichés"),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(std::filesystem::is_empty(media.folder / "out"));
}

}  // namespace
}  // namespace kz::test
