#include "report_text.h"

#include <cmath>
#include <cstdio>

#include "common/cp1252.h"
#include "common/text_helpers.h"
#include "media/rich_text.h"

namespace kz::report {

namespace {

constexpr std::size_t remembered_texts = 4096;

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The length of the UTF-8 sequence at text[i] when it encodes a C1 control
// (U+0080 to U+009F), else 0.
std::size_t c1_control_at(std::string_view text, std::size_t i) {
    if (i + 1 < text.size() && static_cast<unsigned char>(text[i]) == 0xC2 &&
        static_cast<unsigned char>(text[i + 1]) < 0xA0)
        return 2;
    return 0;
}

bool is_control(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

std::string plain_utf8(std::string_view stored) {
    return cp1252_to_utf8(tidy_blanks(rich_to_plain(stored)));
}

const std::string& PlainTexts::of(std::string_view stored) {
    const std::string key(stored);
    if (const auto found = known_.find(key); found != known_.end()) return found->second;
    if (known_.size() >= remembered_texts) known_.clear();
    return known_.emplace(key, plain_utf8(stored)).first->second;
}

std::string tidy_blanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool blank = false;
    for (char c : text) {
        if (is_blank(c)) {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

std::string exam_type_name(std::int32_t type_code) {
    switch (type_code) {
    case 0: return "QCM";
    case 1: return "Réponse libre";
    case 2: return "Vrai / Faux";
    case 3: return "Pot-pourri";
    case 4: return "Pendu";
    case 5: return "Lettres mélangées";
    default: return "Type " + std::to_string(type_code);
    }
}

std::string exam_types_text(std::uint32_t type_mask) {
    std::string text;
    for (std::int32_t code : {1, 0, 2, 3, 4, 5}) {
        if (!(type_mask & (1u << code))) continue;
        if (!text.empty()) text += ", ";
        text += exam_type_name(code);
    }
    return text;
}

std::string day_text(std::int64_t key) {
    if (!key) return "";
    auto two = [](std::int64_t n) { return zero_pad(n, 2); };
    const std::int64_t day = key / 10000 % 100, month = key / 1000000 % 100, year = key / 100000000;
    return two(day) + "/" + two(month) + "/" + std::to_string(year);
}

std::string french_decimal(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

int marks_of(std::int32_t percent) { return percent < 0 ? 0 : percent / 5; }

std::string duration_text(int seconds) {
    auto two = [](int n) { return zero_pad(n, 2); };
    if (seconds < 60) return std::to_string(seconds) + " s";
    if (seconds < 3600) return std::to_string(seconds / 60) + " min " + two(seconds % 60) + " s";
    return std::to_string(seconds / 3600) + " h " + two(seconds / 60 % 60) + " min";
}

std::string count_text(std::uint64_t count) {
    const std::string digits = std::to_string(count);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += "\xE2\x80\xAF";
        out += digits[i];
    }
    return out;
}

std::string html_escaped(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + 16);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (const std::size_t c1 = c1_control_at(utf8, i)) {
            out += ' ';
            i += c1 - 1;
            continue;
        }
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += is_control(static_cast<unsigned char>(c)) ? ' ' : c;
        }
    }
    return out;
}

std::string terminal_safe(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (const std::size_t c1 = c1_control_at(utf8, i)) {
            out += '?';
            i += c1 - 1;
            continue;
        }
        out += is_control(static_cast<unsigned char>(utf8[i])) ? '?' : utf8[i];
    }
    return out;
}

std::optional<std::int64_t> day_key(std::string_view text) {
    // Groups of digits parted by one separator, each group of the widths
    // allowed: "2026-03-02" or "2/3/2026".
    auto groups = [&](char separator, const int (&least)[3], const int (&most)[3], int (&values)[3]) {
        std::size_t i = 0;
        for (int g = 0; g < 3; ++g) {
            int width = 0;
            values[g] = 0;
            while (i < text.size() && text[i] >= '0' && text[i] <= '9' && width < most[g]) {
                values[g] = values[g] * 10 + (text[i++] - '0');
                ++width;
            }
            if (width < least[g]) return false;
            if (g < 2 && (i >= text.size() || text[i++] != separator)) return false;
        }
        return i == text.size();
    };
    int v[3];
    int year = 0, month = 0, day = 0;
    if (groups('-', {4, 2, 2}, {4, 2, 2}, v)) {
        year = v[0], month = v[1], day = v[2];
    } else if (groups('/', {1, 1, 4}, {2, 2, 4}, v)) {
        day = v[0], month = v[1], year = v[2];
    } else {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    return ((static_cast<std::int64_t>(year) * 100 + month) * 100 + day) * 10000;
}

}  // namespace kz::report
