// Hostile question banks: whatever the bytes, an import ends with an error or
// with a quiz within the format's limits whose source the packer reads back,
// and the quiz exports in every format.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "bank.h"
#include "quiz_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto format = static_cast<kz::BankFormat>(data[0] % 3);
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto bank = kz::import_bank(format, input, "banque");
    if (!bank) return 0;
    const kz::QuizModel& quiz = bank.value().model;
    if (quiz.themes.size() > kz::max_themes) __builtin_trap();
    for (const auto& theme : quiz.themes)
        if (theme.questions.empty() || theme.questions.size() > kz::max_questions_per_theme) __builtin_trap();
    if (!kz::parse_quiz_source(kz::write_quiz_source(quiz, {}), ".")) __builtin_trap();
    for (const auto out : {kz::BankFormat::csv, kz::BankFormat::gift, kz::BankFormat::moodle_xml})
        if (kz::export_bank(out, quiz).bytes.empty()) __builtin_trap();
    return 0;
}
