#include "mpv/loader.hpp"

namespace ondrel {

// The native build runs against the system's libmpv (client API 2), found by the dynamic
// loader's usual search.
std::string libmpv_library_path() {
    return "libmpv.so.2";
}

} // namespace ondrel
