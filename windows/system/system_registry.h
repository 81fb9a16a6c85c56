#pragma once
// The maker's settings under HKEY_LOCAL_MACHINE: where the results data file
// and the results manager are.
#include "exam/platform.h"

namespace kz::win {

class MachineRegistry final : public Registry {
public:
    std::optional<std::string> read_string(std::string_view key, std::string_view value) override;
    bool write_string(std::string_view key, std::string_view value, std::string_view data) override;
};

}  // namespace kz::win
