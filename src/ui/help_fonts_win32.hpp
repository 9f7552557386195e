// The three fonts the help overlay draws with.
#pragma once

#include "platform/win32/handles.hpp"

#include <cstdint>

namespace ondrel {

struct HelpFonts {
    UniqueFont title;      // "Segoe UI" 20, semibold
    UniqueFont body;       // "Segoe UI" 14
    UniqueFont large_icon; // "Segoe MDL2 Assets" 18
};

// Made for the DPI for one painting and deleted with it; the same faces, sizes and weights
// as the control bar's title, body and large icon fonts.
HelpFonts create_help_fonts(std::uint32_t dpi);

} // namespace ondrel
