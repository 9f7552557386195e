// The interface language for the life of the object; the one before comes back after.
#pragma once

#include "i18n/language.hpp"

namespace ondrel::testing {

struct ScopedLanguage {
    Language saved = current_language();

    explicit ScopedLanguage(Language language) { store_language(language); }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;
    ~ScopedLanguage() { store_language(saved); }
};

} // namespace ondrel::testing
