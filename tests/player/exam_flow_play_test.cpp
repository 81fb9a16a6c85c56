// The road of whole exams through the real player: replay, the home page
// again, refusals, quitting, the end of the answers, the time limit, where
// the results go, and quizzes the player refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include <sys/stat.h>

#include "player_process.h"
#include "quiz_files.h"

namespace kz::test {
namespace {

const std::string start_date = "05/12/2026 09:07";
const std::string at_start = "09:07:03";

std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(ExamFlowPlay, RestartAsksTheSameQuestionsAndRecordsASecondExam) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 1, .count = "2"}) + "Paris\nx\n3\nParis\nRome\n4\n");

    EXPECT_EQ(run.exit_code, 0);
    const std::string expected =
        "1.3\r\n" + record_header("Marie", 1, "Capitales", quiz, 50, start_date, 0, 30, 0, 0, 1) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Italie", {{"Rome", "x"}}, 0, at_start, at_start) +
        record_header("Marie", 1, "Capitales", quiz, 100, start_date, 0, 30, 0, 0, 1) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Italie", {{"Rome", "Rome"}}, 1, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

// The question lines (third line of each entry) of every record in a results file.
std::vector<std::vector<std::string>> questions_per_record(const std::string& file) {
    std::vector<std::string> all;
    for (std::size_t start = 0, end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2)
        all.push_back(file.substr(start, end - start));
    std::vector<std::vector<std::string>> records;
    std::size_t i = 1;  // after the format line
    while (i + 11 <= all.size()) {
        const int entries = std::stoi(all[i + 10]) + 1;
        i += 11;
        records.emplace_back();
        // theme, prompt, question, ten answers, right flag, start and end times
        for (int e = 0; e < entries; ++e, i += 16) records.back().push_back(all[i + 2]);
    }
    return records;
}

TEST(ExamFlowPlay, RestartInRandomOrderReplaysTheDrawnOrder) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    const PlayerRun run =
        run_player({test_arguments(quiz, results), {}, folder.path()},
                   home_answers({.themes = "tous", .type = 1, .count = "4", .random_order = true}) +
                       "a\nb\nc\nd\n3\ne\nf\ng\nh\n4\n");

    ASSERT_TRUE(file_bytes(results).starts_with("1.3\r\n")) << run.output;
    const auto records = questions_per_record(file_bytes(results));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].size(), 4u);
    EXPECT_EQ(records[1], records[0]);
}

