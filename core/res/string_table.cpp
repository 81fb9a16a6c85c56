// Compiled with the execution character set Windows-1252, so that the UTF-8
// texts of strings.def become the program's Windows-1252 strings.
#include "res/string_table.h"

#include <algorithm>
#include <iterator>

namespace kz {
namespace {

struct Entry {
    int id;
    const char* text;
};

constexpr Entry table[] = {
#define STR(id, text) {id, text},
#include "res/strings.def"
#undef STR
};

const Entry* find(int id) {
    const auto* it = std::find_if(std::begin(table), std::end(table),
                                  [id](const Entry& e) { return e.id == id; });
    return it == std::end(table) ? nullptr : it;
}

}  // namespace

std::string load_message(int id) {
    const Entry* entry = find(id);
    return entry ? std::string(entry->text) : std::string();
}

bool has_string(int id) { return find(id) != nullptr; }

}  // namespace kz
