// Hostile quiz files: the container check and the loader must refuse or load
// any bytes without crashing, reading outside the file or allocating from an
// unchecked count.
#include <cstddef>
#include <cstdint>
#include <string>

#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/quiz_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input is the overlay: a marker in front of it points at its start.
    std::string file(200, '\0');
    file.replace(192, 3, "K&Z");
    std::string overlay;
    kz::put_u32(overlay, 200);
    file.replace(195, 4, overlay);
    file.append(reinterpret_cast<const char*>(data), size);

    kz::MemorySource source(std::move(file));
    if (const auto container = kz::check_container(source)) {
        auto quiz = kz::load_quiz(source, *container);
        if (quiz) {
            std::size_t questions = 0;
            for (const auto& theme : quiz.value().themes) questions += theme.questions.size();
            if (quiz.value().themes.size() > 50 || questions > 50u * 500u) __builtin_trap();
        }
    }
    return 0;
}