TEST(ExamFlowPlay, HomePageAfterAnExamStartsFromTheDefaultsWithOtherChoices) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player(
        {test_arguments(quiz, results), {}, folder.path()},
        home_answers({.type = 1, .count = "1"}) + "Paris\n2\n" +
            home_answers({.name = "Paul", .themes = "2", .type = 1, .count = "1"}) + "Tokio\n4\n");

    const std::size_t second_home = run.output.rfind("== Page d'accueil ==");
    ASSERT_NE(second_home, std::string::npos);
    const std::string defaults_again = "== Page d'accueil ==\nVotre prénom ou pseudo : Anonyme\n";
    EXPECT_EQ(run.output.substr(second_home, defaults_again.size()), defaults_again);
    const std::string expected =
        "1.3\r\n" + record_header("Marie", 1, "Capitales", quiz, 100, start_date, 0, 30, 0, 0, 0) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start) +
        record_header("Paul", 1, "Capitales", quiz, 0, start_date, 0, 30, 0, 0, 0) +
        record_entry("Asie", "Capitale ?", "Japon", {{"Tokyo", "Tokio"}}, 0, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

TEST(ExamFlowPlay, AnonymousNamesAreRefusedUntilARealNameIsGiven) {
    TestFolder folder;
    const auto quiz =
        pack_quiz(folder.path(), capitals_source(only_open_answers({{"refuse_anonymous", "1"}})));
    const auto results = folder / "kz.dat";

    // An empty answer keeps "Anonyme"; "ANONYME" is refused too.
    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     "\nn\nANONYME\nn\nPaul\nn\nParis\nRome\nMadrid\n4\n");

    EXPECT_EQ(count_of(run.output, "[Savanto] Veuillez entrer un nom valide !\n\nLes personnes anonymes ne sont "
                                   "pas autorisées à faire le questionnaire.\n"),
              2u)
        << run.output;
    const std::string expected =
        "1.3\r\n" + record_header("Paul", 1, "Capitales", quiz, 100, start_date, 0, 30, 0, 0, 2) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Italie", {{"Rome", "Rome"}}, 1, at_start, at_start) +
        record_entry("Europe", "Capitale ?", "Espagne", {{"Madrid", "Madrid"}}, 1, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

TEST(ExamFlowPlay, TooFewQuestionsKeepTheHomePageUntilTheChoicesAllowAnExam) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    // Multiple choice needs four questions; "Asie" has two. Open answers then.
    const PlayerRun run =
        run_player({test_arguments(quiz, results), {}, folder.path()},
                   home_answers({.themes = "2", .type = 2}) + home_answers({.themes = "2", .type = 1}) +
                       "Tokyo\nPekin\n4\n");

    EXPECT_NE(run.output.find("[Examen] Il n'y a pas assez de questions et de réponses avec les options "
                              "sélectionnées.\n\nCochez plus de thèmes et/ou sélectionnez un autre type "
                              "d'examen.\n\n== Page d'accueil =="),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("== Examen - Question n°1/2 =="), std::string::npos);
    const std::string expected =
        "1.3\r\n" + record_header("Marie", 1, "Capitales", quiz, 100, start_date, 0, 30, 0, 0, 1) +
        record_entry("Asie", "Capitale ?", "Japon", {{"Tokyo", "Tokyo"}}, 1, at_start, at_start) +
        record_entry("Asie", "Capitale ?", "Chine", {{"P\xE9kin", "Pekin"}}, 1, at_start, at_start);
    EXPECT_EQ(file_bytes(results), expected);
}

TEST(ExamFlowPlay, WithoutWelcomeOrHomePageNextTriesTheRefusedStartAgain) {
    TestFolder folder;
    // Multiple choice alone needs four questions; the quiz has three.
    Settings settings = {{"use_home_page", "0"},     {"allow_open_answer", "0"},   {"allow_true_false", "0"},
                         {"allow_pot_pourri", "0"},  {"allow_hangman", "0"},       {"allow_scrambled_letters", "0"}};
    settings["themes"] = R"([ { "name": "Europe", "prompt": "Capitale ?", "reverse_prompt": "Pays ?",
      "questions": [ { "question": "France", "answer": "Paris" }, { "question": "Italie", "answer": "Rome" },
                     { "question": "Espagne", "answer": "Madrid" } ] } ])";
    const auto quiz = pack_quiz(folder.path(), capitals_source(settings));

    const PlayerRun run =
        run_player({test_arguments(quiz, folder / "kz.dat"), {}, folder.path()}, ":suivant\nx\n:suivant\n:quitter\no\n");

    const std::string refusal = "[Examen] Il n'y a pas assez de questions et de réponses avec les options "
                                "sélectionnées.\n\nCochez plus de thèmes et/ou sélectionnez un autre type d'examen.\n";
    EXPECT_EQ(count_of(run.output, refusal), 3u) << run.output;
    EXPECT_NE(run.output.find("? Commande : :suivant\n\n" + refusal + "? Commande : x\nAucune page n'est affichée : "
                              "tapez :suivant pour essayer à nouveau"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("pas disponible"), std::string::npos);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "kz.dat"));
}

TEST(ExamFlowPlay, QuittingAsksForConfirmationAndLeavesNoRecordOfTheUnfinishedExam) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 1}) + ":quitter\nn\nParis\n:quitter\no\nRome\n");

    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(count_of(run.output, "[Quitter] L'examen n'est pas encore terminé.\n\nVoulez-vous le quitter "
                                   "quand même ?\n? Oui ou non (o/n) : "),
              2u)
        << run.output;
    EXPECT_NE(run.output.find("== Examen - Question n°2/3 =="), std::string::npos);
    EXPECT_EQ(run.output.find("Rome"), std::string::npos);  // never read: the player had quit
    EXPECT_FALSE(std::filesystem::exists(results));
}

