#include "main/command_line.hpp"

#include "platform/text.hpp"

namespace ondrel {
namespace {

bool is_blank(char16_t c) {
    return c == u' ' || c == u'\t';
}

} // namespace

std::vector<std::u16string> split_command_line(std::u16string_view line) {
    std::vector<std::u16string> arguments;
    std::size_t at = 0;
    // The program path: quotes only group, backslashes are plain characters.
    {
        std::u16string program;
        bool quoted = false;
        while (at < line.size() && (quoted || !is_blank(line[at]))) {
            if (line[at] == u'"') {
                quoted = !quoted;
            } else {
                program.push_back(line[at]);
            }
            ++at;
        }
        arguments.push_back(std::move(program));
    }
    for (;;) {
        while (at < line.size() && is_blank(line[at])) {
            ++at;
        }
        if (at >= line.size()) {
            break;
        }
        std::u16string argument;
        bool quoted = false;
        while (at < line.size() && (quoted || !is_blank(line[at]))) {
            std::size_t backslashes = 0;
            while (at < line.size() && line[at] == u'\\') {
                ++backslashes;
                ++at;
            }
            if (at < line.size() && line[at] == u'"') {
                argument.append(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    argument.push_back(u'"');
                    ++at;
                } else if (quoted && at + 1 < line.size() && line[at + 1] == u'"') {
                    // "" inside a quoted part: one literal quote, still quoted.
                    argument.push_back(u'"');
                    at += 2;
                } else {
                    quoted = !quoted;
                    ++at;
                }
            } else {
                argument.append(backslashes, u'\\');
                if (at < line.size() && (quoted || !is_blank(line[at]))) {
                    argument.push_back(line[at]);
                    ++at;
                }
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

bool is_url(std::string_view text) {
    return text.find("://") != std::string_view::npos;
}

std::optional<std::string> first_argument(const std::vector<std::u16string>& arguments) {
    if (arguments.size() < 2) {
        return std::nullopt;
    }
    return utf16_to_utf8(arguments[1]);
}

} // namespace ondrel
