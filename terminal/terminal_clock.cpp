#include "terminal_clock.h"

#include <charconv>
#include <optional>

namespace kz::term {

namespace {

using namespace std::chrono;

sys_seconds as_sys_seconds(const LocalTime& time) {
    const year_month_day date{year(time.year), month(static_cast<unsigned>(time.month)),
                              day(static_cast<unsigned>(time.day))};
    return sys_days(date) + hours(time.hour) + minutes(time.minute) + seconds(time.second);
}

LocalTime as_local_time(sys_seconds moment) {
    const sys_days date = floor<days>(moment);
    const year_month_day ymd(date);
    const hh_mm_ss clock(moment - date);
    return LocalTime{static_cast<int>(ymd.year()),           static_cast<int>(unsigned(ymd.month())),
                     static_cast<int>(unsigned(ymd.day())),  static_cast<int>(clock.hours().count()),
                     static_cast<int>(clock.minutes().count()), static_cast<int>(clock.seconds().count())};
}

std::optional<int> number_at(std::string_view text, std::size_t at, std::size_t digits) {
    if (at + digits > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

TerminalClock::TerminalClock(bool fake, LocalTime start)
    : fake_(fake), start_(start), origin_(steady_clock::now()) {}

TerminalClock TerminalClock::system() { return TerminalClock(false, LocalTime{}); }

TerminalClock TerminalClock::fake(LocalTime start) { return TerminalClock(true, start); }

LocalTime TerminalClock::now() {
    if (!fake_) return SystemClock().now();
    return as_local_time(as_sys_seconds(start_) + moved_);
}

TerminalClock::TimePoint TerminalClock::steady_now() const {
    return fake_ ? origin_ + moved_ : steady_clock::now();
}

void TerminalClock::advance(seconds by) {
    if (fake_ && by > seconds(0)) moved_ += by;
}

std::optional<LocalTime> parse_local_time(std::string_view text) {
    // YYYY-MM-DDTHH:MM:SS
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':')
        return std::nullopt;
    const auto y = number_at(text, 0, 4), mo = number_at(text, 5, 2), d = number_at(text, 8, 2);
    const auto h = number_at(text, 11, 2), mi = number_at(text, 14, 2), s = number_at(text, 17, 2);
    if (!y || !mo || !d || !h || !mi || !s) return std::nullopt;
    const year_month_day date{year(*y), month(static_cast<unsigned>(*mo)), day(static_cast<unsigned>(*d))};
    if (!date.ok() || *h > 23 || *mi > 59 || *s > 59) return std::nullopt;
    return LocalTime{*y, *mo, *d, *h, *mi, *s};
}

}  // namespace kz::term
