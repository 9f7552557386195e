// The process command line, as UTF-16 units.
#include "main/command_line.hpp"
#include "platform/text.hpp"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string line(size / 2, u'\0');
    std::memcpy(line.data(), data, line.size() * 2);
    const auto arguments = ondrel::split_command_line(line);
    if (arguments.empty()) {
        std::abort();
    }
    std::size_t characters = 0;
    for (const auto& argument : arguments) {
        characters += argument.size();
    }
    if (characters > line.size()) {
        std::abort();
    }
    if (const auto first = ondrel::first_argument(arguments);
        first && !ondrel::is_valid_utf8(*first)) {
        std::abort();
    }
    return 0;
}
