#include "results/results_recorder.h"

#include "common/paths.h"
#include "common/text_helpers.h"
#include "res/string_table.h"

namespace kz {

namespace {
constexpr std::size_t registry_text_limit = 255;
}

std::string mailed_results_name(const LocalTime& time) {
    return "result" + zero_pad(time.day, 2) + zero_pad(time.month, 2) + zero_pad(time.year, 4) +
           zero_pad(time.hour, 2) + zero_pad(time.minute, 2) + ".dat";
}

ResultsRecorder::ResultsRecorder(const QuizModel& model, Platform& platform, MessageBoxes& messages,
                                 AppendPatience patience)
    : model_(model), platform_(platform), messages_(messages), patience_(patience) {}

std::filesystem::path ResultsRecorder::location() {
    switch (model_.results_storage_mode) {
    case 1:
        return path_from_cp1252(model_.results_file_path);
    case 2:
        return platform_.folders.temporary_folder() /
               path_from_cp1252(mailed_results_name(platform_.clock.now()));
    default: {
        // Mode 0, and any mode this runner does not know: the file the results
        // manager finds through the registry.
        std::string path = head_text(
            platform_.registry.read_string(maker_key, data_path_value).value_or(std::string()),
            registry_text_limit);
        if (path.size() <= 1) {
            path = head_text(platform_.folders.windows_folder(), 3) + "kz.dat";
            // A registry that cannot be written changes nothing: this
            // default is used all the same, and found again next time.
            (void)platform_.registry.write_string(maker_key, data_path_value, path);
        }
        return path_from_cp1252(path);
    }
    }
}

std::optional<std::filesystem::path> ResultsRecorder::record_results(const ExamRecord& record) {
    std::filesystem::path file = location();
    const std::string bytes = format_record(record);
    for (;;) {
        const AppendOutcome outcome = append_record(file, bytes, patience_);
        if (outcome == AppendOutcome::appended) break;
        const Message question =
            outcome == AppendOutcome::too_old
                ? message_of(str::data_file_too_old, str::product_caption, MessageIcon::warning,
                             MessageButtons::yes_no, false)
            : outcome == AppendOutcome::too_new
                ? message_of(str::data_file_too_new, str::product_caption, MessageIcon::warning,
                             MessageButtons::yes_no, false)
                : message_of(str::data_file_unreachable, str::exam_caption, MessageIcon::warning,
                             MessageButtons::yes_no, true);
        if (messages_.show_message(question) != MessageAnswer::yes) return std::nullopt;
        // A cancelled dialog leaves no file, which fails again and asks again.
        file = platform_.file_dialog.choose_data_file().value_or(std::filesystem::path());
    }

    if (model_.results_storage_mode == 2) {
        const ResultsMail mail{model_.quiz_name, model_.mail_recipient, model_.mail_profile,
                               model_.mail_password, file};
        if (!platform_.mail.send_results_mail(mail))
            messages_.show_message(message_of(str::mail_failed, str::exam_caption, MessageIcon::warning));
    }
    return file;
}

}  // namespace kz
