// Loading libmpv and creating its handle, once, at start-up.
#pragma once

#include "mpv/mpv_api.hpp"
#include "platform/result.hpp"

#include <string>
#include <string_view>

namespace ondrel {

struct LoadedMpv {
    MpvApi api;
    MpvHandle handle;
};

// Loads the library from where this build expects it (beside the executable on Windows),
// resolves the entry points and creates the handle. The failure text is in the current
// language, ready for the start-up error box.
Result<LoadedMpv> load_libmpv();

// The same from a given library path; the path is named in the failure text.
Result<LoadedMpv> load_libmpv_from(std::string_view library_path);

// The file `file_name` in the folder of `executable`, joined with a backslash; just the file
// name when the executable's path has no folder.
std::string library_path_beside(std::string_view executable, std::string_view file_name);

// Where this build loads libmpv from (one definition per platform).
std::string libmpv_library_path();

} // namespace ondrel