TEST(ExamFlowPlay, TheEndOfTheAnswersAbandonsTheExamWithoutRecord) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";

    const PlayerRun run =
        run_player({test_arguments(quiz, results), {}, folder.path()}, home_answers({.type = 1}) + "Paris\n");

    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.output.find("? Votre réponse : \nFin des réponses : l'examen en cours est abandonné, sans "
                              "résultats enregistrés.\n"),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(std::filesystem::exists(results));
}

TEST(ExamFlowPlay, WhenTimeRunsOutTheQuestionIsGradedWithNoAnswerAndTheNextIsAsked) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source(only_open_answers({{"use_home_page", "0"},
                                                                                   {"default_question_count", "2"},
                                                                                   {"default_training_mode", "1"},
                                                                                   {"default_time_limit_on", "1"},
                                                                                   {"default_time_limit", "5"}})));
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     ":attendre 4\n:temps\n:attendre 1\nRome\n4\n");

    EXPECT_NE(run.output.find("Temps restant : 5 secondes\nCapitale ?\nFrance\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("? Votre réponse : :temps\nTemps restant : 1 seconde\n"), std::string::npos);
    EXPECT_NE(run.output.find("? Votre réponse : :attendre 1\n\nTemps écoulé !\n\n[Examen] Le temps est écoulé "
                              "!\n\nLa réponse est considérée comme fausse.\n\n[Examen] Réponse fausse !\n"),
              std::string::npos);
    const std::string expected =
        "1.3\r\n" + record_header("Anonyme", 1, "Capitales", quiz, 50, start_date, 1, 5, 0, 0, 1) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", ""}}, 0, at_start, "09:07:08") +
        record_entry("Europe", "Capitale ?", "Italie", {{"Rome", "Rome"}}, 1, "09:07:08", "09:07:08");
    EXPECT_EQ(file_bytes(results), expected);
}

TEST(ExamFlowPlay, MailedResultsStayInTheTemporaryFolderAfterMessage2018) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source({{"results_storage_mode", "2"},
                                                               {"mail_recipient", R"("prof@example.org")"}}));
    std::filesystem::create_directories(folder / "tmp");

    const PlayerRun run = run_player({{quiz.string(), "--no-sound", "--seed=7", "--clock=fake"},
                                      {{"TMPDIR", (folder / "tmp").string()}, {"HOME", folder.path().string()}},
                                      folder.path()},
                                     home_answers({.type = 1, .count = "1"}) + "Paris\n4\n");

    EXPECT_NE(run.output.find("[Examen] Une erreur est survenue lors de l'envoi des résultats par e-mail."),
              std::string::npos)
        << run.output;
    const std::string expected =
        "1.3\r\n" + record_header("Marie", 1, "Capitales", quiz, 100, start_date, 0, 30, 0, 0, 0) +
        record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start);
    EXPECT_EQ(file_bytes(folder / "tmp" / "result051220260907.dat"), expected);
    EXPECT_FALSE(std::filesystem::exists(folder / "kz.dat"));
}

TEST(ExamFlowPlay, WithoutOptionsModeZeroWritesKzDatInTheHomeFolder) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    std::filesystem::create_directories(folder / "maison");

    run_player({{quiz.string(), "--no-sound", "--seed=7", "--clock=fake"},
                {{"HOME", (folder / "maison").string()}, {"KZ_RESULTS", ""}},
                folder.path()},
               home_answers({.type = 1, .count = "1"}) + "Paris\n4\n");

    EXPECT_EQ(file_bytes(folder / "maison" / "kz.dat"),
              "1.3\r\n" + record_header("Marie", 1, "Capitales", quiz, 100, start_date, 0, 30, 0, 0, 0) +
                  record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start));
}

