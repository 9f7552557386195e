#include "platform/process.hpp"

namespace ondrel {
namespace {

bool needs_quotes(const std::string& argument) {
    return argument.empty() || argument.find_first_of(" \t\n\v\"") != std::string::npos;
}

// Backslashes are literal except before a double quote, where each pair becomes one
// backslash; a quote inside the argument is written \" after doubling the backslashes
// before it, and so are the backslashes before the closing quote.
void append_quoted(std::string& line, const std::string& argument) {
    if (!needs_quotes(argument)) {
        line += argument;
        return;
    }
    line += '"';
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            line.append(backslashes * 2 + 1, '\\');
        } else {
            line.append(backslashes, '\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
}

} // namespace

std::string windows_command_line(const std::string& program,
                                 const std::vector<std::string>& arguments) {
    // The program name is read up to the closing quote without any escape, and Windows paths
    // cannot contain quotes, so plain quotes around it are always right.
    std::string line = "\"" + program + "\"";
    for (const std::string& argument : arguments) {
        line += ' ';
        append_quoted(line, argument);
    }
    return line;
}

} // namespace ondrel
