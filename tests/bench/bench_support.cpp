#include "bench_support.h"

#include <random>

namespace kz::bench {

std::string realistic_rtf(const std::string& plain, bool bold) {
    std::string body;
    for (unsigned char c : plain) {
        if (c >= 0x80) {
            static const char hex[] = "0123456789abcdef";
            body += "\\'";
            body += hex[c >> 4];
            body += hex[c & 15];
        } else if (c == '\\' || c == '{' || c == '}') {
            body += '\\';
            body += static_cast<char>(c);
        } else {
            body += static_cast<char>(c);
        }
    }
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 "
           "Arial;}{\\f1\\fnil\\fcharset0 Times New Roman;}}{\\colortbl ;\\red0\\green0\\blue128;}"
           "\\viewkind4\\uc1\\pard\\cf1" +
           std::string(bold ? "\\b" : "") + "\\f0\\fs24 " + body + (bold ? "\\b0" : "") +
           "\\cf0\\f1\\fs20\\par}";
}

QuizModel largest_quiz(std::uint32_t seed) {
    static const char* words[] = {"ch\xE2teau", "r\xE9volution", "fleuve", "capitale", "roi",
                                  "\xE9t\xE9",  "montagne",      "oc\xE9""an", "empereur", "Paris",
                                  "la",         "de",            "trait\xE9", "bataille", "l'\xEEle"};
    std::mt19937 rng(seed);
    auto phrase = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            if (i) s += ' ';
            s += words[rng() % std::size(words)];
        }
        return s;
    };
    QuizModel model;
    model.quiz_name = "Le plus grand questionnaire";
    model.themes.resize(50);
    for (std::size_t t = 0; t < model.themes.size(); ++t) {
        auto& theme = model.themes[t];
        theme.name = "Th\xE8me " + std::to_string(t + 1);
        theme.prompt = realistic_rtf("Quelle est la r\xE9ponse ?", true);
        theme.reverse_prompt = realistic_rtf("Quelle est la question ?", true);
        theme.questions.resize(500);
        for (auto& q : theme.questions) {
            q.question = realistic_rtf(phrase(8) + " ?");
            q.answer = realistic_rtf(phrase(2));
            q.first_wrong = (rng() % 4 == 0) ? realistic_rtf(phrase(2)) : std::string();
            q.second_wrong = q.first_wrong.empty() ? std::string() : realistic_rtf(phrase(2));
            q.comment = (rng() % 3 == 0) ? realistic_rtf(phrase(12)) : std::string();
        }
    }
    return model;
}

}  // namespace kz::bench
