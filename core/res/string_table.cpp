// The texts of strings.def are UTF-8 in the source (the resource compiler
// reads the same file); the program's strings are Windows-1252, converted as
// they are loaded.
#include "res/string_table.h"

#include <algorithm>
#include <iterator>

#include "common/cp1252.h"

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
    if (!entry) return {};
    return utf8_to_cp1252(entry->text).value_or(std::string());
}

bool has_string(int id) { return find(id) != nullptr; }

}  // namespace kz
