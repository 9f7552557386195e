#include "ui/help_fonts_win32.hpp"

#include "platform/dpi.hpp"

namespace ondrel {
namespace {

UniqueFont create_font(const wchar_t* face, float size, int weight, std::uint32_t dpi) {
    return UniqueFont(CreateFontW(-scale_for_dpi(size, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  CLEARTYPE_QUALITY, DEFAULT_PITCH, face));
}

} // namespace

HelpFonts create_help_fonts(std::uint32_t dpi) {
    return HelpFonts{create_font(L"Segoe UI", 20, 600, dpi), create_font(L"Segoe UI", 14, 400, dpi),
                     create_font(L"Segoe MDL2 Assets", 18, 400, dpi)};
}

} // namespace ondrel
