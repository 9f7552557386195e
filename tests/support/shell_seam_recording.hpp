// What the portable code asked of the windows, for the native tests.
#pragma once

#include "i18n/language.hpp"

#include <vector>

namespace ondrel::testing {

struct ShellRecord {
    std::vector<Language> language_changes;
};

ShellRecord& shell_record();

} // namespace ondrel::testing
