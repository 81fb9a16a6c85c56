#include "web_platform.h"

namespace kz::web {
namespace {

std::string key_of(std::string_view key, std::string_view value) {
    return std::string(key) + '\n' + std::string(value);
}

}  // namespace

PageRegistry::PageRegistry() { values_[key_of(maker_key, data_path_value)] = results_file; }

std::optional<std::string> PageRegistry::read_string(std::string_view key, std::string_view value) {
    const auto found = values_.find(key_of(key, value));
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

bool PageRegistry::write_string(std::string_view key, std::string_view value, std::string_view data) {
    values_[key_of(key, value)] = std::string(data);
    return true;
}

}  // namespace kz::web
