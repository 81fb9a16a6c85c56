#include "support/fake_platform.h"

#include <stdexcept>

namespace kz::test {

std::uint32_t ScriptedRandom::below(std::uint32_t n) {
    asked_below.push_back(n);
    if (script.empty()) return fallback_.below(n);
    const std::uint32_t value = script.front();
    script.pop_front();
    if (value >= n) throw std::logic_error("scripted random value out of range");
    return value;
}

std::string FakeRegistry::name(std::string_view key, std::string_view value) {
    return std::string(key) + "\\" + std::string(value);
}

std::optional<std::string> FakeRegistry::read_string(std::string_view key, std::string_view value) {
    const auto found = values.find(name(key, value));
    if (found == values.end()) return std::nullopt;
    return found->second;
}

bool FakeRegistry::write_string(std::string_view key, std::string_view value, std::string_view data) {
    if (!writable) return false;
    values[name(key, value)] = std::string(data);
    return true;
}

std::optional<std::filesystem::path> FakeFileDialog::choose_data_file() {
    ++opened;
    if (choices.empty()) return std::nullopt;
    auto choice = choices.front();
    choices.pop_front();
    return choice;
}

bool FakeMail::send_results_mail(const ResultsMail& mail) {
    sent.push_back(mail);
    return accepts;
}

bool FakeLauncher::open(const std::filesystem::path& program) {
    opened.push_back(program);
    return starts;
}

}  // namespace kz::test