TEST(ExamFlowPlay, AFileOfAnotherFormatAsksForAnotherFileOnALine) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto results = folder / "kz.dat";
    const std::string old_file = "1.2\r\nun ancien enregistrement\r\n";
    std::ofstream(results, std::ios::binary) << old_file;
    const auto other = folder / "nouveau.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 1, .count = "1"}) + "Paris\no\n" + other.string() + "\n4\n");

    EXPECT_NE(run.output.find("[Savanto] Le fichier de données des résultats a une version trop antérieure"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(file_bytes(results), old_file);
    EXPECT_EQ(file_bytes(other),
              "1.3\r\n" + record_header("Marie", 1, "Capitales", quiz, 100, start_date, 0, 30, 0, 0, 0) +
                  record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start));
}

TEST(ExamFlowPlay, AnAuthorsWindowsPathIsUnreachableElsewhereAndAnEmptyAnswerCancels) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source({{"results_storage_mode", "1"},
                                                               {"results_file_path", R"("C:\\Resultats\\bilan.dat")"}}));

    // Yes to message 139, then an empty path (cancelled): asked again; then No.
    const PlayerRun run = run_player({{quiz.string(), "--no-sound", "--clock=fake"}, {{"KZ_RESULTS", ""}}, folder.path()},
                                     home_answers({.type = 1, .count = "1"}) + "Paris\no\n\nn\n4\n");

    EXPECT_EQ(count_of(run.output, "[Examen] Impossible d'accéder aux fichiers de données qui contient les "
                                   "résultats."),
              2u)
        << run.output;
    EXPECT_NE(run.output.find("Les résultats n'ont pas été enregistrés."), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 4)
        << "nothing beside the quiz, its source, the runner and the packer's log";
}

// A quiz may name any path for its results: the player writes there only when
// the path names a results file, and otherwise into the student's own file.
TEST(ExamFlowPlay, AnAuthorsPathIsWrittenOnlyWhenItNamesAResultsFile) {
    enum class Before { nothing, results_file, other_file, named_pipe };
    struct Row {
        const char* name;
        Before before;
        bool written_there;
    };
    const Row rows[] = {
        {"bilan.DAT", Before::nothing, true},
        {"notes.txt", Before::results_file, true},
        {"lance.sh", Before::nothing, false},
        {"profil", Before::other_file, false},
        {"tube.dat", Before::named_pipe, false},
        // "~" stands for an escape character, which would drive the terminal
        // when the path is printed, and which only a quiz made by hand holds.
        {"bilan~[2J.dat", Before::nothing, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestFolder folder;
        std::string name = row.name;
        std::replace(name.begin(), name.end(), '~', '\x1b');
        const auto author_file = folder / name;
        const std::string other_text = "echo bonjour\n";
        if (row.before == Before::results_file) std::ofstream(author_file, std::ios::binary) << "1.3\r\n";
        if (row.before == Before::other_file) std::ofstream(author_file, std::ios::binary) << other_text;
        if (row.before == Before::named_pipe) {
            ASSERT_EQ(mkfifo(author_file.c_str(), 0600), 0);
        }
        const auto quiz = pack_quiz(folder.path(),
                                    capitals_source({{"results_storage_mode", "1"},
                                                     {"results_file_path", "\"" + (folder / row.name).string() + "\""}}));
        if (name != row.name) {
            // The path is stored with the key 1 ("~" is its highest character),
            // so "~" alone is stored as 127, and an escape as 28.
            std::string bytes = file_bytes(quiz);
            ASSERT_EQ(std::count(bytes.begin(), bytes.end(), '\x7f'), 1);
            std::replace(bytes.begin(), bytes.end(), '\x7f', '\x1c');
            std::ofstream(quiz, std::ios::binary | std::ios::trunc) << bytes;
        }
        std::filesystem::create_directories(folder / "maison");
        const auto own_file = folder / "maison" / "kz.dat";

        const PlayerRun run = run_player({{quiz.string(), "--no-sound", "--clock=fake"},
                                          {{"HOME", (folder / "maison").string()}, {"KZ_RESULTS", ""}},
                                          folder.path(),
                                          std::chrono::seconds(10)},
                                         home_answers({.type = 1, .count = "1"}) + "Paris\n4\n");

        ASSERT_EQ(run.exit_code, 0) << run.output;
        const std::string expected =
            "1.3\r\n" + record_header("Marie", 1, "Capitales", quiz, 100, start_date, 0, 30, 0, 0, 0) +
            record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start);
        if (row.written_there) {
            EXPECT_EQ(file_bytes(author_file), expected);
            EXPECT_FALSE(std::filesystem::exists(own_file));
            std::string printed = author_file.string();
            std::erase(printed, '\x1b');
            EXPECT_NE(run.output.find("Résultats enregistrés dans : " + printed + "\n"),
                      std::string::npos) << run.output;
        } else {
            EXPECT_EQ(file_bytes(own_file), expected);
            EXPECT_NE(run.output.find("Le questionnaire demande d'enregistrer les résultats dans « " +
                                      author_file.string() + " », qui n'est pas un fichier de résultats : ils sont "
                                      "enregistrés dans votre fichier de résultats.\nRésultats enregistrés dans : " +
                                      own_file.string() + "\n"),
                      std::string::npos) << run.output;
            if (row.before == Before::nothing) {
                EXPECT_FALSE(std::filesystem::exists(author_file));
            }
            if (row.before == Before::other_file) {
                EXPECT_EQ(file_bytes(author_file), other_text);
            }
        }
    }
}

