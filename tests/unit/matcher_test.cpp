// The tolerant answer matcher: the examples a quiz author relies on, the
// character tables, the in-place effects on the caller's texts, and properties
// over random Windows-1252 texts under every combination of options.
#include "questions/matcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace kz {
namespace {

constexpr MatchOptions none{};
constexpr MatchOptions case_only{true, false, false, false};
constexpr MatchOptions accents_only{false, true, false, false};
constexpr MatchOptions punctuation_only{false, false, true, false};
constexpr MatchOptions articles_only{false, false, false, true};
constexpr MatchOptions case_and_accents{true, true, false, false};
constexpr MatchOptions articles_and_punctuation{false, false, true, true};
constexpr MatchOptions all{true, true, true, true};

MatchOptions combination(int bits) {
    return {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
}

bool matches(std::string first, std::string second, const MatchOptions& options) {
    return match_answer(first, second, options);
}

struct MatchRow {
    const char* name;
    MatchOptions options;
    std::string first;
    std::string second;
    bool expected;
};

TEST(MatchAnswer, DecidesEachTolerancePairAsTheQuizAuthorExpects) {
    const MatchRow rows[] = {
        // Every tolerance on.
        {"article and capital", all, "la tour Eiffel", "Tour Eiffel", true},
        {"elided article and accents", all, "l'\xC9lys\xE9" "e", "Elysee", true},
        {"full stop and case", all, "Paris.", "paris", true},
        {"apostrophe inside a word", all, "aujourd'hui", "aujourdhui", true},
        {"ligature against two letters", all, "\x8Cuvre", "oeuvre", true},
        {"masked article", articles_and_punctuation, "## chat", "le chat", true},
        {"different words", all, "Paris", "Lyon", false},
        // Nothing on: byte equality.
        {"same text", none, "abc", "abc", true},
        {"trailing space", none, "abc", "abc ", false},
        {"capital differs", none, "Paris", "paris", false},
        {"two empty texts", none, "", "", true},
        {"empty against text", all, "", "a", false},
        // Ignore case alone.
        {"accented capitals", case_only, "\xC9T\xC9", "\xE9t\xE9", true},
        {"sharp s has no capital", case_only, "\xDF", "SS", false},
        {"y with diaeresis", case_only, "\xFF", "\x9F", true},
        {"accent still counts", case_only, "\xE9t\xE9", "ETE", false},
        // Ignore accents alone.
        {"diaeresis", accents_only, "No\xEBl", "Noel", true},
        {"capital ligature", accents_only, "\x8Cil", "OEil", true},
        {"sharp s", accents_only, "Stra\xDF" "e", "Strasse", true},
        {"o with stroke is kept", accents_only, "S\xF8ren", "Soren", false},
        {"capital Y with diaeresis", accents_only, "\x9F", "Y", true},
        {"case still counts", accents_only, "No\xEBl", "noel", false},
        // Ignore punctuation alone.
        {"space", punctuation_only, "New York", "NewYork", true},
        {"apostrophe and hyphens", punctuation_only, "c'est-\xE0-dire", "cest\xE0" "dire", true},
        {"plus is not punctuation", punctuation_only, "1+1", "11", false},
        {"typographic apostrophe", punctuation_only, "l\x92\xE9t\xE9", "l\xE9t\xE9", true},
        {"guillemets and euro", punctuation_only, "\xAB 5 \x80 \xBB", "5", true},
        {"at sign is not punctuation", punctuation_only, "a@b", "ab", false},
        // Ignore articles alone.
        {"words joined", articles_only, "la tour Eiffel", "tourEiffel", true},
        {"leading space", articles_only, " le chat", "chat", true},
        {"English article", articles_only, "The Beatles", "Beatles", true},
        {"only a stop word stays", articles_only, "es", "des", false},
        {"only stop words stay in order", articles_only, "le la", "la le", false},
        {"typographic apostrophe separates nothing", articles_only, "l\x92\xE9t\xE9", "\xE9t\xE9", false},
        {"straight apostrophe elides", articles_only, "l'\xE9t\xE9", "\xE9t\xE9", true},
        {"possessive s leaves the apostrophe", articles_only, "John's", "John", false},
        {"possessive s with punctuation", articles_and_punctuation, "John's", "John", true},
        {"capital Ihre is no stop word", articles_only, "Ihre Katze", "Katze", false},
        {"lower-case ihr is", articles_only, "ihr Hund", "Hund", true},
        {"inverted marks separate", articles_only, "\xBF" "el gato? \xA1la fiesta!", "gatofiesta", true},
        {"comma separates", articles_only, "un,deux", "deux", true},
        {"end of a longer entry", articles_only, "vitamine A", "vitamine E", true},
        {"capital article", articles_only, "Le Havre", "Havre", true},
        // Several tolerances together.
        {"sharp s against capitals", case_and_accents, "Stra\xDF" "e", "STRASSE", true},
        {"sharp s, every tolerance", all, "Stra\xDF" "e", "strasse", true},
        {"typographic against straight apostrophe", all, "l\x92\xE9t\xE9", "l'\xE9t\xE9", false},
        {"only articles, punctuated", all, "la.", "LA", true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(matches(row.first, row.second, row.options), row.expected) << row.name;
        EXPECT_EQ(matches(row.second, row.first, row.options), row.expected) << row.name << " (swapped)";
    }
}

struct EffectRow {
    const char* name;
    MatchOptions options;
    std::string text;
    std::string after;
};

TEST(MatchAnswer, LeavesTheCallersTextsInCapitalsAndWithoutArticles) {
    const EffectRow rows[] = {
        {"capitals", case_only, "le petit Chat", "LE PETIT CHAT"},
        {"accented capitals", case_only, "\xE9t\xE9 \xFF\x9C\xDF\xB5", "\xC9T\xC9 \x9F\x8C\xDF\xB5"},
        {"articles", articles_only, "le petit chat", "petitchat"},
        {"only articles", articles_only, "le la", "le la"},
        {"possessive s", articles_only, "John's", "John'"},
        {"apostrophe inside a word", articles_only, "aujourd'hui", "aujourd'hui"},
        {"separators dropped", articles_only, "oui, non! peut-\xEAtre?", "ouinonpeut-\xEAtre"},
        {"empty text", articles_only, "", ""},
        {"capitals then articles", all, "la tour Eiffel", "TOUREIFFEL"},
        {"elided article", all, "l'\xC9lys\xE9" "e", "\xC9LYS\xC9" "E"},
        {"apostrophe kept", all, "aujourd'hui", "AUJOURD'HUI"},
        {"accents and punctuation only compare", {false, true, true, false}, "No\xEBl, oui", "No\xEBl, oui"},
    };
    for (const auto& row : rows) {
        std::string first = row.text;
        std::string second = "autre";
        match_answer(first, second, row.options);
        EXPECT_EQ(first, row.after) << row.name;
        std::string other = "autre";
        std::string text = row.text;
        match_answer(other, text, row.options);
        EXPECT_EQ(text, row.after) << row.name << " (second argument)";
    }
}

TEST(MatchAnswer, PutsEveryLetterInItsWindows1252Capital) {
    for (int c = 1; c < 256; ++c) {
        int capital = c;
        if (c >= 'a' && c <= 'z') capital = c - 32;
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7) capital = c - 32;
        if (c == 0x9A) capital = 0x8A;
        if (c == 0x9C) capital = 0x8C;
        if (c == 0x9E) capital = 0x8E;
        if (c == 0xFF) capital = 0x9F;
        std::string text(1, static_cast<char>(c));
        std::string other;
        match_answer(text, other, case_only);
        EXPECT_EQ(static_cast<unsigned char>(text[0]), capital) << "byte " << c;
    }
}

TEST(FoldAccent, FoldsOnlyTheListedLetters) {
    std::vector<std::string> expected(256);
    for (int c = 0; c < 256; ++c) expected[c] = std::string(1, static_cast<char>(c));
    auto range = [&](int from, int to, const char* out) {
        for (int c = from; c <= to; ++c) expected[c] = out;
    };
    range(0xC0, 0xC5, "A"), range(0xC6, 0xC6, "AE"), range(0xC7, 0xC7, "C");
    range(0xC8, 0xCB, "E"), range(0xCC, 0xCF, "I"), range(0xD1, 0xD1, "N");
    range(0xD2, 0xD6, "O"), range(0xD9, 0xDC, "U"), range(0xDD, 0xDD, "Y");
    range(0x9F, 0x9F, "Y"), range(0x8C, 0x8C, "OE"), range(0x9C, 0x9C, "oe");
    range(0xDF, 0xDF, "ss"), range(0xE0, 0xE5, "a"), range(0xE6, 0xE6, "ae");
    range(0xE7, 0xE7, "c"), range(0xE8, 0xEB, "e"), range(0xEC, 0xEF, "i");
    range(0xF1, 0xF1, "n"), range(0xF2, 0xF6, "o"), range(0xF9, 0xFC, "u");
    range(0xFD, 0xFD, "y"), range(0xFF, 0xFF, "y");
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(fold_accent(static_cast<char>(c)), expected[c]) << "byte " << c;
    // Among those that stay: Š š Ž ž Ð ð Ø ø Þ þ × ÷.
    for (const char kept : std::string("\x8A\x9A\x8E\x9E\xD0\xF0\xD8\xF8\xDE\xFE\xD7\xF7"))
        EXPECT_EQ(fold_accent(kept), std::string(1, kept));
}

TEST(StripPunctuation, RemovesExactlyTheFortyPunctuationCharacters) {
    const std::set<int> punctuation = {
        0x21, 0x20, 0x22, 0x23, 0x24, 0x80, 0xA3, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2C, 0x2E,
        0x2D, 0x2F, 0x3A, 0x3B, 0x3F, 0x5B, 0x5D, 0x5C, 0x5F, 0x60, 0x7B, 0x7D, 0x82, 0x84,
        0x85, 0x89, 0x91, 0x92, 0x93, 0x94, 0xA1, 0xA5, 0xAB, 0xB4, 0xBB, 0xBF};
    ASSERT_EQ(punctuation.size(), 40u);
    for (int c = 1; c < 256; ++c) {
        const std::string text(1, static_cast<char>(c));
        EXPECT_EQ(strip_punctuation(text), punctuation.count(c) ? "" : text) << "byte " << c;
    }
    for (const char* folded : {"AE", "ae", "OE", "oe", "ss", "SS"})
        EXPECT_EQ(strip_punctuation(folded), folded);
}

// The stop-word list as the quiz format knows it, independently of the code.
constexpr std::string_view reference_list =
    "des,un,une,le,la,les,ma,ta,sa,mon,ton,son,mes,tes,ses,leur,notre,votre,leurs,nos,vos,ce,"
    "cette,cet,l',d',se,s',a,the,this,those,these,an,of,its,your,yours,my,their,theirs,our,"
    "ours,one,to,das,die,der,ein,eine,den,dem,einen,keine,einem,einer,keinen,mein,dein,sein,"
    "ihr,unser,euer,Ihr,ihren,Ihre,unsere,mis,tus,sus,su,nuestro,nuestra,la,el,mi,al,de,unas,"
    "unos,los,las,estas,estos,esta,este,del,tu,";

TEST(DropStopWord, DropsArticlesAndTheEndsOfLongerEntries) {
    const struct {
        std::string word;
        bool dropped;
    } rows[] = {
        {"la", true},  {"LA", true},    {"l'", true},   {"L'", true},   {"the", true},
        {"einem", true}, {"nuestra", true}, {"IHR", true}, {"es", true}, {"e", true},
        {"re", true},  {"s", true},     {"n", true},    {"y", true},    {"o", true},
        {"'", true},   {"Ihre", false}, {"ihre", false}, {"IHRE", false}, {"chat", false},
        {"und", false}, {"c", false},   {"l\x92", false}, {"", false},  {"des,un", true},
        {"la,le", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(drop_stop_word(row.word), row.dropped ? "" : row.word) << row.word;
    }
    EXPECT_EQ(drop_stop_word("Chat"), "Chat");  // kept as written, not lower-cased
}

TEST(DropStopWord, DropsExactlyTheWordsFoundInTheList) {
    // Every entry, and random short words over the letters that entries use.
    std::size_t start = 0;
    for (std::size_t comma; (comma = reference_list.find(',', start)) != std::string_view::npos;
         start = comma + 1) {
        const std::string entry(reference_list.substr(start, comma - start));
        // "Ihr" is found as "ihr"; "Ihre" has no lower-case twin in the list.
        EXPECT_EQ(drop_stop_word(entry).empty(), entry != "Ihre") << entry;
    }
    std::mt19937 engine(7);
    const std::string alphabet = "adehilmnorstuyIE'";
    for (int i = 0; i < 20000; ++i) {
        std::string word(1 + engine() % 4, ' ');
        for (char& c : word) c = alphabet[engine() % alphabet.size()];
        std::string probe = word;
        for (char& c : probe)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        const bool listed = reference_list.find(probe + ",") != std::string_view::npos;
        ASSERT_EQ(drop_stop_word(word).empty(), listed) << word;
    }
}

// ---- Properties over random texts ----------------------------------------

// Random texts that exercise the rules: stop words, separators, accented
// letters and ligatures, and any other byte from 1 to 255.
std::string random_text(std::mt19937& engine, std::size_t max_pieces) {
    static const std::vector<std::string> pieces = {
        "la", "Le", "l'", "L'", "d'", "des", "es", "s", "the", "Ihre", "ihr", " ", " ", "'",
        ",", ".", "!", "?", "\xBF", "\xA1", "\x92", "\xE9t\xE9", "\xC9", "\x8C", "\x9C", "\xDF",
        "\xC6", "\xFF", "\x9F", "\xF8", "chat", "Paris", "New", "York", "-", "+", "#"};
    std::string text;
    const std::size_t count = engine() % (max_pieces + 1);
    for (std::size_t i = 0; i < count; ++i) {
        if (engine() % 4 == 0)
            text += static_cast<char>(1 + engine() % 255);
        else
            text += pieces[engine() % pieces.size()];
    }
    return text;
}

TEST(MatchAnswer, IsSymmetricStableAndExactWithEveryOptionCombination) {
    std::mt19937 engine(20240611);
    for (int bits = 0; bits < 16; ++bits) {
        const MatchOptions options = combination(bits);
        for (int i = 0; i < 3000; ++i) {
            const std::string a = random_text(engine, 8);
            // Half of the pairs are near each other, so that both results occur.
            const std::string b = engine() % 2 ? random_text(engine, 8) : a + random_text(engine, 1);

            std::string first = a, second = b;
            const bool result = match_answer(first, second, options);
            std::string swapped_first = b, swapped_second = a;
            ASSERT_EQ(match_answer(swapped_first, swapped_second, options), result)
                << "options " << bits << ": not symmetric";
            ASSERT_EQ(swapped_first, second);
            ASSERT_EQ(swapped_second, first);

            const std::string once_first = first, once_second = second;
            ASSERT_EQ(match_answer(first, second, options), result)
                << "options " << bits << ": second call differs";
            ASSERT_EQ(first, once_first) << "options " << bits << ": texts changed again";
            ASSERT_EQ(second, once_second);

            if (bits == 0) {
                ASSERT_EQ(result, a == b);
            }
            std::string self = a, copy = a;
            ASSERT_TRUE(match_answer(self, copy, options));
        }
    }
}

// A variant of the text that differs only in what the options tolerate
// (case, accents, punctuation), which must therefore match it.
std::string tolerated_variant(const std::string& text, const MatchOptions& options,
                              std::mt19937& engine) {
    static const std::string punctuation = "! \"#$\x80\xA3%&'(),.-/:;?[]\\_`{}\x82\x84\x85\x89"
                                           "\x91\x92\x93\x94\xA1\xA5\xAB\xB4\xBB\xBF";
    static const std::vector<std::pair<std::string, std::string>> accents = {
        {"e", "\xE9"}, {"e", "\xEB"}, {"E", "\xC8"}, {"a", "\xE0"}, {"A", "\xC5"},
        {"oe", "\x9C"}, {"OE", "\x8C"}, {"ss", "\xDF"}, {"ae", "\xE6"}, {"y", "\xFF"},
        {"Y", "\x9F"}, {"u", "\xFC"}, {"c", "\xE7"}, {"n", "\xF1"}, {"I", "\xCE"}};
    std::string out = text;
    if (options.ignore_accents) {
        for (const auto& [plain, accented] : accents) {
            const auto at = out.find(plain);
            if (at != std::string::npos && engine() % 2) out.replace(at, plain.size(), accented);
        }
    }
    if (options.ignore_case) {
        for (char& c : out) {
            if (engine() % 2 == 0) continue;
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
            else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
            else if (c == '\xE9') c = '\xC9';
            else if (c == '\x9C') c = '\x8C';
        }
    }
    if (options.ignore_punctuation) {
        for (int i = 0; i < 3; ++i)
            out.insert(engine() % (out.size() + 1), 1, punctuation[engine() % punctuation.size()]);
    }
    return out;
}

TEST(MatchAnswer, AcceptsAnyVariantThatOnlyDiffersInTolerance) {
    std::mt19937 engine(99);
    const std::vector<std::string> answers = {
        "Strasse", "oeuvre", "OEUVRE", "New York", "Tour Eiffel", "encyclopaedia", "Yves",
        "Noel", "aujourd'hui", "Garcon", "Espana", "Isere", "Mozart (1756-1791)", "ss"};
    for (int bits = 0; bits < 8; ++bits) {  // articles off: punctuation may split words
        const MatchOptions options = combination(bits);
        for (const auto& answer : answers) {
            for (int i = 0; i < 50; ++i) {
                const std::string variant = tolerated_variant(answer, options, engine);
                ASSERT_TRUE(matches(answer, variant, options))
                    << "options " << bits << ": " << answer << " / " << variant;
            }
        }
    }
}

TEST(MatchAnswer, HandlesEveryByteAndVeryLongTexts) {
    std::string every_byte;
    for (int c = 1; c < 256; ++c) every_byte += static_cast<char>(c);
    std::mt19937 engine(5);
    std::string long_text;
    while (long_text.size() < 10000) long_text += random_text(engine, 20);
    std::string long_ligatures(10000, '\x9C');

    for (int bits = 0; bits < 16; ++bits) {
        const MatchOptions options = combination(bits);
        for (const std::string& text : {every_byte, long_text, long_ligatures}) {
            std::string first = text, second = text;
            EXPECT_TRUE(match_answer(first, second, options)) << "options " << bits;
        }
        std::string ligatures = long_ligatures, spelled;
        for (int i = 0; i < 10000; ++i) spelled += "oe";
        EXPECT_EQ(match_answer(ligatures, spelled, options), options.ignore_accents);
    }
}

}  // namespace
}  // namespace kz
