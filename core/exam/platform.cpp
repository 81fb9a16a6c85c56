#include "exam/platform.h"

#include <ctime>

namespace kz {

LocalTime SystemClock::now() {
    const std::time_t t = std::time(nullptr);
    std::tm parts{};
#if defined(_WIN32)
    localtime_s(&parts, &t);
#else
    localtime_r(&t, &parts);
#endif
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace kz
