#include "platform/process.hpp"

namespace ondrel {

std::vector<std::string> split_windows_search_path(const std::string& text) {
    std::vector<std::string> entries(1);
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            entries.emplace_back();
        } else {
            entries.back() += c;
        }
    }
    return entries;
}

std::vector<std::string> split_posix_search_path(const std::string& text) {
    std::vector<std::string> entries(1);
    for (const char c : text) {
        if (c == ':') {
            entries.emplace_back();
        } else {
            entries.back() += c;
        }
    }
    return entries;
}

} // namespace ondrel
