#include "exam/home_form.h"

#include <limits>

namespace kz {

std::int32_t typed_number(std::string_view text) {
    text = text.substr(0, 19);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            value = negative ? -static_cast<long long>(std::numeric_limits<std::int32_t>::min())
                             : std::numeric_limits<std::int32_t>::max();
            break;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace kz
