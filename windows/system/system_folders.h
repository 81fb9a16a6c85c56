#pragma once
// The system's temporary and Windows folders.
#include "exam/platform.h"

namespace kz::win {

class WindowsFolders final : public SystemFolders {
public:
    std::filesystem::path temporary_folder() override;
    std::string windows_folder() override;
};

}  // namespace kz::win