// A named pipe or a device would hold the end of the exam for ever: the
// student's own choices are refused too, before the exam.
TEST(ExamFlowPlay, NamedPipesAndDevicesAreRefusedWhereverTheStudentNamesThem) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto pipe = folder / "tube.dat";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const auto old_file = folder / "ancien.dat";
    std::ofstream(old_file, std::ios::binary) << "1.2\r\n";
    const auto chosen = folder / "nouveau.dat";
    const std::string exam = home_answers({.type = 1, .count = "1"}) + "Paris\n";
    const std::string not_a_file = "n'est pas un fichier ordinaire (tube nommé, périphérique ou dossier)";

    struct Row {
        const char* why;
        std::filesystem::path results;
        std::string answers;
        int exit_code;
        std::string said;
    };
    const Row rows[] = {
        {"a named pipe as the results file", pipe, exam, 2, not_a_file},
        {"a device as the results file", "/dev/null", exam, 2, not_a_file},
        {"a named pipe typed in the file dialog", old_file,
         exam + "o\n" + pipe.string() + "\n" + chosen.string() + "\n4\n", 0,
         "? Fichier de données (*.dat), chemin complet ; vide pour annuler : " + pipe.string() +
             "\nCe chemin " + not_a_file + " : indiquez un fichier.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const PlayerRun run = run_player(
            {test_arguments(quiz, row.results), {}, folder.path(), std::chrono::seconds(10)}, row.answers);

        EXPECT_EQ(run.exit_code, row.exit_code) << run.output << run.errors;
        EXPECT_NE((run.output + run.errors).find(row.said), std::string::npos) << run.output << run.errors;
    }
    EXPECT_TRUE(file_bytes(chosen).starts_with("1.3\r\nMarie\r\n"));
}

TEST(ExamFlowPlay, ResultsOptionReplacesTheAuthorsFile) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source({{"results_storage_mode", "1"},
                                                               {"results_file_path", R"("C:\\Resultats\\bilan.dat")"}}));
    const auto results = folder / "bilan.dat";

    run_player({{quiz.string(), "--no-sound", "--clock=fake"}, {{"KZ_RESULTS", results.string()}}, folder.path()},
               home_answers({.type = 1, .count = "1"}) + "Paris\n4\n");

    EXPECT_EQ(file_bytes(results),
              "1.3\r\n" + record_header("Marie", 1, "Capitales", quiz, 100, start_date, 0, 30, 0, 0, 0) +
                  record_entry("Europe", "Capitale ?", "France", {{"Paris", "Paris"}}, 1, at_start, at_start));
}

