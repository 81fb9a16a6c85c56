#include "results/results_file.h"

#include <thread>

#include "common/locked_file.h"

namespace kz {

namespace {

void add_line(std::string& out, std::string_view value) {
    for (char c : value) out += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
    out += "\r\n";
}

void add_line(std::string& out, long long number) { add_line(out, std::to_string(number)); }

enum class Step { done, retry, give_up };

struct AttemptResult {
    Step step;
    AppendOutcome outcome;
};

// Checks the format of the file this runner now holds, and appends the
// record, or the format line and the record when the file is new or empty.
AttemptResult append_to(LockedFile& file, std::string_view record) {
    const auto size = file.size();
    if (!size) return {Step::retry, AppendOutcome::unreachable};

    std::string bytes;
    if (*size > 0) {
        char head[3] = {};
        const int version = file_version(std::string_view(head, file.read_at(0, head, sizeof head)));
        if (version < results_format_version) return {Step::give_up, AppendOutcome::too_old};
        if (version > results_format_version) return {Step::give_up, AppendOutcome::too_new};
        // A file whose last line lacks its end (a format line alone, or a
        // record cut short when a runner was killed while writing) gets one,
        // so that the record starts on a line of its own.
        char last = 0;
        file.read_at(*size - 1, &last, 1);
        if (last != '\n') bytes = "\r\n";
    } else {
        bytes = results_format_line;
    }
    bytes.append(record);

    // One write at the end of the file; a write that fails is undone by
    // cutting the file back, so the file never keeps half a record.
    if (!file.append(bytes)) {
        (void)file.truncate(*size);
        return {Step::retry, AppendOutcome::unreachable};
    }
    return {Step::done, AppendOutcome::appended};
}

AttemptResult attempt_append(const std::filesystem::path& path, std::string_view record) {
    auto opened = LockedFile::open(path);
    if (!opened) {
        // A file that another program holds may be free in a moment; a
        // missing folder or a folder in the file's place will not be.
        const bool lasting = opened.error() != LockedFile::Failure::unreachable;
        return {lasting ? Step::give_up : Step::retry, AppendOutcome::unreachable};
    }
    LockedFile& file = opened.value();
    switch (file.try_lock()) {
    case LockedFile::Lock::busy:
        return {Step::retry, AppendOutcome::unreachable};
    case LockedFile::Lock::taken:
    case LockedFile::Lock::unsupported:
        // A file system that keeps no locks still gets the record, in one
        // write, only without taking turns.
        return append_to(file, record);
    }
    return {Step::retry, AppendOutcome::unreachable};
}

}  // namespace

std::string format_record(const ExamRecord& record) {
    std::string out;
    out.reserve(1024 + record.entries.size() * 512);
    add_line(out, record.student_name);
    add_line(out, record.type_code);
    add_line(out, record.quiz_name);
    add_line(out, record.runner_path);
    add_line(out, record.score);
    add_line(out, record.start_date);
    add_line(out, record.time_limit_on);
    add_line(out, record.time_limit);
    add_line(out, record.random_order);
    add_line(out, record.inverted);
    add_line(out, static_cast<long long>(record.entries.size()) - 1);
    for (const QuestionRecord& entry : record.entries) {
        add_line(out, entry.theme_name);
        add_line(out, entry.prompt);
        add_line(out, entry.question);
        for (std::size_t k = 0; k < answer_slots; ++k) {
            add_line(out, entry.expected[k]);
            add_line(out, entry.given[k]);
        }
        add_line(out, entry.right);
        add_line(out, entry.start_time);
        add_line(out, entry.end_time);
    }
    return out;
}

int file_version(std::string_view first_bytes) {
    auto byte = [&](std::size_t i) {
        return i < first_bytes.size() ? static_cast<unsigned char>(first_bytes[i]) : 0;
    };
    return byte(0) * 1000 + byte(2) * 100;
}

AppendOutcome append_record(const std::filesystem::path& file, std::string_view record,
                            const AppendPatience& patience) {
    if (file.empty()) return AppendOutcome::unreachable;
    const auto deadline = std::chrono::steady_clock::now() + patience.wait;
    for (;;) {
        const AttemptResult result = attempt_append(file, record);
        if (result.step != Step::retry) return result.outcome;
        if (std::chrono::steady_clock::now() >= deadline) return result.outcome;
        std::this_thread::sleep_for(patience.pause);
    }
}

}  // namespace kz
