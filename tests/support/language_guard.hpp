// The process-wide interface language for one test: put back as it was when the scope ends,
// and, when a language is given, set to it until then.
#pragma once

#include "i18n/language.hpp"

namespace ondrel::testing {

struct LanguageGuard {
    Language saved = current_language();

    LanguageGuard() = default;
    explicit LanguageGuard(Language language) { store_language(language); }
    LanguageGuard(const LanguageGuard&) = delete;
    LanguageGuard& operator=(const LanguageGuard&) = delete;
    ~LanguageGuard() { store_language(saved); }
};

} // namespace ondrel::testing
