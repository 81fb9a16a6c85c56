// Small text helpers and the string table.
#include <gtest/gtest.h>

#include "common/text_helpers.h"
#include "res/string_table.h"

namespace kz {
namespace {

TEST(TextHelpers, ZeroPadAddsAtMostOneZero) {
    struct Case {
        long long number;
        std::size_t width;
        const char* padded;
    };
    const Case cases[] = {{7, 2, "07"}, {12, 2, "12"}, {5, 4, "05"}, {2026, 4, "2026"}, {0, 2, "00"}, {123, 2, "123"}};
    for (const auto& c : cases) EXPECT_EQ(zero_pad(c.number, c.width), c.padded);
}

TEST(TextHelpers, HeadAndMidTakeWhatTheTextHolds) {
    EXPECT_EQ(head_text("Anonyme", 3), "Ano");
    EXPECT_EQ(head_text("Ano", 29), "Ano");
    EXPECT_EQ(mid_text("abcdef", 1, 2), "bcd") << "n + 1 characters";
    EXPECT_EQ(mid_text("abcdef", 4, 9), "ef");
    EXPECT_EQ(mid_text("abc", 5, 1), "");
    EXPECT_EQ(mid_text(std::string(9000, 'x'), 0, 8000).size(), 5119u);
}

TEST(TextHelpers, CapitalsFollowWindows1252) {
    EXPECT_EQ(upper_1252("\xE9t\xE9 \x9C\x9A\x9E\xFF \xDF\xB5 \xF7"), "\xC9T\xC9 \x8C\x8A\x8E\x9F \xDF\xB5 \xF7");
    EXPECT_EQ(lower_1252("\xC9T\xC9 \x8C\x8A\x8E\x9F \xD7"), "\xE9t\xE9 \x9C\x9A\x9E\xFF \xD7");
}

TEST(StringTable, HoldsTheProgramsTextsInWindows1252) {
    struct Case {
        int id;
        const char* text;
    };
    const Case cases[] = {
        {112, "Savanto"},
        {107, "Examen"},
        {111, "Ce fichier n'est pas un fichier ex\xE9" "cutable Savanto ou alors il a \xE9t\xE9 endommag\xE9 !\n\n"
              "Si vous avez t\xE9l\xE9" "charg\xE9 ce fichier, il serait peut-\xEAtre n\xE9" "cessaire de le t\xE9l\xE9"
              "charger \xE0 nouveau."},
        {109, "Il fallait r\xE9pondre \"C'est faux\"."},
        {104, "L'examen n'est pas encore termin\xE9.\n\nVoulez-vous le quitter quand m\xEAme ?"},
        {100, "Images\\"},
        {2016, "Temps \xE9" "coul\xE9 !"},
        {122, "Le jeu des Lettres M\xE9lang\xE9" "es"},
    };
    for (const auto& c : cases) EXPECT_EQ(load_message(c.id), c.text) << c.id;
    EXPECT_TRUE(load_message(129).ends_with("\xE9" "crivez \xE0 support@savanto-quiz.fr."));
    EXPECT_TRUE(load_message(103).starts_with("{\\rtf1\\fbidis\\ansi\\ansicpg1252"));
    EXPECT_EQ(load_message(4242), "");
    EXPECT_FALSE(has_string(4242));
}

}  // namespace
}  // namespace kz
