#include "mpv/loader.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_playback.hpp"
#include "platform/shared_library.hpp"

#include <type_traits>

namespace ondrel {

std::string library_path_beside(std::string_view executable, std::string_view file_name) {
    const std::size_t separator = executable.find_last_of("\\/");
    if (separator == std::string_view::npos) {
        return std::string(file_name);
    }
    std::string path(executable.substr(0, separator));
    path += '\\';
    path += file_name;
    return path;
}

Result<LoadedMpv> load_libmpv() {
    return load_libmpv_from(libmpv_library_path());
}

Result<LoadedMpv> load_libmpv_from(std::string_view library_path) {
    // The library stays loaded until the process ends, on success and on failure alike.
    const Result<SharedLibrary> library = load_shared_library(library_path);
    if (!library) {
        return Failure{fill(tr(texts::cannot_load_library), {library_path})};
    }
    LoadedMpv mpv;
    std::string_view missing;
    const bool resolved = for_each_mpv_entry_point([&](const auto& entry) {
        const std::string name(entry.name);
        void* address = find_library_function(library.value(), name.c_str());
        if (address == nullptr) {
            missing = entry.name;
            return false;
        }
        // The library hands out untyped addresses; the table gives each its signature.
        mpv.api.*entry.slot =
            reinterpret_cast<std::remove_reference_t<decltype(mpv.api.*entry.slot)>>(address);
        return true;
    });
    if (!resolved) {
        return Failure{fill(tr(texts::function_missing), {missing})};
    }
    mpv.handle = MpvHandle(mpv.api.create(), mpv.api.terminate_destroy);
    if (!mpv.handle) {
        return Failure{std::string(tr(texts::mpv_create_failed))};
    }
    return mpv;
}

} // namespace ondrel
