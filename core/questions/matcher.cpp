#include "questions/matcher.h"

#include <array>
#include <cstdint>

#include "common/text_helpers.h"

namespace kz {
namespace {

// French, English, German and Spanish articles, possessives and
// demonstratives. Each entry is followed by a comma; a word is looked up as
// "word," anywhere in this text, so the end of a longer entry counts too
// ("es" is found in "des,"). Entries with a capital ("Ihr", "Ihre") are never
// found, since the probe is lower case.
constexpr std::string_view stop_words =
    "des,un,une,le,la,les,ma,ta,sa,mon,ton,son,mes,tes,ses,leur,notre,votre,leurs,nos,vos,"
    "ce,cette,cet,l',d',se,s',a,the,this,those,these,an,of,its,your,yours,my,their,theirs,"
    "our,ours,one,to,das,die,der,ein,eine,den,dem,einen,keine,einem,einer,keinen,mein,dein,"
    "sein,ihr,unser,euer,Ihr,ihren,Ihre,unsere,mis,tus,sus,su,nuestro,nuestra,la,el,mi,al,"
    "de,unas,unos,los,las,estas,estos,esta,este,del,tu,";
static_assert(stop_words.size() == 391);

// Characters that do not count with ignore punctuation, the space among them.
// A text is punctuation when it occurs in this text as a substring.
constexpr std::string_view punctuation_set =
    "! \"#$\x80\xA3%&'(),.-/:;?[]\\_`{}\x82\x84\x85\x89\x91\x92\x93\x94\xA1\xA5\xAB\xB4\xBB\xBF";
static_assert(punctuation_set.size() == 40);

// A character's unaccented form: one or two characters.
struct Folded {
    std::array<char, 2> text{};
    std::uint8_t size = 1;

    std::string_view view() const { return {text.data(), size}; }
};

constexpr std::array<Folded, 256> make_fold_table() {
    std::array<Folded, 256> table{};
    for (int c = 0; c < 256; ++c) table[c] = {{static_cast<char>(c), 0}, 1};
    auto one = [&](int from, int to, char out) {
        for (int c = from; c <= to; ++c) table[c] = {{out, 0}, 1};
    };
    auto two = [&](int c, char a, char b) { table[c] = {{a, b}, 2}; };
    one(0xC0, 0xC5, 'A');
    two(0xC6, 'A', 'E');
    one(0xC7, 0xC7, 'C');
    one(0xC8, 0xCB, 'E');
    one(0xCC, 0xCF, 'I');
    one(0xD1, 0xD1, 'N');
    one(0xD2, 0xD6, 'O');
    one(0xD9, 0xDC, 'U');
    one(0xDD, 0xDD, 'Y');
    one(0x9F, 0x9F, 'Y');
    two(0x8C, 'O', 'E');
    two(0x9C, 'o', 'e');
    two(0xDF, 's', 's');
    one(0xE0, 0xE5, 'a');
    two(0xE6, 'a', 'e');
    one(0xE7, 0xE7, 'c');
    one(0xE8, 0xEB, 'e');
    one(0xEC, 0xEF, 'i');
    one(0xF1, 0xF1, 'n');
    one(0xF2, 0xF6, 'o');
    one(0xF9, 0xFC, 'u');
    one(0xFD, 0xFD, 'y');
    one(0xFF, 0xFF, 'y');
    return table;
}

constexpr std::array<Folded, 256> fold_table = make_fold_table();

Folded folded_form(char ch) { return fold_table[static_cast<unsigned char>(ch)]; }

Folded compared_form(char ch, const MatchOptions& options) {
    const char c = options.ignore_case ? to_upper_1252(ch) : ch;
    if (!options.ignore_accents) return {{c, 0}, 1};
    Folded form = folded_form(c);
    // ß has no capital and folds to "ss": with ignore case its folded form
    // must be in capitals as well, or "Straße" could never equal "STRASSE".
    if (options.ignore_case)
        for (char& x : form.text) x = to_upper_1252(x);
    return form;
}

bool is_punctuation(std::string_view text) { return punctuation_set.find(text) != std::string_view::npos; }

// The eight characters that end a word when articles are ignored.
bool is_word_separator(char ch) {
    switch (static_cast<unsigned char>(ch)) {
    case ' ': case '\'': case ',': case '.': case '!': case '?': case 0xBF: case 0xA1:
        return true;
    default:
        return false;
    }
}

bool is_stop_word(std::string_view word) {
    if (word.empty() || word.size() >= stop_words.size()) return false;
    std::string probe = lower_1252(word);
    probe += ',';
    return stop_words.find(probe) != std::string_view::npos;
}

// Cuts the text into words, drops the stop words and joins the rest without
// anything between them. An apostrophe stays at the end of its word, so that
// "l'" and "d'" are words of their own. When nothing would remain, the text
// is left as written, so an answer made only of articles still counts.
void drop_articles(std::string& text) {
    std::string kept;
    kept.reserve(text.size());
    std::size_t start = 0;
    auto take_word = [&](std::size_t end) {
        const std::string_view word = std::string_view(text).substr(start, end - start);
        if (!is_stop_word(word)) kept.append(word);
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'') {
            take_word(i + 1);
            start = i + 1;
        } else if (is_word_separator(text[i])) {
            take_word(i);
            start = i + 1;
        }
    }
    take_word(text.size());
    if (!kept.empty()) text = std::move(kept);
}

// The text as it is finally compared: every character in its compared form,
// without the punctuation when that is ignored. The text itself is unchanged.
std::string compared_text(std::string_view text, const MatchOptions& options) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (const char ch : text) {
        const Folded form = compared_form(ch, options);
        if (options.ignore_punctuation && is_punctuation(form.view())) continue;
        out.append(form.view());
    }
    return out;
}

}  // namespace

std::string fold_accent(char ch) { return std::string(folded_form(ch).view()); }

std::string strip_punctuation(std::string_view text) {
    return is_punctuation(text) ? std::string() : std::string(text);
}

std::string drop_stop_word(std::string_view word) {
    return is_stop_word(word) ? std::string() : std::string(word);
}

std::string letter_form(char ch, const MatchOptions& options) {
    return std::string(compared_form(ch, options).view());
}

bool match_answer(std::string& first, std::string& second, const MatchOptions& options) {
    if (options.ignore_case) {
        for (char& c : first) c = to_upper_1252(c);
        for (char& c : second) c = to_upper_1252(c);
    }
    if (options.ignore_articles) {
        drop_articles(first);
        drop_articles(second);
    }
    if (!options.ignore_accents && !options.ignore_punctuation) return first == second;
    return compared_text(first, options) == compared_text(second, options);
}

}  // namespace kz
