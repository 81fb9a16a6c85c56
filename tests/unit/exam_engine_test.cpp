// Whole exams played through the fake view: stages, drawing, grading, timers,
// training mode and the end of the exam.
#include <gtest/gtest.h>

#include "engine/exam_score.h"
#include "res/string_table.h"
#include "support/exam_harness.h"
#include "support/quiz_builder.h"

namespace kz::test {
namespace {

const std::string title_1_of_3 = "Examen - Question n\xB0" "1/3";

QuizModel three_of_five_quiz() {
    // Q2's answer is a picture and Q3's answer is empty: only Q1, Q4 and Q5 can be asked.
    QuizModel quiz = open_answer_quiz({{"Capitales",
                                        {{"Q1", "A1"}, {"Q2", media_reference(9)}, {"Q3", ""},
                                         {"Q4", "A4"}, {"Q5", "A5"}}}});
    add_media(quiz, 9, media_image, "carte.bmp", "Carte");
    return quiz;
}

std::string right_answer(const std::string& question) { return "A" + question.substr(1); }

TEST(ExamFlow, AsksOnlyEligibleQuestionsAndEndsAfterTheLast) {
    ExamHarness exam(three_of_five_quiz());
    exam.engine.open();

    EXPECT_EQ(exam.view.page, Page::open_answer);
    EXPECT_EQ(exam.view.title, title_1_of_3);
    EXPECT_EQ(exam.view.focused, Focus::answer_field);
    EXPECT_EQ(exam.view.palette_target, PaletteTarget::answer_field);
    EXPECT_TRUE(exam.view.timer_running(Timer::elapsed));
    EXPECT_EQ(exam.view.prompt, "Quelle est la capitale ?");

    exam.answer("A1");
    EXPECT_EQ(exam.view.title, "Examen - Question n\xB0" "2/3");
    EXPECT_TRUE(exam.view.typed.empty()) << "the answer field is emptied for the next question";
    exam.answer_all(right_answer);

    EXPECT_EQ(exam.view.questions_shown, (std::vector<std::string>{"Q1", "Q4", "Q5"}));
    EXPECT_EQ(exam.engine.exam_settings().question_count, 3u);
    EXPECT_EQ(exam.view.page, Page::end);
    EXPECT_EQ(exam.view.title, "Examen");
    EXPECT_FALSE(exam.view.next_visible);
    EXPECT_EQ(exam.view.focused, Focus::details_button);
    EXPECT_FALSE(exam.view.timer_running(Timer::elapsed));
    EXPECT_EQ(exam.engine.exam_state().right, 3u);
}

TEST(ExamFlow, WelcomeAndHomePagesComeBeforeTheFirstQuestion) {
    struct Row {
        bool welcome, home;
        std::vector<std::string> pages;  // after open, then after each Next
    };
    const Row rows[] = {
        {true, true, {"page welcome", "page home", "page open answer"}},
        {true, false, {"page welcome", "page open answer"}},
        {false, true, {"page home", "page open answer"}},
        {false, false, {"page open answer"}},
    };
    for (const Row& row : rows) {
        QuizModel quiz = three_of_five_quiz();
        quiz.show_welcome_page = row.welcome;
        quiz.use_home_page = row.home;
        ExamHarness exam(quiz);
        exam.engine.open();
        for (std::size_t k = 1; k < row.pages.size(); ++k) exam.engine.next();
        std::vector<std::string> pages;
        for (const auto& event : exam.view.events)
            if (event.starts_with("page")) pages.push_back(event);
        EXPECT_EQ(pages, row.pages) << "welcome " << row.welcome << ", home " << row.home;
        EXPECT_EQ(exam.engine.exam_state().asked, 0u);
    }
}

TEST(ExamFlow, WelcomePageShowsTheQuizNameAndPlaysTheWelcomeSound) {
    QuizModel quiz = three_of_five_quiz();
    quiz.show_welcome_page = 1;
    quiz.welcome_sound_id = 4;
    add_media(quiz, 4, media_sound, "bienvenue.wav", "Bienvenue");
    ExamHarness exam(quiz);
    exam.engine.open();

    EXPECT_NE(exam.view.welcome_text.find("\\cf1 G\xE9ographie\\cf0"), std::string::npos);
    EXPECT_EQ(exam.view.welcome_text.find("%s"), std::string::npos);
    ASSERT_EQ(exam.view.sounds_played.size(), 1u);
    EXPECT_EQ(exam.view.sounds_played[0], exam.folder / "Sons" / "bienvenue.wav");
}

TEST(ExamFlow, InOrderAsksThemesInOrderStartingWithTheFirstTickedTheme) {
    QuizModel quiz = open_answer_quiz({numbered_theme("A", 2, 1), numbered_theme("B", 2, 3),
                                       numbered_theme("C", 2, 5)});
    quiz.use_home_page = 1;
    ExamHarness exam(quiz);
    exam.engine.open();
    exam.view.home_choices.ticked_themes = {false, true, true};
    exam.view.home_choices.random_order = false;
    exam.engine.next();
    exam.answer_all(right_answer);
    EXPECT_EQ(exam.view.questions_shown, (std::vector<std::string>{"Q3", "Q4", "Q5", "Q6"}));
}

TEST(ExamFlow, RandomOrderDrawsAmongTheQuestionsLeftAndTakesTheLastWithoutDrawing) {
    QuizModel quiz = open_answer_quiz({numbered_theme("A", 4)});
    quiz.default_random_order = 1;
    ExamHarness exam(quiz);
    exam.fakes.random.script = {2, 0, 1};
    exam.engine.open();
    exam.answer_all(right_answer);

    EXPECT_EQ(exam.view.questions_shown, (std::vector<std::string>{"Q3", "Q1", "Q4", "Q2"}));
    EXPECT_EQ(exam.fakes.random.asked_below, (std::vector<std::uint32_t>{4, 3, 2}));
    EXPECT_EQ(exam.engine.exam_state().draw_log, (std::vector<std::uint32_t>{2, 0, 1, 0}));
}

TEST(ExamFlow, ReplayAsksTheSameQuestionsInTheSameOrder) {
    QuizModel quiz = open_answer_quiz({numbered_theme("A", 8), numbered_theme("B", 8, 9)});
    quiz.default_random_order = 1;
    quiz.default_question_count = 6;
    ExamHarness exam(quiz);
    exam.engine.open();
    exam.answer_all([](const std::string&) { return "faux"; });
    const auto first = exam.view.questions_shown;
    const auto draws = exam.fakes.random.asked_below.size();

    for (int replay = 0; replay < 2; ++replay) {
        exam.view.questions_shown.clear();
        exam.engine.restart();
        EXPECT_EQ(exam.view.title, "Examen - Question n\xB0" "1/6");
        exam.answer_all(right_answer);
        EXPECT_EQ(exam.view.questions_shown, first);
        EXPECT_EQ(exam.engine.exam_state().right, 6u) << "the counters start again at 0";
    }
    EXPECT_EQ(exam.fakes.random.asked_below.size(), draws) << "a replay draws nothing";
}

TEST(ExamFlow, RefusesAnonymousNameInAnyCase) {
    struct Row {
        std::string name;
        bool refuse_option;
        bool starts;
    };
    const Row rows[] = {
        {"Anonyme", true, false}, {"anonyme", true, false}, {"ANONYME", true, false},
        {"Anonyme ", true, true},         {"Anonyme", false, true}, {"Marie", true, true},
    };
    for (const Row& row : rows) {
        QuizModel quiz = three_of_five_quiz();
        quiz.use_home_page = 1;
        quiz.refuse_anonymous = row.refuse_option;
        ExamHarness exam(quiz);
        exam.engine.open();
        exam.view.home_choices.student_name = row.name;
        exam.engine.next();
        EXPECT_EQ(exam.engine.exam_state().running, row.starts) << row.name;
        if (row.starts) {
            EXPECT_TRUE(exam.view.messages.empty()) << row.name;
            continue;
        }
        ASSERT_EQ(exam.view.messages.size(), 1u) << row.name;
        EXPECT_EQ(exam.view.messages[0].text, load_message(str::anonymous_refused));
        EXPECT_EQ(exam.view.messages[0].caption, "Savanto");
        EXPECT_EQ(exam.view.page, Page::home);
        EXPECT_EQ(exam.view.focused, Focus::name_field);
    }
}

TEST(ExamFlow, NumberOfQuestionsIsReadAsTypedAndKeptWithinTheLimits) {
    struct Row {
        std::string typed;
        std::string title;
    };
    const Row rows[] = {
        {"-5", "Examen - Question n\xB0" "1/400"}, {"999", "Examen - Question n\xB0" "1/400"},
        {"12", "Examen - Question n\xB0" "1/12"},  {" 7 questions", "Examen - Question n\xB0" "1/7"},
        {"0", "Examen - Question n\xB0" "1/1"},    {"abc", "Examen - Question n\xB0" "1/1"},
    };
    QuizModel quiz = open_answer_quiz({numbered_theme("A", 450)});
    quiz.use_home_page = 1;
    for (const Row& row : rows) {
        ExamHarness exam(quiz);
        exam.engine.open();
        exam.view.home_choices.question_count_text = row.typed;
        exam.engine.next();
        EXPECT_EQ(exam.view.title, row.title) << row.typed;
    }
}

TEST(ExamFlow, ANameIsKeptToItsFirst29Characters) {
    QuizModel quiz = three_of_five_quiz();
    quiz.use_home_page = 1;
    ExamHarness exam(quiz);
    exam.engine.open();
    exam.view.home_choices.student_name = std::string(40, 'x');
    exam.engine.next();
    EXPECT_EQ(exam.engine.exam_settings().student_name, std::string(29, 'x'));
}

// The typed answer of both typing exam types is graded and recorded on its
// first typed_answer_limit characters, all that a front end's answer box
// holds: what comes after them changes nothing.
TEST(ExamFlow, ATypedAnswerIsGradedAndRecordedOnTheLengthGraded) {
    const std::string expected(typed_answer_limit, 'x');
    for (const ExamType type : {ExamType::open_answer, ExamType::scrambled_letters}) {
        ExamHarness exam(quiz_of_type(type, {{"Mots", {{"Q", expected}}}}));
        exam.engine.open();
        exam.answer(expected + "yz");
        const QuestionRecord& entry = exam.engine.exam_record().entries.at(0);
        EXPECT_EQ(entry.right, 1) << static_cast<int>(type);
        EXPECT_EQ(entry.given[0], expected) << static_cast<int>(type);
    }
}

// A learning platform names the signed-in student: every exam's record takes
// that name, with or without a home page, and the home page does not let it
// change.
TEST(ExamFlow, AStudentNamedByThePlatformKeepsThatNameInEveryExam) {
    for (const bool home_page : {true, false}) {
        QuizModel quiz = three_of_five_quiz();
        quiz.use_home_page = home_page ? 1 : 0;
        quiz.show_welcome_page = 0;
        ExamHarness exam(quiz);
        exam.engine.name_student("Camille Martin-Dupont de la Roche");
        exam.engine.open();
        if (home_page) {
            EXPECT_EQ(exam.view.home_form.student_name, "Camille Martin-Dupont de la R");
            EXPECT_FALSE(exam.view.home_form.may_change_name);
            exam.view.home_choices.student_name = "Anonyme";
            exam.engine.next();
        }
        exam.answer_all(right_answer);
        EXPECT_EQ(exam.engine.exam_record().student_name, "Camille Martin-Dupont de la R") << home_page;
    }
}

TEST(ExamFlow, RefusesAnExamWithoutEnoughQuestions) {
    struct Row {
        const char* why;
        QuizModel quiz;
        std::vector<bool> ticked;
    };
    QuizModel media_answers = open_answer_quiz({{"Cartes", {{"Q1", media_reference(9)}, {"Q2", media_reference(9)}}}});
    add_media(media_answers, 9, media_image, "carte.bmp", "Carte");
    const Row rows[] = {
        {"every answer is a media item", media_answers, {true}},
        {"no theme is ticked", three_of_five_quiz(), {false}},
    };
    for (const Row& row : rows) {
        QuizModel quiz = row.quiz;
        quiz.use_home_page = 1;
        ExamHarness exam(quiz);
        exam.engine.open();
        exam.view.home_choices.ticked_themes = row.ticked;
        exam.engine.next();
        EXPECT_FALSE(exam.engine.exam_state().running) << row.why;
        EXPECT_EQ(exam.view.page, Page::home) << row.why;
        ASSERT_EQ(exam.view.messages.size(), 1u) << row.why;
        EXPECT_EQ(exam.view.messages[0].text, load_message(str::not_enough_questions));
        EXPECT_EQ(exam.view.messages[0].caption, "Examen");
        EXPECT_EQ(exam.view.messages[0].icon, MessageIcon::warning);
    }
}

QuizModel training_quiz() {
    QuizModel quiz = open_answer_quiz(
        {{"Capitales", {{"Q1", "A1"}, {"Q2", "{\\rtf1 A2}", "Voir la carte"}, {"Q3", "A3"}}}});
    quiz.default_training_mode = 1;
    quiz.right_sound_id = 1;
    quiz.wrong_sound_id = 2;
    quiz.end_sound_id = 3;
    add_media(quiz, 1, media_sound, "juste.wav", "Juste");
    add_media(quiz, 2, media_sound, "faux.wav", "Faux");
    add_media(quiz, 3, media_sound, "fin.wav", "Fin");
    return quiz;
}

TEST(ExamFlow, TrainingModePlaysRightAndWrongSoundsAndShowsTheCorrection) {
    ExamHarness exam(training_quiz());
    exam.engine.open();
    exam.answer("A1");
    exam.answer("Rome");

    ASSERT_EQ(exam.view.corrections.size(), 1u);
    const ShownCorrection& shown = exam.view.corrections[0];
    EXPECT_EQ(shown.request.message, "La r\xE9ponse \xE9tait :");
    EXPECT_EQ(shown.request.answers, (std::array<std::string, 3>{"{\\rtf1 A2}", "", ""}));
    EXPECT_EQ(shown.comment, "Voir la carte");

    std::vector<std::string> sounds_and_corrections;
    for (const auto& event : exam.view.events)
        if (event.starts_with("play") || event.starts_with("correction")) sounds_and_corrections.push_back(event);
    EXPECT_EQ(sounds_and_corrections,
              (std::vector<std::string>{"play sound juste.wav", "play sound faux.wav",
                                        "correction La r\xE9ponse \xE9tait :"}));
}

TEST(ExamFlow, EventSoundsFollowTrainingModeAndTheMuteIcon) {
    struct Row {
        const char* why;
        bool training;
        bool muted;
        std::vector<std::string> sounds;
    };
    const Row rows[] = {
        {"training", true, false, {"juste.wav", "faux.wav", "juste.wav", "fin.wav"}},
        {"no training", false, false, {"fin.wav"}},
        {"training, muted", true, true, {}},
    };
    for (const Row& row : rows) {
        QuizModel quiz = training_quiz();
        quiz.default_training_mode = row.training;
        ExamHarness exam(quiz);
        if (row.muted) exam.engine.toggle_mute();
        EXPECT_EQ(exam.view.muted_icon, row.muted);
        exam.engine.open();
        exam.answer("A1");
        exam.answer("faux");
        exam.answer("A3");
        std::vector<std::string> sounds;
        for (const auto& file : exam.view.sounds_played) sounds.push_back(file.filename().string());
        EXPECT_EQ(sounds, row.sounds) << row.why;
        EXPECT_EQ(exam.view.corrections.size(), row.training ? 1u : 0u) << row.why;
    }
}

TEST(ExamFlow, QuestionMediaShowsTheImageOrPlaysAtOnceEvenWhenMuted) {
    QuizModel quiz = open_answer_quiz(
        {{"M\xE9""dias", {{media_reference(1), "A1"}, {media_reference(2), "A2"}, {media_reference(3), "A3"},
                          {media_reference(77), "A4"}}}});
    add_media(quiz, 1, media_image, "carte.bmp", "Carte");
    add_media(quiz, 2, media_sound, "cloche.wav", "Cloche");
    add_media(quiz, 3, media_music, "hymne.mid", "Hymne");
    ExamHarness exam(quiz);
    exam.engine.toggle_mute();
    exam.engine.open();

    ShownItem item = exam.view.items[Place::question];
    EXPECT_EQ(item.kind, ShownItem::Kind::image);
    EXPECT_EQ(item.image_file, exam.folder / "Images" / "carte.bmp");
    EXPECT_EQ(item.box_width, 90);
    EXPECT_EQ(item.box_height, 90);

    exam.answer("A1");
    EXPECT_EQ(exam.view.items[Place::question].kind, ShownItem::Kind::media);
    ASSERT_EQ(exam.view.sounds_played.size(), 1u);
    EXPECT_EQ(exam.view.sounds_played[0], exam.folder / "Sons" / "cloche.wav");

    exam.answer("A2");
    ASSERT_EQ(exam.view.music_played.size(), 1u);
    EXPECT_EQ(exam.view.music_played[0], exam.folder / "Musiques" / "hymne.mid");

    exam.answer("A3");
    item = exam.view.items[Place::question];
    EXPECT_EQ(item.kind, ShownItem::Kind::text) << "a media item the quiz lacks empties the question";
    EXPECT_EQ(item.text, "");
    EXPECT_EQ(exam.view.images_released, 3);
}

TEST(ExamFlow, ReversedDirectionAsksTheAnswerAndExpectsTheQuestion) {
    QuizModel quiz = open_answer_quiz({{"Capitales", {{"France", "Paris"}, {media_reference(5), "Rome"}}}});
    add_media(quiz, 5, media_image, "italie.bmp", "Italie");
    quiz.use_home_page = 1;
    ExamHarness exam(quiz);
    exam.engine.open();
    exam.view.home_choices.reverse_direction = true;
    exam.engine.next();

    EXPECT_EQ(exam.view.items[Place::question].text, "Paris");
    EXPECT_EQ(exam.view.prompt, "De quel pays ?");
    exam.answer("France");
    EXPECT_EQ(exam.view.items[Place::question].text, "Rome") << "a media question stays in the pool";
    exam.answer("Italie");
    EXPECT_EQ(exam.engine.exam_state().right, 1u);
    EXPECT_EQ(exam.engine.exam_record().entries[1].expected[0], "<Image : Italie>");
}

TEST(ExamFlow, CorrectionShowsEachAnswerOnceWithTheEmptyOnesLast) {
    struct Row {
        std::array<std::string, 3> given;
        std::array<std::string, 3> shown;
    };
    const Row rows[] = {
        {{"A", "B", "C"}, {"A", "B", "C"}},
        {{"A", "A", "B"}, {"A", "B", ""}},
        {{"A", "B", "A"}, {"A", "B", ""}},
        {{"A", "B", "B"}, {"A", "B", ""}},
        {{"", "B", "C"}, {"B", "C", ""}},
        {{"", "", "C"}, {"C", "", ""}},
        {{"A", "", "C"}, {"A", "C", ""}},
        {{"{\\rtf1 A}", "A", "{\\rtf1 }"}, {"{\\rtf1 A}", "", ""}},
        {{"", "", ""}, {"", "", ""}},
    };
    for (const Row& row : rows) {
        QuizModel quiz = three_of_five_quiz();
        quiz.default_training_mode = 1;
        ScriptedRules rules;
        rules.grade_step = [&](ExamContext&) { return Verdict{false, str::choose_answers, row.given}; };
        ExamHarness exam(quiz, rules);
        exam.engine.open();
        exam.engine.next();
        ASSERT_EQ(exam.view.corrections.size(), 1u);
        EXPECT_EQ(exam.view.corrections[0].request.message, load_message(str::choose_answers));
        EXPECT_EQ(exam.view.corrections[0].request.answers, row.shown)
            << row.given[0] << "|" << row.given[1] << "|" << row.given[2];
    }
}

QuizModel timed_quiz(int limit, bool training = false) {
    QuizModel quiz = three_of_five_quiz();
    quiz.default_time_limit_on = 1;
    quiz.default_time_limit = limit;
    quiz.default_training_mode = training;
    return quiz;
}

TEST(ExamFlow, CountdownShowsTheSecondsLeftAndStartsAgainForEachQuestion) {
    ExamHarness exam(timed_quiz(30));
    exam.engine.open();
    EXPECT_TRUE(exam.view.countdown_visible);
    EXPECT_TRUE(exam.view.timer_running(Timer::countdown));
    EXPECT_EQ(exam.view.countdown_text, "30 secondes");
    for (int k = 0; k < 29; ++k) exam.engine.countdown_tick();
    EXPECT_EQ(exam.view.countdown_text, "1 seconde");
    exam.answer("A1");
    EXPECT_EQ(exam.view.countdown_text, "30 secondes");
    EXPECT_TRUE(exam.view.timer_running(Timer::countdown));
    exam.answer_all(right_answer);
    EXPECT_FALSE(exam.view.countdown_visible);
    EXPECT_FALSE(exam.view.timer_running(Timer::countdown));
}

TEST(ExamFlow, TimeUpGradesTheAnswerAsTyped) {
    struct Row {
        int limit;
        bool training;
        std::string typed;
        bool right;
    };
    const Row rows[] = {{1, false, "A1", true}, {1, true, "A1", true}, {3, true, "Rome", false}, {3, false, "", false}};
    for (const Row& row : rows) {
        ExamHarness exam(timed_quiz(row.limit, row.training));
        exam.engine.open();
        EXPECT_EQ(exam.view.countdown_text, row.limit == 1 ? "1 seconde" : "3 secondes");
        exam.view.typed = row.typed;
        for (int k = 0; k < row.limit; ++k) exam.engine.countdown_tick();

        EXPECT_EQ(exam.engine.exam_state().asked, 1u);
        EXPECT_EQ(exam.engine.exam_state().right, row.right ? 1u : 0u);
        EXPECT_EQ(exam.view.countdown_texts[row.limit + 1], "Temps \xE9""coul\xE9 !");
        const auto message = std::find(exam.view.events.begin(), exam.view.events.end(),
                                       "message " + load_message(str::time_up_message));
        const auto graded = std::find(exam.view.events.begin(), exam.view.events.end(), "read answer " + row.typed);
        EXPECT_EQ(message != exam.view.events.end(), row.training);
        if (row.training) { EXPECT_LT(message, graded) << "the student is told before the grading"; }
        EXPECT_EQ(exam.view.countdown_text, row.limit == 1 ? "1 seconde" : "3 secondes");
    }
}

// The grading that the time limit presses knows it (a true/false statement
// then counts as unanswered); the student's own Next, before and after, does
// not.
TEST(ExamFlow, TimeUpIsToldToTheGradingItPressesOnly) {
    ScriptedRules rules;
    std::vector<bool> time_up;
    rules.grade_step = [&](ExamContext& exam) {
        time_up.push_back(exam.state().time_up);
        return Verdict{true, 0, {}};
    };
    ExamHarness exam(timed_quiz(2), rules);
    exam.engine.open();
    exam.engine.next();
    exam.engine.countdown_tick();
    exam.engine.countdown_tick();
    exam.engine.next();
    EXPECT_EQ(time_up, (std::vector<bool>{false, true, false}));
    EXPECT_FALSE(exam.engine.exam_state().time_up);
}

TEST(ExamFlow, ATimeLimitBelowOneSecondRunsTheExamWithoutTimeLimit) {
    for (int limit : {0, -3}) {
        ExamHarness exam(timed_quiz(limit));
        exam.engine.open();
        EXPECT_FALSE(exam.view.timer_running(Timer::countdown)) << limit;
        EXPECT_FALSE(exam.view.countdown_visible) << limit;
        exam.engine.countdown_tick();
        EXPECT_EQ(exam.engine.exam_state().asked, 0u) << limit;
        exam.answer_all(right_answer);
        EXPECT_EQ(exam.engine.exam_state().asked, 3u) << limit;
        EXPECT_EQ(exam.engine.exam_record().time_limit_on, 1);
        EXPECT_EQ(exam.engine.exam_record().time_limit, limit);
    }
}

TEST(ExamFlow, NextIsIgnoredWhileAQuestionIsPrepared) {
    ExamHarness exam(three_of_five_quiz());
    int presses = 0;
    exam.view.on_show_item = [&](Place, const ShownItem&) {
        ++presses;
        exam.engine.next();
    };
    exam.engine.open();
    exam.answer("A1");
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(exam.engine.exam_state().asked, 1u);
    EXPECT_EQ(exam.view.title, "Examen - Question n\xB0" "2/3");
}

TEST(ExamFlow, NoGradingRunsInsideAnother) {
    ExamHarness exam(timed_quiz(2, true));
    exam.view.on_correction = [&](const ShownCorrection&) {
        for (int k = 0; k < 5; ++k) exam.engine.countdown_tick();
        exam.engine.next();
    };
    exam.view.on_typed_answer_read = [&] { exam.engine.next(); };
    exam.engine.open();
    exam.answer("faux");
    EXPECT_EQ(exam.engine.exam_state().asked, 1u);
    EXPECT_EQ(exam.engine.exam_record().entries.size(), 1u);
    exam.engine.countdown_tick();
    exam.engine.countdown_tick();
    EXPECT_EQ(exam.engine.exam_state().asked, 2u) << "the countdown runs again after the grading";
}

TEST(ExamFlow, ANextDuringTheTimeUpMessageIsDropped) {
    ExamHarness exam(timed_quiz(1, true));
    exam.view.on_message = [&](const Message&) { exam.engine.next(); };
    exam.engine.open();
    exam.engine.countdown_tick();
    EXPECT_EQ(exam.engine.exam_state().asked, 1u);
    EXPECT_EQ(exam.view.questions_shown, (std::vector<std::string>{"Q1", "Q4"}));
}

TEST(ExamFlow, AnAutomaticNextFromThePageGradesOnce) {
    ScriptedRules rules;
    rules.page_shown = Page::hangman;
    rules.letter_step = [](ExamContext& exam, std::string_view) { exam.press_next(); };
    ExamHarness exam(three_of_five_quiz(), rules);
    exam.engine.open();
    EXPECT_EQ(exam.view.page, Page::hangman);
    exam.engine.test_letter("a");
    EXPECT_EQ(exam.engine.exam_state().asked, 1u);
    EXPECT_EQ(exam.view.title, "Examen - Question n\xB0" "2/3");
}

TEST(ExamFlow, WithoutEndPageTheLastQuestionPageStays) {
    QuizModel quiz = three_of_five_quiz();
    quiz.show_end_page = 0;
    quiz.quitting_locked = 1;
    ExamHarness exam(quiz);
    exam.engine.open();
    EXPECT_FALSE(exam.view.quit_visible);
    exam.answer_all(right_answer);
    EXPECT_TRUE(exam.engine.exam_state().finished);
    EXPECT_EQ(exam.view.page, Page::open_answer);
    EXPECT_FALSE(exam.view.next_visible);
    EXPECT_FALSE(exam.view.quit_visible);
    EXPECT_TRUE(exam.engine.confirm_quit());
}

TEST(ExamFlow, EndPageShowsQuitAndTheButtonsTheQuizAllows) {
    QuizModel quiz = three_of_five_quiz();
    quiz.quitting_locked = 1;
    quiz.end_page_details_button = 0;
    quiz.end_page_restart_button = 0;
    ExamHarness exam(quiz);
    exam.engine.open();
    EXPECT_FALSE(exam.engine.confirm_quit()) << "quitting is locked until the exam ends";
    exam.answer_all(right_answer);
    EXPECT_TRUE(exam.view.quit_visible);
    EXPECT_FALSE(exam.view.end_page.details_button);
    EXPECT_TRUE(exam.view.end_page.home_button);
    EXPECT_FALSE(exam.view.end_page.restart_button);
    exam.engine.restart();
    EXPECT_FALSE(exam.view.quit_visible) << "locked again for the replay";
}

TEST(ExamFlow, QuitAsksUntilTheExamHasEnded) {
    for (MessageAnswer answer : {MessageAnswer::yes, MessageAnswer::no}) {
        ExamHarness exam(three_of_five_quiz());
        exam.engine.open();
        exam.view.message_answers = {answer};
        EXPECT_EQ(exam.engine.confirm_quit(), answer == MessageAnswer::yes);
        EXPECT_EQ(exam.view.last_message_text(), load_message(str::confirm_quit));
        EXPECT_EQ(exam.view.messages.back().caption, "Quitter");
    }
}

QuizModel end_text_quiz(std::string end_text) {
    QuizModel quiz = three_of_five_quiz();
    quiz.custom_end_text = 1;
    quiz.end_text = std::move(end_text);
    return quiz;
}

TEST(ExamFlow, EndPageShowsTheTimeSpent) {
    struct Row {
        int seconds;
        std::string shown;
    };
    const Row rows[] = {{0, "1 s"}, {59, "59 s"}, {60, "1 min "}, {3725, "1 h 2 min 5 s"}, {7200, "2 h "}};
    for (const Row& row : rows) {
        ExamHarness exam(end_text_quiz("[TEMPSPASSE]"));
        exam.engine.open();
        for (int k = 0; k < row.seconds; ++k) exam.engine.elapsed_tick();
        exam.answer_all(right_answer);
        exam.engine.elapsed_tick();
        EXPECT_EQ(exam.view.end_page.text, row.shown) << row.seconds;
    }
}

TEST(ExamFlow, EndPageShowsTheExamsValues) {
    QuizModel quiz = end_text_quiz(
        "[NOMQUIZ]|[TYPEQUIZ]|[NOMELEVE]|[JUSTES]|[FAUSSES]|[NOMBREQUESTIONS]|[TEMPSLIMITE]|[SCORE]");
    quiz.default_time_limit = 30;
    ExamHarness exam(quiz);
    exam.engine.open();
    exam.answer("A1");
    exam.answer("faux");
    exam.answer("A5");
    EXPECT_EQ(exam.view.end_page.text, "G\xE9ographie|Savanto|Anonyme|2|1|3|0|13/20");
}

TEST(ExamFlow, ScoreCountsRightAnswersOutOf20OrInPerCent) {
    struct Row {
        std::vector<bool> answers;
        bool as_percentage;
        std::string after_two;
        std::string at_end;
        int recorded;
    };
    const Row rows[] = {
        {{true, true, false}, false, "20/20", "13/20", 66}, {{true, true, false}, true, "100 %", "66 %", 66},
        {{true, false, false}, false, "10/20", "6/20", 33}, {{false, false, false}, false, "0/20", "0/20", 0},
        {{true, true, true}, true, "100 %", "100 %", 100},  {{true, true, true}, false, "20/20", "20/20", 100},
    };
    for (const Row& row : rows) {
        QuizModel quiz = end_text_quiz("[SCORE]");
        quiz.score_as_percentage = row.as_percentage;
        ExamHarness exam(quiz);
        exam.engine.open();
        const char* questions[] = {"1", "4", "5"};
        for (std::size_t k = 0; k < 3; ++k) {
            if (k == 2) { EXPECT_EQ(exam.engine.exam_state().score_text, row.after_two); }
            exam.answer(row.answers[k] ? std::string("A") + questions[k] : "faux");
        }
        EXPECT_EQ(exam.view.end_page.text, row.at_end);
        EXPECT_EQ(exam.engine.exam_record().score, row.recorded);
    }
}

TEST(ExamFlow, PerCentIsRoundedToSinglePrecisionAtTheEnd) {
    // 29 of 50 is 57.99999... %: shown as 57 % while the exam runs, 58 % once
    // rounded to single precision at the end.
    EXPECT_EQ(running_score_text(29, 21, true), "57 %");
    QuizModel quiz = open_answer_quiz({numbered_theme("A", 50)});
    quiz.default_question_count = 50;
    quiz.score_as_percentage = 1;
    quiz.custom_end_text = 1;
    quiz.end_text = "[SCORE]";
    ExamHarness exam(quiz);
    exam.engine.open();
    int asked = 0;
    exam.answer_all([&](const std::string& question) { return asked++ < 29 ? right_answer(question) : "faux"; });
    EXPECT_EQ(exam.view.end_page.text, "58 %");
    EXPECT_EQ(exam.engine.exam_record().score, 58);
}

TEST(ExamFlow, AnExamEndedByItsFirstQuestionScoresZeroAndIsRecorded) {
    ScriptedRules rules;
    rules.prepare_step = [](ExamContext&) { return false; };
    ExamHarness exam(end_text_quiz("[SCORE]"), rules);
    exam.engine.open();
    EXPECT_TRUE(exam.engine.exam_state().finished);
    EXPECT_EQ(exam.view.end_page.text, "0/20");
    EXPECT_FALSE(exam.view.timer_running(Timer::elapsed));
    const auto lines = exam.results_lines();
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[1], "Anonyme");
    EXPECT_EQ(lines[11], "-1");
}

TEST(ExamFlow, HomePageAfterAnExamStartsAfreshWithTheDefaults) {
    QuizModel quiz = three_of_five_quiz();
    quiz.default_random_order = 1;
    ExamHarness exam(quiz);
    exam.engine.open();
    exam.answer_all(right_answer);
    exam.engine.go_home();

    EXPECT_EQ(exam.view.page, Page::home);
    EXPECT_EQ(exam.view.home_form.student_name, "Anonyme");
    EXPECT_TRUE(exam.view.home_form.random_order);
    EXPECT_EQ(exam.view.home_form.question_count_text, "10");
    EXPECT_TRUE(exam.view.next_visible);
    const auto draws = exam.fakes.random.asked_below.size();
    exam.view.home_choices.student_name = "Marie";
    exam.engine.next();
    EXPECT_TRUE(exam.engine.exam_state().running);
    EXPECT_FALSE(exam.engine.exam_state().replay);
    EXPECT_GT(exam.fakes.random.asked_below.size(), draws) << "the questions are drawn afresh";
    EXPECT_EQ(exam.engine.exam_record().student_name, "Marie");
}

TEST(ExamFlow, HomePageOffersTheAllowedTypesWithTheSecondPreselected) {
    QuizModel quiz = three_of_five_quiz();
    quiz.use_home_page = 1;
    quiz.allow_multiple_choice = 1;
    quiz.allow_hangman = 1;
    quiz.show_more_options = 0;
    ExamHarness exam(quiz);
    exam.engine.open();
    EXPECT_EQ(exam.view.home_form.exam_type_texts,
              (std::vector<std::string>{"Savanto", "Questions \xE0 choix multiples (QCM)", "Le jeu du Pendu"}));
    EXPECT_EQ(exam.view.home_form.selected_type_entry, 1);
    EXPECT_FALSE(exam.view.home_form.show_more_options);
    EXPECT_EQ(exam.engine.exam_settings().exam_type, ExamType::multiple_choice);
    exam.view.home_choices.type_entry = 0;
    exam.engine.next();
    EXPECT_EQ(exam.view.page, Page::open_answer);
}

TEST(ExamFlow, ResultsManagerStartsFromTheRegistryOrBesideTheRunner) {
    struct Row {
        std::optional<std::string> registry;
        bool starts;
        std::string opened;
        bool told;
    };
    const Row rows[] = {
        {std::nullopt, true, "Elevor.exe", false},
        {"/opt/bilanor/Bilanor.exe", true, "/opt/bilanor/Bilanor.exe", false},
        {std::nullopt, false, "Elevor.exe", true},
    };
    for (const Row& row : rows) {
        ExamHarness exam(three_of_five_quiz());
        if (row.registry) exam.fakes.registry.values["Software\\Ondalys\\Bilanor\\Chemin EXE"] = *row.registry;
        exam.fakes.launcher.starts = row.starts;
        exam.engine.open();
        exam.answer_all(right_answer);
        exam.engine.show_results_details();
        ASSERT_EQ(exam.fakes.launcher.opened.size(), 1u);
        const auto expected = row.registry ? std::filesystem::path(row.opened) : exam.folder / row.opened;
        EXPECT_EQ(exam.fakes.launcher.opened[0], expected);
        EXPECT_EQ(exam.view.last_message_text() == load_message(str::results_manager_missing), row.told);
        EXPECT_EQ(exam.view.page, Page::end);
    }
}

}  // namespace
}  // namespace kz::test
