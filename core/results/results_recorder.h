#pragma once
// Where an exam's record goes and how it gets there: the results data file of
// the quiz's storage mode, the format check with the choice of another file,
// and in storage mode 2 the mail that carries the file to the quiz's author.
#include <filesystem>
#include <optional>
#include <string>

#include "exam/message.h"
#include "exam/platform.h"
#include "quiz/quiz_model.h"
#include "results/exam_record.h"
#include "results/results_file.h"

namespace kz {

// "result" + day, month, year, hour and minute, zero-padded, + ".dat":
// result051220260907.dat for 5 December 2026 at 09:07.
std::string mailed_results_name(const LocalTime& time);

class ResultsRecorder {
public:
    ResultsRecorder(const QuizModel& model, Platform& platform, MessageBoxes& messages,
                    AppendPatience patience = {});

    // The file of the quiz's storage mode: 0 the registry's "Chemin" (or the
    // drive of the Windows folder + "kz.dat", written back to the registry),
    // 1 the author's path, 2 a new file in the temporary folder.
    std::filesystem::path location();

    // Appends the record. When the file is of another format or cannot be
    // written, the student may choose another file, for this record only.
    // Returns the file written; nothing when the student declined.
    [[nodiscard]] std::optional<std::filesystem::path> record_results(const ExamRecord& record);

private:
    const QuizModel& model_;
    Platform& platform_;
    MessageBoxes& messages_;
    AppendPatience patience_;
};

}  // namespace kz
