// Where Windows keeps language hints: the installer's registry value and the display language.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ondrel {

enum class RegistryScope { CurrentUser, LocalMachine };

// The string value "Language" under Software\Ondrel, read as REG_SZ into 32 UTF-16 units;
// nothing when it is missing, longer, or not a string.
std::optional<std::string> read_registry_language(RegistryScope scope);

// The LANGID of the user's Windows display language (English where there is none).
std::uint16_t user_ui_language_id();

} // namespace ondrel
