#pragma once
// What start-up knows for the whole run: the program's own file, the quiz read
// from it, and the rich-edit library every page needs.
#include <windows.h>

#include <filesystem>
#include <memory>

#include "quiz/media_extractor.h"
#include "quiz/quiz_model.h"
#include "win32/gdi_handle.h"

namespace kz::win {

struct RunnerState {
    HINSTANCE instance = nullptr;
    std::filesystem::path runner_path;
    std::filesystem::path runner_directory;  // with its trailing separator
    std::filesystem::path temp_directory;
    QuizModel quiz;
    std::unique_ptr<MediaExtractor> media;
    OwnedLibrary rich_edit;
};

}  // namespace kz::win
