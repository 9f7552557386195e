// A list of arguments written as one line of text: "-c:a aac -b:a 192k" is four words.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace ondrel::testing {

inline std::vector<std::string> words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> list;
    for (std::string word; stream >> word;) {
        list.push_back(word);
    }
    return list;
}

} // namespace ondrel::testing
