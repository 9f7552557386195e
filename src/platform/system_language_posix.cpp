#include "platform/system_language.hpp"

namespace ondrel {

// Linux has no registry; the native build only runs the portable core's tests.
std::optional<std::string> read_registry_language(RegistryScope) {
    return std::nullopt;
}

std::uint16_t user_ui_language_id() {
    return 0x0409;
}

} // namespace ondrel
