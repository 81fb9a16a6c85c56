#include "support/rich_text_samples.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "engine/text_templates.h"
#include "res/string_table.h"
#include "shared/rich_text_corpus.h"
#include "support/temp_folder.h"

namespace kz::test {

namespace fs = std::filesystem;

std::vector<std::string> known_rich_texts() {
    std::vector<std::string> texts = hand_written_rich_texts();
    const fs::path corpus = fs::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz/corpus/rich_text";
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(corpus)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) texts.push_back(file_bytes(file));
    std::string welcome = load_message(str::welcome_text);
    welcome.replace(welcome.find("%s"), 2, "G\xE9ographie");
    texts.push_back(welcome);
    texts.emplace_back(built_in_end_text);
    return texts;
}

std::string random_rich_text(std::mt19937& random, int pieces) {
    static const char* const kinds[] = {
        "{", "}", "\\par ", "\\par", "\\line ", "\\tab ", "\\pard ", "\\plain ", "\\u233?", "\\u-10179?", "\\u0?",
        "\\u13?", "\\uc2 ", "\\'e9", "\\'00", "\\'0d", "\\'", "\\*", "\\*\\foo ", "{\\*\\generator x;}", "\\bin2 ",
        "{\\pict 0102}", "{\\fonttbl{\\f1\\fcharset128 J;}{\\f2\\fcharset2 Symbol;}}", "\\f1 ", "\\f2 ",
        "{\\colortbl ;\\red255\\green0\\blue0;}", "\\cf1 ", "\\b ", "\\b0 ", "\\i ", "\\ul ", "\\qc ", "\\fs40 ",
        "\\li360 ", "a", " ", "\x82", "\xE9", "<", "&", "\"", "\\", "\\~", "\t", "\r\n", "\\fldrslt ", "\\v ",
        "\\super ", "\\highlight1 ", "\\cell ", "\\row ",
    };
    std::string rtf = "{\\rtf1 ";
    const int count = static_cast<int>(random() % static_cast<unsigned>(pieces + 1));
    for (int i = 0; i < count; ++i) rtf += kinds[random() % std::size(kinds)];
    if (random() % 2) rtf += '}';
    return rtf;
}

}  // namespace kz::test
