#include "mpv/loader.hpp"
#include "platform/shared_library.hpp"

namespace ondrel {

// libmpv is shipped beside the program; nothing else is searched.
std::string libmpv_library_path() {
    return library_path_beside(executable_path(), "libmpv-2.dll");
}

} // namespace ondrel