TEST(ExamFlowPlay, LockedQuittingWaitsForTheEndOfTheExam) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source({{"quitting_locked", "1"}}));
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 1, .count = "1"}) + ":quitter\nParis\n4\n");

    EXPECT_NE(run.output.find("? Votre réponse : :quitter\nLe questionnaire ne peut pas être quitté avant la fin "
                              "de l'examen.\n? Votre réponse : Paris\n"),
              std::string::npos)
        << run.output;
    // After the end "Quitter" closes without asking.
    EXPECT_EQ(run.output.find("Voulez-vous le quitter"), std::string::npos);
    EXPECT_NE(run.output.find("? Votre choix : 4\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(results));
}

TEST(ExamFlowPlay, HelpAndAboutShowTheQuizsTexts) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source(
        {{"help_text", R"("Score actuel : [SCORE] ([JUSTES] justes) pour [NOMELEVE].")"}}));
    const auto results = folder / "kz.dat";

    const PlayerRun run = run_player({test_arguments(quiz, results), {}, folder.path()},
                                     home_answers({.type = 1, .count = "2"}) + "Paris\n:aide\n:apropos\nRome\n4\n");

    EXPECT_NE(run.output.find("[Aide]\nScore actuel : 20/20 (1 justes) pour Marie.\n"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("[À propos du questionnaire]\nCapitales\nÉquipe des tests\nUn questionnaire de "
                              "test.\nQuestionnaire réalisé avec Savanto\nCe questionnaire a été créé avec "
                              "Savanto version 2.0.5\n"),
              std::string::npos);
}

TEST(ExamFlowPlay, ResultsDetailsStartTheResultsManagerOrSayItIsMissing) {
    TestFolder folder;
    const auto quiz = pack_quiz(folder.path(), capitals_source());
    const auto manager = folder / "gestion.sh";
    std::ofstream(manager) << "#!/bin/sh\ntouch \"$KZ_TEST_OUT/started\"\n";
    std::filesystem::permissions(manager, std::filesystem::perms::owner_all);
    const std::string answers = home_answers({.type = 1, .count = "1"}) + "Paris\n1\n4\n";

    const PlayerRun started =
        run_player({test_arguments(quiz, folder / "kz.dat"),
                    {{"KZ_RESULTS_MANAGER", manager.string()}, {"KZ_TEST_OUT", folder.path().string()}},
                    folder.path()},
                   answers);
    const PlayerRun missing =
        run_player({test_arguments(quiz, folder / "kz.dat"), {{"KZ_RESULTS_MANAGER", ""}}, folder.path()}, answers);

    for (int i = 0; i < 500 && !std::filesystem::exists(folder / "started"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(std::filesystem::exists(folder / "started"));
    EXPECT_EQ(started.output.find("Bilanor"), std::string::npos) << started.output;
    // Without a program named, Elevor.exe beside the quiz is looked for.
    EXPECT_NE(missing.output.find("? Votre choix : 1\n\n[Savanto] Impossible de trouver le programme Bilanor."),
              std::string::npos)
        << missing.output;
}

TEST(ExamFlowPlay, RefusesDamagedQuizzesWithTheDamagedFileMessage) {
    const char* damages[] = {"bad-marker", "stream-before-overlay", "truncated-stream", "long-line",
                             "bad-question-count"};
    for (const char* damage : damages) {
        SCOPED_TRACE(damage);
        TestFolder folder;
        const auto quiz = pack_quiz(folder.path(), capitals_source());
        const auto damaged = folder / "abime.exe";
        const std::string command = std::string("'") + KZ_PACKER_PATH + "' damage " + damage + " '" +
                                    quiz.string() + "' -o '" + damaged.string() + "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);

        const PlayerRun run = run_player({{damaged.string(), "--no-sound"}, {}, folder.path()}, "Marie\n");

        EXPECT_EQ(run.exit_code, 1);
        EXPECT_EQ(run.output,
                  "\n[Savanto] Ce fichier n'est pas un fichier exécutable Savanto ou alors il a été endommagé !\n\n"
                  "Si vous avez téléchargé ce fichier, il serait peut-être nécessaire de le télécharger à "
                  "nouveau.\n");
    }
}

}  // namespace
}  // namespace kz::test
